// The share column of the windows that have one ("Ordnerbaum", "Alle Postfächer"): a bar
// as long as the row's share beside the percentage, painted by the list's custom draw,
// in the selection's colours on a selected row. One drawing for both, so they look alike.
#pragma once

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
