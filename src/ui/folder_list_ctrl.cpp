// CFolderListCtrl: columns, the rows of a result, the column state in the store, and
// scrolling by keys where no row is ever selected.
#include "ui/folder_list_ctrl.h"

#include "framework/win_app.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "view/column_order.h"
#include "view/folder_compare.h"
#include "view/main_layout.h"

#include <algorithm>

static_assert(view::kTitleChanged == IDS_COLUMN_CHANGED, "the table names the string's id");
static_assert(view::kTitleChange == IDS_COLUMN_CHANGE, "the table names the string's id");

void CFolderListCtrl::InitColumns(UINT fileNameTitleId, UINT sizeTitleId, UINT folderNameTitleId) {
    const Column columns[kColumnCount] = {
        {fileNameTitleId, LVCFMT_LEFT, kFileNameWidth},
        {sizeTitleId, LVCFMT_RIGHT, kSizeWidth},
        {folderNameTitleId, LVCFMT_LEFT, kFolderNameWidth},
    };
    Init(m_rows, columns, kColumnCount,
         LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    FitDefaultWidth(view::kColumnSize, view::kWidestSizeText);
    SetSortState({view::kColumnFolderName, false});
}

void CFolderListCtrl::Show(SharedScanResult result, bool compact, view::FolderChangeSet changes) {
    m_rows.SetCompactSizes(compact);
    m_rows.SetColumnOrder(GetColumnOrder());
    m_rows.SetSort(GetSort().column, GetSort().descending);
    m_rows.SetResult(std::move(result), std::move(changes));
    Refresh();
    FollowRoom();
}

void CFolderListCtrl::FollowRoom() {
    const RECT client = GetClientRect();
    const int room = client.right - client.left;
    const int column = m_rows.ListColumn(view::kColumnFolderName);
    const int count = GetColumnCount();
    if (column < 0 || column >= count || room <= 0) {
        return;
    }
    int others = 0;
    for (int c = 0; c < count; ++c) {
        others += c == column ? 0 : GetColumnWidth(c);
    }
    const int width = GetColumnWidth(column);
    const int next = view::FillingColumnWidth(width, others, m_nRoom, room,
                                              GetDefaultWidths()[static_cast<size_t>(column)]);
    m_nRoom = room;
    if (next != width) {
        SetColumnWidth(column, next);
    }
}

void CFolderListCtrl::SetChanges(view::FolderChangeSet changes) {
    const Place place = GetPlace();
    m_rows.SetColumnOrder(GetColumnOrder());
    m_rows.SetChanges(std::move(changes));
    Refresh();
    RestorePlace(place);
}

void CFolderListCtrl::SetFilter(const view::RowFilter& filter) {
    const Place place = GetPlace();
    m_rows.SetColumnOrder(GetColumnOrder());
    m_rows.SetFilter(filter);
    Refresh();
    FollowRoom();
    if (place.bHasTopRow) {
        ScrollRowToTop(m_rows.KeptRow(place.topRow));
    }
    ScrollToX(place.nScrollX);
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
        for (int row = 0; row < top; ++row) {
            place.above.push_back(m_rows.Record(row).fileName);
        }
        std::sort(place.above.begin(), place.above.end());
    }
    place.nScrollX = GetScrollX();
    return place;
}

void CFolderListCtrl::RestorePlace(const Place& place) {
    if (place.bHasTopRow) {
        ScrollRowToTop(m_rows.ShownTopRow(place.topRow, place.above));
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

view::ListState CFolderListCtrl::GetListState() const {
    view::ListState state;
    state.widths.resize(static_cast<size_t>(std::max(GetColumnCount(), 0)));
    GetColumnWidths(state.widths.data(), static_cast<int>(state.widths.size()));
    state.order = GetColumnOrder();
    state.widthsDpi = GetDpi();
    state.sortColumn = GetSort().column;
    state.sortDescending = GetSort().descending;
    std::vector<view::OptionalColumnState> optional = m_optional;
    return view::StoredListState(state, m_rows.ListColumns(), optional);
}

std::vector<view::OptionalColumnState> CFolderListCtrl::CurrentOptionalStates() const {
    std::vector<view::OptionalColumnState> optional = m_optional;
    view::ListState state;
    state.widths.resize(static_cast<size_t>(std::max(GetColumnCount(), 0)));
    GetColumnWidths(state.widths.data(), static_cast<int>(state.widths.size()));
    state.order = GetColumnOrder();
    static_cast<void>(view::StoredListState(state, m_rows.ListColumns(), optional));
    return optional;
}

bool CFolderListCtrl::SaveOptionalColumns(SettingsStore& store) const {
    return view::SaveOptionalColumns(store, CurrentOptionalStates());
}

std::vector<int32_t> CFolderListCtrl::ModelDisplayOrder() const {
    std::vector<int32_t> order;
    for (int32_t listColumn : GetColumnOrder()) {
        order.push_back(m_rows.ModelColumn(listColumn));
    }
    return order;
}

view::ColumnSort CFolderListCtrl::ModelSort() const {
    return {m_rows.ModelColumn(GetSort().column), GetSort().descending};
}

void CFolderListCtrl::ApplyColumns(const std::vector<int32_t>& displayOrder,
                                   const view::ColumnSort& sort, bool keepDirection) {
    // The optional columns go and come back as `m_optional` says: the three stay put.
    for (int c = GetColumnCount() - 1; c >= kColumnCount; --c) {
        DeleteColumn(c);
    }
    std::vector<int32_t> shown = {view::kColumnFileName, view::kColumnSize,
                                  view::kColumnFolderName};
    for (size_t i = 0; i < view::kOptionalColumnCount; ++i) {
        const view::OptionalColumn& entry = view::kOptionalColumns[i];
        if (!m_optional[i].shown) {
            continue;
        }
        const int width = m_optional[i].width >= 0 ? m_optional[i].width
                                                   : view::ScaleForDpi(entry.width96, GetDpi());
        if (AppendColumn(entry.titleId, entry.alignRight ? LVCFMT_RIGHT : LVCFMT_LEFT, width) >=
            0) {
            shown.push_back(entry.column);
        } else {
            m_optional[i].shown = false;
        }
    }
    m_rows.SetListColumns(shown);
    std::vector<int32_t> order;
    for (int32_t column : displayOrder) {
        const int listColumn = m_rows.ListColumn(column);
        if (listColumn >= 0) {
            order.push_back(listColumn);
        }
    }
    if (view::IsColumnPermutation(order.data(), static_cast<int>(order.size())) &&
        static_cast<int>(order.size()) == GetColumnCount()) {
        SetColumnOrder(order);
    }
    const int sortColumn = m_rows.ListColumn(sort.column);
    if (sortColumn >= 0) {
        SetSortState({sortColumn, sort.descending});
    } else {
        SetSortState({view::kColumnFolderName, keepDirection && sort.descending});
    }
}

bool CFolderListCtrl::IsOptionalColumnShown(int column) const {
    return m_rows.ListColumn(column) >= 0;
}

void CFolderListCtrl::ToggleOptionalColumn(int column) {
    if (view::FindOptionalColumn(column) == nullptr) {
        return;
    }
    m_optional = CurrentOptionalStates();
    const std::vector<int32_t> base = view::BaseOrder(ModelDisplayOrder());
    const view::ColumnSort sort = ModelSort();
    view::OptionalColumnState& state = m_optional[view::OptionalColumnIndex(column)];
    state.shown = !state.shown;
    // The sort by a column that goes starts over: the folders A to Z.
    ApplyColumns(view::MergeOrder(base, m_optional), sort, false);
    Resort();
}

std::vector<int32_t> CFolderListCtrl::LoadColumnState(SettingsStore& store,
                                                      const view::WindowStateNames& names) {
    if (GetColumnCount() <= 0) {
        return {};
    }
    view::ListState state;
    state.widths.resize(kColumnCount);
    GetColumnWidths(state.widths.data(), kColumnCount);
    state.order = view::BaseOrder(ModelDisplayOrder());
    state.widthsDpi = GetDpi();
    state.sortColumn = ModelSort().column;
    state.sortDescending = ModelSort().descending;
    state.sortColumns = view::kAllFolderColumns;
    view::LoadListState(store, names, CReportList::GetDefaultWidths(), state);
    SetColumnWidths(state.widths.data(), kColumnCount);
    view::LoadOptionalColumns(store, m_optional);
    // A stored sort by a column not shown (only a damaged value names one) is the last
    // of the three, as a column beyond the last always was, in its direction.
    ApplyColumns(view::MergeOrder(state.order, m_optional),
                 {state.sortColumn, state.sortDescending}, true);
    return state.storedWidths;
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
        // The list's own Home and End move a focus and a selection it never shows, through
        // every row of a large list: as scrolls they answer at once.
        case VK_HOME:
            ScrollRowToTop(0);
            return true;
        case VK_END:
            ScrollRowToTop(m_rows.RowCount() - 1);
            return true;
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
