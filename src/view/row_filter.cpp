#include "view/row_filter.h"

#include <algorithm>

#include "text/cp1252_case.h"

namespace view {

namespace {

bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
}

void AddOnce(std::vector<std::string>& words, std::string word) {
    if (!word.empty() && std::find(words.begin(), words.end(), word) == words.end()) {
        words.push_back(std::move(word));
    }
}

// Whether `word` (folded) is in one of `texts`, folding each byte as it is compared:
// every keystroke in the filter runs this over every row, so nothing is copied.
bool FoundIn(std::initializer_list<std::string_view> texts, const std::string& word) {
    const auto same = [](char a, char folded) { return text::FoldWindows1252(a) == folded; };
    for (std::string_view text : texts) {
        if (std::search(text.begin(), text.end(), word.begin(), word.end(), same) != text.end()) {
            return true;
        }
    }
    return false;
}

} // namespace

bool RowFilter::SetWords(std::string_view text) {
    RowFilter words;
    words.m_nMinimumSize = m_nMinimumSize;
    if (!words.AddWords(text, false)) {
        return false;
    }
    *this = std::move(words);
    return true;
}

bool RowFilter::AddWords(std::string_view text, bool excluded) {
    std::vector<std::string> words = m_words;
    std::vector<std::string> without = m_excluded;
    size_t i = 0;
    while (i < text.size()) {
        if (IsSeparator(text[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !IsSeparator(text[end])) {
            ++end;
        }
        std::string_view word = text.substr(i, end - i);
        const bool leftOut = excluded || word[0] == '-';
        if (word[0] == '-') {
            word.remove_prefix(1);
        }
        AddOnce(leftOut ? without : words, text::FoldedWindows1252(word));
        if (words.size() + without.size() > kMostWords) {
            return false;
        }
        i = end;
    }
    m_words = std::move(words);
    m_excluded = std::move(without);
    return true;
}

bool RowFilter::Passes(std::initializer_list<std::string_view> texts, uint64_t size) const {
    return size >= m_nMinimumSize && PassesWords(texts);
}

bool RowFilter::PassesWords(std::initializer_list<std::string_view> texts) const {
    if (m_words.empty() && m_excluded.empty()) {
        return true;
    }
    const Hits hits = HitsIn(texts);
    return hits.words == AllWords() && !hits.excluded;
}

RowFilter::Hits RowFilter::HitsIn(std::initializer_list<std::string_view> texts) const {
    Hits hits;
    for (size_t i = 0; i < m_words.size(); ++i) {
        if (FoundIn(texts, m_words[i])) {
            hits.words |= uint64_t{1} << i;
        }
    }
    for (const std::string& word : m_excluded) {
        if (FoundIn(texts, word)) {
            hits.excluded = true;
            break;
        }
    }
    return hits;
}

} // namespace view
