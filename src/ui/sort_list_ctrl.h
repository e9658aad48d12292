// CSortListCtrl: a report-view list whose rows carry only item data. Cell texts are
// asked for when the list paints them, a header click sorts by that column (again:
// the other way round), ties are broken by the other columns in the order they are
// shown, the header's arrow shows the sort, and widths, column order and sort state go to
// and come from a settings store. A list whose rows are for reading only can be scrolled
// by keys and type-ahead. Subclasses say how two items compare in a column and what text
// a cell shows.
#pragma once

#include "framework/controls.h"
#include "view/list_rules.h"
#include "view/sort_compare.h"
#include "view/window_state.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class SettingsStore;

class CSortListCtrl : public CListCtrl {
public:
    // The stored value names, in the store's open section.
    static constexpr const char kColumnsValue[] = "Columns";
    static constexpr const char kColumnOrderValue[] = "ColOrder";
    static constexpr const char kSortValue[] = "Sort";
    static constexpr size_t kSortValueSize = 8;

    CSortListCtrl() = default;

    // Negative, 0 or positive: how item `a` compares to item `b` in `column`.
    virtual int CompareItems(LPARAM a, LPARAM b, int column) const = 0;
    // The text of `item`'s cell in `column`.
    virtual std::string GetItemText(LPARAM item, int column) const = 0;
    // Whether InsertItemData takes `item`; all items unless overridden.
    virtual bool AcceptItem(LPARAM /*item*/) const { return true; }
    // Told about the data of each deleted row when m_bOwnsItemData is set.
    virtual void OnItemDeleted(LPARAM /*item*/) {}

    // Inserts a row with a text callback and `item` as its data at `position`, or at the
    // end for -1. The new row's index, or -1 when AcceptItem refused or the list failed.
    int InsertItemData(LPARAM item, int position);
    // Sets the sort state without sorting; the column is clamped to the columns there are.
    void SetSort(int column, bool descending);
    // Sorts all rows by the current state and scrolls the first selected row into view.
    void Resort();

    // For rows that are never selected nor focused, where the platform's own keys would
    // move from "no row" each time: Up, Down, Page Up and Page Down scroll by a row or a
    // page, and typed letters scroll to the first row whose text in the sort column
    // starts with them. True when `msg` was such a key for the list (and is done).
    bool ScrollForKey(const MSG& msg);
    // Scrolls so that `row` is the first visible row, as far as the list can.
    void ScrollRowToTop(int row) const;
    // After a refill, among the rows in sort order: scrolls the row `isSame` recognises
    // to the top, else the first row that sorts after `old` (an item no longer listed).
    void ScrollToKeptRow(LPARAM old, const std::function<bool(LPARAM)>& isSame) const;
    // The horizontal scroll position in pixels, and a scroll back to one.
    int GetScrollX() const;
    void ScrollToX(int x) const;

    int GetColumnCount() const;
    // Widths by column index, `count` of them.
    void GetColumnWidths(int32_t* widths, int count) const;
    // Stops at the first column the list refuses; only the low 16 bits of a width count.
    void SetColumnWidths(const int32_t* widths, int count) const;
    // For each display position from the left, the column index shown there.
    std::vector<int32_t> GetColumnOrder() const;
    bool SetColumnOrder(const std::vector<int32_t>& order) const;

    // The store must be open on the section that holds the values. A value the store
    // cannot read as asked keeps what the list has now, a width out of range the
    // column's default. Nothing is sorted here.
    void LoadColumnState(SettingsStore& store);
    void SaveColumnState(SettingsStore& store) const;
    // Widths, order and sort as the list shows them now.
    view::ListState GetListState() const;
    // The width a column takes when its stored one is out of range: the current one
    // unless a subclass knows better.
    virtual std::vector<int32_t> GetDefaultColumnWidths() const;
    // The value names of the column state, in the store's open section.
    static const view::WindowStateNames& StateNames();

    // The list's own notifications, which its parent hands on (reflects): column clicks,
    // cell text requests and row deletions. True when handled, with the result set.
    bool OnReflectedNotify(const NMHDR* header, LRESULT& result);

    // LVM_SORTITEMS' comparison; `context` is the list itself.
    static int CALLBACK SortCompare(LPARAM a, LPARAM b, LPARAM context);

    int GetSortColumn() const { return m_nSortColumn; }
    bool IsSortDescending() const { return m_bSortDescending != 0; }
    int GetTieMode() const { return m_nTieMode; }

protected:
    int m_nTieMode = view::kTieNone;
    int m_nSortColumn = 0;
    int m_bSortDescending = 0;
    int m_bOwnsItemData = 1;

private:
    // Sorts with the display order read once for the whole sort.
    void SortAndShowSelection();
    void OnColumnClick(int column);
    void OnGetDispInfo(NMLVDISPINFOA* info) const;
    // The header's sort arrow on the sort column, in the sort's direction, none elsewhere.
    void UpdateSortArrows() const;
    void ScrollToPrefix(char letter, DWORD time);

    std::vector<int32_t> m_sortOrder; // display order during a sort
    view::TypeAhead m_typeAhead;
};
