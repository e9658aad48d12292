// The folder list's comparison. Only ASCII letters fold: the list has always sorted
// umlauts by their code, after 'z', whatever the system's locale says.
#include "view/folder_compare.h"

namespace view {

namespace {

unsigned Fold(char c) {
    const unsigned u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : u;
}

// Walks the concatenation of two pieces of text without copying them.
class JoinedText {
public:
    JoinedText(std::string_view first, std::string_view second)
        : m_first(first), m_second(second) {}
    bool AtEnd() const { return m_index >= m_first.size() + m_second.size(); }
    char Next() {
        const size_t i = m_index++;
        return i < m_first.size() ? m_first[i] : m_second[i - m_first.size()];
    }

private:
    std::string_view m_first;
    std::string_view m_second;
    size_t m_index = 0;
};

} // namespace

int CompareFoldedText(std::string_view a1, std::string_view a2, std::string_view b1,
                      std::string_view b2) {
    JoinedText a(a1, a2);
    JoinedText b(b1, b2);
    while (!a.AtEnd() && !b.AtEnd()) {
        const unsigned ca = Fold(a.Next());
        const unsigned cb = Fold(b.Next());
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.AtEnd() && b.AtEnd()) {
        return 0;
    }
    return a.AtEnd() ? -1 : 1;
}

int CompareFoldedText(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned ca = Fold(a[i]);
        const unsigned cb = Fold(b[i]);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

int CompareFolderItems(const FolderFields& a, const FolderFields& b, int column) {
    switch (column) {
    case kColumnFileName:
        return CompareFoldedText(a.fileName, b.fileName);
    case kColumnSize:
        return a.size == b.size ? 0 : (a.size < b.size ? -1 : 1);
    case kColumnFolderName:
        return CompareFoldedText(a.folderPath, a.folderName, b.folderPath, b.folderName);
    default:
        return 0;
    }
}

} // namespace view
