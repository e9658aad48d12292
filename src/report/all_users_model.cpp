// The window's rows of the overview. A row's figures appear once its mailbox is read,
// and its share is of the users read so far, so the column never shows a share of a
// total that is still growing as if it were final: the last row read makes it so. A
// read that never gets there (Escape, or F5 during F5) leaves no sum of some users
// standing as the total: the last complete read comes back, or no share shows.
#include "report/all_users_model.h"

#include "diag/trace.h"
#include "report/report_text.h"
#include "report/report_texts.h"
#include "sizes/byte_change.h"
#include "sizes/size_text.h"
#include "tree/tree_text.h"
#include "view/limit_mark.h"
#include "view/list_rules.h"

#include <algorithm>

namespace report {

namespace {

// A user counts once, by their worst folder file.
LimitCounts UsersByLimit(const UserMailbox& row) {
    LimitCounts users;
    users.overLimit = row.limits.overLimit > 0 ? 1 : 0;
    users.nearLimit = row.limits.overLimit == 0 && row.limits.nearLimit > 0 ? 1 : 0;
    return users;
}

std::string CountText(int32_t count) {
    return FormatSize(static_cast<uint32_t>(count), SizeStyle::Exact);
}

// "!! 1, ! 2": the files over and near the limit apart, each with the main list's
// mark; "0" for a mailbox with neither.
std::string LimitCell(const LimitCounts& limits) {
    std::string cell;
    if (limits.overLimit > 0) {
        cell = view::LimitMark(FolderLimit::kOver) + CountText(limits.overLimit);
    }
    if (limits.nearLimit > 0) {
        cell += (cell.empty() ? "" : ", ") +
                (view::LimitMark(FolderLimit::kNear) + CountText(limits.nearLimit));
    }
    return cell.empty() ? CountText(0) : cell;
}

// "\Archiv\2019 (FOL0000D.PMM, 2,1 GB)": the folder a user knows, with the file that
// holds it; the file alone where no folder name was read.
std::string LargestFolderCell(const UserMailbox& user, SizeStyle style) {
    if (user.largestFile.empty() || user.largestFolder.empty()) {
        return LargestCell(user, style == SizeStyle::Exact);
    }
    return user.largestFolder + " (" + user.largestFile + ", " +
           FormatSize(user.largestSize, style) + ")";
}

} // namespace

void AllUsersModel::SetResult(std::shared_ptr<const AllUsersResult> result, bool compact) {
    m_pResult = std::move(result);
    m_bCompact = compact;
    m_bCancelled = false;
    const size_t rows = m_pResult ? m_pResult->rows.size() : 0;
    m_read.assign(rows, false);
    m_nRead = 0;
    m_nToRead = 0;
    m_nReadTotal = 0;
    m_nReadFiles = 0;
    for (size_t i = 0; i < rows; ++i) {
        if (m_pResult->rows[i].user.folderDir.empty()) {
            m_read[i] = true; // nothing to read: the row is its fault alone
        } else {
            ++m_nToRead;
        }
    }
    Resort();
}

void AllUsersModel::MarkRead(const std::vector<size_t>& indexes) {
    const size_t before = m_nRead;
    for (const size_t index : indexes) {
        if (m_pResult && index < m_read.size() && !m_read[index]) {
            m_read[index] = true;
            ++m_nRead;
            const UserMailbox& row = m_pResult->rows[index];
            m_nReadTotal += row.totalSize;
            m_nReadFiles += row.folderFiles;
        }
    }
    if (m_nRead != before) {
        Resort();
    }
}

void AllUsersModel::MarkAllRead() {
    for (size_t i = 0; i < m_read.size(); ++i) {
        if (!m_read[i]) {
            m_read[i] = true;
            ++m_nRead;
        }
    }
    if (m_pResult) {
        m_nReadTotal = m_pResult->totalSize;
        m_nReadFiles = m_pResult->folderFiles;
    }
    m_pComplete = m_pResult;
    m_bCancelled = false;
    Resort();
}

void AllUsersModel::MarkCancelled() {
    if (m_pResult && m_pResult != m_pComplete && m_nRead == m_nToRead) {
        MarkAllRead(); // the cancel came after the last row: nothing is missing
        return;
    }
    if (m_pComplete && m_pResult != m_pComplete) {
        SetResult(m_pComplete, m_bCompact);
        MarkAllRead();
    }
    m_bCancelled = true;
    Resort(); // the shares of a partial read are gone
}

const UserMailbox& AllUsersModel::Row(int row) const {
    return m_pResult->rows[m_order[static_cast<size_t>(row)]];
}

int AllUsersModel::ShownRow(size_t index) const {
    const auto at = std::find(m_order.begin(), m_order.end(), static_cast<uint32_t>(index));
    return at == m_order.end() ? -1 : static_cast<int>(at - m_order.begin());
}

uint32_t AllUsersModel::ShareOf(int row) const {
    const uint32_t index = m_order[static_cast<size_t>(row)];
    return m_read[index] && !IsPartial()
               ? tree::ShareTenths(m_pResult->rows[index].totalSize, m_nReadTotal)
               : 0;
}

uint32_t AllUsersModel::BarsScaledTo() const {
    return m_nLargestShare < kSmallShareTenths ? m_nLargestShare : 0;
}

uint32_t AllUsersModel::BarOf(int row) const {
    const uint32_t scale = BarsScaledTo();
    const uint32_t share = ShareOf(row);
    return scale == 0 ? share : static_cast<uint32_t>(uint64_t{share} * 1000 / scale);
}

int AllUsersModel::WarningOf(int row, int column) const {
    const uint32_t index = m_order[static_cast<size_t>(row)];
    const UserMailbox& user = m_pResult->rows[index];
    if (column != kUserColumnLimit || !m_read[index] || user.scan == nullptr) {
        return 0;
    }
    return view::WarningLevel(user.limits.overLimit > 0   ? FolderLimit::kOver
                              : user.limits.nearLimit > 0 ? FolderLimit::kNear
                                                          : FolderLimit::kBelow);
}

std::string AllUsersModel::CellText(int row, int column) const {
    const uint32_t index = m_order[static_cast<size_t>(row)];
    const UserMailbox& user = m_pResult->rows[index];
    const SizeStyle style = SizeStyleFor(m_bCompact);
    // Figures only of a mailbox that was read; a row still being read shows its names.
    const bool figures = m_read[index] && user.scan != nullptr;
    switch (column) {
    case kUserColumnUser:
        return user.UserName();
    case kUserColumnPersonal:
        return m_read[index] ? PersonalCell(user) : user.user.line.personalName;
    case kUserColumnFiles:
        return figures ? FormatSize(static_cast<uint32_t>(user.folderFiles), SizeStyle::Exact)
                       : std::string();
    case kUserColumnSize:
        return figures ? FormatSize(user.totalSize, style) : std::string();
    case kUserColumnShare:
        return figures && !IsPartial() ? tree::FormatShare(ShareOf(row)) : std::string();
    case kUserColumnNewMail:
        return figures ? FormatSize(user.newMailSize, style) : std::string();
    case kUserColumnLargest:
        return figures ? LargestFolderCell(user, style) : std::string();
    case kUserColumnLimit:
        return figures ? LimitCell(user.limits) : std::string();
    default:
        return std::string();
    }
}

bool AllUsersModel::DescendingOnFirstClick(int column) const {
    // Who has the most is what a click on a number asks.
    return column != kUserColumnUser && column != kUserColumnPersonal;
}

void AllUsersModel::Sort(int column, bool descending) {
    m_sort = {column, descending};
    Resort();
}

void AllUsersModel::Resort() {
    const size_t rows = m_pResult ? m_pResult->rows.size() : 0;
    // Rows not yet read sort as rows without figures: they move once they are read.
    std::vector<UserReportRow> items(rows);
    std::vector<UserMailbox> placeholders; // the unread rows' names without figures
    placeholders.reserve(rows);
    for (size_t i = 0; i < rows; ++i) {
        const UserMailbox& row = m_pResult->rows[i];
        if (m_read[i]) {
            items[i].row = &row;
        } else {
            placeholders.push_back(UserMailbox());
            placeholders.back().user = row.user;
            items[i].row = &placeholders.back();
        }
    }
    m_order = UserRowOrder(items, m_sort, nullptr);
    if (!m_filter.IsEmpty()) {
        m_order.erase(std::remove_if(m_order.begin(), m_order.end(),
                                     [&](uint32_t index) {
                                         const UserMailbox& row = *items[index].row;
                                         return !m_filter.Passes(
                                             {row.UserName(), row.user.line.personalName},
                                             row.totalSize);
                                     }),
                      m_order.end());
    }
    // Each painted bar asks for it: found once here, where the shares change.
    m_nLargestShare = 0;
    for (int row = 0; row < RowCount(); ++row) {
        m_nLargestShare = std::max(m_nLargestShare, ShareOf(row));
    }
}

int AllUsersModel::FindRow(int /*start*/, const std::string& prefix) const {
    return view::FindPrefixRow(
        RowCount(), [this](int row) { return CellText(row, kUserColumnUser); }, prefix);
}

int AllUsersModel::ContextRow(int topRow) const {
    return topRow >= 0 && topRow < RowCount() ? topRow : -1;
}

bool AllUsersModel::FolderRequest(int row, const std::string& newMailLabel,
                                  ScanRequest& request) const {
    if (row < 0 || row >= RowCount()) {
        return false;
    }
    const UserMailbox& user = Row(row);
    if (user.user.folderDir.empty()) {
        return false;
    }
    request = UserScanRequest(user.user, true, newMailLabel);
    return true;
}

view::ListSnapshot AllUsersModel::Snapshot(const std::vector<std::string>& titles) const {
    view::ListSnapshot list;
    list.titles = titles;
    for (int row = 0; row < RowCount(); ++row) {
        view::ListSnapshot::Row line;
        for (int column = 0; column < kAllUsersWindowColumns; ++column) {
            line.cells.push_back(CellText(row, column));
        }
        const uint32_t index = m_order[static_cast<size_t>(row)];
        line.bytes = m_read[index] ? m_pResult->rows[index].totalSize : 0;
        list.rows.push_back(std::move(line));
    }
    return list;
}

void AllUsersModel::SetFilter(const view::RowFilter& filter) {
    m_filter = filter;
    Resort();
}

std::string AllUsersModel::FilteredText(const std::string& format) const {
    if (m_filter.IsEmpty()) {
        return std::string();
    }
    uint64_t shown = 0;
    for (const uint32_t index : m_order) {
        shown = m_read[index] ? AddSizes(shown, m_pResult->rows[index].totalSize) : shown;
    }
    const size_t all = m_pResult ? m_pResult->rows.size() : 0;
    return FormatText(format.c_str(), FormatSize(m_order.size(), SizeStyle::Exact).c_str(),
                      FormatSize(all, SizeStyle::Exact).c_str(),
                      FormatSize(shown, SizeStyle::Compact).c_str(),
                      FormatSize(m_nReadTotal, SizeStyle::Compact).c_str());
}

std::string AllUsersModel::StatusText(const AllUsersStatusTexts& texts) const {
    LimitCounts users;
    int32_t listed = 0;
    for (size_t i = 0; m_pResult && i < m_pResult->rows.size(); ++i) {
        const UserMailbox& row = m_pResult->rows[i];
        listed += row.user.origin == PlannedUser::Origin::kListed ? 1 : 0;
        if (m_read[i]) {
            const LimitCounts user = UsersByLimit(row);
            users.overLimit += user.overLimit;
            users.nearLimit += user.nearLimit;
        }
    }
    const std::string limits = view::LimitStatus(texts.limitUsers, users);
    const std::string figures = FilesAndTotalText(m_nReadFiles, m_nReadTotal);
    if (IsPartial() && m_nToRead == 0) {
        return texts.listCancelled;
    }
    if (IsPartial()) {
        // No user count in front: the figures are of those read, never the installation's.
        const size_t missing = m_nToRead - m_nRead;
        return FormatText(texts.readCancelled.c_str(),
                          FormatSize(static_cast<uint64_t>(missing), SizeStyle::Exact).c_str(),
                          FormatSize(static_cast<uint64_t>(m_nToRead), SizeStyle::Exact).c_str(),
                          figures.c_str()) +
               limits;
    }
    const std::string line =
        FormatText(Say(Phrase::kUsersStatus), CountText(listed).c_str(), figures.c_str()) + limits;
    return m_bCancelled ? FormatText(texts.rereadCancelled.c_str(), line.c_str()) : line;
}

} // namespace report
