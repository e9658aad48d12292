// What a spreadsheet makes of a cell of text. A cell that starts with '=', '+', '-' or
// '@' is read as a formula (and one that starts with a tab or a carriage return as
// one after the spreadsheet drops the blank), so a folder named "=SUMME(1)" or a
// change "+1,2 MB" would be computed, and a crafted name could call other programs.
// An apostrophe in front makes any spreadsheet take the cell as the text it shows,
// without showing the apostrophe.
#pragma once

#include <string>
#include <string_view>

namespace text {

constexpr char kSpreadsheetTextMark = '\'';

// True when a spreadsheet would take `cell` for a formula.
constexpr bool StartsLikeFormula(std::string_view cell) {
    if (cell.empty()) {
        return false;
    }
    switch (cell.front()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

// `cell` as a spreadsheet shows it as text: with the apostrophe in front when it
// starts like a formula, unchanged otherwise.
inline std::string SpreadsheetText(std::string_view cell) {
    std::string text;
    if (StartsLikeFormula(cell)) {
        text.reserve(cell.size() + 1);
        text += kSpreadsheetTextMark;
    }
    text += cell;
    return text;
}

} // namespace text
