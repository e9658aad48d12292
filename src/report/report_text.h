// The text of a report: the catalogue's rows in the list's order, as aligned columns,
// tab-separated, CSV or JSON, with the status line or the totals, converted from the
// program's Windows-1252 to the UTF-8 of the console.
#pragma once

#include "mailbox/folder_catalogue.h"
#include "report/earlier_report.h"
#include "report/report_options.h"
#include "report/report_sink.h"
#include "report/report_texts.h"
#include "report/row_order.h"
#include "text/language.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// The language of a report in `format`: the user's for the forms a person reads (text,
// excel), German for the machine forms (tsv, csv, json), whose words and numbers the
// scripts that read them look for. The writers hold it in a LanguageScope.
Language LanguageOf(ReportFormat format);

// Appends `text` (Windows-1252) as UTF-8. The five bytes Windows-1252 leaves undefined
// become the control characters of the same number, as Windows converts them.
void AppendUtf8FromCp1252(std::string& out, std::string_view text);
std::string Utf8FromCp1252(std::string_view text);

// The reverse for texts read back: a character Windows-1252 lacks, or a byte that is not
// UTF-8, becomes '?'.
std::string Cp1252FromUtf8(std::string_view text);

// Appends a Windows-1252 text as one cell of a line: control characters (C0, DEL and
// the C1 controls of the five bytes Windows-1252 leaves undefined) become '?'.
void AppendCell(std::string& out, std::string_view text);

// Where control characters in names may go. The line forms (text, TSV, the tree) never
// carry them, so that every row stays one line; CSV and JSON keep every byte in a file
// or a pipe, but not on a terminal, where ESC, BEL or a C1 control would be a command.
enum class Controls { kKeep, kMask };
Controls ControlsFor(const ReportOptions& options);
// Standard error: warnings, refusals and trace lines, which quote names and files.
Controls ErrorControlsFor(const ReportOptions& options);
// Appends one line of standard error: `line` (Windows-1252) as UTF-8, its final line
// feed kept whatever `controls` says.
void AppendErrorLine(std::string& out, std::string_view line, Controls controls);
// Appends `text` (Windows-1252) as UTF-8, with control characters as '?' for kMask.
void AppendText(std::string& out, std::string_view text, Controls controls);

// The aligned forms pad a column to its widest cell, but not to a cell wider than this
// (a path of thousands of characters): such a cell only makes its own line longer,
// instead of every line of the report.
constexpr size_t kMaxPaddedWidth = 256;

// Appends `cell` (Windows-1252, one character a byte) as UTF-8, padded with blanks to
// `width` characters, on the left when `right` is set.
void AppendPadded(std::string& out, const std::string& cell, size_t width, bool right);

// What a report says besides the rows: where and when it scanned, and the earlier report
// to compare with (none: no change column).
struct ReportContext {
    std::string mailboxDir;
    std::string newmailDir; // empty without new mail
    std::string scanTime;   // ISO 8601, UTC
    const EarlierReport* earlier = nullptr;
    // Above 0 the JSON says it was filed as a history entry of this format; a plain
    // report says nothing of the kind.
    uint64_t historyFormat = 0;
};

// The whole report in UTF-8, in the options' format, handed to `sink` in pieces as it
// is made. Text and TSV: the title line, one line per row, the status line; control
// characters in names become '?', so every row stays one line with its columns. CSV and
// JSON keep every byte of a name, but for a terminal (see ControlsFor).
void WriteReport(const FolderCatalogue& catalogue, const ReportOptions& options,
                 const ReportContext& context, ReportSink& sink);
// The same report returned whole.
std::string FormatReport(const FolderCatalogue& catalogue, const ReportOptions& options,
                         const ReportContext& context);
std::string FormatReport(const FolderCatalogue& catalogue, const ReportOptions& options);

// Rows in the order a report writes them.
struct OrderedRows {
    size_t Count() const { return order.size(); }
    bool Compared() const { return !rows.changes.empty(); }
    // Row `i` of the order; a removed one is made in `scratch`.
    const FolderRecord& Row(size_t i, FolderRecord& scratch) const {
        return rows.Row(order[i], scratch);
    }
    const RowChange& Change(size_t i) const { return rows.changes[order[i]]; }

    ComparedRows rows;
    std::vector<uint32_t> order; // indexes of `rows`
    // With a filter: the folder files of `order` (not the removed rows) and their bytes.
    bool filtered = false;
    int32_t shownFiles = 0;
    uint64_t shownSize = 0;
};
// The status line of the rows: what the window's says, or with a filter, what is shown
// of all.
std::string OrderedStatusLine(const FolderCatalogue& catalogue, const OrderedRows& ordered);
// The catalogue's rows as they are, in the scan's order.
OrderedRows InScanOrder(const std::vector<FolderRecord>& records);
// Rows already in order in the options' format.
void WriteOrdered(const FolderCatalogue& catalogue, const OrderedRows& ordered,
                  const ReportOptions& options, const ReportContext& context, ReportSink& sink);
// A text cell that a spreadsheet would take for a formula starts with an apostrophe;
// the byte counts stay numbers.
void WriteCsv(const OrderedRows& rows, const ReportOptions& options, ReportSink& sink);
// --format excel: what the window's export writes (view::FormatListExport, CSV), which
// a German spreadsheet opens with a double click.
void WriteExcel(const OrderedRows& rows, const ReportOptions& options, ReportSink& sink);
void WriteJson(const OrderedRows& rows, const FolderCatalogue& catalogue,
               const ReportOptions& options, const ReportContext& context, ReportSink& sink);

} // namespace report
