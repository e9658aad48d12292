// CMainDlg's menus: the check marks of the menu bar and the context menu, the column
// menu at a click on the list's header, and the portable item a portable run greys.
#include "framework/menu.h"
#include "resource.h"
#include "ui/main_dlg.h"
#include "view/optional_columns.h"

#include <windowsx.h>

void CMainDlg::SetChecks(const CMenuHandle& menu) const {
    menu.CheckItem(ID_VIEW_COMPACT, m_settings.m_bCompactFileSizes);
    menu.CheckItem(ID_VIEW_NEWMAIL, m_settings.m_bShowNewMailFolder);
    for (int c = 0; c < CFolderListCtrl::kColumnCount; ++c) {
        menu.CheckItem(ID_VIEW_SORT_FIRST + c, c == m_list.GetSortColumn());
    }
    SetChangeChecks(menu);
    for (size_t i = 0; i < view::kOptionalColumnCount; ++i) {
        menu.CheckItem(static_cast<UINT>(ID_VIEW_COLUMN_FIRST + i),
                       m_list.IsOptionalColumnShown(view::kOptionalColumns[i].column));
    }
}

CMenuHandle CMainDlg::ColumnMenu() const {
    // "Ansicht > Spalten": one menu for the menu bar and the header's click.
    const CMenuHandle view = CMenuHandle::FromWindow(m_hWnd).GetSubMenu(1);
    for (int position = 0; view && position < ::GetMenuItemCount(view.GetSafeHmenu()); ++position) {
        CMenuHandle sub = view.GetSubMenu(position);
        if (sub && ::GetMenuItemID(sub.GetSafeHmenu(), 0) == ID_VIEW_COLUMN_FIRST) {
            return sub;
        }
    }
    return CMenuHandle();
}

bool CMainDlg::IsOnHeader(HWND from, LPARAM at) const {
    const HWND header = m_list.GetHeader().GetSafeHwnd();
    if (header == nullptr) {
        return false;
    }
    if (from == header) {
        return true;
    }
    // Passed up by the list, the message names the list; its point tells the header.
    if (from != m_list.GetSafeHwnd() || at == static_cast<LPARAM>(-1)) {
        return false;
    }
    const RECT bounds = m_list.GetHeader().GetWindowRect();
    const POINT point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    return ::PtInRect(&bounds, point) != 0;
}

void CMainDlg::ShowColumnMenu(LPARAM at) {
    const CMenuHandle menu = ColumnMenu();
    if (!menu) {
        return;
    }
    POINT point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == static_cast<LPARAM>(-1)) {
        // From the keyboard: below the header's left end.
        const RECT header = m_list.GetHeader().GetWindowRect();
        point = {header.left, header.bottom};
    }
    UpdateMenuChecks();
    ::TrackPopupMenu(menu.GetSafeHmenu(), 0, point.x, point.y, 0, m_hWnd, nullptr);
}

void CMainDlg::UpdatePortableItem() {
    // A portable run has its file already.
    const CMenuHandle extras = CMenuHandle::FromWindow(m_hWnd).GetSubMenu(2);
    if (extras) {
        extras.EnableItem(ID_EXTRAS_PORTABLE, !m_app.IsSettingsPortable());
    }
}

void CMainDlg::UpdateMenuChecks() {
    const CMenuHandle view = CMenuHandle::FromWindow(m_hWnd).GetSubMenu(1);
    if (view) {
        SetChecks(view);
    }
}

POINT CMainDlg::CursorPoint() {
    POINT at = {};
    ::GetCursorPos(&at);
    return at;
}
