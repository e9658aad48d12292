// The main window's folder list without the window: the rows of one scan result in the
// order of the list's sort (the sort column, ties broken by the other columns in the
// order they are shown), their cell texts in the chosen size form, where the list
// stands again after a refill, and which row typed letters find.
//
// Besides its three columns the list may show optional ones (FolderColumn from
// kColumnChanged on). The list's own column indices follow what it shows: the model
// maps them to its columns (SetListColumns), so every call that a list makes with a
// column (CellText, Sort, SetSort, SetColumnOrder) takes the list's index.
#pragma once

#include "mailbox/scan_result.h"
#include "sizes/byte_change.h"
#include "view/folder_compare.h"
#include "view/report_model.h"
#include "view/row_filter.h"
#include "view/sort_compare.h"

#include <cstdint>
#include <string>
#include <vector>

namespace view {

// The change of each folder file since a day of the history: one per record of a scan
// result, in the records' order, then one per file gone since, as the report's --compare
// lists them. The gone files are rows of their own while the change's column is shown.
struct FolderChangeSet {
    std::vector<RowChange> changes; // the records', then the removed files'
    std::vector<FolderRecord> removed;
    ByteChange total; // the sum of the changes
};

class FolderRows : public ReportModel {
public:
    FolderRows();

    // Shows `result` (null: no rows), sorted as before; keeps it alive until the next.
    // `changes` belong to it (none: the change's cells stay empty); a set that does not
    // fit the result's records is dropped.
    void SetResult(SharedScanResult result, FolderChangeSet changes = FolderChangeSet());
    // New changes for the result shown, sorted as before.
    void SetChanges(FolderChangeSet changes);
    bool HasChanges() const { return !m_changes.changes.empty(); }
    const FolderChangeSet& Changes() const { return m_changes; }
    const SharedScanResult& Result() const { return m_pResult; }
    void SetCompactSizes(bool compact) { m_bCompactSizes = compact; }
    bool IsCompactSizes() const { return m_bCompactSizes; }
    // The model column of each list column, by list index: the three first, then the
    // optional ones shown. Entries out of range are dropped. The sort keeps its column
    // where that is still shown, else falls back to the folder column ascending.
    void SetListColumns(const std::vector<int32_t>& columns);
    const std::vector<int32_t>& ListColumns() const { return m_listColumns; }
    // The model column of a list column, -1 out of range; the list column of a model
    // column, -1 when not shown.
    int ModelColumn(int listColumn) const;
    int ListColumn(int modelColumn) const;
    // For each display position the list column shown there: the order ties are broken
    // in from the next sort on.
    void SetColumnOrder(const std::vector<int32_t>& order);
    // The sort from the next SetResult on, without sorting now.
    void SetSort(int column, bool descending);
    // Shows only the rows `filter` lets pass (by file name, folder path with name and
    // size), in the sort as before; an empty filter shows every row.
    void SetFilter(const RowFilter& filter);
    bool IsFiltered() const { return !m_filter.IsEmpty(); }
    // The folder files the rows shown hold, and their bytes (a gone file's none).
    int32_t ShownFileCount() const;
    uint64_t ShownSize() const;

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    std::string CellText(int row, int column) const override;
    // The size with the mark of the client's folder limit, for the screen.
    std::string ShownText(int row, int column) const override;
    int WarningOf(int row, int column) const override;
    // Every column of the folder list starts ascending but the change: newest first.
    bool DescendingOnFirstClick(int column) const override;
    void Sort(int column, bool descending) override;
    // Typed letters scroll to the first row whose text in the sort column starts with
    // them, in the folder column also the first whose folder name does (after the
    // path's separators); the search always starts at the first row.
    int FindRow(int start, const std::string& prefix) const override;
    // The keyboard's context menu belongs to the first visible row `topRow`.
    int ContextRow(int topRow) const override;

    // The sort by model column.
    const ColumnSort& GetSort() const { return m_sort; }
    // What `row` shows in model column `column`.
    std::string ModelCellText(int row, int column) const;
    // The record shown in `row`, a removed file's as the history has it; `row` must be
    // in range.
    const FolderRecord& Record(int row) const;
    // The change shown in `row`; null without changes.
    const RowChange* ChangeOf(int row) const;
    // The row to show first again after a refill: the row with `old`'s file name, else
    // the first that sorts after `old`, else the last; -1 for no rows.
    int KeptRow(const FolderRecord& old) const;
    // The row to show first after a refill when sorted by a size, a date or a change:
    // the first row above KeptRow(old) whose file name was not above `old` before
    // (`above` holds those names, sorted), so that a folder a refresh moves up into the
    // rows scrolled away shows at the top; KeptRow(old) when there is none, and always
    // when sorted by a name, where a refresh moves no row.
    int ShownTopRow(const FolderRecord& old, const std::vector<std::string>& above) const;

private:
    // Sorts every row, then takes the ones the filter passes.
    void SortRows();
    // The rows the filter passes, in the order sorted: a key typed into the filter
    // costs a pass over the rows, not a sort.
    void FilterRows();
    bool PassesFilter(uint32_t index) const;
    bool ShowsRemoved() const;
    const FolderRecord& RecordAt(uint32_t index) const;

    SharedScanResult m_pResult;
    FolderChangeSet m_changes;
    bool m_bCompactSizes = true;
    ColumnSort m_sort{kColumnFolderName, false};
    std::vector<int32_t> m_listColumns; // model column by list index
    std::vector<int32_t> m_order;       // display order of the model columns
    std::vector<uint32_t> m_rows;   // record indices in the order shown, removed files after them
    std::vector<uint32_t> m_sorted; // every row's, in the same order, the filter's or not
    RowFilter m_filter;
};

} // namespace view
