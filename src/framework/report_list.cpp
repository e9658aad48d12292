// CReportList: the model's rows through the list's callbacks.
#include "framework/report_list.h"

#include "framework/win_app.h"
#include "view/limit_mark.h"
#include "view/list_rules.h"

#include <algorithm>

void CReportList::Init(view::ReportModel& model, const Column* columns, int count,
                       DWORD extendedStyle) {
    m_pModel = &model;
    SetExtendedStyle(extendedStyle);
    HDC dc = ::GetDC(m_hWnd);
    const int dpi = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc != nullptr) {
        ::ReleaseDC(m_hWnd, dc);
    }
    m_nDpi = dpi > 0 ? dpi : 96;
    m_defaultWidths.clear();
    for (int c = 0; c < count; ++c) {
        std::string title = LoadResourceString(columns[c].titleId);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = columns[c].format;
        column.cx = view::ScaleForDpi(columns[c].width96, dpi);
        column.pszText = &title[0];
        column.iSubItem = c;
        InsertColumn(c, column);
        m_defaultWidths.push_back(column.cx);
    }
}

void CReportList::FitDefaultWidth(int column, const char* text) {
    if (column < 0 || static_cast<size_t>(column) >= m_defaultWidths.size()) {
        return;
    }
    const int width =
        view::FitColumnWidth(m_defaultWidths[static_cast<size_t>(column)], GetStringWidth(text),
                             view::ScaleForDpi(kCellPadding, m_nDpi));
    m_defaultWidths[static_cast<size_t>(column)] = width;
    SetColumnWidth(column, width);
}

void CReportList::Refresh() const {
    const int count = RowCount();
    // A new count costs the list a layout of its scroll bars and header (under Wine
    // hundreds of calls to its server); the same count needs only the rows drawn anew.
    if (count != GetItemCount()) {
        SetItemCount(count, LVSICF_NOSCROLL);
    }
    GetHeader().SetSortArrow(m_sort.column, m_sort.descending);
    InvalidateRows(FALSE);
}

void CReportList::InvalidateRows(BOOL erase) const {
    RECT rows = GetClientRect();
    const RECT header = GetHeader().GetWindowRect();
    rows.top += header.bottom - header.top;
    ::InvalidateRect(m_hWnd, &rows, erase);
}

void CReportList::SetSort(const view::ColumnSort& sort) {
    m_sort = sort;
    if (m_pModel != nullptr) {
        m_pModel->Sort(sort.column, sort.descending);
    }
    GetHeader().SetSortArrow(m_sort.column, m_sort.descending);
}

void CReportList::ClickColumn(int column) {
    if (m_pModel == nullptr || column < 0 || column >= GetHeader().GetItemCount()) {
        return;
    }
    SetSort(view::NextSort(m_sort, column, m_pModel->DescendingOnFirstClick(column)));
}

void CReportList::FillDisplayInfo(NMLVDISPINFOA& info) {
    LVITEMA& item = info.item;
    if (item.iItem < 0 || item.iItem >= m_pModel->RowCount()) {
        return;
    }
    if (item.mask & LVIF_TEXT) {
        m_strCell = m_pModel->ShownText(item.iItem, item.iSubItem);
        if (item.pszText && item.cchTextMax > 0) {
            lstrcpynA(item.pszText, m_strCell.c_str(), item.cchTextMax);
        }
    }
    if (item.iSubItem == 0 && (item.mask & LVIF_IMAGE)) {
        item.iImage = m_pModel->ImageOf(item.iItem);
    }
    if (item.iSubItem == 0 && (item.mask & LVIF_INDENT)) {
        item.iIndent = m_pModel->IndentOf(item.iItem);
    }
}

bool CReportList::OnNotify(const NMHDR* header, LRESULT& result) {
    if (m_pModel == nullptr || header->hwndFrom != m_hWnd) {
        return false;
    }
    switch (header->code) {
    case LVN_GETDISPINFOA:
        FillDisplayInfo(*reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header)));
        result = 0;
        return true;
    case LVN_ODFINDITEMA: {
        const NMLVFINDITEMA& find = *reinterpret_cast<const NMLVFINDITEMA*>(header);
        result =
            find.lvfi.psz != nullptr ? FindRow(find.iStart, find.lvfi.flags, find.lvfi.psz) : -1;
        return true;
    }
    case LVN_ODFINDITEMW: {
        // Wine's list asks with 16-bit text even in a window of 8-bit ones; unanswered,
        // the 0 of the dialog procedure would select the first row on every letter.
        const NMLVFINDITEMW& find = *reinterpret_cast<const NMLVFINDITEMW*>(header);
        result = -1;
        if (find.lvfi.psz != nullptr) {
            char narrow[260] = {};
            const int length = ::WideCharToMultiByte(CP_ACP, 0, find.lvfi.psz, -1, narrow,
                                                     sizeof narrow, nullptr, nullptr);
            if (length > 0) {
                result = FindRow(find.iStart, find.lvfi.flags, narrow);
            }
        }
        return true;
    }
    default:
        return false;
    }
}

LRESULT CReportList::FindRow(int start, UINT flags, const std::string& prefix) const {
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL))) {
        return -1;
    }
    return m_pModel->FindRow(start, prefix);
}

int CReportList::GetSelectedRow() const {
    if (m_hWnd == nullptr || m_pModel == nullptr) {
        return -1;
    }
    const int row = GetNextItem(-1, LVNI_SELECTED);
    return row < m_pModel->RowCount() ? row : -1;
}

void CReportList::SelectOnly(int row) const {
    SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row >= 0) {
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        SetSelectionMark(row);
    }
}

int CReportList::GetContextRow() const {
    return m_pModel != nullptr ? m_pModel->ContextRow(GetTopIndex()) : -1;
}

POINT CReportList::GetContextMenuPoint() const {
    POINT at = {0, 0};
    RECT label = {};
    const int row = GetContextRow();
    if (row >= 0 && GetItemRect(row, label, LVIR_LABEL)) {
        // Inside the label, as Explorer puts it, so the menu does not hide the row.
        at.x = label.left + (label.bottom - label.top) / 2;
        at.y = label.bottom;
    }
    ::ClientToScreen(m_hWnd, &at);
    return at;
}

LRESULT CReportList::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
        // Only where a row in view warns are the rows asked one by one: each question
        // costs several calls to Wine's server, and a repaint of plain rows, as after a
        // key in the filter or during a scan, asks none.
        const int top = std::max(GetTopIndex(), 0);
        const int end = std::min(RowCount(), top + GetCountPerPage() + 1); // and a part row
        for (int row = top; row < end; ++row) {
            if (RowWarns(row)) {
                return CDRF_NOTIFYITEMDRAW;
            }
        }
        return CDRF_DODEFAULT;
    }
    case CDDS_ITEMPREPAINT:
        // Only a row that warns has its cells drawn one by one.
        return RowWarns(static_cast<int>(draw.nmcd.dwItemSpec)) ? CDRF_NOTIFYSUBITEMDRAW
                                                                : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        return ColourCell(draw);
    default:
        return CDRF_DODEFAULT;
    }
}

bool CReportList::RowWarns(int row) const {
    const int columns = m_pModel != nullptr ? GetHeader().GetItemCount() : 0;
    for (int column = 0; column < columns; ++column) {
        if (m_pModel->WarningOf(row, column) != 0) {
            return true;
        }
    }
    return false;
}

LRESULT CReportList::ColourCell(NMLVCUSTOMDRAW& draw) const {
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    const int level = m_pModel != nullptr ? m_pModel->WarningOf(row, draw.iSubItem) : 0;
    // Set for every cell: a colour set for one stays for the cells drawn after it.
    // Dark text on a light ground, each readable without the other, and the size's
    // mark says the same for anyone who tells no colours apart.
    switch (level) {
    case 1: // near the limit
        draw.clrText = view::Bgr(view::kNearLimitText);
        draw.clrTextBk = view::Bgr(view::kNearLimitGround);
        break;
    case 2: // over it
        draw.clrText = view::Bgr(view::kOverLimitText);
        draw.clrTextBk = view::Bgr(view::kOverLimitGround);
        break;
    default:
        draw.clrText = ::GetSysColor(
            m_pModel != nullptr && m_pModel->IsGreyed(row) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
        draw.clrTextBk = ::GetSysColor(COLOR_WINDOW);
        break;
    }
    return CDRF_NEWFONT;
}

int CReportList::AppendColumn(UINT titleId, int format, int width) {
    const int index = GetHeader().GetItemCount();
    std::string title = LoadResourceString(titleId);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = &title[0];
    column.iSubItem = index;
    return InsertColumn(index, column);
}
