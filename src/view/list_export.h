// The folder list taken out of the window: the text of the export file (CSV for a
// German Excel, or tab-separated), of the clipboard, and the rule which folders an
// export must never be written into. Texts are the program's Windows-1252 throughout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace view {

enum class ExportFormat { kCsv, kTsv };

// The list as it shows itself: the column titles and each row's cells in display
// order, and each row's exact size in bytes.
struct ListSnapshot {
    std::vector<std::string> titles;
    struct Row {
        std::vector<std::string> cells;
        uint64_t bytes = 0;
    };
    std::vector<Row> rows;
    std::string statusLine; // as the window shows it
    uint64_t totalBytes = 0;
};

// The export file: a header line with the titles and `bytesTitle`, one line per row
// with its cells and its byte count in plain digits, then the status line with the
// total in the byte column; CR LF after every line. CSV: fields separated by ';', a
// field in quotes (quotes doubled) when it holds ';', '"', CR or LF. TSV: no quoting;
// a tab, CR or LF inside a cell becomes a blank, so every row keeps its columns. In
// both, a cell that a spreadsheet would take for a formula ('=', '+', '-', '@', a tab
// or CR first) starts with an apostrophe, which keeps it the text it is.
std::string FormatListExport(const ListSnapshot& list, const std::string& bytesTitle,
                             ExportFormat format);

// The clipboard text: the titles and the rows' cells, tab-separated with CR LF, as for
// TSV (apostrophes included: it is pasted into spreadsheets too), without the byte
// column and the status line.
std::string FormatListCopy(const ListSnapshot& list);

// The format a file name asks for: ".csv" and ".txt" (any letter case) decide;
// otherwise the chosen file type (1: CSV, 2: tab-separated) does.
ExportFormat ExportFormatFor(const std::string& path, int filterIndex);

// True when the file `path` (a full Windows path) lies in one of `directories` or below
// it, whatever the letter case (ASCII and the Windows-1252 letters) and however many
// backslashes or slashes end or separate the parts. Empty directories are skipped.
bool IsInProtectedDirectory(const std::string& path, const std::vector<std::string>& directories);

} // namespace view
