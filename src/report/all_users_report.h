// The report of every mailbox of an installation (--all-users ROOT): one row per user
// of "PMAIL.USR" and per stray folder, with the user's folder files, total, share of
// all users, new mail, largest folder file and folder files near or over the client's
// limit; as text, TSV, CSV or JSON, sorted by any column, and set against an earlier
// all-users JSON report, whose rows are matched by user and by file name.
#pragma once

#include "mailbox/all_users_scan.h"
#include "report/earlier_installation.h"
#include "report/earlier_report.h"
#include "report/report_options.h"
#include "report/report_sink.h"
#include "view/sort_compare.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// The columns, in the order the report shows them; also the values of --sort.
enum AllUsersColumn : int {
    kUserColumnUser,
    kUserColumnPersonal,
    kUserColumnFiles,
    kUserColumnSize,
    kUserColumnShare,
    kUserColumnNewMail,
    kUserColumnLargest,
    kUserColumnLimit,
    kUserColumnChange,
};
constexpr int kAllUsersColumnCount = 9;

// The column --sort names, or false.
bool AllUsersSortColumnOf(std::string_view name, int& column);

// A row of the report: a user now, or a user only the earlier report had.
struct UserReportRow {
    static constexpr size_t kNoEarlier = static_cast<size_t>(-1);
    const UserMailbox* row = nullptr; // null for a removed user
    size_t earlier = kNoEarlier;      // the user in the earlier report
    RowChange change;                 // when compared
    uint32_t shareTenths = 0;
};

// The rows of `result` with their shares and, with `earlier`, their changes and the
// users no longer there, in the order of `column`; equal rows by user name, then as
// the installation lists them.
std::vector<UserReportRow> OrderUserRows(const AllUsersResult& result, int column, bool descending,
                                         const EarlierInstallation* earlier);

// The positions of `rows` in the order of `sort`, equal rows by user name folded as
// the file system folds names, then as `rows` holds them; `earlier` names the users
// only it has (none without).
std::vector<uint32_t> UserRowOrder(const std::vector<UserReportRow>& rows,
                                   const view::ColumnSort& sort,
                                   const EarlierInstallation* earlier);

// "3 Benutzer, 1.200 Ordnerdateien, 117,7 MB (123.456.789 Bytes)": the users of the
// list (stray folders are none), all folder files and the total (Windows-1252).
std::string AllUsersStatusLine(const AllUsersResult& result);
// "1.200 Ordnerdateien, 117,7 MB (123.456.789 Bytes)": the line's figures without the users.
std::string FilesAndTotalText(int32_t folderFiles, uint64_t totalSize);
int32_t ListedUserCount(const AllUsersResult& result);

// The cell of the name column: the personal name, then the failure text, if any.
std::string PersonalCell(const UserMailbox& row);
// "FOL00003.PMM (1,2 MB)", empty without folder files.
std::string LargestCell(const UserMailbox& row, bool exact);

// The whole report in the options' format.
void WriteAllUsersReport(const AllUsersResult& result, const ReportOptions& options,
                         const std::string& scanTime, const EarlierInstallation* earlier,
                         ReportSink& sink);

// The run of --all-users: the exit status, the report on `out`, messages on `err`.
int RunAllUsersReport(const ReportOptions& options, ReportSink& out, ReportSink& err);

} // namespace report
