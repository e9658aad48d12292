// ASCII case folding, the one rule by which names of the mail client's files and
// folders match and sort: only 'A'-'Z' fold, every byte above 0x7F stays as it is,
// whatever the system's locale says about it.
#pragma once

#include <string_view>

namespace text {

constexpr char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal when both have the same length and match byte for byte after folding.
constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace text
