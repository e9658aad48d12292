// ReplaceFileContents on POSIX systems: the target's folder is opened once and every
// later step works relative to that open folder, so no link swapped in between can
// move the file elsewhere; O_EXCL for the temporary name, fsync, renameat.
#include "platform/file_writer.h"

#include "platform/folder_identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

// True when the open temporary file `fd` is still the entry `name` of `folder`.
bool IsEntryOf(int folder, const std::string& name, int fd) {
    struct stat open;
    struct stat entry;
    return ::fstat(fd, &open) == 0 &&
           ::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
           open.st_dev == entry.st_dev && open.st_ino == entry.st_ino;
}

class OwnedFd {
public:
    explicit OwnedFd(int fd) : m_fd(fd) {}
    ~OwnedFd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

WriteOutcome Replace(const std::string& path, std::string_view bytes,
                     const ProtectedFolders* guard) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string dir = slash == std::string::npos ? "."
                            : slash == 0               ? "/"
                                                       : path.substr(0, slash);
    if (name.empty()) {
        return WriteOutcome::kFailed;
    }
    if (guard && guard->Contains(path)) {
        return WriteOutcome::kRefused;
    }
    OwnedFd folder(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) {
        return WriteOutcome::kFailed;
    }
    if (guard && guard->ContainsOpenFile(AncestryOfDirectory(folder.Get()), path)) {
        return WriteOutcome::kRefused;
    }
    return ReplaceFileIn(folder.Get(), name, path, bytes, guard);
}

} // namespace

WriteOutcome ReplaceFileIn(int folder, const std::string& name, const std::string& path,
                           std::string_view bytes, const ProtectedFolders* guard) {
    for (int n = 0; n < 100; ++n) {
        const std::string temp = name + "." + std::to_string(n) + ".tmp";
        const int fd = ::openat(folder, temp.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return WriteOutcome::kFailed;
        }
        bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
        // The folder itself cannot change under the open descriptor, but the folders
        // above it can be moved meanwhile.
        const bool refused = ok && guard &&
                             (!IsEntryOf(folder, temp, fd) ||
                              guard->ContainsOpenFile(AncestryOfDirectory(folder), path));
        ok = ::close(fd) == 0 && ok && !refused;
        ok = ok && ::renameat(folder, temp.c_str(), folder, name.c_str()) == 0;
        if (!ok) {
            ::unlinkat(folder, temp.c_str(), 0);
        }
        return ok        ? WriteOutcome::kWritten
               : refused ? WriteOutcome::kRefused
                         : WriteOutcome::kFailed;
    }
    return WriteOutcome::kFailed;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    return Replace(path, bytes, nullptr) == WriteOutcome::kWritten;
}

WriteOutcome ReplaceFileContents(const std::string& path, std::string_view bytes,
                                 const ProtectedFolders& guard) {
    return Replace(path, bytes, &guard);
}

} // namespace platform
