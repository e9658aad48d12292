// The window "Ordnerbaum"'s share column: each row's share of the mailbox, drawn as the
// share cells of every window are (ui/share_cell).
#include "ui/folder_tree_dlg.h"
#include "ui/share_cell.h"

RECT CFolderTreeDlg::GetBarRect(int row) const {
    return ShareBarOf(m_list, m_rows, row, tree::kTreeColumnShare, m_shareMetrics);
}

LRESULT CFolderTreeDlg::DrawList(NMLVCUSTOMDRAW& draw) {
    return DrawListWithShares(draw, m_list, m_rows, tree::kTreeColumnShare, m_shareMetrics);
}

COLORREF CFolderTreeDlg::BarColor() {
    return ShareBarColor();
}
