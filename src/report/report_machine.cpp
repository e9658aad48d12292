// The machine-readable reports: CSV after RFC 4180 and one JSON object written with
// nlohmann-json's serializer, both UTF-8 and both keeping every byte of a name (as its
// character) unless they go to a terminal.
#include "mailbox/folder_headers.h"
#include "mailbox/folder_limit.h"
#include "report/report_text.h"
#include "sizes/date_text.h"
#include "sizes/size_text.h"
#include "text/spreadsheet_cell.h"
#include "view/list_export.h"
#include "view/scan_view.h"

#include <nlohmann/json.hpp>

namespace report {

namespace {

using json = nlohmann::json;

const char kCsvHeader[] = "Dateiname,Gr\xF6\xDF"
                          "e,Ordnername,Bytes";
const char kCsvChangeHeader[] = ",\xC4nderung,\xC4nderung in Bytes";
const char kCsvTailHeader[] = ",Grenze,Ge\xE4ndert";

// The folder limit as the machine formats name it: null (JSON) or empty (CSV) for a row
// it does not apply to (the new mail, a removed row).
const char* LimitName(const FolderRecord& row, bool removed) {
    if (removed || !IsFolderFile(row)) {
        return nullptr;
    }
    switch (LimitOf(row)) {
    case FolderLimit::kNear:
        return "near";
    case FolderLimit::kOver:
        return "over";
    default:
        return "ok";
    }
}

std::string Utf8Folder(const FolderRecord& row, Controls controls) {
    std::string folder;
    AppendText(folder, row.folderPath, controls);
    AppendText(folder, row.folderName, controls);
    return folder;
}

// The JSON document written as a stream: the structure here, every value through the
// library's own serializer, which escapes texts and checks that they are UTF-8. One
// reused value per kind keeps a row free of allocations; a tree of 100 000 rows built
// first would cost more than the whole scan's own work.
class JsonWriter {
public:
    JsonWriter(std::string& out, Controls controls)
        : m_out(out), m_controls(controls),
          m_serializer(nlohmann::detail::output_adapter<char>(out), ' ',
                       json::error_handler_t::replace),
          m_text(json::value_t::string) {}

    void Raw(const char* text) { m_out += text; }
    // The key of the next member, after a comma unless its object has just begun.
    void Key(const char* key) {
        if (m_out.empty() || m_out.back() != '{') { // empty: a piece was just handed on
            m_out += ',';
        }
        m_out += '"';
        m_out += key;
        m_out += "\":";
    }
    // A Windows-1252 text as a JSON string.
    void Text(std::string_view cp1252) {
        std::string& text = m_text.get_ref<std::string&>();
        text.clear();
        AppendText(text, cp1252, m_controls);
        m_serializer.dump(m_text, false, false, 0);
    }
    void Unsigned(uint64_t value) { m_serializer.dump(json(value), false, false, 0); }
    void Signed(int64_t value) { m_serializer.dump(json(value), false, false, 0); }
    void Bool(bool value) { m_out += value ? "true" : "false"; }
    // Null for an empty text: a value the row does not have.
    void TextOrNull(std::string_view cp1252) {
        if (cp1252.empty()) {
            Raw("null");
        } else {
            Text(cp1252);
        }
    }

private:
    std::string& m_out;
    Controls m_controls;
    nlohmann::detail::serializer<json> m_serializer;
    json m_text;
};

void WriteRow(JsonWriter& w, const FolderRecord& row, const RowChange* change, bool exact) {
    const bool failed = IsFailureText(row.folderName);
    const bool removed = change && change->kind == RowChange::kRemoved;
    w.Raw("{");
    w.Key("fileName");
    w.Text(row.fileName);
    w.Key("folderPath");
    w.Text(row.folderPath);
    w.Key("folderName");
    w.Text(row.folderName);
    w.Key("size");
    w.Unsigned(row.size);
    w.Key("failed");
    w.Bool(failed);
    w.Key("failure");
    w.TextOrNull(failed ? std::string_view(row.folderName) : std::string_view());
    if (change) {
        w.Key("change");
        w.Raw(ChangeDigits(change->bytes).c_str());
        w.Key("changeText");
        w.Text(ChangeText(*change, exact));
        w.Key("removed");
        w.Bool(removed);
    }
    w.Key("limit");
    const char* limit = LimitName(row, removed);
    w.TextOrNull(limit ? limit : "");
    w.Key("lastChange");
    w.TextOrNull(IsoChangeText(row.lastWrite));
    w.Raw("}");
}

} // namespace

void WriteCsv(const OrderedRows& ordered, const ReportOptions& options, ReportSink& sink) {
    const bool compared = ordered.Compared();
    std::string out;
    out.reserve(kReportPieceBytes + 4096);
    AppendUtf8FromCp1252(out, kCsvHeader);
    if (compared) {
        AppendUtf8FromCp1252(out, kCsvChangeHeader);
    }
    AppendUtf8FromCp1252(out, kCsvTailHeader);
    out += "\r\n";
    const Controls controls = ControlsFor(options);
    text::SpreadsheetLine line(out, text::CellSeparator::kComma);
    std::string field;
    FolderRecord scratch;
    for (size_t i = 0; i < ordered.Count(); ++i) {
        const FolderRecord& row = ordered.Row(i, scratch);
        const bool removed = compared && ordered.Change(i).kind == RowChange::kRemoved;
        field.clear();
        AppendText(field, row.fileName, controls);
        line.Text(field);
        line.Text(removed ? std::string()
                          : FormatSize(row.size, SizeStyleFor(!options.exactSizes)));
        line.Text(Utf8Folder(row, controls));
        line.Number(removed ? std::string() : std::to_string(row.size));
        if (compared) {
            line.Text(Utf8FromCp1252(ChangeText(ordered.Change(i), options.exactSizes)));
            line.Number(ChangeDigits(ordered.Change(i).bytes));
        }
        const char* limit = LimitName(row, removed);
        line.Number(limit ? limit : "");
        line.Number(IsoChangeText(row.lastWrite)); // digits and ASCII: never a formula
        line.End();
        SpillIfFull(out, sink);
    }
    SpillAll(out, sink);
}

// The bytes of the window's export: its columns in their first order, Windows-1252 as the
// names are (UTF-8 in English, as the window's English export), no escapes; on a
// terminal without control characters.
void WriteExcel(const OrderedRows& ordered, const ReportOptions& options, ReportSink& sink) {
    const bool mask = ControlsFor(options) == Controls::kMask;
    std::string out;
    out.reserve(kReportPieceBytes + 4096);
    std::vector<std::string> cells = {Say(Phrase::kTitleFileName), Say(Phrase::kTitleSize),
                                      Say(Phrase::kTitleFolder), Say(Phrase::kTitleBytes)};
    out += view::ExportFileStart(view::ExportFormat::kCsv);
    view::AppendExportLine(out, cells, view::ExportFormat::kCsv);
    FolderRecord scratch;
    for (size_t i = 0; i < ordered.Count(); ++i) {
        const FolderRecord* row = &ordered.Row(i, scratch);
        cells[0].clear();
        cells[2].clear();
        if (mask) {
            AppendCell(cells[0], row->fileName);
            AppendCell(cells[2], row->folderPath);
            AppendCell(cells[2], row->folderName);
        } else {
            cells[0] = row->fileName;
            cells[2] = row->folderPath + row->folderName;
        }
        cells[1] = FormatSize(row->size, SizeStyleFor(!options.exactSizes));
        cells[3] = std::to_string(row->size);
        view::AppendExportLine(out, cells, view::ExportFormat::kCsv);
        SpillIfFull(out, sink);
    }
    SpillAll(out, sink);
}

void WriteJson(const OrderedRows& ordered, const FolderCatalogue& catalogue,
               const ReportOptions& options, const ReportContext& context, ReportSink& sink) {
    const bool compared = ordered.Compared();
    // The serializer appends to `out` itself; emptied between rows, it keeps writing there.
    std::string out;
    out.reserve(kReportPieceBytes + 4096);
    JsonWriter w(out, ControlsFor(options));
    w.Raw("{");
    w.Key("mailbox");
    w.Text(context.mailboxDir);
    w.Key("newmail");
    w.TextOrNull(context.newmailDir);
    w.Key("scanTime");
    w.Text(context.scanTime);
    if (context.historyFormat > 0) {
        w.Key("historyFormat");
        w.Unsigned(context.historyFormat);
    }
    if (compared && !options.sinceDay.empty()) {
        w.Key("sinceDay");
        w.Text(options.sinceDay);
    }
    w.Key("rows");
    w.Raw("[\n");
    FolderRecord scratch;
    for (size_t i = 0; i < ordered.Count(); ++i) {
        WriteRow(w, ordered.Row(i, scratch), compared ? &ordered.Change(i) : nullptr,
                 options.exactSizes);
        w.Raw(i + 1 < ordered.Count() ? ",\n" : "\n");
        SpillIfFull(out, sink);
    }
    w.Raw("]");
    w.Key("totals");
    w.Raw("{");
    w.Key("files");
    w.Signed(catalogue.fileCount);
    w.Key("size");
    w.Unsigned(catalogue.totalSize);
    if (ordered.filtered) {
        w.Key("shownFiles");
        w.Signed(ordered.shownFiles);
        w.Key("shownSize");
        w.Unsigned(ordered.shownSize);
    }
    w.Key("statusLine");
    w.Text(OrderedStatusLine(catalogue, ordered));
    if (compared) {
        w.Key("change");
        w.Raw(ChangeDigits(ordered.rows.totalChange).c_str());
        w.Key("changeText");
        w.Text(ChangeText({RowChange::kChanged, ordered.rows.totalChange}, false));
    }
    w.Raw("}}\n");
    SpillAll(out, sink);
}

} // namespace report
