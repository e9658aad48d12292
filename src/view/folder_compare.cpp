// The folder list's comparison. Only ASCII letters fold: the list has always sorted
// umlauts by their code, after 'z', whatever the system's locale says.
#include "view/folder_compare.h"

#include "text/ascii_case.h"

#include <cstring>

namespace view {

namespace {

unsigned Fold(char c) {
    return static_cast<unsigned char>(text::FoldAscii(c));
}

// Folded comparison of two runs of `n` bytes; 0 when they are equal. Runs of identical
// bytes are skipped eight at a time: sorted rows share long path prefixes.
int CompareFoldedRun(const char* a, const char* b, size_t n) {
    size_t i = 0;
    for (;;) {
        while (i + 8 <= n) {
            uint64_t x;
            uint64_t y;
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            if (x != y) {
                break;
            }
            i += 8;
        }
        for (; i < n && a[i] == b[i]; ++i) {
        }
        if (i == n) {
            return 0;
        }
        const unsigned ca = Fold(a[i]);
        const unsigned cb = Fold(b[i]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        ++i;
    }
}

// The rest of the concatenation of two pieces of text, one contiguous run at a time.
class JoinedText {
public:
    JoinedText(std::string_view first, std::string_view second)
        : m_current(first), m_next(second) {}
    // The next contiguous run; empty only at the end of both pieces.
    std::string_view Run() {
        if (m_current.empty()) {
            m_current = m_next;
            m_next = std::string_view();
        }
        return m_current;
    }
    void Skip(size_t n) { m_current.remove_prefix(n); }

private:
    std::string_view m_current;
    std::string_view m_next;
};

} // namespace

int CompareFoldedText(std::string_view a1, std::string_view a2, std::string_view b1,
                      std::string_view b2) {
    JoinedText a(a1, a2);
    JoinedText b(b1, b2);
    for (;;) {
        const std::string_view ra = a.Run();
        const std::string_view rb = b.Run();
        if (ra.empty() || rb.empty()) {
            return ra.empty() == rb.empty() ? 0 : (ra.empty() ? -1 : 1);
        }
        const size_t n = ra.size() < rb.size() ? ra.size() : rb.size();
        if (const int r = CompareFoldedRun(ra.data(), rb.data(), n)) {
            return r;
        }
        a.Skip(n);
        b.Skip(n);
    }
}

int CompareFoldedText(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    if (const int r = CompareFoldedRun(a.data(), b.data(), n)) {
        return r;
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

void AppendFolded(std::string& out, std::string_view text) {
    const size_t start = out.size();
    out.append(text.data(), text.size());
    char* data = &out[0];
    size_t i = start;
    // Eight bytes at a time: a byte gets 0x20 added exactly when it lies in 'A'..'Z'
    // (bytes from 0x80 up never do), which is Fold on each of them.
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kTops = 0x8080808080808080ull;
    for (; i + 8 <= out.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, data + i, 8);
        const uint64_t low = w & ~kTops;
        const uint64_t atLeastA = low + (0x80 - 'A') * kOnes;
        const uint64_t aboveZ = low + (0x80 - 'Z' - 1) * kOnes;
        const uint64_t upper = atLeastA & ~aboveZ & ~w & kTops;
        w |= upper >> 2;
        std::memcpy(data + i, &w, 8);
    }
    for (; i < out.size(); ++i) {
        data[i] = static_cast<char>(Fold(data[i]));
    }
}

int CompareFolderItems(const FolderFields& a, const FolderFields& b, int column) {
    switch (column) {
    case kColumnFileName:
        return CompareFoldedText(a.fileName, b.fileName);
    case kColumnSize:
        return a.size == b.size ? 0 : (a.size < b.size ? -1 : 1);
    case kColumnFolderName:
        return CompareFoldedText(a.folderPath, a.folderName, b.folderPath, b.folderName);
    case kColumnChanged:
        return a.lastWrite == b.lastWrite ? 0 : (a.lastWrite < b.lastWrite ? -1 : 1);
    default:
        return 0;
    }
}

} // namespace view
