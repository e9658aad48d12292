// The folder list's place, type-ahead and column width rules.
#include "view/list_rules.h"

#include "text/cp1252_case.h"

namespace view {

int FindKeptRow(int count, const std::function<bool(int)>& isSame,
                const std::function<bool(int)>& sortsAfter) {
    if (count <= 0) {
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        if (isSame(i)) {
            return i;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (sortsAfter(i)) {
            return i;
        }
    }
    return count - 1;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (text::FoldWindows1252(text[i]) != text::FoldWindows1252(prefix[i])) {
            return false;
        }
    }
    return true;
}

int FindPrefixRow(int count, const std::function<std::string(int)>& textOf,
                  const std::string& prefix) {
    if (prefix.empty()) {
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        if (StartsWithIgnoringCase(textOf(i), prefix)) {
            return i;
        }
    }
    return -1;
}

const std::string& TypeAhead::Add(char letter, uint32_t nowMs) {
    // Unsigned difference: correct across the clock's wrap.
    if (m_strTyped.empty() || nowMs - m_nLastMs > kPauseMs) {
        m_strTyped.clear();
    }
    m_strTyped += letter;
    m_nLastMs = nowMs;
    return m_strTyped;
}

int ScaleForDpi(int pixels96, int dpi) {
    if (dpi <= 0) {
        dpi = 96;
    }
    return static_cast<int>((static_cast<int64_t>(pixels96) * dpi + 48) / 96);
}

int FitColumnWidth(int scaledDefault, int textWidth, int padding) {
    const int needed = textWidth + 2 * padding;
    return needed > scaledDefault ? needed : scaledDefault;
}

} // namespace view
