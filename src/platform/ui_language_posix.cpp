// No interface language outside Windows: the locale variables say it or nothing does.
#include "platform/ui_language.h"

namespace platform {

Language InterfaceLanguage() {
    return Language::English;
}

} // namespace platform
