// The program's own folder on POSIX systems: each part opened with O_NOFOLLOW relative
// to the one above, and every later step through openat, renameat and unlinkat.
#include "platform/own_folder.h"

#include "platform/file_writer.h"
#include "platform/folder_identity.h"
#include "platform/local_folders.h"
#include "platform/path_separator.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

constexpr int kOpenFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int kFileFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;

bool SameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `name` in `folder` is still the open `fd`, not a link or a file put there since.
bool IsStillEntry(int folder, const std::string& name, int fd) {
    struct stat open;
    struct stat entry;
    return ::fstat(fd, &open) == 0 &&
           ::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
           SameEntry(open, entry);
}

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

// Opens the folder `name` of `parent` without following a link. When it is missing and
// `create` says so, it is made, but only once `parent` (at `path`, with a final
// separator) is found to lie outside the guard's folders.
OwnFolderOpen OpenPart(int parent, const std::string& path, const std::string& name, bool create,
                       const ProtectedFolders& guard, int& fd) {
    fd = ::openat(parent, name.c_str(), kOpenFolderFlags | O_NOFOLLOW);
    if (fd < 0 && errno == ENOENT && create) {
        if (guard.ContainsOpenFile(AncestryOfDirectory(parent), path)) {
            return OwnFolderOpen::kProtected;
        }
        if (::mkdirat(parent, name.c_str(), 0700) == 0 || errno == EEXIST) {
            fd = ::openat(parent, name.c_str(), kOpenFolderFlags | O_NOFOLLOW);
        }
    }
    if (fd >= 0) {
        return OwnFolderOpen::kOpened;
    }
    const int error = errno;
    struct stat entry;
    if (::fstatat(parent, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(entry.st_mode)) {
        return OwnFolderOpen::kLink;
    }
    return error == ENOENT ? OwnFolderOpen::kMissing : OwnFolderOpen::kFailed;
}

} // namespace

OwnFolderOpen OwnFolder::Open(const std::string& base, const std::vector<std::string>& parts,
                              bool create, const ProtectedFolders& guard) {
    Close();
    m_pGuard = &guard;
    m_strPath = WithFolders(base, parts);
    if (parts.empty()) {
        return OwnFolderOpen::kFailed;
    }
    int current = ::open(base.c_str(), kOpenFolderFlags);
    // By name and by the folders that are there already, before any is made.
    if (current < 0 && errno == ENOENT && create) {
        if (guard.Contains(m_strPath)) {
            return OwnFolderOpen::kProtected;
        }
        current = MakeFolders(base) ? ::open(base.c_str(), kOpenFolderFlags) : -1;
    }
    if (current < 0) {
        return errno == ENOENT ? OwnFolderOpen::kMissing : OwnFolderOpen::kFailed;
    }
    std::string path = WithFinalSeparator(base);
    for (const std::string& part : parts) {
        int next = -1;
        const OwnFolderOpen opened = OpenPart(current, path, part, create, guard, next);
        if (opened != OwnFolderOpen::kOpened) {
            CloseFd(current);
            Close();
            return opened;
        }
        path += part + "/";
        CloseFd(m_parent);
        m_parent = current;
        current = next;
    }
    m_folder = current;
    m_strName = parts.back();
    // Whatever the names say: the folder and those above it as the file system chains them.
    if (guard.ContainsOpenFile(AncestryOfDirectory(m_folder), m_strPath)) {
        Close();
        return OwnFolderOpen::kProtected;
    }
    return OwnFolderOpen::kOpened;
}

bool OwnFolder::IsOpen() const {
    return m_folder >= 0;
}

void OwnFolder::Close() {
    CloseFd(m_folder);
    CloseFd(m_parent);
}

bool OwnFolder::List(const char* pattern, DirectoryVisitor visit, void* context) const {
    int fd = m_folder >= 0 ? ::dup(m_folder) : -1;
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        CloseFd(fd);
        return false;
    }
    // The copy shares the position of the folder's own descriptor.
    ::rewinddir(dir);
    while (const dirent* d = ::readdir(dir)) {
        if (!IsSearchHit(d->d_name, pattern)) {
            continue;
        }
        DirectoryEntry entry;
        entry.name = d->d_name;
        entry.isDirectory = d->d_type == DT_DIR;
        if (!visit(entry, context)) {
            break;
        }
    }
    ::closedir(dir);
    return true;
}

bool OwnFolder::OpenFile(const std::string& name, ReadOnlyFile& file) const {
    file.Close();
    const int fd = m_folder >= 0 ? ::openat(m_folder, name.c_str(), kFileFlags) : -1;
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    file.m_fd = fd;
    file.m_nLength = static_cast<uint64_t>(st.st_size);
    file.m_nLastWrite = static_cast<int64_t>(st.st_mtime);
    return true;
}

bool OwnFolder::ReplaceContents(const std::string& name, std::string_view bytes) const {
    return m_folder >= 0 && ReplaceFileIn(m_folder, name, m_strPath + name, bytes, m_pGuard) ==
                                WriteOutcome::kWritten;
}

OwnFileRemoval OwnFolder::RemoveFile(const std::string& name, RemovalTest mayGo) const {
    ReadOnlyFile file;
    if (!OpenFile(name, file)) {
        struct stat entry;
        const bool gone = m_folder >= 0 &&
                          ::fstatat(m_folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 &&
                          errno == ENOENT;
        return gone ? OwnFileRemoval::kRemoved : OwnFileRemoval::kKept;
    }
    if (!mayGo(file) || !IsStillEntry(m_folder, name, file.m_fd)) {
        return OwnFileRemoval::kKept;
    }
    return ::unlinkat(m_folder, name.c_str(), 0) == 0 ? OwnFileRemoval::kRemoved
                                                      : OwnFileRemoval::kFailed;
}

bool OwnFolder::RemoveIfEmpty() {
    const bool removed = m_folder >= 0 && m_parent >= 0 &&
                         IsStillEntry(m_parent, m_strName, m_folder) &&
                         ::unlinkat(m_parent, m_strName.c_str(), AT_REMOVEDIR) == 0;
    Close();
    return removed;
}

} // namespace platform
