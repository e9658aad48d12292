#include "ui/share_cell.h"

#include "framework/gdi_object.h"

#include <commctrl.h>

RECT ShareBarRectIn(const RECT& cell, uint32_t tenths, const tree::ShareCellMetrics& metrics) {
    const view::PixelRect bar =
        tree::ShareBarRect({cell.left, cell.top, cell.right, cell.bottom}, tenths, metrics);
    return RECT{bar.left, bar.top, bar.right, bar.bottom};
}

LRESULT DrawShareCell(HDC dc, const RECT& cell, uint32_t tenths, const std::string& text,
                      const tree::ShareCellMetrics& metrics, bool selected) {
    RECT inner = {cell.left + 1, cell.top, cell.right, cell.bottom - 1};
    ::FillRect(dc, &inner, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const RECT bar = ShareBarRectIn(cell, tenths, metrics);
    if (bar.right > bar.left) {
        // On the selection's colour the bar takes the selected text's colour.
        const CGdiObject<HBRUSH> brush(
            ::CreateSolidBrush(selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ShareBarColor()));
        ::FillRect(dc, &bar, brush.Get());
    }
    RECT textRect = {cell.left, cell.top, cell.right - metrics.textMargin, cell.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return CDRF_SKIPDEFAULT;
}
