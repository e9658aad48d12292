// What a spreadsheet makes of a cell of text. A cell that starts with '=', '+', '-' or
// '@' is read as a formula (and one that starts with a tab or a carriage return as
// one after the spreadsheet drops the blank), so a folder named "=SUMME(1)" or a
// change "+1,2 MB" would be computed, and a crafted name could call other programs.
// An apostrophe in front makes any spreadsheet take the cell as the text it shows,
// without showing the apostrophe.
// Every CSV and TSV line the program writes is written here (SpreadsheetLine), so the
// rule holds in each of them.
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

// How the cells of a line are kept apart. Both CSV forms put a field in quotes (quotes
// doubled) when it holds the separator, a quote, CR or LF: ';' is what a German Excel
// takes with a double click, ',' what RFC 4180 and scripts take. Tab-separated text has
// no quotes: a tab, CR or LF inside a cell becomes a blank, so every row keeps its
// columns.
enum class CellSeparator : char { kSemicolon = ';', kComma = ',', kTab = '\t' };

// Appends `cell` as one field: with the apostrophe in front when it starts like a
// formula, then quoted or blanked as `separator` asks.
inline void AppendSpreadsheetField(std::string& out, std::string_view cell,
                                   CellSeparator separator) {
    const bool tab = separator == CellSeparator::kTab;
    const char quoteIf[] = {static_cast<char>(separator), '"', '\r', '\n', '\0'};
    const bool special = cell.find_first_of(tab ? "\t\r\n" : quoteIf) != std::string_view::npos;
    if (special && !tab) {
        out += '"';
    }
    if (StartsLikeFormula(cell)) {
        out += kSpreadsheetTextMark;
    }
    if (!special) {
        out += cell;
        return;
    }
    for (const char c : cell) {
        if (tab) {
            out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
            continue;
        }
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    if (!tab) {
        out += '"';
    }
}

// Writes one line of cells into `out`: separators between them, CR LF at the end.
class SpreadsheetLine {
public:
    SpreadsheetLine(std::string& out, CellSeparator separator)
        : m_out(out), m_separator(separator) {}

    // A cell of text, as AppendSpreadsheetField writes it.
    SpreadsheetLine& Text(std::string_view cell) {
        Next();
        AppendSpreadsheetField(m_out, cell, m_separator);
        return *this;
    }
    // A cell of digits, a '-' in front included, or other ASCII that needs no quotes: as
    // it is, so that "-300" stays the number it is.
    SpreadsheetLine& Number(std::string_view digits) {
        Next();
        m_out += digits;
        return *this;
    }
    // CR LF; the next cell starts a new line.
    void End() {
        m_out += "\r\n";
        m_bFirst = true;
    }

private:
    void Next() {
        if (!m_bFirst) {
            m_out += static_cast<char>(m_separator);
        }
        m_bFirst = false;
    }

    std::string& m_out;
    const CellSeparator m_separator;
    bool m_bFirst = true;
};

} // namespace text
