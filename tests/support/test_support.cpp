// Test helpers over std::filesystem and the C library.
#include "test_support.h"

#include "platform/debug_output.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/time.h>
#endif

namespace fs = std::filesystem;

namespace testsupport {

const char* Separator() {
#ifdef _WIN32
    return "\\";
#else
    return "/";
#endif
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    for (;;) {
        const std::string leaf =
            "foldtally-test-" + std::to_string(random()) + "-" + std::to_string(counter++);
        const fs::path dir = base / leaf;
        if (fs::create_directory(dir, ec)) {
            m_path = dir.string() + Separator();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(fs::path(m_path), ec);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        return bytes;
    }
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.append(buffer, n);
    }
    std::fclose(f);
    return bytes;
}

bool MakeDirectory(const std::string& path) {
    std::error_code ec;
    return fs::create_directories(fs::path(path), ec);
}

bool RemoveFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool SetLastWrite(const std::string& path, int64_t unixSeconds) {
#ifdef _WIN32
    HANDLE file =
        ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const uint64_t ticks = static_cast<uint64_t>(unixSeconds + 11644473600ll) * 10000000u;
    const FILETIME time = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const bool set = ::SetFileTime(file, nullptr, nullptr, &time) != 0;
    ::CloseHandle(file);
    return set;
#else
    const struct timeval times[2] = {{static_cast<time_t>(unixSeconds), 0},
                                     {static_cast<time_t>(unixSeconds), 0}};
    return ::utimes(path.c_str(), times) == 0;
#endif
}

TraceCapture::TraceCapture() {
    platform::SetDebugOutputHook(&TraceCapture::Collect, this);
}

TraceCapture::~TraceCapture() {
    platform::SetDebugOutputHook(nullptr, nullptr);
}

void TraceCapture::Collect(const char* text, void* context) {
    static_cast<TraceCapture*>(context)->m_lines.emplace_back(text);
}

std::string Ints(const std::vector<int32_t>& values) {
    std::string bytes;
    for (int32_t v : values) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<char>((static_cast<uint32_t>(v) >> shift) & 0xFF));
        }
    }
    return bytes;
}

#ifndef _WIN32
ZoneScope::ZoneScope(const char* zone) {
    const char* old = std::getenv("TZ");
    m_bHad = old != nullptr;
    m_strOld = old ? old : "";
    setenv("TZ", zone, 1);
    tzset();
}

ZoneScope::~ZoneScope() {
    if (m_bHad) {
        setenv("TZ", m_strOld.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}
#endif

} // namespace testsupport
