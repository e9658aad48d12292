// The machine-readable reports: CSV after RFC 4180 and one JSON object through
// nlohmann-json, both UTF-8 and both keeping every byte of a name (as its character).
#include "mailbox/folder_headers.h"
#include "report/report_text.h"
#include "sizes/big_int.h"

#include <nlohmann/json.hpp>

namespace report {

namespace {

using json = nlohmann::ordered_json;

const char kCsvHeader[] = "Dateiname,Gr\xF6\xDF"
                          "e,Ordnername,Bytes";
const char kCsvChangeHeader[] = ",\xC4nderung,\xC4nderung in Bytes";

// A field in quotes only when it holds a comma, a quote or a line end; quotes doubled.
void AppendCsvField(std::string& out, const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) {
        out += utf8;
        return;
    }
    out += '"';
    for (char c : utf8) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

std::string Utf8Folder(const FolderRecord& row) {
    std::string folder;
    AppendUtf8FromCp1252(folder, row.folderPath);
    AppendUtf8FromCp1252(folder, row.folderName);
    return folder;
}

json JsonRow(const FolderRecord& row, const RowChange* change, bool exact) {
    const bool failed = IsFailureText(row.folderName);
    json item = {
        {"fileName", Utf8FromCp1252(row.fileName)},
        {"folderPath", Utf8FromCp1252(row.folderPath)},
        {"folderName", Utf8FromCp1252(row.folderName)},
        {"size", row.size},
        {"failed", failed},
        {"failure", failed ? json(Utf8FromCp1252(row.folderName)) : json(nullptr)},
    };
    if (change) {
        item["change"] = change->bytes;
        item["changeText"] = Utf8FromCp1252(ChangeText(*change, exact));
        item["removed"] = change->kind == RowChange::kRemoved;
    }
    return item;
}

} // namespace

std::string FormatCsv(const OrderedRows& ordered, const ReportOptions& options) {
    const bool compared = !ordered.changes.empty();
    std::string out;
    out.reserve((ordered.rows.size() + 1) * 96);
    AppendUtf8FromCp1252(out, kCsvHeader);
    if (compared) {
        AppendUtf8FromCp1252(out, kCsvChangeHeader);
    }
    out += "\r\n";
    std::string field;
    for (size_t i = 0; i < ordered.rows.size(); ++i) {
        const FolderRecord& row = *ordered.rows[i];
        const bool removed = compared && ordered.changes[i].kind == RowChange::kRemoved;
        field.clear();
        AppendUtf8FromCp1252(field, row.fileName);
        AppendCsvField(out, field);
        out += ',';
        if (!removed) {
            AppendCsvField(out, FormatSize(row.size, !options.exactSizes));
        }
        out += ',';
        AppendCsvField(out, Utf8Folder(row));
        out += ',';
        if (!removed) {
            out += std::to_string(row.size);
        }
        if (compared) {
            out += ',';
            AppendCsvField(out, Utf8FromCp1252(ChangeText(ordered.changes[i], options.exactSizes)));
            out += ',';
            out += std::to_string(ordered.changes[i].bytes);
        }
        out += "\r\n";
    }
    return out;
}

std::string FormatJson(const OrderedRows& ordered, const FolderCatalogue& catalogue,
                       const ReportOptions& options, const ReportContext& context) {
    const bool compared = !ordered.changes.empty();
    json rows = json::array();
    rows.get_ref<json::array_t&>().reserve(ordered.rows.size());
    for (size_t i = 0; i < ordered.rows.size(); ++i) {
        rows.push_back(
            JsonRow(*ordered.rows[i], compared ? &ordered.changes[i] : nullptr, options.exactSizes));
    }
    json totals = {
        {"files", catalogue.fileCount},
        {"size", catalogue.totalSize},
        {"statusLine", Utf8FromCp1252(StatusLine(catalogue.fileCount, catalogue.totalSize))},
    };
    if (compared) {
        totals["change"] = ordered.totalChange;
        totals["changeText"] =
            Utf8FromCp1252(ChangeText({RowChange::kChanged, ordered.totalChange}, false));
    }
    const json document = {
        {"mailbox", Utf8FromCp1252(context.mailboxDir)},
        {"newmail", context.newmailDir.empty() ? json(nullptr)
                                               : json(Utf8FromCp1252(context.newmailDir))},
        {"scanTime", context.scanTime},
        {"rows", std::move(rows)},
        {"totals", std::move(totals)},
    };
    // Every text went through the conversion, so it is valid UTF-8 whatever the bytes
    // of the names were; the replacing handler only keeps a slip from throwing.
    std::string out = document.dump(-1, ' ', false, json::error_handler_t::replace);
    out += '\n';
    return out;
}

} // namespace report
