// CFolderListCtrl: the main window's folder list, a CReportList over view::FolderRows.
// It shows one scan result and keeps it alive until the next; the cells are the file
// name, the size (exact or compact) and the folder path with the folder name. A header
// click sorts (every column ascending first; again: the other way round), ties are
// broken by the other columns in the order they are shown, widths, column order and
// sort go to and come from a settings store, and since its rows are for reading only
// it is scrolled by keys and type-ahead rather than by a selection.
#pragma once

#include "framework/report_list.h"
#include "view/folder_rows.h"
#include "view/list_rules.h"
#include "view/optional_columns.h"
#include "view/window_state.h"

#include <cstdint>
#include <string>
#include <vector>

class SettingsStore;

class CFolderListCtrl : public CReportList {
public:
    static constexpr int kColumnCount = 3;
    static constexpr int kFileNameWidth = 110;
    static constexpr int kSizeWidth = 70;
    static constexpr int kFolderNameWidth = 240;

    // Where the list stands: its first visible row (a copy, so it outlives its result),
    // the file names of the rows above it (sorted) and its horizontal scroll position.
    struct Place {
        bool bHasTopRow = false;
        FolderRecord topRow;
        std::vector<std::string> above;
        int nScrollX = 0;
    };

    // Once, before the saved column state is loaded: the three columns with their
    // titles from the string table, the list's extended styles, and the initial order
    // by folder name. The default widths are pixels at 96 DPI, scaled for the screen;
    // the size column is widened to hold the exact size of a 5 GiB folder in the
    // list's font.
    void InitColumns(UINT fileNameTitleId, UINT sizeTitleId, UINT folderNameTitleId);
    // After every scan: the rows of `result` (null: none) in the list's sort; the
    // result shown before is let go only now.
    // `changes` belong to `result` (none: the column "Änderung" stays empty).
    void Show(SharedScanResult result, bool compact,
              view::FolderChangeSet changes = view::FolderChangeSet());
    // New changes for the rows shown, keeping the list's place.
    void SetChanges(view::FolderChangeSet changes);
    // Only the rows `filter` lets pass, from every result on; the first visible row
    // stays first where it passes, else the next in sort order does.
    void SetFilter(const view::RowFilter& filter);
    const SharedScanResult& GetResult() const { return m_rows.Result(); }
    const view::FolderRows& GetRows() const { return m_rows; }
    bool IsCompactSizes() const { return m_rows.IsCompactSizes(); }

    Place GetPlace() const;
    // After a refill: the same first visible row again, found by its file name, or the
    // nearest row in sort order when it is gone, unless a row a refresh moved up from
    // below it would stay hidden above it (view::FolderRows::ShownTopRow): then that row
    // first; and the same horizontal scroll.
    void RestorePlace(const Place& place);

    // Sets the sort state without sorting; the column is clamped to the columns there are.
    void SetSort(int column, bool descending);
    // Sorts all rows by the current state and the columns' display order.
    void Resort();
    // A header click on `column`, or its choice in a menu: by the click rule.
    void SortByColumn(int column);
    int GetSortColumn() const { return GetSort().column; }
    bool IsSortDescending() const { return GetSort().descending; }
    int GetTieMode() const { return view::kTieFromLeftmost; }

    int GetColumnCount() const { return GetHeader().GetItemCount(); }
    // Widths by column index, `count` of them.
    void GetColumnWidths(int32_t* widths, int count) const;
    // Stops at the first column the list refuses; only the low 16 bits of a width count.
    void SetColumnWidths(const int32_t* widths, int count) const;
    // For each display position from the left, the column index shown there.
    std::vector<int32_t> GetColumnOrder() const;
    bool SetColumnOrder(const std::vector<int32_t>& order) const;

    // The store must be open on the section that holds the values `names` names. A
    // value the store cannot read as asked keeps what the list has now, a width out of
    // range the column's default. Nothing is sorted here. Returns the widths as stored.
    std::vector<int32_t> LoadColumnState(SettingsStore& store, const view::WindowStateNames& names);
    // The three columns' state as "Columns", "ColOrder" and "Sort" keep it, whatever
    // optional columns are shown; their own state goes with SaveOptionalColumns.
    view::ListState GetListState() const;
    bool SaveOptionalColumns(SettingsStore& store) const;

    // The optional columns (view::kOptionalColumns): shown or not, and a switch that
    // shows a hidden one where it stood before (or at the end) and hides a shown one,
    // keeping its width and place. The sort by a column that goes falls back to the
    // folder column.
    bool IsOptionalColumnShown(int column) const;
    void ToggleOptionalColumn(int column);

    // Up, Down, Page Up and Page Down scroll by a row or a page, Home and End to the
    // first and the last row (there is no selected row to move from), and typed letters scroll to
    // the first row whose text in the sort column starts with them. True when `msg` was such a key
    // for the list.
    bool ScrollForKey(const MSG& msg);
    // "Ordnername" takes the room the other columns leave when the list grows, and gives
    // back what it took when it shrinks (view::FillingColumnWidth): after every change
    // of the list's size or of its rows, which may bring or take the scroll bar.
    void FollowRoom();

    // Scrolls so that `row` is the first visible row, as far as the list can.
    void ScrollRowToTop(int row) const;
    // The horizontal scroll position in pixels, and a scroll back to one.
    int GetScrollX() const;
    void ScrollToX(int x) const;

private:
    // The optional columns' states with the shown ones' widths and places taken from
    // the list now.
    std::vector<view::OptionalColumnState> CurrentOptionalStates() const;
    // Shows the optional columns `m_optional` says, the columns in `displayOrder`
    // (model columns) and the sort by model column `sort`; a sort column not shown
    // gives the folder column, in the sort's direction with `keepDirection`.
    void ApplyColumns(const std::vector<int32_t>& displayOrder, const view::ColumnSort& sort,
                      bool keepDirection);
    // The display order and the sort by model columns.
    std::vector<int32_t> ModelDisplayOrder() const;
    view::ColumnSort ModelSort() const;

    view::FolderRows m_rows;
    std::vector<view::OptionalColumnState> m_optional =
        std::vector<view::OptionalColumnState>(view::kOptionalColumnCount);
    view::TypeAhead m_typeAhead;
    int m_nRoom = 0; // the client width FollowRoom saw last
};
