// The filter of a list: the words a row's texts must hold, those they must not, and the
// size a row must reach. One rule for the windows' filter line and the report's options.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace view {

class RowFilter {
public:
    // The most words a filter holds: a row's words are then one bit each.
    static constexpr size_t kMostWords = 64;

    // The words of `text`, split at spaces and control characters: "-word" is a word a
    // row must not hold, a lone "-" is nothing. Case is folded as the type-ahead does.
    // False, with the filter's words unchanged, when it would hold over kMostWords.
    bool SetWords(std::string_view text);
    // The same, adding to the words there are; with `excluded` every word is one a row
    // must not hold (the report's --exclude).
    bool AddWords(std::string_view text, bool excluded);
    void SetMinimumSize(uint64_t bytes) { m_nMinimumSize = bytes; }

    // Whether every row passes.
    bool IsEmpty() const { return m_words.empty() && m_excluded.empty() && m_nMinimumSize == 0; }
    // Whether a row passes: its size is at least the minimum, and each word is found in
    // one of `texts` (the file name, folder name, path, ...) and no excluded word in any.
    bool Passes(std::initializer_list<std::string_view> texts, uint64_t size) const;
    // The same for the texts alone, for a row that has no size of its own.
    bool PassesWords(std::initializer_list<std::string_view> texts) const;

    // For rows whose texts are spread over a path of nodes (the tree): the words
    // `texts` hold, word i as bit i, and whether they hold one left out. A node passes
    // when the hits of its way down, together, are AllWords() and none left out.
    struct Hits {
        uint64_t words = 0;
        bool excluded = false;
    };
    Hits HitsIn(std::initializer_list<std::string_view> texts) const;
    uint64_t AllWords() const {
        return m_words.size() >= 64 ? ~uint64_t{0} : (uint64_t{1} << m_words.size()) - 1;
    }
    uint64_t MinimumSize() const { return m_nMinimumSize; }

private:
    std::vector<std::string> m_words;    // folded, each once
    std::vector<std::string> m_excluded; // folded, each once
    uint64_t m_nMinimumSize = 0;
};

} // namespace view
