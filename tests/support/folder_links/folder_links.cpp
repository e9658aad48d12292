// Folder links: symlink() natively; under Wine, /bin/ln started as a Unix program
// (Wine runs one as a child process) on the Unix names of both paths, and drive
// letters as links among the prefix's drives.
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

// Runs a Unix program (its path is the first word of `command`) and waits until
// `done` says it has had its effect: Wine cannot wait for a Unix child itself.
bool RunUnix(std::string command, bool (*done)(const std::string&), const std::string& path) {
    const std::string program = "Z:" + command.substr(0, command.find(' '));
    std::string application = program;
    for (char& c : application) {
        c = c == '/' ? '\\' : c;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(application.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    for (int i = 0; i < 500; ++i) {
        if (done(path)) {
            return true;
        }
        ::Sleep(10);
    }
    return false;
}

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Gone(const std::string& path) {
    return !Exists(path);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

bool MakeFolderLink(const std::string& link, const std::string& target) {
    const std::string from = UnixName(link);
    const std::string to = UnixName(target);
    if (from.empty() || to.empty()) {
        return ::CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
               Exists(link);
    }
    return RunUnix("/bin/ln -s " + Quoted(to) + " " + Quoted(from), Exists, link);
}

DriveMapping::DriveMapping(const std::string& folder) {
    // Wine keeps its drives as links named "c:", "d:", ... in one directory.
    const std::string drives = UnixName("C:\\");
    const size_t at = drives.rfind("/c:");
    const std::string target = UnixName(folder);
    if (at == std::string::npos || target.empty()) {
        return;
    }
    for (char letter = 'q'; letter <= 'y'; ++letter) {
        const std::string root = std::string(1, static_cast<char>(letter - 'a' + 'A')) + ":\\";
        if (::GetDriveTypeA(root.c_str()) != DRIVE_NO_ROOT_DIR) {
            continue;
        }
        const std::string link = drives.substr(0, at + 1) + letter + ":";
        if (RunUnix("/bin/ln -s " + Quoted(target) + " " + Quoted(link), Exists, root)) {
            m_letter = root.substr(0, 2);
            m_link = link;
        }
        return;
    }
}

DriveMapping::~DriveMapping() {
    if (!m_link.empty()) {
        RunUnix("/bin/rm " + Quoted(m_link), Gone, m_letter + "\\");
    }
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

DriveMapping::DriveMapping(const std::string&) {}
DriveMapping::~DriveMapping() = default;

#endif

} // namespace testsupport
