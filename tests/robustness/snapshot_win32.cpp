// Directory snapshots through the same narrow Win32 calls the program uses.
#include "snapshot_win32.h"

#include <windows.h>

namespace robustness {

namespace {

uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

std::string ReadAll(const std::string& path) {
    std::string bytes;
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return "<unreadable>";
    }
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    ::CloseHandle(h);
    return bytes;
}

void Walk(const std::string& root, const std::string& relative, Snapshot& snapshot) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((root + relative + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        EntryState entry;
        entry.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.lastWrite =
            Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
        if (entry.isDirectory) {
            snapshot[relative + name + "\\"] = entry;
            Walk(root, relative + name + "\\", snapshot);
        } else {
            entry.size = Join(data.nFileSizeHigh, data.nFileSizeLow);
            entry.bytes = ReadAll(root + relative + name);
            snapshot[relative + name] = entry;
        }
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
}

} // namespace

std::ostream& operator<<(std::ostream& out, const EntryState& e) {
    return out << (e.isDirectory ? "directory" : "file") << " of " << e.size
               << " bytes, written at " << e.lastWrite;
}

Snapshot TakeSnapshot(const std::string& root) {
    Snapshot snapshot;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA(root.c_str(), GetFileExInfoStandard, &data)) {
        EntryState self;
        self.isDirectory = true;
        self.lastWrite =
            Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
        snapshot[""] = self;
    }
    Walk(root, "", snapshot);
    return snapshot;
}

} // namespace robustness
