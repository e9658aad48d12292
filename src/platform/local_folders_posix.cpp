// The program's own folders on POSIX systems.
#include "platform/local_folders.h"

#include "platform/path_separator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string LocalAppDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') {
        return WithFinalSeparator(data);
    }
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') {
        return WithFinalSeparator(home) + ".local/share/";
    }
    return std::string();
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    // Each prefix that ends before a separator, then the whole path.
    for (size_t end = folder.find('/', 1); end != std::string::npos;
         end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return IsFolder(folder);
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool RemoveEmptyFolder(const std::string& folder) {
    return ::rmdir(folder.c_str()) == 0;
}

} // namespace platform
