// The earlier report for --compare: read through nlohmann-json, checked for the shape
// this program writes, and set against the current rows. Whatever the file holds, the
// outcome is a report or an error text, never an exception and never half a result.
#include "report/earlier_report.h"

#include "platform/files.h"
#include "report/report_text.h"
#include "view/folder_compare.h"

#include <nlohmann/json.hpp>

#include <unordered_map>

namespace report {

namespace {

using nlohmann::json;

// Our reports nest three deep (object, rows, row). Deeper text is refused before the
// parser builds it: its size would be bounded, its depth not.
constexpr int kMaxDepth = 16;

bool NestsTooDeep(std::string_view text) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth) {
                return true;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

bool TextField(const json& row, const char* name, bool required, std::string& value) {
    const auto it = row.find(name);
    if (it == row.end()) {
        return !required;
    }
    if (!it->is_string()) {
        return false;
    }
    value = Cp1252FromUtf8(it->get_ref<const std::string&>());
    return true;
}

bool ReadRow(const json& row, EarlierReport& earlier, bool& removed) {
    if (!row.is_object()) {
        return false;
    }
    const auto flag = row.find("removed");
    removed = flag != row.end() && flag->is_boolean() && flag->get<bool>();
    if (flag != row.end() && !flag->is_boolean()) {
        return false;
    }
    const auto size = row.find("size");
    if (size == row.end() || !size->is_number_unsigned()) {
        return false;
    }
    FolderRecord record;
    if (!TextField(row, "fileName", true, record.fileName) ||
        !TextField(row, "folderPath", false, record.folderPath) ||
        !TextField(row, "folderName", false, record.folderName)) {
        return false;
    }
    record.size = size->get<uint64_t>();
    if (!removed) {
        earlier.totalSize += record.size;
        earlier.rows.push_back(std::move(record));
    }
    return true;
}

bool ReadShape(const json& document, EarlierReport& earlier, std::string& error) {
    if (!document.is_object()) {
        error = "ist kein Bericht von foldtally-report (kein JSON-Objekt)";
        return false;
    }
    const auto rows = document.find("rows");
    if (rows == document.end() || !rows->is_array()) {
        error = "ist kein Bericht von foldtally-report (\"rows\" fehlt oder ist keine Liste)";
        return false;
    }
    for (size_t i = 0; i < rows->size(); ++i) {
        bool removed = false;
        if (!ReadRow((*rows)[i], earlier, removed)) {
            error = "hat in Zeile " + std::to_string(i + 1) +
                    " von \"rows\" keinen g\xFCltigen Eintrag (\"fileName\" als Text, \"size\" als "
                    "Zahl ab 0)";
            return false;
        }
    }
    return true;
}

std::string FoldedName(const std::string& name) {
    std::string folded;
    view::AppendFolded(folded, name);
    return folded;
}

} // namespace

bool ParseEarlierReport(std::string_view text, EarlierReport& earlier, std::string& error) {
    earlier = EarlierReport();
    error.clear();
    if (NestsTooDeep(text)) {
        error = "ist kein Bericht von foldtally-report (zu tief verschachtelt)";
        return false;
    }
    bool ok = false;
    try {
        const json document = json::parse(text.begin(), text.end());
        ok = ReadShape(document, earlier, error);
    } catch (const json::exception& e) {
        error = std::string("ist kein JSON: ") + e.what();
    } catch (const std::bad_alloc&) {
        error = "braucht mehr Speicher, als frei ist";
    }
    if (!ok) {
        earlier = EarlierReport();
    }
    return ok;
}

bool ReadEarlierReport(const std::string& path, EarlierReport& earlier, std::string& error) {
    earlier = EarlierReport();
    platform::ReadOnlyFile file;
    if (!file.Open(path)) {
        error = "kann nicht gelesen werden";
        return false;
    }
    const uint64_t length = file.Length();
    if (length > kMaxEarlierReportBytes) {
        error = "ist zu gro\xDF (mehr als 64 MiB)";
        return false;
    }
    std::string text(static_cast<size_t>(length), '\0');
    size_t done = 0;
    while (done < text.size()) {
        const size_t n = file.ReadAt(done, &text[done], text.size() - done);
        if (n == 0) {
            break;
        }
        done += n;
    }
    if (done != text.size()) {
        error = "kann nicht gelesen werden";
        return false;
    }
    return ParseEarlierReport(text, earlier, error);
}

void CompareRows(const std::vector<FolderRecord>& current, uint64_t currentTotal,
                 const EarlierReport& earlier, ComparedRows& compared) {
    compared = ComparedRows();
    std::unordered_map<std::string, size_t> byName;
    byName.reserve(earlier.rows.size());
    for (size_t i = 0; i < earlier.rows.size(); ++i) {
        byName.emplace(FoldedName(earlier.rows[i].fileName), i); // the first of twins counts
    }
    std::vector<bool> matched(earlier.rows.size(), false);
    for (const FolderRecord& record : current) {
        RowChange change;
        const auto it = byName.find(FoldedName(record.fileName));
        if (it == byName.end() || matched[it->second]) {
            change.kind = RowChange::kNew;
            change.bytes = static_cast<int64_t>(record.size);
        } else {
            matched[it->second] = true;
            change.bytes = static_cast<int64_t>(record.size - earlier.rows[it->second].size);
        }
        compared.rows.push_back(&record);
        compared.changes.push_back(change);
    }
    for (size_t i = 0; i < earlier.rows.size(); ++i) {
        if (!matched[i]) {
            compared.removed.push_back(earlier.rows[i]);
            compared.removed.back().size = 0;
        }
    }
    // Pointers only now: `removed` no longer grows.
    for (size_t i = 0, r = 0; i < earlier.rows.size(); ++i) {
        if (!matched[i]) {
            compared.rows.push_back(&compared.removed[r++]);
            compared.changes.push_back(
                {RowChange::kRemoved, -static_cast<int64_t>(earlier.rows[i].size)});
        }
    }
    for (const RowChange& change : compared.changes) {
        compared.bytes.push_back(change.bytes);
    }
    compared.totalChange = static_cast<int64_t>(currentTotal - earlier.totalSize);
}

} // namespace report
