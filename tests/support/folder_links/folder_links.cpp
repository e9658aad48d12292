// Folder links: symlink() natively; under Wine, /bin/ln started as a Unix program
// (Wine runs one as a child process) on the Unix names of both paths.
#include "folder_links.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace testsupport {

#ifdef _WIN32

namespace {

using UnixNameFunction = char*(CDECL*)(const WCHAR*);

UnixNameFunction WineUnixName() {
    return reinterpret_cast<UnixNameFunction>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
}

std::string UnixName(const std::string& path) {
    const UnixNameFunction unixName = WineUnixName();
    if (!unixName) {
        return std::string();
    }
    std::wstring wide(path.size() + 1, L'\0');
    const int n =
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    if (n <= 0) {
        return std::string();
    }
    char* name = unixName(wide.c_str());
    if (!name) {
        return std::string();
    }
    std::string result(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

} // namespace

bool MakeFolderLink(const std::string& link, const std::string& target) {
    const std::string from = UnixName(link);
    const std::string to = UnixName(target);
    if (from.empty() || to.empty()) {
        return ::CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
               ::GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string command = "ln -s \"" + to + "\" \"" + from + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA("Z:\\bin\\ln", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // Wine cannot wait for a Unix child: wait for the link itself.
    for (int i = 0; i < 500; ++i) {
        if (::GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        ::Sleep(10);
    }
    return false;
}

std::string OtherDriveForm(const std::string& path) {
    std::string name = UnixName(path);
    if (name.empty()) {
        return name;
    }
    for (char& c : name) {
        c = c == '/' ? '\\' : c;
    }
    return "Z:" + name;
}

#else

bool MakeFolderLink(const std::string& link, const std::string& target) {
    std::string from = link;
    while (from.size() > 1 && from.back() == '/') {
        from.pop_back();
    }
    return ::symlink(target.c_str(), from.c_str()) == 0;
}

std::string OtherDriveForm(const std::string&) {
    return std::string();
}

#endif

} // namespace testsupport
