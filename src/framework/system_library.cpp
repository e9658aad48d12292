// Loading libraries from the system directory and recognising Wine.
#include "framework/system_library.h"

namespace framework {

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32, named here because older headers lack it.
const DWORD kSearchSystem32 = 0x00000800;

} // namespace

bool RestrictLibrarySearchToSystem() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefault = SystemFunction<SetDefaultDllDirectoriesFunction>(
        ::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    return setDefault != nullptr && setDefault(kSearchSystem32) != FALSE;
}

std::string SystemDirectory() {
    char buffer[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) {
        return std::string();
    }
    std::string directory(buffer, length);
    if (directory.back() != '\\') {
        directory += '\\';
    }
    return directory;
}

HMODULE LoadSystemLibrary(const char* fileName) {
    const std::string directory = SystemDirectory();
    if (directory.empty()) {
        return nullptr;
    }
    // With a full path the loader takes exactly this file; LOAD_WITH_ALTERED_SEARCH_PATH
    // makes the libraries it imports come from its own folder, the system directory,
    // before the program's folder where SetDefaultDllDirectories is missing.
    return ::LoadLibraryExA((directory + fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

bool RunningUnderWine() {
    using WineGetVersionFunction = const char*(CDECL*)();
    return SystemFunction<WineGetVersionFunction>(::GetModuleHandleA("ntdll.dll"),
                                                  "wine_get_version") != nullptr;
}

} // namespace framework
