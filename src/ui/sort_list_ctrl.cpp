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
        return;
    }
    SortAndShowSelection();
}

void CSortListCtrl::SortAndShowSelection() {
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
