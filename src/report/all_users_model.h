// The rules of the window "Alle Postfächer" without the window: its rows while the users
// are read in the background (each row shows its figures once its mailbox is read, the
// shares are of what is read so far), what a cancelled read leaves (the last complete
// read, or the rows read and no shares), the cells, the sort of a header click, the row
// typed letters find, the status line, and what a double click on a row opens. The
// window renders it through CReportList like the other lists.
#pragma once

#include "mailbox/all_users_scan.h"
#include "mailbox/scan_request.h"
#include "report/all_users_report.h"
#include "view/list_export.h"
#include "view/report_model.h"
#include "view/row_filter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace report {

// The window's columns: the report's without the change.
constexpr int kAllUsersWindowColumns = kUserColumnChange;

// The status line's texts from the string table (Windows-1252).
struct AllUsersStatusTexts {
    // One "%s": the status line of the last complete read, shown again.
    std::string rereadCancelled;
    // Three "%s": the mailboxes not read, those to read, and the figures of those read.
    std::string readCancelled;
    // Two "%d": the users with a folder file over the limit, then those only near it.
    std::string limitUsers;
    // A first read cancelled before the user list was read: nothing to count.
    std::string listCancelled;
};

// When every share is below this (in tenths of a percent), the bars are drawn in
// proportion to the largest share: bars of a few pixels tell nobody apart.
constexpr uint32_t kSmallShareTenths = 250;

class AllUsersModel : public view::ReportModel {
public:
    // Takes the planned rows of an overview whose mailboxes are now being read; every
    // row with a folder to read counts as unread until MarkRead. The result's rows are
    // read only for rows that are marked, or have nothing to read.
    void SetResult(std::shared_ptr<const AllUsersResult> result, bool compact);
    // The rows `indexes` of the result (not shown rows) are complete: their figures show.
    // The rows are sorted again once for all of them: they arrive in batches, and a
    // sort per row would make reading k rows cost k sorts of every row.
    void MarkRead(const std::vector<size_t>& indexes);
    // Every row is complete; the totals of the result count, and it is the result a
    // cancelled read falls back to from now on.
    void MarkAllRead();
    // The read was cancelled. Its rows are dropped for the last complete result, which
    // shows again whole; without one the rows read stay, and no share shows, as the
    // total they would be of is not known.
    void MarkCancelled();
    // The last read ended by a cancel; IsPartial: without a complete one to show.
    bool IsCancelled() const { return m_bCancelled; }
    bool IsPartial() const { return m_bCancelled && !m_pComplete; }
    size_t ReadCount() const { return m_nRead; }
    size_t ToReadCount() const { return m_nToRead; }

    int RowCount() const override { return static_cast<int>(m_order.size()); }
    std::string CellText(int row, int column) const override;
    bool DescendingOnFirstClick(int column) const override;
    void Sort(int column, bool descending) override;
    int FindRow(int start, const std::string& prefix) const override;
    int ContextRow(int topRow) const override;

    const view::ColumnSort& CurrentSort() const { return m_sort; }
    // The share of row `row` of what is read so far, in tenths of a percent.
    uint32_t ShareOf(int row) const override;
    // The bar of row `row`: its share, or in proportion to the largest share when all
    // are small (BarsScaledTo gives that share then, 0 otherwise).
    uint32_t BarOf(int row) const override;
    uint32_t BarsScaledTo() const;
    // "!! 1" over the limit, "! 2" near it, on the limit column of a read row.
    int WarningOf(int row, int column) const override;
    // The result's row shown in `row`.
    const UserMailbox& Row(int row) const;
    // The result's row shown in `row`, by its index.
    size_t IndexOf(int row) const { return m_order[static_cast<size_t>(row)]; }
    // The shown row of the result's row `index`; -1 when none.
    int ShownRow(size_t index) const;
    // What opening row `row` scans: the user's folder as mailbox and new-mail folder,
    // with the main window's new-mail label; false for a row without a read folder.
    bool FolderRequest(int row, const std::string& newMailLabel, ScanRequest& request) const;
    // The rows as shown, for Ctrl+C and the export: `titles` (one per window column),
    // each row's cells in the window's columns and its total in bytes; a row still
    // being read has its names only and no bytes.
    view::ListSnapshot Snapshot(const std::vector<std::string>& titles) const;
    // "8 Benutzer, 1.200 Ordnerdateien, 117,7 MB (123.456.789 Bytes)" of the rows read
    // so far, the users near and over the limit after it, and what a cancel left
    // (Windows-1252).
    std::string StatusText(const AllUsersStatusTexts& texts) const;

    // Only the rows `filter` lets pass by user name, personal name and total (a row not
    // yet read has none: it waits for its figures where a minimum is set); the sort stays.
    void SetFilter(const view::RowFilter& filter);
    bool IsFiltered() const { return !m_filter.IsEmpty(); }
    // With a filter, what is shown of all in `format` (four "%s": the rows shown and all
    // rows, the bytes shown and those of all rows read); empty without one.
    std::string FilteredText(const std::string& format) const;

private:
    void Resort();

    std::shared_ptr<const AllUsersResult> m_pResult;
    std::shared_ptr<const AllUsersResult> m_pComplete; // the last read that ended whole
    bool m_bCancelled = false;
    bool m_bCompact = true;
    std::vector<bool> m_read;
    size_t m_nRead = 0;   // rows read of those with a folder
    size_t m_nToRead = 0; // rows with a folder
    uint64_t m_nReadTotal = 0;
    int32_t m_nReadFiles = 0;
    std::vector<uint32_t> m_order; // the shown rows' indexes into the result
    uint32_t m_nLargestShare = 0;  // of the rows read, in tenths of a percent
    view::ColumnSort m_sort;
    view::RowFilter m_filter;
};

} // namespace report
