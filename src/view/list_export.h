// The folder list taken out of the window: the text of the export file (CSV for the
// Excel of the user's language, or tab-separated), of the clipboard, and the rule which folders an
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
};

// One line of the export: `cells` as text::SpreadsheetLine writes them, separated by ';'
// (CSV) or tabs. In English (UserLanguage()) the CSV is UTF-8 and separated by ',';
// the tab-separated text stays Windows-1252 in both.
void AppendExportLine(std::string& out, const std::vector<std::string>& cells, ExportFormat format);
// What an export file in `format` begins with: the UTF-8 byte order mark for the English
// CSV, so that Excel reads it as UTF-8; nothing otherwise.
const char* ExportFileStart(ExportFormat format);

// The export file: a header line with the titles and `bytesTitle`, then one line per
// row with its cells and its byte count in plain digits; nothing else, so that a sum
// over the byte column is the total. Each line as AppendExportLine writes it.
std::string FormatListExport(const ListSnapshot& list, const std::string& bytesTitle,
                             ExportFormat format);

// The clipboard text: what the export writes in its tab-separated form, the byte column
// included, since a paste goes into the same spreadsheets.
std::string FormatListCopy(const ListSnapshot& list, const std::string& bytesTitle);

// The file name the Save As dialog suggests: "Foldtally yyyy-mm-dd.csv" (ISO date,
// which sorts by date in any folder listing).
std::string SuggestedExportName(int year, int month, int day);

// The folder part of a chosen file's path, with its final separator; empty when the
// path has none.
std::string ExportFolderOf(const std::string& path);

// Where the Save As dialog opens: the folder of the last export written, or else the
// user's documents folder, each only when known and not one the export refuses by its
// name (IsInProtectedDirectory); empty otherwise, which leaves the choice to the dialog.
std::string ExportStartFolder(const std::string& lastFolder, const std::string& documents,
                              const std::vector<std::string>& protectedDirs);

// The format a file name asks for: ".csv" and ".txt" (any letter case) decide;
// otherwise the chosen file type (1: CSV, 2: tab-separated) does.
ExportFormat ExportFormatFor(const std::string& path, int filterIndex);

// True when the file `path` (a full Windows path) lies in one of `directories` or below
// it, whatever the letter case (ASCII and the Windows-1252 letters) and however many
// backslashes or slashes end or separate the parts. Empty directories are skipped.
bool IsInProtectedDirectory(const std::string& path, const std::vector<std::string>& directories);

} // namespace view
