// The user's interface language from Windows.
#include "platform/ui_language.h"

#include <windows.h>

namespace platform {

Language InterfaceLanguage() {
    return LanguageForWindowsId(GetUserDefaultUILanguage());
}

} // namespace platform
