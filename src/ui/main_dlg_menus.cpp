// CMainDlg's menus: the check marks of the menu bar and the context menu, the column
// menu at a click on the list's header, the portable item a portable run greys, and the
// language chosen for the next start.
#include "framework/menu.h"
#include "framework/win_app.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "text/language.h"
#include "ui/main_dlg.h"
#include "view/optional_columns.h"
#include "view/stored_values.h"

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

namespace {

// The submenu of `menu` whose first item is `firstId`; none when there is no such one.
CMenuHandle SubMenuStartingWith(const CMenuHandle& menu, UINT firstId) {
    for (int position = 0; menu && position < ::GetMenuItemCount(menu.GetSafeHmenu()); ++position) {
        CMenuHandle sub = menu.GetSubMenu(position);
        if (sub && ::GetMenuItemID(sub.GetSafeHmenu(), 0) == firstId) {
            return sub;
        }
    }
    return CMenuHandle();
}

} // namespace

CMenuHandle CMainDlg::ColumnMenu() const {
    // "Ansicht > Spalten": one menu for the menu bar and the header's click.
    return SubMenuStartingWith(CMenuHandle::FromWindow(m_hWnd).GetSubMenu(1), ID_VIEW_COLUMN_FIRST);
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
    const CMenuHandle languages = SubMenuStartingWith(extras, ID_EXTRAS_LANGUAGE_AUTO);
    if (languages) {
        ::CheckMenuRadioItem(
            languages.GetSafeHmenu(), ID_EXTRAS_LANGUAGE_AUTO, ID_EXTRAS_LANGUAGE_ENGLISH,
            ID_EXTRAS_LANGUAGE_AUTO + static_cast<UINT>(StoredLanguage()), MF_BYCOMMAND);
    }
}

LanguageChoice CMainDlg::StoredLanguage() const {
    SettingsStore* store = m_app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        return LanguageChoice::Automatic;
    }
    const LanguageChoice choice =
        LanguageChoiceFromStored(store->ReadInt(stored_names::kLanguage, 0));
    store->Close();
    return choice;
}

void CMainDlg::OnLanguage(LanguageChoice choice) {
    // Only at the next start: every window, menu and text that exists now was made in
    // the language this run began with, and a run speaks one language throughout.
    const LanguageChoice before = StoredLanguage();
    SettingsStore* store = m_app.GetSettingsStore();
    if (store != nullptr && store->Open(settings_names::kSection)) {
        static_cast<void>(store->WriteInt(stored_names::kLanguage, static_cast<int32_t>(choice)));
        store->Close();
    }
    UpdatePortableItem();
    if (choice != before &&
        ChosenLanguage(choice, ::GetUserDefaultUILanguage()) != UserLanguage()) {
        ::MessageBoxA(m_hWnd, LoadResourceString(IDS_LANGUAGE_NEXT_START).c_str(),
                      m_app.GetTitle().c_str(), MB_ICONINFORMATION | MB_OK);
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
