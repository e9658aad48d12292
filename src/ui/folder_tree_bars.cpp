// The window "Ordnerbaum"'s share column: each row's share of the mailbox, drawn as the
// share cells of every window are (ui/share_cell).
#include "ui/folder_tree_dlg.h"
#include "ui/share_cell.h"

RECT CFolderTreeDlg::GetBarRect(int row) const {
    RECT cell = {};
    if (row < 0 || row >= m_rows.RowCount() ||
        !m_list.GetSubItemRect(row, tree::kTreeColumnShare, LVIR_BOUNDS, cell)) {
        return RECT{};
    }
    return ShareBarRectIn(cell, m_rows.ShareOf(row), m_shareMetrics);
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
    return DrawShareCell(draw.nmcd.hdc, cell, m_rows.ShareOf(row),
                         m_rows.CellText(row, tree::kTreeColumnShare), m_shareMetrics, selected);
}

COLORREF CFolderTreeDlg::BarColor() {
    return ShareBarColor();
}
