// The main window's folder list without the window: the rows of one scan result in the
// order of the list's sort (the sort column, ties broken by the other columns in the
// order they are shown), their cell texts in the chosen size form, where the list
// stands again after a refill, and which row typed letters find.
#pragma once

#include "mailbox/scan_result.h"
#include "view/folder_compare.h"
#include "view/report_model.h"
#include "view/sort_compare.h"

#include <cstdint>
#include <string>
#include <vector>

namespace view {

class FolderRows : public ReportModel {
public:
    FolderRows();

    // Shows `result` (null: no rows), sorted as before; keeps it alive until the next.
    void SetResult(SharedScanResult result);
    const SharedScanResult& Result() const { return m_pResult; }
    void SetCompactSizes(bool compact) { m_bCompactSizes = compact; }
    bool IsCompactSizes() const { return m_bCompactSizes; }
    // For each display position the column shown there: the order ties are broken in
    // from the next sort on.
    void SetColumnOrder(const std::vector<int32_t>& order);
    // The sort from the next SetResult on, without sorting now.
    void SetSort(int column, bool descending);

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    std::string CellText(int row, int column) const override;
    // Every column of the folder list starts ascending.
    bool DescendingOnFirstClick(int /*column*/) const override { return false; }
    void Sort(int column, bool descending) override;
    // Typed letters scroll to the first row whose text in the sort column starts with
    // them, in the folder column also the first whose folder name does (after the
    // path's separators); the search always starts at the first row.
    int FindRow(int start, const std::string& prefix) const override;
    // The keyboard's context menu belongs to the first visible row `topRow`.
    int ContextRow(int topRow) const override;

    const SortState& GetSortState() const { return m_sort; }
    // The record shown in `row`; `row` must be in range.
    const FolderRecord& Record(int row) const;
    // The row to show first again after a refill: the row with `old`'s file name, else
    // the first that sorts after `old`, else the last; -1 for no rows.
    int KeptRow(const FolderRecord& old) const;

private:
    void SortRows();

    SharedScanResult m_pResult;
    bool m_bCompactSizes = true;
    SortState m_sort;
    std::vector<int32_t> m_order; // display order of the columns
    std::vector<uint32_t> m_rows; // record indices in the order shown
};

} // namespace view
