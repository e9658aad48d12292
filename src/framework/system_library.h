// Libraries from the system directory only. The program is unpacked into any folder,
// often the downloads folder, where a stranger's DLL may lie beside it; the loader's
// default search looks there first, so every library the program loads itself comes
// from the system directory by its full path.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

// Where the platform offers it (SetDefaultDllDirectories, looked up at run time because
// older systems lack it), limits the search of every library loaded later, also the
// ones that loaded libraries pull in, to the system directory. True when it did.
bool RestrictLibrarySearchToSystem();
// The system directory with a final backslash; empty when the platform gives none.
std::string SystemDirectory();
// Loads `fileName` ("hhctrl.ocx") from the system directory by its full path; null when
// it is not there or does not load.
HMODULE LoadSystemLibrary(const char* fileName);
// A function of `module` by name, as the function pointer type the caller names; null
// when the module is null or lacks it.
template <typename Function> Function SystemFunction(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through void (*)(): the one function pointer type the compiler accepts as "any
    // function" when converting.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
// Whether the program runs under Wine: its ntdll exports wine_get_version, which no
// ntdll of Windows has.
bool RunningUnderWine();

} // namespace framework
