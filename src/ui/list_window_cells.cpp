// CListWindow's cells: the share column's bars, and the tooltip that shows a cell's
// whole text where the column cuts it.
#include "ui/list_window.h"

#include "framework/gdi_object.h"
#include "view/list_rules.h"
#include "view/tree_layout.h"

namespace {

// Where the bar of a share of `tenths` (of a percent) lies in `cell`; empty for none.
RECT ShareBarIn(const RECT& cell, uint32_t tenths, const tree::ShareCellMetrics& metrics) {
    const view::PixelRect bar =
        tree::ShareBarRect({cell.left, cell.top, cell.right, cell.bottom}, tenths, metrics);
    return RECT{bar.left, bar.top, bar.right, bar.bottom};
}

} // namespace

void CListWindow::FollowCellTip(const MSG& msg) {
    LVHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    const int row = m_reportList.SubItemHitTest(hit);
    const int column = row >= 0 ? hit.iSubItem : -1;
    if (row == m_nTipRow && column == m_nTipColumn) {
        return;
    }
    m_nTipRow = row;
    m_nTipColumn = column;
    // Another cell: the tip shown goes, and the next asks for its cell's text.
    ::SendMessageA(m_hTip, TTM_POP, 0, 0);
}

std::string CListWindow::CutCellText(int row, int column) const {
    const view::ReportModel* model = m_reportList.GetModel();
    RECT cell = {};
    if (model == nullptr || row < 0 || row >= model->RowCount() || column < 0 ||
        column == m_frame.shareColumn ||
        !m_reportList.GetSubItemRect(row, column, LVIR_LABEL, cell)) {
        return std::string();
    }
    const std::string text = model->ShownText(row, column);
    const int padding = view::ScaleForDpi(CReportList::kCellPadding, m_reportList.GetDpi());
    const int room =
        (column == 0 ? cell.right - cell.left : m_reportList.GetColumnWidth(column)) - 2 * padding;
    return m_reportList.GetStringWidth(text.c_str()) > room ? text : std::string();
}

bool CListWindow::OnTipNotify(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA& info = *reinterpret_cast<NMTTDISPINFOA*>(header);
        m_strTip = CutCellText(m_nTipRow, m_nTipColumn);
        info.hinst = nullptr;
        info.lpszText = &m_strTip[0];
        return true;
    }
    if (header->code == TTN_GETDISPINFOW) {
        // A tooltip that asks in 16-bit text, as Wine's may.
        NMTTDISPINFOW& info = *reinterpret_cast<NMTTDISPINFOW*>(header);
        m_strTip = CutCellText(m_nTipRow, m_nTipColumn);
        m_strTipWide.assign(m_strTip.size() + 1, L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, m_strTip.c_str(), -1, &m_strTipWide[0],
                              static_cast<int>(m_strTipWide.size()));
        info.hinst = nullptr;
        info.lpszText = &m_strTipWide[0];
        return true;
    }
    return false;
}

RECT CListWindow::GetBarRect(int row) const {
    RECT cell = {};
    const view::ReportModel* model = m_reportList.GetModel();
    if (model == nullptr || row < 0 || row >= model->RowCount() ||
        !m_reportList.GetSubItemRect(row, m_frame.shareColumn, LVIR_BOUNDS, cell)) {
        return RECT{};
    }
    return ShareBarIn(cell, model->BarOf(row), m_shareMetrics);
}

LRESULT CListWindow::DrawWithShares(NMLVCUSTOMDRAW& draw) const {
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
    const int rows = m_reportList.GetModel() != nullptr ? m_reportList.GetModel()->RowCount() : 0;
    const bool selected =
        row < rows && (m_reportList.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    RECT cell = {};
    if (draw.iSubItem != m_frame.shareColumn || row >= rows ||
        !m_reportList.GetSubItemRect(row, m_frame.shareColumn, LVIR_BOUNDS, cell)) {
        // The size's mark still tells the limit on a selected row.
        return selected ? CDRF_DODEFAULT : m_reportList.ColourCell(draw);
    }
    return DrawShareCell(draw.nmcd.hdc, row, cell, selected);
}

LRESULT CListWindow::DrawShareCell(HDC dc, int row, const RECT& cell, bool selected) const {
    RECT inner = {cell.left + 1, cell.top, cell.right, cell.bottom - 1};
    ::FillRect(dc, &inner, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const RECT bar = GetBarRect(row);
    if (bar.right > bar.left) {
        // On the selection's colour the bar takes the selected text's colour.
        const CGdiObject<HBRUSH> brush(
            ::CreateSolidBrush(selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : BarColor()));
        ::FillRect(dc, &bar, brush.Get());
    }
    const std::string text = m_reportList.GetModel()->CellText(row, m_frame.shareColumn);
    RECT textRect = {cell.left, cell.top, cell.right - m_shareMetrics.textMargin, cell.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    // A row kept only on the way down to a match is greyed in this cell too.
    const bool greyed = m_reportList.GetModel()->IsGreyed(row);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT
                                     : greyed ? COLOR_GRAYTEXT
                                              : COLOR_WINDOWTEXT));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return CDRF_SKIPDEFAULT;
}
