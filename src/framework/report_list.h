// CReportList: a report-view list with owner data that shows what a view::ReportModel
// says. It asks the model for the row count and each cell's text when it paints, hands
// typed letters to the model's search (the list asks in either character width), sorts by the model
// on a header click with the one click rule (view::NextSort, the first direction the model's),
// shows the sort as the header's arrow, and makes its columns with default widths scaled for the
// screen. The window that holds it forwards the list's notifications and keeps the rest: painting
// of its own, keys, clicks.
#pragma once

#include "framework/controls.h"
#include "view/report_model.h"

#include <cstdint>
#include <string>
#include <vector>

class CReportList : public CListCtrl {
public:
    struct Column {
        UINT titleId; // string table
        int format;   // LVCFMT_LEFT or LVCFMT_RIGHT
        int width96;  // default width in pixels at 96 DPI
    };

    // Once the control is attached: the model and the columns, the extended styles.
    void Init(view::ReportModel& model, const Column* columns, int count, DWORD extendedStyle);
    // The default widths of Init's columns on this screen, by column index.
    std::vector<int32_t> GetDefaultWidths() const { return m_defaultWidths; }
    // The screen's DPI the default widths are scaled for.
    int GetDpi() const { return m_nDpi; }
    const view::ReportModel* GetModel() const { return m_pModel; }

    // Takes the model's row count, keeping the scroll place, and repaints.
    void Refresh() const;
    // Marks the rows' part of the list, below its header, for repainting: what new rows
    // change. The header stays as drawn; it repaints itself when its items change.
    void InvalidateRows(BOOL erase) const;
    // Sets the sort the header shows and the model has, without a click.
    void SetSort(const view::ColumnSort& sort);
    // Records the sort only: the model and the header follow at the next SetSort.
    void SetSortState(const view::ColumnSort& sort) { m_sort = sort; }
    const view::ColumnSort& GetSort() const { return m_sort; }
    // A click on `column`'s header: the next sort by the click rule. A choice of the
    // column from a menu is the same.
    void ClickColumn(int column);

    // The selected row; -1 for none, or for one the model no longer has.
    int GetSelectedRow() const;
    // Selects and focuses `row` alone; -1 selects none.
    void SelectOnly(int row) const;
    // The row the model gives the context menu opened from the keyboard (-1: none), and
    // where that menu goes in screen coordinates: at the left of that row's label, else
    // the list's top-left corner.
    int GetContextRow() const;
    POINT GetContextMenuPoint() const;

    // Cell texts, images, indents and searches; true when `header` was one of them,
    // with `result` set.
    bool OnNotify(const NMHDR* header, LRESULT& result);
    // The custom draw of a list that paints nothing of its own: every cell in the
    // list's colours but one the model warns of (WarningOf), which gets the warning's.
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;
    // The colours of one cell at the subitem stage; what that stage returns.
    LRESULT ColourCell(NMLVCUSTOMDRAW& draw) const;
    // Appends a column after the last, its title from the string table, its width in
    // pixels; its index, -1 when the list refused it.
    int AppendColumn(UINT titleId, int format, int width);
    // The cell's margin on each side of its text, at 96 DPI.
    static constexpr int kCellPadding = 6;
    // Widens a column and its default width, where needed, to hold `text` in the list's
    // font with the cell's margins.
    void FitDefaultWidth(int column, const char* text);

private:
    void FillDisplayInfo(NMLVDISPINFOA& info);
    int RowCount() const { return m_pModel != nullptr ? m_pModel->RowCount() : 0; }
    // Whether a cell of `row` warns (WarningOf).
    bool RowWarns(int row) const;
    LRESULT FindRow(int start, UINT flags, const std::string& prefix) const;

    view::ReportModel* m_pModel = nullptr;
    view::ColumnSort m_sort;
    std::vector<int32_t> m_defaultWidths;
    int m_nDpi = 96;
    std::string m_strCell; // the text handed to the list for the current request
};
