// The program's own folders on Windows, through the ANSI functions as everywhere else.
#include "platform/local_folders.h"

#include "platform/path_separator.h"

#include <windows.h>

namespace platform {

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Variable(const char* name) {
    char value[MAX_PATH + 1];
    const DWORD n = ::GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

} // namespace

std::string LocalAppDataFolder() {
    // Windows XP has no LOCALAPPDATA; its roaming folder is the next best place.
    std::string folder = Variable("LOCALAPPDATA");
    if (folder.empty()) {
        folder = Variable("APPDATA");
    }
    return WithFinalSeparator(folder);
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    // Past the root ("C:\", "\\server\share\"), each prefix that ends before a separator.
    for (size_t end = 1; end < folder.size(); ++end) {
        if (IsPathSeparator(folder[end]) && !IsPathSeparator(folder[end - 1]) &&
            folder[end - 1] != ':') {
            const std::string part = folder.substr(0, end);
            if (!IsFolder(part)) {
                ::CreateDirectoryA(part.c_str(), nullptr);
            }
        }
    }
    if (!IsFolder(folder)) {
        ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    return IsFolder(folder);
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != 0 || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool RemoveEmptyFolder(const std::string& folder) {
    return ::RemoveDirectoryA(folder.c_str()) != 0;
}

} // namespace platform
