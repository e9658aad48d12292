// The window "Ordnerbaum"'s share column: a bar as long as the row's share of the
// mailbox beside the percentage, drawn by the list's custom draw, in the selection's
// colours on a selected row.
#include "framework/gdi_object.h"
#include "framework/win_app.h"
#include "ui/folder_tree_dlg.h"

namespace {

view::PixelRect FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

RECT CFolderTreeDlg::GetBarRect(int row) const {
    RECT cell = {};
    if (row < 0 || row >= m_rows.RowCount() ||
        !m_list.GetSubItemRect(row, tree::kTreeColumnShare, LVIR_BOUNDS, cell)) {
        return RECT{};
    }
    const view::PixelRect bar =
        tree::ShareBarRect(FromRect(cell), m_rows.ShareOf(row), m_shareMetrics);
    return RECT{bar.left, bar.top, bar.right, bar.bottom};
}

LRESULT CFolderTreeDlg::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
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
        row < m_rows.RowCount() && (m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    RECT cell = {};
    if (draw.iSubItem != tree::kTreeColumnShare || row >= m_rows.RowCount() ||
        !m_list.GetSubItemRect(row, tree::kTreeColumnShare, LVIR_BOUNDS, cell)) {
        // The selection keeps its own colours; the size's mark still tells the limit.
        return selected ? CDRF_DODEFAULT : m_list.ColourCell(draw);
    }
    HDC dc = draw.nmcd.hdc;
    RECT inner = {cell.left + 1, cell.top, cell.right, cell.bottom - 1};
    ::FillRect(dc, &inner, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const RECT bar = GetBarRect(row);
    if (bar.right > bar.left) {
        // On the selection's colour the bar takes the selected text's colour.
        const CGdiObject<HBRUSH> brush(
            ::CreateSolidBrush(selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : BarColor()));
        ::FillRect(dc, &bar, brush.Get());
    }
    const std::string text = m_rows.CellText(row, tree::kTreeColumnShare);
    RECT textRect = {cell.left, cell.top, cell.right - m_shareMetrics.textMargin, cell.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return CDRF_SKIPDEFAULT;
}
