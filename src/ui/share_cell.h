// The share column of the windows that have one ("Ordnerbaum", "Alle Postfächer"): a bar
// as long as the row's share beside the percentage, painted by the list's custom draw,
// in the selection's colours on a selected row. One drawing for both, so they look alike.
#pragma once

#include "framework/report_list.h"
#include "tree/tree_rows.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The bar's colour on a row that is not selected.
inline COLORREF ShareBarColor() {
    return RGB(58, 110, 165);
}

// Where the bar of a share of `tenths` (of a percent) lies in `cell`; empty for none.
RECT ShareBarRectIn(const RECT& cell, uint32_t tenths, const tree::ShareCellMetrics& metrics);

// Paints the cell `cell` with its bar and `text` ("34,5 %") right-aligned before the
// metrics' margin; what the subitem stage of the custom draw then returns.
LRESULT DrawShareCell(HDC dc, const RECT& cell, uint32_t tenths, const std::string& text,
                      const tree::ShareCellMetrics& metrics, bool selected);

// The bar of `row` in `list`'s share column `column`, `model` being the list's (it has
// RowCount and ShareOf); empty for none or a row out of range.
template <class Model>
RECT ShareBarOf(const CReportList& list, const Model& model, int row, int column,
                const tree::ShareCellMetrics& metrics) {
    RECT cell = {};
    if (row < 0 || row >= model.RowCount() ||
        !list.GetSubItemRect(row, column, LVIR_BOUNDS, cell)) {
        return RECT{};
    }
    return ShareBarRectIn(cell, model.ShareOf(row), metrics);
}

// The custom draw of a list with the share column `column`: its cells drawn as share
// cells, every other cell coloured as the list colours it, a selected row in the
// selection's own colours (the size's mark still tells the limit).
template <class Model>
LRESULT DrawListWithShares(NMLVCUSTOMDRAW& draw, const CReportList& list, const Model& model,
                           int column, const tree::ShareCellMetrics& metrics) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        break;
    default:
        return CDRF_DODEFAULT;
    }
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    const bool selected =
        row < model.RowCount() && (list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    RECT cell = {};
    if (draw.iSubItem != column || row >= model.RowCount() ||
        !list.GetSubItemRect(row, column, LVIR_BOUNDS, cell)) {
        return selected ? CDRF_DODEFAULT : list.ColourCell(draw);
    }
    return DrawShareCell(draw.nmcd.hdc, cell, model.ShareOf(row), model.CellText(row, column),
                         metrics, selected);
}
