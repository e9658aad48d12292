// The export and clipboard texts and the check of protected directories. Excel reads a
// CSV file in the system's ANSI code page with the system's list separator, which for
// German settings is ';': so that a double click shows the columns, the German file is
// Windows-1252 with ';' as written here. An English Excel separates with ',', and
// English-speaking users sit at systems of every code page: there the file is UTF-8
// with its byte order mark, which tells every Excel since 2007 the encoding, and ','.
#include "view/list_export.h"

#include "platform/path_separator.h"
#include "text/cp1252_case.h"
#include "text/cp1252_unicode.h"
#include "text/language.h"
#include "text/spreadsheet_cell.h"

#include <cstdio>

namespace view {

namespace {

// Folded, every run of separators one backslash, none at the end.
std::string Normalized(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (platform::IsPathSeparator(c)) {
            if (out.empty() || out.back() != '\\') {
                out += '\\';
            }
        } else {
            out += text::FoldWindows1252(c);
        }
    }
    // A UNC path keeps its two leading backslashes.
    if (path.size() >= 2 && platform::IsPathSeparator(path[0]) &&
        platform::IsPathSeparator(path[1])) {
        out.insert(out.begin(), '\\');
    }
    while (!out.empty() && out.back() == '\\') {
        out.pop_back();
    }
    return out;
}

bool EndsWithNoCase(const std::string& text, const char* tail) {
    const std::string folded = Normalized(text);
    const std::string t = tail;
    return folded.size() >= t.size() && folded.compare(folded.size() - t.size(), t.size(), t) == 0;
}

} // namespace

namespace {

bool IsUtf8Csv(ExportFormat format) {
    return format == ExportFormat::kCsv && UserLanguage() == Language::English;
}

std::string Utf8Of(const std::string& cp1252) {
    std::string utf8;
    utf8.reserve(cp1252.size());
    char bytes[4];
    for (char c : cp1252) {
        const int n =
            text::Utf8OfCodePoint(text::UnicodeOfWindows1252(static_cast<unsigned char>(c)), bytes);
        utf8.append(bytes, static_cast<size_t>(n));
    }
    return utf8;
}

} // namespace

const char* ExportFileStart(ExportFormat format) {
    return IsUtf8Csv(format) ? "\xEF\xBB\xBF" : "";
}

void AppendExportLine(std::string& out, const std::vector<std::string>& cells,
                      ExportFormat format) {
    const bool utf8 = IsUtf8Csv(format);
    // Every text here ends up in a spreadsheet, the clipboard's too.
    text::SpreadsheetLine line(out, format == ExportFormat::kTsv ? text::CellSeparator::kTab
                                    : utf8                       ? text::CellSeparator::kComma
                                                                 : text::CellSeparator::kSemicolon);
    for (const std::string& cell : cells) {
        line.Text(utf8 ? Utf8Of(cell) : cell);
    }
    line.End();
}

std::string FormatListExport(const ListSnapshot& list, const std::string& bytesTitle,
                             ExportFormat format) {
    std::string out = ExportFileStart(format);
    std::vector<std::string> cells = list.titles;
    cells.push_back(bytesTitle);
    AppendExportLine(out, cells, format);
    for (const ListSnapshot::Row& row : list.rows) {
        cells = row.cells;
        cells.push_back(std::to_string(row.bytes));
        AppendExportLine(out, cells, format);
    }
    return out;
}

std::string FormatListCopy(const ListSnapshot& list, const std::string& bytesTitle) {
    return FormatListExport(list, bytesTitle, ExportFormat::kTsv);
}

std::string SuggestedExportName(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "Foldtally %04d-%02d-%02d.csv", year, month, day);
    return text;
}

std::string ExportFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExportStartFolder(const std::string& lastFolder, const std::string& documents,
                              const std::vector<std::string>& protectedDirs) {
    for (const std::string* folder : {&lastFolder, &documents}) {
        // A file in the folder is what the export would be refused for.
        if (!folder->empty() && !IsInProtectedDirectory(*folder + "\\x", protectedDirs)) {
            return *folder;
        }
    }
    return std::string();
}

ExportFormat ExportFormatFor(const std::string& path, int filterIndex) {
    if (EndsWithNoCase(path, ".csv")) {
        return ExportFormat::kCsv;
    }
    if (EndsWithNoCase(path, ".txt")) {
        return ExportFormat::kTsv;
    }
    return filterIndex == 2 ? ExportFormat::kTsv : ExportFormat::kCsv;
}

bool IsInProtectedDirectory(const std::string& path, const std::vector<std::string>& directories) {
    const std::string file = Normalized(path);
    const size_t slash = file.rfind('\\');
    const std::string parent = slash == std::string::npos ? std::string() : file.substr(0, slash);
    for (const std::string& directory : directories) {
        const std::string dir = Normalized(directory);
        if (dir.empty()) {
            continue;
        }
        if (parent == dir ||
            (parent.size() > dir.size() && parent.compare(0, dir.size(), dir) == 0 &&
             parent[dir.size()] == '\\')) {
            return true;
        }
    }
    return false;
}

} // namespace view
