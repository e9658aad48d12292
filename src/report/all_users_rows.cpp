// The rows of the all-users report: their order, their cells, and the users of an
// earlier report of the same kind matched by name.
#include "report/all_users_report.h"

#include "diag/trace.h"
#include "platform/keyed_hash.h"
#include "report/report_text.h"
#include "sizes/size_text.h"
#include "text/cp1252_case.h"
#include "tree/tree_text.h"

#include <algorithm>
#include <numeric>

namespace report {

namespace {

int CompareNumbers(uint64_t a, uint64_t b) {
    return a < b ? -1 : a > b ? 1 : 0;
}

int CompareChanges(const RowChange& a, const RowChange& b) {
    if (a.bytes.negative != b.bytes.negative) {
        return a.bytes.negative ? -1 : 1;
    }
    const int r = CompareNumbers(a.bytes.magnitude, b.bytes.magnitude);
    return a.bytes.negative ? -r : r;
}

std::string_view NameOf(const UserReportRow& row, const EarlierInstallation* earlier) {
    return row.row ? std::string_view(row.row->UserName()) : earlier->UserName(row.earlier);
}

// The rows of `result` with their shares and, with `earlier`, their changes, then the
// users no longer there. The index of the earlier users' names lives only here: for an
// earlier report of millions of users it is the largest thing the ordering makes.
std::vector<UserReportRow> RowsOf(const AllUsersResult& result,
                                  const EarlierInstallation* earlier) {
    std::vector<UserReportRow> rows;
    rows.reserve(result.rows.size() + (earlier ? earlier->UserCount() : 0));
    platform::KeyedMap<size_t> earlierByName;
    std::vector<bool> matched;
    if (earlier) {
        matched.assign(earlier->UserCount(), false);
        earlierByName.reserve(earlier->UserCount());
        for (size_t i = 0; i < earlier->UserCount(); ++i) {
            earlierByName.emplace(text::FoldedWindows1252(earlier->UserName(i)), i);
        }
    }
    for (const UserMailbox& mailbox : result.rows) {
        UserReportRow row;
        row.row = &mailbox;
        row.shareTenths = tree::ShareTenths(mailbox.totalSize, result.totalSize);
        if (earlier) {
            const auto found = earlierByName.find(text::FoldedWindows1252(mailbox.UserName()));
            if (found != earlierByName.end() && !matched[found->second]) {
                matched[found->second] = true;
                row.earlier = found->second;
                row.change = {RowChange::kChanged,
                              ChangeBetween(mailbox.totalSize, earlier->Size(row.earlier))};
            } else {
                row.change = {RowChange::kNew, {false, mailbox.totalSize}};
            }
        }
        rows.push_back(row);
    }
    for (size_t i = 0; i < matched.size(); ++i) {
        if (!matched[i]) {
            UserReportRow row;
            row.earlier = i;
            row.change = {RowChange::kRemoved, ChangeBetween(0, earlier->Size(i))};
            rows.push_back(row);
        }
    }
    return rows;
}

// How `a` and `b` compare by `column` alone (<0, 0, >0); 0 for the user column, whose
// order is the tie-break by folded user name that every sort ends with.
int CompareUserColumn(const UserReportRow& a, const UserReportRow& b, int column) {
    const UserMailbox empty;
    const UserMailbox& x = a.row ? *a.row : empty;
    const UserMailbox& y = b.row ? *b.row : empty;
    switch (column) {
    case kUserColumnPersonal:
        return text::FoldedWindows1252(PersonalCell(x))
            .compare(text::FoldedWindows1252(PersonalCell(y)));
    case kUserColumnFiles:
        return CompareNumbers(static_cast<uint32_t>(x.folderFiles),
                              static_cast<uint32_t>(y.folderFiles));
    case kUserColumnSize:
    case kUserColumnShare:
        return CompareNumbers(x.totalSize, y.totalSize);
    case kUserColumnNewMail:
        return CompareNumbers(x.newMailSize, y.newMailSize);
    case kUserColumnLargest:
        return CompareNumbers(x.largestSize, y.largestSize);
    case kUserColumnLimit: {
        // Over the limit weighs more than any number near it.
        const int r = CompareNumbers(static_cast<uint32_t>(x.limits.overLimit),
                                     static_cast<uint32_t>(y.limits.overLimit));
        return r != 0 ? r
                      : CompareNumbers(static_cast<uint32_t>(x.limits.nearLimit),
                                       static_cast<uint32_t>(y.limits.nearLimit));
    }
    case kUserColumnChange:
        return CompareChanges(a.change, b.change);
    default:
        return 0; // the user column: the tie-break by name decides
    }
}

} // namespace

std::vector<uint32_t> UserRowOrder(const std::vector<UserReportRow>& rows,
                                   const view::ColumnSort& sort,
                                   const EarlierInstallation* earlier) {
    std::vector<std::string> folded(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        folded[i] = text::FoldedWindows1252(NameOf(rows[i], earlier));
    }
    std::vector<uint32_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    // Rows of the same installation tie on a column; the user name breaks it, and the
    // list's order a tie of names (a line listed twice).
    std::sort(order.begin(), order.end(), [&](uint32_t i, uint32_t j) {
        const uint32_t a = sort.descending ? j : i;
        const uint32_t b = sort.descending ? i : j;
        if (const int r = CompareUserColumn(rows[a], rows[b], sort.column)) {
            return r < 0;
        }
        if (const int r = folded[a].compare(folded[b])) {
            return r < 0;
        }
        return a < b;
    });
    return order;
}

bool AllUsersSortColumnOf(std::string_view name, int& column) {
    static const char* const kNames[kAllUsersColumnCount] = {
        "user", "personal", "files", "size", "share", "newmail", "largest", "limit", "change"};
    for (int i = 0; i < kAllUsersColumnCount; ++i) {
        if (name == kNames[i]) {
            column = i;
            return true;
        }
    }
    return false;
}

std::vector<UserReportRow> OrderUserRows(const AllUsersResult& result, int column, bool descending,
                                         const EarlierInstallation* earlier) {
    const std::vector<UserReportRow> rows = RowsOf(result, earlier);
    // The names folded for the order are gone before the copy, which holds the rows twice.
    const std::vector<uint32_t> order = UserRowOrder(rows, {column, descending}, earlier);
    std::vector<UserReportRow> sorted;
    sorted.reserve(rows.size());
    for (const uint32_t i : order) {
        sorted.push_back(rows[i]);
    }
    return sorted;
}

int32_t ListedUserCount(const AllUsersResult& result) {
    int32_t users = 0;
    for (const UserMailbox& row : result.rows) {
        users += row.user.origin == PlannedUser::Origin::kListed ? 1 : 0;
    }
    return users;
}

std::string FilesAndTotalText(int32_t folderFiles, uint64_t totalSize) {
    return FormatText(Say(Phrase::kFilesAndTotal),
                      FormatSize(static_cast<uint32_t>(folderFiles), SizeStyle::Exact).c_str(),
                      FormatSize(totalSize, SizeStyle::Compact).c_str(),
                      FormatSize(totalSize, SizeStyle::Exact).c_str());
}

std::string AllUsersStatusLine(const AllUsersResult& result) {
    return FormatText(
        Say(Phrase::kUsersStatus),
        FormatSize(static_cast<uint32_t>(ListedUserCount(result)), SizeStyle::Exact).c_str(),
        FilesAndTotalText(result.folderFiles, result.totalSize).c_str());
}

std::string PersonalCell(const UserMailbox& row) {
    const std::string failure = row.FailureText();
    if (failure.empty()) {
        return row.user.line.personalName;
    }
    return row.user.line.personalName.empty() ? failure
                                              : row.user.line.personalName + " " + failure;
}

std::string LargestCell(const UserMailbox& row, bool exact) {
    if (row.largestFile.empty()) {
        return std::string();
    }
    return row.largestFile + " (" + FormatSize(row.largestSize, SizeStyleFor(!exact)) + ")";
}

} // namespace report
