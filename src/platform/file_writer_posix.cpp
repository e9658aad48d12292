// ReplaceFileContents on POSIX systems: O_EXCL for the temporary name, fsync, rename.
#include "platform/file_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    for (int n = 0; n < 100; ++n) {
        const std::string temp = path + "." + std::to_string(n) + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return false;
        }
        bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
        ok = ::close(fd) == 0 && ok;
        ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
        if (!ok) {
            ::unlink(temp.c_str());
        }
        return ok;
    }
    return false;
}

} // namespace platform
