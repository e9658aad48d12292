// Folder identities on POSIX systems: device and inode, and the chain of parents
// walked through "..", which after a link leads to the link target's parents.
#include "platform/folder_identity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

#ifdef O_PATH
// Enough to walk through a folder and ask what it is, also where it cannot be read.
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// Far deeper than any real tree; ends the walk on a file system that never says root.
constexpr int kMaxDepth = 4096;

FolderIdentity IdentityOf(const struct stat& st) {
    FolderIdentity identity;
    identity.volume = static_cast<uint64_t>(st.st_dev);
    identity.index = static_cast<uint64_t>(st.st_ino);
    identity.hasIndex = true;
    return identity;
}

class PosixFolderProbe : public FolderProbe {
public:
    bool Identify(const std::string& path, FolderIdentity& identity) override {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            return false;
        }
        identity = IdentityOf(st);
        return true;
    }

    std::vector<FolderIdentity> Ancestry(const std::string& path) override {
        const int fd = ::open(path.c_str(), kFolderFlags);
        if (fd < 0) {
            return {};
        }
        std::vector<FolderIdentity> chain = AncestryOfDirectory(fd);
        ::close(fd);
        return chain;
    }
};

} // namespace

std::vector<FolderIdentity> AncestryOfDirectory(int directory) {
    std::vector<FolderIdentity> chain;
    struct stat st;
    if (::fstat(directory, &st) != 0) {
        return chain;
    }
    chain.push_back(IdentityOf(st));
    int current = directory;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const int parent = ::openat(current, "..", kFolderFlags);
        if (current != directory) {
            ::close(current);
        }
        current = parent;
        if (parent < 0 || ::fstat(parent, &st) != 0) {
            break;
        }
        const FolderIdentity identity = IdentityOf(st);
        if (SameFolder(identity, chain.back())) {
            break; // the root is its own parent
        }
        chain.push_back(identity);
    }
    if (current >= 0 && current != directory) {
        ::close(current);
    }
    return chain;
}

FolderProbe& SystemFolderProbe() {
    static PosixFolderProbe probe;
    return probe;
}

} // namespace platform
