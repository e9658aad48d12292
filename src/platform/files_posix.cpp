// File services on POSIX systems. Names are matched without regard to case here too,
// in searches and in opens, so a Linux folder may hold "archiv.mbx" next to
// "ARCHIV.PMG" and "HIERARCH.PM" as on Windows.
#include "platform/files.h"

#include "platform/keyed_hash.h"
#include "text/ascii_case.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

namespace {

std::string FoldedName(const char* name) {
    std::string folded(name);
    for (char& c : folded) {
        c = text::FoldAscii(c);
    }
    return folded;
}

// Directory listings kept while a CaseFoldingScope lives: for each directory, each
// folded name with the entry FindNameIgnoringCase would choose for it.
struct FoldedListing {
    bool readable = false;
    KeyedMap<std::string> names;
};
std::atomic<int> g_caseFoldingScopes{0};
// The scan's helper threads open files at once. Only an open that missed the exact name
// comes here, so the lock is off the path of a mailbox whose names match their case.
std::mutex g_listingsMutex;
KeyedMap<FoldedListing>& CachedListings() {
    static KeyedMap<FoldedListing> listings;
    return listings;
}

const FoldedListing& CachedListing(const std::string& directory) {
    auto& listings = CachedListings();
    const auto known = listings.find(directory);
    if (known != listings.end()) {
        return known->second;
    }
    FoldedListing& listing = listings[directory];
    if (DIR* dir = opendir(directory.c_str())) {
        listing.readable = true;
        while (const dirent* d = readdir(dir)) {
            const auto placed = listing.names.emplace(FoldedName(d->d_name), d->d_name);
            if (!placed.second && placed.first->second.compare(d->d_name) > 0) {
                placed.first->second = d->d_name;
            }
        }
        closedir(dir);
    }
    return listing;
}

// The entry of `directory` whose name equals `name` without regard to ASCII case. When
// several do (a case-sensitive file system may hold "a.PMG" and "A.pmg"), the smallest
// in byte order wins, so the choice never depends on the order of the directory.
bool FindNameIgnoringCase(const std::string& directory, const std::string& name,
                          std::string& found) {
    if (g_caseFoldingScopes.load() > 0) {
        const std::lock_guard<std::mutex> lock(g_listingsMutex);
        const FoldedListing& listing = CachedListing(directory);
        const auto entry = listing.names.find(FoldedName(name.c_str()));
        if (entry == listing.names.end()) {
            return false;
        }
        found = entry->second;
        return true;
    }
    DIR* dir = opendir(directory.c_str());
    if (!dir) {
        return false;
    }
    bool any = false;
    while (const dirent* d = readdir(dir)) {
        if (text::EqualIgnoringAsciiCase(d->d_name, name.c_str()) &&
            (!any || found.compare(d->d_name) > 0)) {
            found = d->d_name;
            any = true;
        }
    }
    closedir(dir);
    return any;
}

// Opens `path` read-only; when no entry has exactly that name, the entry of the same
// directory whose last path component differs only in the case of ASCII letters, as
// Windows does by itself. The directories on the way must match exactly.
int OpenIgnoringCase(const std::string& path) {
    const int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    const int fd = ::open(path.c_str(), flags);
    if (fd >= 0 || errno != ENOENT) {
        return fd;
    }
    const size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string found;
    if (name.empty() || !FindNameIgnoringCase(directory, name, found)) {
        errno = ENOENT;
        return -1;
    }
    const std::string prefix = slash == std::string::npos ? "" : directory;
    return ::open((prefix + found).c_str(), flags);
}

bool Search(const std::string& directory, const char* pattern, DirectoryVisitor visit,
            void* context, bool withDetails) {
    const std::string dirPath = directory.empty() ? std::string(".") : directory;
    DIR* dir = opendir(dirPath.c_str());
    if (!dir) {
        return false;
    }
    const int dirFd = dirfd(dir);
    while (const dirent* d = readdir(dir)) {
        const char* name = d->d_name;
        if (!IsSearchHit(name, pattern)) {
            continue;
        }
        DirectoryEntry entry;
        entry.name = name;
        struct stat st;
        if (withDetails && fstatat(dirFd, name, &st, 0) == 0) {
            entry.isDirectory = S_ISDIR(st.st_mode);
            entry.size = entry.isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
            entry.lastWrite = static_cast<int64_t>(st.st_mtime);
        }
        if (!visit(entry, context)) {
            break;
        }
    }
    closedir(dir);
    return true;
}

} // namespace

CaseFoldingScope::CaseFoldingScope() {
    ++g_caseFoldingScopes;
}

CaseFoldingScope::~CaseFoldingScope() {
    if (--g_caseFoldingScopes == 0) {
        const std::lock_guard<std::mutex> lock(g_listingsMutex);
        CachedListings().clear();
    }
}

bool SearchDirectory(const std::string& directory, const char* pattern, DirectoryVisitor visit,
                     void* context) {
    return Search(directory, pattern, visit, context, true);
}

bool SearchDirectoryNames(const std::string& directory, const char* pattern, DirectoryVisitor visit,
                          void* context) {
    return Search(directory, pattern, visit, context, false);
}

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    const int fd = OpenIgnoringCase(path);
    if (fd < 0) {
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_nLength = static_cast<uint64_t>(st.st_size);
    m_nLastWrite = static_cast<int64_t>(st.st_mtime);
    return true;
}

bool ReadOnlyFile::IsOpen() const {
    return m_fd >= 0;
}

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
    return m_fd >= 0 ? m_nLength : 0;
}

int64_t ReadOnlyFile::OpenedLastWrite() const {
    return m_fd >= 0 ? m_nLastWrite : 0;
}

void ReadOnlyFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        m_nLength = 0;
        m_nLastWrite = 0;
    }
}

namespace {

// True for an absolute path with no ".", ".." or empty component: it is its own full
// path, as the general rule below would rebuild it. Scans ask for thousands of these.
bool IsCanonicalAbsolute(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return false;
    }
    size_t start = 1;
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const size_t n = end - start;
        if (n == 0 || (path[start] == '.' && (n == 1 || (n == 2 && path[start + 1] == '.')))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

std::string FullPath(const std::string& path) {
    if (IsCanonicalAbsolute(path)) {
        return path;
    }
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

bool IsOnNetworkShare(const std::string& directory) {
    struct statfs info = {};
    if (directory.empty() || statfs(directory.c_str(), &info) != 0) {
        return false;
    }
    // The magic numbers of the file systems that reach a server: NFS, SMB, CIFS, SMB2,
    // AFS, Coda and 9P.
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969ul:
    case 0x517Bul:
    case 0xFF534D42ul:
    case 0xFE534D42ul:
    case 0x5346414Ful:
    case 0x73757245ul:
    case 0x01021997ul:
        return true;
    default:
        return false;
    }
}

} // namespace platform
