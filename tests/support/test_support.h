// Shared helpers for the test programs: a throw-away directory per test, files written
// byte for byte, and a capture of the trace lines written meanwhile.
#pragma once

#include "text/language.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Fills a buffer before a call so a test sees which bytes the call wrote.
constexpr unsigned char kPoison = 0xA5;

constexpr uint64_t kGiB = 1024ull * 1024 * 1024;

// A new empty directory below the system's temporary directory, removed with all its
// contents by the destructor. Path() ends with the platform's separator.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path() followed by `name`.
    std::string operator/(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// Writes `bytes` to `path` (created or truncated) with the C library's narrow-name open,
// so names with bytes 0x80-0xFF reach Windows as they are. Returns success.
bool WriteFile(const std::string& path, const std::string& bytes);
bool MakeDirectory(const std::string& path);
bool RemoveFile(const std::string& path);
std::string ReadFile(const std::string& path);
// Sets the file's last write to `unixSeconds` after 1970-01-01 UTC. Returns success.
bool SetLastWrite(const std::string& path, int64_t unixSeconds);

// The platform's directory separator as text: "\\" on Windows, "/" elsewhere.
const char* Separator();

// Collects every text sent to the debugger channel while it lives.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::vector<std::string>& Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }

private:
    static void Collect(const char* text, void* context);
    std::vector<std::string> m_lines;
};

// 32-bit values as a store keeps them in a binary value: four bytes each, least
// significant first.
std::string Ints(const std::vector<int32_t>& values);

// The process speaks `language` for the life of the object, then German again, as every
// test expects.
struct LanguageForTest {
    explicit LanguageForTest(Language language) { SetUserLanguage(language); }
    ~LanguageForTest() { SetUserLanguage(Language::German); }
    LanguageForTest(const LanguageForTest&) = delete;
    LanguageForTest& operator=(const LanguageForTest&) = delete;
};

#ifndef _WIN32
// The machine's time zone (a TZ value such as "UTC0") for the life of the object; the
// one before comes back afterwards.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone);
    ~ZoneScope();
    ZoneScope(const ZoneScope&) = delete;
    ZoneScope& operator=(const ZoneScope&) = delete;

private:
    bool m_bHad = false;
    std::string m_strOld;
};
#endif

} // namespace testsupport
