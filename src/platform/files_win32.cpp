// File services on Windows. Opens share reading and writing because the mail client
// keeps its folder files open for writing while we read their headers.
#include "platform/files.h"

#include <windows.h>

namespace platform {

namespace {
HANDLE AsHandle(void* h) {
    return static_cast<HANDLE>(h);
}

// 100-ns ticks since 1601 to seconds since 1970; 0 (unknown) for a time before 1970.
int64_t UnixSeconds(const FILETIME& time) {
    const uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    constexpr uint64_t kTicksTo1970 = 116444736000000000ull;
    return ticks > kTicksTo1970 ? static_cast<int64_t>((ticks - kTicksTo1970) / 10000000u) : 0;
}
} // namespace

bool SearchDirectory(const std::string& directory, const char* pattern, DirectoryVisitor visit,
                     void* context) {
    // FindFirstFileA also matches short 8.3 aliases (".PMMX" answers to "*.PMM"), so
    // every name is checked again against the pattern as it stands.
    WIN32_FIND_DATAA data;
    const std::string query = directory + pattern;
    HANDLE find = FindFirstFileA(query.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
    }
    do {
        const char* name = data.cFileName;
        if (!IsSearchHit(name, pattern)) {
            continue;
        }
        DirectoryEntry entry;
        entry.name = name;
        entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.size = entry.isDirectory
                         ? 0
                         : (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entry.lastWrite = UnixSeconds(data.ftLastWriteTime);
        if (!visit(entry, context)) {
            break;
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
}

// Windows matches names without regard to case by itself: nothing to keep.
CaseFoldingScope::CaseFoldingScope() {}
CaseFoldingScope::~CaseFoldingScope() {}

bool SearchDirectoryNames(const std::string& directory, const char* pattern, DirectoryVisitor visit,
                          void* context) {
    return SearchDirectory(directory, pattern, visit, context); // details come for free
}

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    // A device or a pipe (under Wine also a link to /dev/zero or to a FIFO) never ends
    // or blocks a read: only files on a disk are read.
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return false;
    }
    m_hFile = h;
    return true;
}

bool ReadOnlyFile::IsOpen() const {
    return AsHandle(m_hFile) != INVALID_HANDLE_VALUE;
}

// The position is set and the reads are plain: a read with an OVERLAPPED offset on a
// synchronous handle costs Wine an extra round trip to its server per read (a completion
// notice nobody waits for), and a scan reads one header from each of thousands of files.
size_t ReadOnlyFile::ReadAt(uint64_t offset, void* buffer, size_t count) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!IsOpen() || offset > static_cast<uint64_t>(INT64_MAX) ||
        !SetFilePointerEx(AsHandle(m_hFile), position, nullptr, FILE_BEGIN)) {
        return 0;
    }
    size_t done = 0;
    while (done < count) {
        const size_t want = count - done;
        const DWORD chunk = want > 0x10000000u ? 0x10000000u : static_cast<DWORD>(want);
        DWORD got = 0;
        if (!ReadFile(AsHandle(m_hFile), static_cast<char*>(buffer) + done, chunk, &got, nullptr) ||
            got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

uint64_t ReadOnlyFile::Length() const {
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(AsHandle(m_hFile), &size)) {
        return 0;
    }
    return static_cast<uint64_t>(size.QuadPart);
}

int64_t ReadOnlyFile::OpenedLastWrite() const {
    return 0; // the listing carries it; asking the handle would cost a round trip
}

void ReadOnlyFile::Close() {
    if (IsOpen()) {
        CloseHandle(AsHandle(m_hFile));
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (n == 0 || n >= sizeof buffer) {
        return std::string();
    }
    return std::string(buffer, n);
}

std::string ModuleFilePath() {
    char buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) {
        return std::string();
    }
    return std::string(buffer, n);
}

bool IsOnNetworkShare(const std::string& directory) {
    if (directory.size() >= 2 && (directory[0] == '\\' || directory[0] == '/') &&
        (directory[1] == '\\' || directory[1] == '/')) {
        return true; // \\server\share\...
    }
    if (directory.size() < 2 || directory[1] != ':') {
        return false;
    }
    const char root[] = {directory[0], ':', '\\', '\0'};
    return ::GetDriveTypeA(root) == DRIVE_REMOTE;
}

} // namespace platform
