// CSortListCtrl: rows with item data only, text on demand, sorting by the shared sort
// rule, and the column state in the settings store.
#include "ui/sort_list_ctrl.h"

#include "settings/settings_store.h"
#include "settings/value_codecs.h"
#include "view/column_order.h"
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
    SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                reinterpret_cast<LPARAM>(&CSortListCtrl::SortCompare));
    m_sortOrder.clear();
    const int selected = static_cast<int>(
        SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
    if (selected >= 0) {
        SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(selected), FALSE);
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
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return header != nullptr ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void CSortListCtrl::GetColumnWidths(int32_t* widths, int count) const {
    for (int i = 0; i < count; ++i) {
        widths[i] = static_cast<int32_t>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i)));
    }
}

void CSortListCtrl::SetColumnWidths(const int32_t* widths, int count) const {
    for (int i = 0; i < count; ++i) {
        const LPARAM width = MAKELPARAM(static_cast<WORD>(widths[i] & 0xFFFF), 0);
        if (!SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), width)) {
            break;
        }
    }
}

std::vector<int32_t> CSortListCtrl::GetColumnOrder() const {
    const int count = GetColumnCount();
    std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
    if (count <= 0 || !SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count),
                                   reinterpret_cast<LPARAM>(order.data()))) {
        order.clear();
        for (int i = 0; i < count; ++i) {
            order.push_back(i);
        }
    }
    return std::vector<int32_t>(order.begin(), order.end());
}

bool CSortListCtrl::SetColumnOrder(const std::vector<int32_t>& order) const {
    std::vector<int> columns(order.begin(), order.end());
    return SendMessage(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(columns.size()),
                       reinterpret_cast<LPARAM>(columns.data())) != 0;
}

void CSortListCtrl::LoadColumnState(SettingsStore& store) {
    const int count = GetColumnCount();
    if (count <= 0) {
        return;
    }
    std::vector<int32_t> widths(static_cast<size_t>(count));
    GetColumnWidths(widths.data(), count);
    store.ReadIntArray(kColumnsValue, widths.size(), widths.data(), widths.data());
    SetColumnWidths(widths.data(), count);

    // An order that is not a permutation of the columns (edited by hand, or written
    // for another number of columns) would leave the header inconsistent: the list
    // keeps its current order instead.
    std::vector<int32_t> order = GetColumnOrder();
    store.ReadIntArray(kColumnOrderValue, order.size(), order.data(), order.data());
    if (view::IsColumnPermutation(order.data(), static_cast<int>(order.size()))) {
        SetColumnOrder(order);
    }

    unsigned char sort[kSortValueSize];
    StoreLittleEndian32(m_nSortColumn, sort);
    StoreLittleEndian32(m_bSortDescending, sort + 4);
    store.ReadBinary(kSortValue, sizeof sort, sort, sort);
    SetSort(LoadLittleEndian32(sort), LoadLittleEndian32(sort + 4) != 0);
}

void CSortListCtrl::SaveColumnState(SettingsStore& store) const {
    const int count = GetColumnCount();
    std::vector<int32_t> widths(static_cast<size_t>(std::max(count, 0)));
    GetColumnWidths(widths.data(), count);
    store.WriteIntArray(kColumnsValue, widths.size(), widths.data());
    const std::vector<int32_t> order = GetColumnOrder();
    store.WriteIntArray(kColumnOrderValue, order.size(), order.data());
    unsigned char sort[kSortValueSize];
    StoreLittleEndian32(m_nSortColumn, sort);
    StoreLittleEndian32(m_bSortDescending != 0 ? 1 : 0, sort + 4);
    store.WriteBinary(kSortValue, sizeof sort, sort);
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
    if (column == m_nSortColumn) {
        m_bSortDescending = m_bSortDescending ? 0 : 1;
    } else {
        m_nSortColumn = column;
        m_bSortDescending = 0;
    }
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
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    const int count = GetColumnCount();
    for (int i = 0; i < count; ++i) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT;
        if (!::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&item))) {
            continue;
        }
        const int arrow = i != m_nSortColumn ? 0 : m_bSortDescending ? HDF_SORTDOWN : HDF_SORTUP;
        const int format = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | arrow;
        if (format != item.fmt) {
            item.fmt = format;
            ::SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&item));
        }
    }
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
    bounds.left = LVIR_BOUNDS;
    if (row < 0 || !SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds))) {
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
