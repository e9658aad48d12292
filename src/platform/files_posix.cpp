// File services on POSIX systems. Names are matched without regard to case here too,
// so a Linux folder may hold "archiv.pmm" next to "ARCHIV.PMG" as on Windows.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

bool SearchDirectory(const std::string& directory, const char* pattern, DirectoryVisitor visit,
                     void* context) {
    const std::string dirPath = directory.empty() ? std::string(".") : directory;
    DIR* dir = opendir(dirPath.c_str());
    if (!dir) {
        return false;
    }
    const int dirFd = dirfd(dir);
    while (const dirent* d = readdir(dir)) {
        const char* name = d->d_name;
        if ((name[0] == '.' && name[1] == '\0') ||
            (name[0] == '.' && name[1] == '.' && name[2] == '\0')) {
            continue;
        }
        if (!MatchesPattern(name, pattern)) {
            continue;
        }
        DirectoryEntry entry;
        entry.name = name;
        struct stat st;
        if (fstatat(dirFd, name, &st, 0) == 0) {
            entry.isDirectory = S_ISDIR(st.st_mode);
            entry.size = entry.isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
        }
        if (!visit(entry, context)) {
            break;
        }
    }
    closedir(dir);
    return true;
}

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool ReadOnlyFile::IsOpen() const { return m_fd >= 0; }

size_t ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (m_fd < 0) {
        return 0;
    }
    size_t done = 0;
    while (done < count) {
        const ssize_t n = pread(m_fd, static_cast<char*>(buffer) + done, count - done,
                                static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

uint64_t ReadOnlyFile::Length() const {
    struct stat st;
    if (m_fd < 0 || fstat(m_fd, &st) != 0) {
        return 0;
    }
    return static_cast<uint64_t>(st.st_size);
}

void ReadOnlyFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::string FullPath(const std::string& path) {
    std::string joined;
    if (!path.empty() && path[0] == '/') {
        joined = path;
    } else {
        std::vector<char> cwd(PATH_MAX);
        if (!getcwd(cwd.data(), cwd.size())) {
            return std::string();
        }
        joined = std::string(cwd.data()) + "/" + path;
    }
    // Resolve "." and ".." lexically, as GetFullPathNameA does, without touching the disk.
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= joined.size()) {
        size_t j = joined.find('/', i);
        if (j == std::string::npos) {
            j = joined.size();
        }
        const std::string part = joined.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string result;
    for (const std::string& part : parts) {
        result += "/" + part;
    }
    if (result.empty() || joined.back() == '/') {
        result += "/";
    }
    return result;
}

std::string ModuleFilePath() {
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) {
        return std::string();
    }
    return std::string(buffer.data(), static_cast<size_t>(n));
}

} // namespace platform
