// CFolderListCtrl: columns, the rows of a result, the column state in the store, and
// scrolling by keys where no row is ever selected.
#include "ui/folder_list_ctrl.h"

#include "framework/win_app.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "view/folder_compare.h"

#include <algorithm>

void CFolderListCtrl::InitColumns(UINT fileNameTitleId, UINT sizeTitleId, UINT folderNameTitleId) {
    const Column columns[kColumnCount] = {
        {fileNameTitleId, LVCFMT_LEFT, kFileNameWidth},
        {sizeTitleId, LVCFMT_RIGHT, kSizeWidth},
        {folderNameTitleId, LVCFMT_LEFT, kFolderNameWidth},
    };
    Init(m_rows, columns, kColumnCount,
         LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    int32_t widths[kColumnCount];
    GetDefaultWidths(widths);
    SetDefaultWidth(view::kColumnSize, widths[view::kColumnSize]);
    SetColumnWidth(view::kColumnSize, widths[view::kColumnSize]);
    SetSortState({view::kColumnFolderName, false});
}

void CFolderListCtrl::GetDefaultWidths(int32_t widths[kColumnCount]) const {
    HDC dc = ::GetDC(m_hWnd);
    const int dpi = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc != nullptr) {
        ::ReleaseDC(m_hWnd, dc);
    }
    widths[0] = view::ScaleForDpi(kFileNameWidth, dpi);
    widths[1] = view::FitColumnWidth(view::ScaleForDpi(kSizeWidth, dpi),
                                     GetStringWidth(view::kWidestSizeText),
                                     view::ScaleForDpi(kCellPadding, dpi));
    widths[2] = view::ScaleForDpi(kFolderNameWidth, dpi);
}

void CFolderListCtrl::Show(SharedScanResult result, bool compact) {
    m_rows.SetCompactSizes(compact);
    m_rows.SetColumnOrder(GetColumnOrder());
    m_rows.SetSort(GetSort().column, GetSort().descending);
    m_rows.SetResult(std::move(result));
    Refresh();
}

void CFolderListCtrl::SetSort(int column, bool descending) {
    const int last = std::max(GetColumnCount(), 1) - 1;
    SetSortState({std::min(std::max(column, 0), last), descending});
}

void CFolderListCtrl::Resort() {
    m_rows.SetColumnOrder(GetColumnOrder());
    CReportList::SetSort(GetSort());
    Refresh();
}

CFolderListCtrl::Place CFolderListCtrl::GetPlace() const {
    Place place;
    const int top = GetTopIndex();
    if (top >= 0 && top < m_rows.RowCount()) {
        place.bHasTopRow = true;
        place.topRow = m_rows.Record(top);
    }
    place.nScrollX = GetScrollX();
    return place;
}

void CFolderListCtrl::RestorePlace(const Place& place) {
    if (place.bHasTopRow) {
        ScrollRowToTop(m_rows.KeptRow(place.topRow));
    }
    ScrollToX(place.nScrollX);
}

void CFolderListCtrl::GetColumnWidths(int32_t* widths, int count) const {
    for (int i = 0; i < count; ++i) {
        widths[i] = GetColumnWidth(i);
    }
}

void CFolderListCtrl::SetColumnWidths(const int32_t* widths, int count) const {
    for (int i = 0; i < count; ++i) {
        if (!SetColumnWidth(i, static_cast<int>(widths[i] & 0xFFFF))) {
            break;
        }
    }
}

std::vector<int32_t> CFolderListCtrl::GetColumnOrder() const {
    const int count = GetColumnCount();
    std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
    if (count <= 0 || !GetColumnOrderArray(order.data(), count)) {
        order.clear();
        for (int i = 0; i < count; ++i) {
            order.push_back(i);
        }
    }
    return std::vector<int32_t>(order.begin(), order.end());
}

bool CFolderListCtrl::SetColumnOrder(const std::vector<int32_t>& order) const {
    std::vector<int> columns(order.begin(), order.end());
    return SetColumnOrderArray(columns.data(), static_cast<int>(columns.size())) != 0;
}

const view::WindowStateNames& CFolderListCtrl::StateNames() {
    static view::WindowStateNames names;
    names.widths = kColumnsValue;
    names.order = kColumnOrderValue;
    names.sort = kSortValue;
    return names;
}

view::ListState CFolderListCtrl::GetListState() const {
    view::ListState state;
    state.widths.resize(static_cast<size_t>(std::max(GetColumnCount(), 0)));
    GetColumnWidths(state.widths.data(), static_cast<int>(state.widths.size()));
    state.order = GetColumnOrder();
    state.sortColumn = GetSort().column;
    state.sortDescending = GetSort().descending;
    return state;
}

void CFolderListCtrl::LoadColumnState(SettingsStore& store) {
    if (GetColumnCount() <= 0) {
        return;
    }
    view::ListState state = GetListState();
    view::LoadListState(store, StateNames(), CReportList::GetDefaultWidths(), state);
    SetColumnWidths(state.widths.data(), static_cast<int>(state.widths.size()));
    SetColumnOrder(state.order);
    SetSort(state.sortColumn, state.sortDescending);
}

void CFolderListCtrl::SaveColumnState(SettingsStore& store) const {
    static_cast<void>(
        view::SaveWindowState(store, StateNames(), view::WindowPlacementRecord(), GetListState()));
}

bool CFolderListCtrl::OnReflectedNotify(const NMHDR* header, LRESULT& result) {
    if (OnNotify(header, result)) {
        return true;
    }
    if (header->code != LVN_COLUMNCLICK) {
        return false;
    }
    SortByColumn(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
    result = 0;
    return true;
}

void CFolderListCtrl::SortByColumn(int column) {
    // Ties follow the order the columns are shown in now, which a drag may have changed.
    m_rows.SetColumnOrder(GetColumnOrder());
    ClickColumn(column);
    Refresh();
}

bool CFolderListCtrl::ScrollForKey(const MSG& msg) {
    if (msg.hwnd != m_hWnd || m_hWnd == nullptr) {
        return false;
    }
    if (msg.message == WM_KEYDOWN) {
        int request = -1;
        switch (msg.wParam) {
        case VK_UP:
            request = SB_LINEUP;
            break;
        case VK_DOWN:
            request = SB_LINEDOWN;
            break;
        case VK_PRIOR:
            request = SB_PAGEUP;
            break;
        case VK_NEXT:
            request = SB_PAGEDOWN;
            break;
        default:
            return false;
        }
        SendMessage(WM_VSCROLL, static_cast<WPARAM>(request));
        return true;
    }
    // Characters below the blank are Tab, Enter, Escape and the like.
    if (msg.message == WM_CHAR && static_cast<unsigned char>(msg.wParam) >= ' ') {
        const std::string& typed = m_typeAhead.Add(static_cast<char>(msg.wParam), msg.time);
        const int row = m_rows.FindRow(0, typed);
        if (row >= 0) {
            ScrollRowToTop(row);
        }
        return true;
    }
    return false;
}

void CFolderListCtrl::ScrollRowToTop(int row) const {
    RECT bounds = {};
    if (row < 0 || !GetItemRect(0, bounds, LVIR_BOUNDS)) {
        return;
    }
    const int rowHeight = bounds.bottom - bounds.top;
    Scroll(0, (row - GetTopIndex()) * rowHeight);
}

int CFolderListCtrl::GetScrollX() const {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    return ::GetScrollInfo(m_hWnd, SB_HORZ, &info) ? info.nPos : 0;
}

void CFolderListCtrl::ScrollToX(int x) const {
    const int dx = x - GetScrollX();
    if (dx != 0) {
        Scroll(dx, 0);
    }
}
