// The text of a report: the catalogue's rows in the list's order, as tab-separated or
// aligned columns, and the status line, converted from the program's Windows-1252 to
// the UTF-8 of the console.
#pragma once

#include "mailbox/folder_catalogue.h"
#include "report/report_options.h"
#include "report/row_order.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// Appends `text` (Windows-1252) as UTF-8. The five bytes Windows-1252 leaves undefined
// become the control characters of the same number, as Windows converts them.
void AppendUtf8FromCp1252(std::string& out, std::string_view text);
std::string Utf8FromCp1252(std::string_view text);

// "%d Dateien, %s (%s Bytes)" with the count, the compact and the exact total
// (Windows-1252).
std::string StatusLine(int32_t fileCount, uint64_t totalSize);

// The whole report in UTF-8: the title line, one line per row, the status line. Bytes
// below 0x20 in names become '?', so every row stays one line with its columns.
std::string FormatReport(const FolderCatalogue& catalogue, const ReportOptions& options);

} // namespace report
