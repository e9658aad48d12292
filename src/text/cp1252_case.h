// Case folding of Windows-1252 letters, for what the user types or names as a path:
// ASCII, the Latin-1 capitals À..Þ (but ×), and Š Œ Ž Ÿ, as Windows folds them in that
// code page. Names of the mail client's files match by the ASCII rule of ascii_case.h.
#pragma once

#include <string>
#include <string_view>

namespace text {

constexpr char FoldWindows1252(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
        return static_cast<char>(u + 0x20);
    }
    if (u == 0x8A || u == 0x8C || u == 0x8E) { // Š Œ Ž
        return static_cast<char>(u + 0x10);
    }
    if (u == 0x9F) { // Ÿ
        return static_cast<char>(0xFF);
    }
    return c;
}

// `text` with every letter folded as above.
inline std::string FoldedWindows1252(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = FoldWindows1252(c);
    }
    return folded;
}

} // namespace text
