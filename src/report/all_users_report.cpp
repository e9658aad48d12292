// The all-users report: the run and its four forms. The text forms hold one line per
// user; CSV adds the byte counts; JSON also lists each user's folder files, so a later
// report can say which file of which user grew.
#include "report/all_users_report.h"

#include "diag/trace.h"
#include "platform/files.h"
#include "platform/path_separator.h"
#include "report/progress_line.h"
#include "report/report.h"
#include "report/report_text.h"
#include "sizes/byte_change.h"
#include "sizes/date_text.h"
#include "sizes/size_text.h"
#include "text/spreadsheet_cell.h"
#include "tree/tree_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>

namespace report {

namespace {

const Phrase kAllUsersTitles[kAllUsersColumnCount] = {
    Phrase::kUsersTitleUser,    Phrase::kUsersTitleName,  Phrase::kUsersTitleFiles,
    Phrase::kTitleSize,         Phrase::kTreeTitleShare,  Phrase::kUsersTitleNewMail,
    Phrase::kUsersTitleLargest, Phrase::kUsersTitleLimit, Phrase::kTitleChange};
// The number columns are aligned to the right.
const bool kRightAligned[kAllUsersColumnCount] = {false, false, true, true, true,
                                                  true,  false, true, false};

using Cells = std::array<std::string, kAllUsersColumnCount>;

std::string Count(int32_t count) {
    return FormatSize(static_cast<uint32_t>(count), SizeStyle::Exact);
}

// The cells of a row, Windows-1252; a removed user has only a name and a change.
Cells CellsOf(const UserReportRow& row, const ReportOptions& options,
              const EarlierInstallation* earlier) {
    Cells cells;
    const SizeStyle style = SizeStyleFor(!options.exactSizes);
    if (!row.row) {
        cells[kUserColumnUser] = earlier->UserName(row.earlier);
    } else {
        const UserMailbox& user = *row.row;
        cells[kUserColumnUser] = user.UserName();
        cells[kUserColumnPersonal] = PersonalCell(user);
        if (user.scan) {
            cells[kUserColumnFiles] = Count(user.folderFiles);
            cells[kUserColumnSize] = FormatSize(user.totalSize, style);
            cells[kUserColumnShare] = tree::FormatShare(row.shareTenths);
            cells[kUserColumnNewMail] = FormatSize(user.newMailSize, style);
            cells[kUserColumnLargest] = LargestCell(user, options.exactSizes);
            cells[kUserColumnLimit] = Count(user.limits.nearLimit + user.limits.overLimit);
        }
    }
    if (earlier) {
        cells[kUserColumnChange] = ChangeText(row.change, options.exactSizes);
    }
    return cells;
}

// With a filter: the rows shown (users and folders no user names) and their bytes.
struct ShownUsers {
    bool filtered = false;
    size_t rows = 0;
    uint64_t size = 0;
};

// The overview's status line, after what a filter shows of all.
std::string StatusLineOf(const AllUsersResult& result, const ShownUsers& shown) {
    if (!shown.filtered) {
        return AllUsersStatusLine(result);
    }
    const auto count = [](size_t n) { return FormatSize(n, SizeStyle::Exact); };
    return FormatText(Say(Phrase::kUsersFilteredStatus), count(shown.rows).c_str(),
                      count(result.rows.size()).c_str(),
                      FormatSize(shown.size, SizeStyle::Compact).c_str(),
                      FormatSize(result.totalSize, SizeStyle::Compact).c_str(),
                      AllUsersStatusLine(result).c_str());
}

void WriteText(const AllUsersResult& result, const std::vector<UserReportRow>& rows,
               const ReportOptions& options, const EarlierInstallation* earlier,
               const ShownUsers& shown, const std::string& totalChange, ReportSink& sink) {
    const bool compared = earlier != nullptr;
    const int columns = compared ? kAllUsersColumnCount : kAllUsersColumnCount - 1;
    Cells titles;
    for (int c = 0; c < kAllUsersColumnCount; ++c) {
        titles[c] = Say(kAllUsersTitles[c]);
    }
    // A line's cells are made when they are needed (for the aligned text twice: for the
    // widths, then for the text), never kept for every row: an earlier report of two
    // million users would otherwise hold 300 bytes a row until the end.
    const auto eachLine = [&](const auto& take) {
        take(titles);
        for (const UserReportRow& row : rows) {
            take(CellsOf(row, options, earlier));
        }
    };
    std::string out;
    if (options.format == ReportFormat::kTsv) {
        eachLine([&](const Cells& cells) {
            for (int c = 0; c < columns; ++c) {
                std::string cell;
                AppendCell(cell, cells[c]); // a tab too becomes '?'
                AppendUtf8FromCp1252(out, cell);
                out += c + 1 < columns ? '\t' : '\n';
            }
            SpillIfFull(out, sink);
        });
    } else {
        std::array<size_t, kAllUsersColumnCount> widths{};
        eachLine([&](const Cells& cells) {
            for (int c = 0; c < columns; ++c) {
                if (cells[c].size() <= kMaxPaddedWidth) {
                    widths[c] = std::max(widths[c], cells[c].size());
                }
            }
        });
        eachLine([&](const Cells& cells) {
            for (int c = 0; c < columns; ++c) {
                std::string cell;
                AppendCell(cell, cells[c]);
                if (c + 1 < columns) {
                    AppendPadded(out, cell, widths[c], kRightAligned[c]);
                    out += "  ";
                } else if (kRightAligned[c]) {
                    AppendPadded(out, cell, widths[c], true);
                } else {
                    AppendUtf8FromCp1252(out, cell);
                }
            }
            while (!out.empty() && out.back() == ' ') {
                out.pop_back();
            }
            out += '\n';
            SpillIfFull(out, sink);
        });
    }
    AppendUtf8FromCp1252(out, StatusLineOf(result, shown) + totalChange);
    out += '\n';
    SpillAll(out, sink);
}

void WriteCsv(const std::vector<UserReportRow>& rows, const ReportOptions& options,
              const EarlierInstallation* earlier, ReportSink& sink) {
    const bool compared = earlier != nullptr;
    const Controls controls = ControlsFor(options);
    std::string out;
    AppendUtf8FromCp1252(out, "Benutzer,Name,Ordnerdateien,Gr\xF6\xDF"
                              "e,Anteil,Posteingang,"
                              "Gr\xF6\xDFte Ordnerdatei,Nahe Grenze,\xDC"
                              "ber Grenze,Bytes,"
                              "Posteingang in Bytes,Gr\xF6\xDFte in Bytes,Fehler");
    if (compared) {
        AppendUtf8FromCp1252(out, ",\xC4nderung,\xC4nderung in Bytes");
    }
    out += "\r\n";
    text::SpreadsheetLine line(out, text::CellSeparator::kComma);
    const auto textCell = [&](const std::string& cp1252) {
        std::string utf8;
        AppendText(utf8, cp1252, controls);
        line.Text(utf8);
    };
    const auto number = [&](bool shown, uint64_t value) {
        line.Number(shown ? std::to_string(value) : std::string());
    };
    for (const UserReportRow& row : rows) {
        const Cells cells = CellsOf(row, options, earlier);
        const UserMailbox* user = row.row;
        const bool read = user && user->scan;
        textCell(cells[kUserColumnUser]);
        textCell(user ? user->user.line.personalName : std::string());
        for (const int c :
             {kUserColumnFiles, kUserColumnSize, kUserColumnShare, kUserColumnNewMail}) {
            textCell(cells[c]);
        }
        textCell(read ? user->largestFile : std::string());
        number(read, read ? user->limits.nearLimit : 0);
        number(read, read ? user->limits.overLimit : 0);
        number(read, read ? user->totalSize : 0);
        number(read, read ? user->newMailSize : 0);
        number(read && !user->largestFile.empty(), read ? user->largestSize : 0);
        textCell(user ? user->FailureText() : std::string());
        if (compared) {
            textCell(cells[kUserColumnChange]);
            line.Number(ChangeDigits(row.change.bytes));
        }
        line.End();
        SpillIfFull(out, sink);
    }
    SpillAll(out, sink);
}

using json = nlohmann::json;

// A JSON value of Windows-1252 text.
json Text(const std::string& cp1252, Controls controls) {
    std::string utf8;
    AppendText(utf8, cp1252, controls);
    return json(std::move(utf8));
}

json TextOrNull(const std::string& cp1252, Controls controls) {
    return cp1252.empty() ? json(nullptr) : Text(cp1252, controls);
}

void AddChange(json& object, const RowChange& change, bool exact) {
    object["change"] = json::parse(ChangeDigits(change.bytes)); // digits of up to 65 bits
    object["changeText"] = ChangeText(change, exact);
    object["removed"] = change.kind == RowChange::kRemoved;
}

json FilesOf(const UserReportRow& row, const EarlierInstallation* earlier,
             const ReportOptions& options, Controls controls) {
    json files = json::array();
    const UserMailbox* user = row.row;
    const bool compared = earlier != nullptr;
    const EarlierReport earlierFiles = compared && row.earlier != UserReportRow::kNoEarlier
                                           ? earlier->Files(row.earlier)
                                           : EarlierReport();
    const auto addRemoved = [&](std::string_view name, const RowChange& change) {
        json file = {{"fileName", Text(std::string(name), controls)}, {"size", nullptr}};
        AddChange(file, change, options.exactSizes);
        files.push_back(std::move(file));
    };
    if (!user || !user->scan) {
        // Every file of a user gone, or not read now.
        for (size_t i = 0; compared && i < earlierFiles.RowCount(); ++i) {
            addRemoved(earlierFiles.FileName(i),
                       {RowChange::kRemoved, ChangeBetween(0, earlierFiles.Size(i))});
        }
        return files;
    }
    const FolderCatalogue& catalogue = user->scan->catalogue;
    const size_t first = user->scan->details.newMailRow ? 1 : 0;
    std::vector<FolderRecord> records(catalogue.records.begin() + static_cast<long>(first),
                                      catalogue.records.end());
    ComparedRows changes;
    if (compared) {
        CompareRows(records, 0, earlierFiles, changes);
    }
    for (size_t i = 0; i < records.size(); ++i) {
        const FolderRecord& record = records[i];
        json file = {{"fileName", Text(record.fileName, controls)},
                     {"folderPath", Text(record.folderPath, controls)},
                     {"folderName", Text(record.folderName, controls)},
                     {"size", record.size},
                     {"lastChange", TextOrNull(IsoChangeText(record.lastWrite), controls)}};
        if (compared) {
            AddChange(file, changes.changes[i], options.exactSizes);
        }
        files.push_back(std::move(file));
    }
    for (size_t i = 0; compared && i < changes.removed.size(); ++i) {
        addRemoved(earlierFiles.FileName(changes.removed[i]), changes.changes[records.size() + i]);
    }
    return files;
}

void WriteJson(const AllUsersResult& result, const std::vector<UserReportRow>& rows,
               const ReportOptions& options, const std::string& scanTime,
               const EarlierInstallation* earlier, const ShownUsers& shown,
               const ByteChange& totalChange, ReportSink& sink) {
    const bool compared = earlier != nullptr;
    const Controls controls = ControlsFor(options);
    std::string out = "{\"allUsers\":true,\"root\":" + Text(result.root, controls).dump() +
                      ",\"scanTime\":" + json(scanTime).dump() + ",\"users\":[\n";
    for (size_t i = 0; i < rows.size(); ++i) {
        const UserReportRow& row = rows[i];
        const UserMailbox* user = row.row;
        const bool read = user && user->scan;
        json object;
        object["userName"] =
            Text(user ? user->UserName() : std::string(earlier->UserName(row.earlier)), controls);
        object["personalName"] =
            user ? Text(user->user.line.personalName, controls) : json(nullptr);
        object["flag"] = user && user->user.line.flag ? json(std::string(1, user->user.line.flag))
                                                      : json(nullptr);
        object["stray"] = user && user->user.origin == PlannedUser::Origin::kStray;
        object["failure"] = user ? TextOrNull(user->FailureText(), controls) : json(nullptr);
        object["folderFiles"] = read ? json(user->folderFiles) : json(nullptr);
        object["size"] = read ? json(user->totalSize) : json(nullptr);
        object["shareTenths"] = read ? json(row.shareTenths) : json(nullptr);
        object["share"] = read ? Text(tree::FormatShare(row.shareTenths), controls) : json(nullptr);
        object["newMail"] = read ? json(user->newMailSize) : json(nullptr);
        object["newMailLastChange"] =
            read ? TextOrNull(IsoChangeText(user->newMailLastWrite), controls) : json(nullptr);
        object["largestFile"] = read ? TextOrNull(user->largestFile, controls) : json(nullptr);
        object["largestSize"] =
            read && !user->largestFile.empty() ? json(user->largestSize) : json(nullptr);
        object["nearLimit"] = read ? json(user->limits.nearLimit) : json(nullptr);
        object["overLimit"] = read ? json(user->limits.overLimit) : json(nullptr);
        if (compared) {
            AddChange(object, row.change, options.exactSizes);
        }
        object["files"] = FilesOf(row, earlier, options, controls);
        out += object.dump(-1, ' ', false, json::error_handler_t::replace);
        out += i + 1 < rows.size() ? ",\n" : "\n";
        SpillIfFull(out, sink);
    }
    json totals = {{"users", ListedUserCount(result)},
                   {"rows", result.rows.size()},
                   {"folderFiles", result.folderFiles},
                   {"size", result.totalSize},
                   {"statusLine", Text(StatusLineOf(result, shown), controls)}};
    if (shown.filtered) {
        totals["shownRows"] = shown.rows;
        totals["shownSize"] = shown.size;
    }
    if (compared) {
        totals["change"] = json::parse(ChangeDigits(totalChange));
        totals["changeText"] = ChangeText({RowChange::kChanged, totalChange}, false);
    }
    out += "],\"totals\":" + totals.dump(-1, ' ', false, json::error_handler_t::replace) + "}\n";
    SpillAll(out, sink);
}

// The rows `filter` lets pass, by user name, personal name and total; a removed user of
// --compare by its earlier name and size. `shown` gets their users and bytes.
std::vector<UserReportRow> FilterUserRows(std::vector<UserReportRow> rows,
                                          const view::RowFilter& filter,
                                          const EarlierInstallation* earlier, ShownUsers& shown) {
    size_t kept = 0;
    for (const UserReportRow& row : rows) {
        const bool passes =
            row.row != nullptr
                ? filter.Passes({row.row->UserName(), row.row->user.line.personalName},
                                row.row->totalSize)
                : earlier != nullptr &&
                      filter.Passes({earlier->UserName(row.earlier)}, earlier->Size(row.earlier));
        if (!passes) {
            continue;
        }
        if (row.row != nullptr) {
            ++shown.rows;
            shown.size = AddSizes(shown.size, row.row->totalSize);
        }
        rows[kept++] = row;
    }
    rows.resize(kept);
    return rows;
}

} // namespace

void WriteAllUsersReport(const AllUsersResult& result, const ReportOptions& options,
                         const std::string& scanTime, const EarlierInstallation* earlier,
                         ReportSink& sink) {
    const LanguageScope language(LanguageOf(options.format));
    const bool compared = earlier != nullptr;
    std::vector<UserReportRow> rows =
        OrderUserRows(result, options.allUsersSortColumn, options.sortDescending, earlier);
    ShownUsers shown;
    if (!options.filter.IsEmpty()) {
        rows = FilterUserRows(std::move(rows), options.filter, earlier, shown);
        shown.filtered = true;
    }
    const ByteChange totalChange =
        compared ? ChangeBetween(result.totalSize, earlier->TotalSize()) : ByteChange();
    switch (options.format) {
    case ReportFormat::kCsv:
        WriteCsv(rows, options, earlier, sink);
        return;
    case ReportFormat::kJson:
        WriteJson(result, rows, options, scanTime, earlier, shown, totalChange, sink);
        return;
    default:
        WriteText(result, rows, options, earlier, shown,
                  compared
                      ? FormatText(Say(Phrase::kTotalChange),
                                   ChangeText({RowChange::kChanged, totalChange}, false).c_str())
                      : std::string(),
                  sink);
        return;
    }
}

int RunAllUsersReport(const ReportOptions& options, ReportSink& out, ReportSink& err) {
    const std::string root = platform::WithFinalSeparator(platform::FullPath(options.allUsersRoot));
    if (root.empty() || !platform::IsReadableDirectory(root)) {
        WriteErrorLine(err, FormatText(Say(Phrase::kUnreadableRoot), options.allUsersRoot.c_str()),
                       options);
        return kExitFailure;
    }
    const std::string listPath = UserListPath(root);
    if (listPath.empty()) {
        WriteErrorLine(err, FormatText(Say(Phrase::kNoUserList), options.allUsersRoot.c_str()),
                       options);
        return kExitFailure;
    }
    EarlierInstallation earlier;
    if (!options.compareFile.empty()) {
        std::string error;
        if (!ReadEarlierInstallation(options.compareFile, earlier, error)) {
            WriteUnusableEarlier(err, error, options);
            return kExitFailure;
        }
    }
    const std::string scanTime = IsoTimeNow();
    AllUsersResult result;
    bool listRead;
    {
        ScanWatch watch(options, err);
        AllUsersThreading threading;
        threading.control = &watch.Control();
        const LanguageScope language(LanguageOf(options.format));
        listRead = ScanAllUsers(root, result, threading);
    }
    if (!listRead) {
        WriteErrorLine(err,
                       FormatText(Say(result.userListTooLong ? Phrase::kTooLongUserList
                                                             : Phrase::kUnreadableUserList),
                                  listPath.c_str()),
                       options);
        return kExitFailure;
    }
    WriteAllUsersReport(result, options, scanTime, options.compareFile.empty() ? nullptr : &earlier,
                        out);
    return kExitOk;
}

} // namespace report
