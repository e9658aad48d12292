// CSortListCtrl: rows with item data only, text on demand, sorting by the shared sort
// rule, and the column state in the settings store.
#include "ui/sort_list_ctrl.h"

#include "settings/settings_store.h"
#include "view/report_model.h"
#include "view/sort_compare.h"

#include <algorithm>
#include <cstring>

int CSortListCtrl::InsertItemData(LPARAM item, int position) {
    if (!AcceptItem(item)) {
        return -1;
    }
    LVITEMA row = {};
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = position == -1 ? GetItemCount() : position;
    row.pszText = LPSTR_TEXTCALLBACKA;
    row.lParam = item;
    return InsertItem(row);
}

void CSortListCtrl::SetSort(int column, bool descending) {
    const int count = GetColumnCount();
    if (column >= count) {
        column = count - 1;
    }
    if (column < 0) {
        column = 0;
    }
    m_nSortColumn = column;
    m_bSortDescending = descending ? 1 : 0;
}

void CSortListCtrl::Resort() {
    if (GetItemCount() < 2) {
        UpdateSortArrows();
        return;
    }
    SortAndShowSelection();
}

void CSortListCtrl::SortAndShowSelection() {
    UpdateSortArrows();
    m_sortOrder = GetColumnOrder();
    SortItems(&CSortListCtrl::SortCompare, reinterpret_cast<LPARAM>(this));
    m_sortOrder.clear();
    const int selected = GetNextItem(-1, LVNI_SELECTED);
    if (selected >= 0) {
        EnsureVisible(selected, FALSE);
    }
}

int CALLBACK CSortListCtrl::SortCompare(LPARAM a, LPARAM b, LPARAM context) {
    // Nothing may unwind through the list view's sort.
    try {
        const CSortListCtrl* self = reinterpret_cast<const CSortListCtrl*>(context);
        view::SortState state;
        state.nSortColumn = self->m_nSortColumn;
        state.bSortDescending = self->m_bSortDescending != 0;
        state.nTieMode = self->m_nTieMode;
        return view::SortCompare(
            a, b, state, self->m_sortOrder.data(), static_cast<int>(self->m_sortOrder.size()),
            [self](LPARAM x, LPARAM y, int column) { return self->CompareItems(x, y, column); });
    } catch (...) {
        return 0;
    }
}

int CSortListCtrl::GetColumnCount() const {
    const CHeaderCtrl header = GetHeader();
    return header.GetSafeHwnd() != nullptr ? header.GetItemCount() : 0;
}

void CSortListCtrl::GetColumnWidths(int32_t* widths, int count) const {
    for (int i = 0; i < count; ++i) {
        widths[i] = GetColumnWidth(i);
    }
}

void CSortListCtrl::SetColumnWidths(const int32_t* widths, int count) const {
    for (int i = 0; i < count; ++i) {
        if (!SetColumnWidth(i, static_cast<int>(widths[i] & 0xFFFF))) {
            break;
        }
    }
}

std::vector<int32_t> CSortListCtrl::GetColumnOrder() const {
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

bool CSortListCtrl::SetColumnOrder(const std::vector<int32_t>& order) const {
    std::vector<int> columns(order.begin(), order.end());
    return SetColumnOrderArray(columns.data(), static_cast<int>(columns.size())) != 0;
}

const view::WindowStateNames& CSortListCtrl::StateNames() {
    static view::WindowStateNames names;
    names.widths = kColumnsValue;
    names.order = kColumnOrderValue;
    names.sort = kSortValue;
    return names;
}

view::ListState CSortListCtrl::GetListState() const {
    view::ListState state;
    state.widths.resize(static_cast<size_t>(std::max(GetColumnCount(), 0)));
    GetColumnWidths(state.widths.data(), static_cast<int>(state.widths.size()));
    state.order = GetColumnOrder();
    state.sortColumn = m_nSortColumn;
    state.sortDescending = m_bSortDescending != 0;
    return state;
}

std::vector<int32_t> CSortListCtrl::GetDefaultColumnWidths() const {
    return GetListState().widths;
}

void CSortListCtrl::LoadColumnState(SettingsStore& store) {
    if (GetColumnCount() <= 0) {
        return;
    }
    view::ListState state = GetListState();
    view::LoadListState(store, StateNames(), GetDefaultColumnWidths(), state);
    SetColumnWidths(state.widths.data(), static_cast<int>(state.widths.size()));
    SetColumnOrder(state.order);
    SetSort(state.sortColumn, state.sortDescending);
}

void CSortListCtrl::SaveColumnState(SettingsStore& store) const {
    static_cast<void>(
        view::SaveWindowState(store, StateNames(), view::WindowPlacementRecord(), GetListState()));
}

bool CSortListCtrl::OnReflectedNotify(const NMHDR* header, LRESULT& result) {
    switch (header->code) {
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        result = 0;
        return true;
    case LVN_GETDISPINFOA:
        OnGetDispInfo(reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header)));
        result = 0;
        return true;
    case LVN_DELETEITEM:
        if (m_bOwnsItemData) {
            OnItemDeleted(reinterpret_cast<const NMLISTVIEW*>(header)->lParam);
        }
        result = 0;
        return true;
    default:
        return false;
    }
}

void CSortListCtrl::OnColumnClick(int column) {
    // Every column starts ascending here: the list's stored "Sort" keeps its meaning.
    view::ColumnSort current;
    current.column = m_nSortColumn;
    current.descending = m_bSortDescending != 0;
    const view::ColumnSort next = view::NextSort(current, column, false);
    m_nSortColumn = next.column;
    m_bSortDescending = next.descending ? 1 : 0;
    SortAndShowSelection();
}

void CSortListCtrl::OnGetDispInfo(NMLVDISPINFOA* info) const {
    LVITEMA& item = info->item;
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) {
        return;
    }
    const std::string text = GetItemText(item.lParam, item.iSubItem);
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax) - 1);
    std::memcpy(item.pszText, text.data(), length);
    item.pszText[length] = '\0';
}

void CSortListCtrl::UpdateSortArrows() const {
    GetHeader().SetSortArrow(m_nSortColumn, m_bSortDescending != 0);
}

bool CSortListCtrl::ScrollForKey(const MSG& msg) {
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
        ScrollToPrefix(static_cast<char>(msg.wParam), msg.time);
        return true;
    }
    return false;
}

void CSortListCtrl::ScrollToPrefix(char letter, DWORD time) {
    const std::string& typed = m_typeAhead.Add(letter, time);
    const int row = view::FindPrefixRow(
        GetItemCount(), [this](int i) { return GetItemText(GetItemData(i), m_nSortColumn); },
        typed);
    if (row >= 0) {
        ScrollRowToTop(row);
    }
}

void CSortListCtrl::ScrollRowToTop(int row) const {
    RECT bounds = {};
    if (row < 0 || !GetItemRect(0, bounds, LVIR_BOUNDS)) {
        return;
    }
    const int rowHeight = bounds.bottom - bounds.top;
    Scroll(0, (row - GetTopIndex()) * rowHeight);
}

void CSortListCtrl::ScrollToKeptRow(LPARAM old, const std::function<bool(LPARAM)>& isSame) const {
    const std::vector<int32_t> order = GetColumnOrder();
    view::SortState state;
    state.nSortColumn = m_nSortColumn;
    state.bSortDescending = m_bSortDescending != 0;
    state.nTieMode = m_nTieMode;
    const auto compare = [this](LPARAM x, LPARAM y, int column) {
        return CompareItems(x, y, column);
    };
    const int row = view::FindKeptRow(
        GetItemCount(), [&](int i) { return isSame(GetItemData(i)); },
        [&](int i) {
            return view::SortCompare(GetItemData(i), old, state, order.data(),
                                     static_cast<int>(order.size()), compare) > 0;
        });
    ScrollRowToTop(row);
}

int CSortListCtrl::GetScrollX() const {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    return ::GetScrollInfo(m_hWnd, SB_HORZ, &info) ? info.nPos : 0;
}

void CSortListCtrl::ScrollToX(int x) const {
    const int dx = x - GetScrollX();
    if (dx != 0) {
        Scroll(dx, 0);
    }
}
