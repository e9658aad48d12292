// The parts of the file services that are the same on every platform: the pattern
// rule of directory searches, the bounded reader and the buffered line reader.
#include "platform/files.h"

#include "text/ascii_case.h"

#include <cstring>

namespace platform {

bool MatchesPattern(const char* name, const char* pattern) {
    // The scan's own patterns ("*.PMM", "*.CNM") are one star and a literal tail: a
    // folded comparison of the name's end, without the general walk below.
    if (pattern[0] == '*' && std::strpbrk(pattern + 1, "*?") == nullptr) {
        const size_t tail = std::strlen(pattern + 1);
        const size_t length = std::strlen(name);
        if (length < tail) {
            return false;
        }
        const char* end = name + length - tail;
        for (size_t i = 0; i < tail; ++i) {
            if (text::FoldAscii(end[i]) != text::FoldAscii(pattern[1 + i])) {
                return false;
            }
        }
        return true;
    }
    // Iterative wildcard match with one backtrack point: linear in practice, never
    // exponential, whatever the names look like.
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern == '?' ||
                   (*pattern && text::FoldAscii(*pattern) == text::FoldAscii(*name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*') {
        ++pattern;
    }
    return *pattern == '\0';
}

bool IsSearchHit(const char* name, const char* pattern) {
    const bool dots = name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
    return !dots && MatchesPattern(name, pattern);
}

bool IsReadableDirectory(const std::string& directory) {
    return SearchDirectory(
        directory, "*", [](const DirectoryEntry&, void*) { return false; }, nullptr);
}

bool BoundedFileReader::Open(const std::string& path, uint64_t maxBytes) {
    m_offset = 0;
    m_nMax = maxBytes;
    m_bTooLong = false;
    if (!m_file.Open(path)) {
        return false;
    }
    // Known too long at once: nothing of it is read.
    m_bTooLong = m_file.Length() > m_nMax;
    return true;
}

size_t BoundedFileReader::Read(char* buffer, size_t capacity) {
    if (m_bTooLong || !m_file.IsOpen()) {
        return 0;
    }
    // One byte past the bound is asked for, so a file that grew past it is told apart
    // from one that ends exactly there.
    const uint64_t allowed = m_nMax - m_offset;
    const size_t want = allowed < capacity ? static_cast<size_t>(allowed) + 1 : capacity;
    const size_t got = m_file.ReadAt(m_offset, buffer, want);
    if (got > allowed) {
        m_bTooLong = true;
        return 0;
    }
    m_offset += got;
    return got;
}

void TextLineReader::SetLimits(size_t maxLineBytes, uint64_t maxFileBytes) {
    m_nMaxLine = maxLineBytes;
    m_nMaxFile = maxFileBytes;
}

bool TextLineReader::Open(const std::string& path) {
    m_length = 0;
    m_position = 0;
    m_eof = false;
    m_bTooLong = false;
    if (!m_file.Open(path, m_nMaxFile)) {
        return false;
    }
    m_bTooLong = m_file.TooLong();
    return true;
}

bool TextLineReader::Fill() {
    if (m_eof || m_bTooLong) {
        return false;
    }
    m_length = m_file.Read(m_buffer, sizeof m_buffer);
    m_position = 0;
    if (m_file.TooLong()) {
        m_bTooLong = true;
        return false;
    }
    if (m_length == 0) {
        m_eof = true;
    }
    return m_length != 0;
}

bool TextLineReader::ReadLine(std::string& line) {
    line.clear();
    if (!m_file.IsOpen() || m_bTooLong) {
        return false;
    }
    bool any = false;
    for (;;) {
        if (m_position == m_length && !Fill()) {
            break;
        }
        any = true;
        const char* start = m_buffer + m_position;
        const void* lf = std::memchr(start, '\n', m_length - m_position);
        const size_t n =
            lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) : m_length - m_position;
        // One byte of slack until the line end is seen: it may be the CR of a CR LF.
        if (line.size() + n > m_nMaxLine && line.size() + n - m_nMaxLine > 1) {
            return Overlong(line);
        }
        line.append(start, n);
        if (lf) {
            m_position += n + 1;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line.size() <= m_nMaxLine || Overlong(line);
        }
        m_position = m_length;
    }
    if (m_bTooLong) {
        return Overlong(line);
    }
    return any && (line.size() <= m_nMaxLine || Overlong(line));
}

bool TextLineReader::Overlong(std::string& line) {
    m_bTooLong = true;
    line.clear();
    return false;
}

} // namespace platform
