// The Windows floor for a scan, in the same order of calls as the POSIX loop: no
// parsing, no path making, no strings kept, one handle at a time.
#include "minimal_scan_win32.h"

#include <windows.h>

#include <cstring>

namespace {

bool HasExtension(const char* name, const char* upper) {
    const size_t n = std::strlen(name);
    return n >= 4 && lstrcmpiA(name + n - 4, upper) == 0;
}

HANDLE OpenShared(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void ReadHeader(const std::string& path, DWORD size, bool takeLength, MinimalScanTotals& totals) {
    char buffer[128];
    const HANDLE h = OpenShared(path);
    if (h == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD got = 0;
    if (ReadFile(h, buffer, size, &got, nullptr) && got > 0) {
        totals.headerBytes += got + static_cast<unsigned char>(buffer[0]);
    }
    LARGE_INTEGER length;
    if (takeLength && GetFileSizeEx(h, &length)) {
        totals.bytes += static_cast<uint64_t>(length.QuadPart);
    }
    CloseHandle(h);
}

void Length(const std::string& path, MinimalScanTotals& totals) {
    const HANDLE h = OpenShared(path);
    if (h == INVALID_HANDLE_VALUE) {
        return;
    }
    LARGE_INTEGER length;
    if (GetFileSizeEx(h, &length)) {
        totals.bytes += static_cast<uint64_t>(length.QuadPart);
    }
    CloseHandle(h);
}

void ReadWhole(const std::string& path, MinimalScanTotals& totals) {
    const HANDLE h = OpenShared(path);
    if (h == INVALID_HANDLE_VALUE) {
        return;
    }
    static char buffer[64 * 1024];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        totals.headerBytes += got;
    }
    CloseHandle(h);
}

} // namespace

MinimalScanTotals MinimalScan(const std::string& mailboxDir, const std::string& newmailDir) {
    MinimalScanTotals totals;
    ReadWhole(mailboxDir + "hierarch.pm", totals);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((mailboxDir + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (HasExtension(data.cFileName, ".PMM")) {
                ReadHeader(mailboxDir + data.cFileName, 128, true, totals);
                ++totals.files;
            } else if (HasExtension(data.cFileName, ".MBX")) {
                const std::string path = mailboxDir + data.cFileName;
                Length(path, totals);
                ReadHeader(path.substr(0, path.size() - 4) + ".PMG", 90, false, totals);
                ++totals.files;
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    find = FindFirstFileA((newmailDir + "*.CNM").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            totals.bytes += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return totals;
}
