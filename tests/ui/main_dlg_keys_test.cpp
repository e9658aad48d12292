// The main window from the keyboard alone: Shift-F10 and the context-menu key open the
// context menu at the list's first visible row, "Ansicht > Sortieren nach" sorts as a
// header click does and shows the sort by its check mark and the header's arrow, and
// the release of Alt after Alt-P leaves the menu bar inactive.
#include "main_dlg_fixture_win32.h"
#include "resource.h"
#include "view/folder_compare.h"

#include <gtest/gtest.h>

using testsupport::UiScript;

namespace uitest {
namespace {

void SetModifier(UINT key, bool down) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[key] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

bool InMenuMode() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
}

// Where the keyboard's context menu belongs: inside the label of the list's first
// visible row, below it, in screen coordinates.
POINT TopRowMenuPoint(CFolderListCtrl& list) {
    RECT label = {};
    list.GetItemRect(list.GetTopIndex(), label, LVIR_LABEL);
    POINT at = {label.left + (label.bottom - label.top) / 2, label.bottom};
    ::ClientToScreen(list.GetSafeHwnd(), &at);
    return at;
}

int SortArrow(CFolderListCtrl& list, int column) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
    ::SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
}

std::string Column(CFolderListCtrl& list, int column) {
    std::string text;
    for (int r = 0; r < list.GetItemCount(); ++r) {
        text += list.GetRows().CellText(r, column) + ";";
    }
    return text;
}

TEST_F(MainDlgTest, ShiftF10AndTheContextMenuKeyOpenTheMenuAtTheFirstVisibleRow) {
    CMainDlg dlg(m_app);
    HWND popup = nullptr;
    POINT expected = {};
    auto menuAtTopRow = [&] {
        popup = testsupport::FindPopupMenu();
        if (popup == nullptr) {
            return false;
        }
        RECT shown = {};
        ::GetWindowRect(popup, &shown);
        EXPECT_EQ(expected.x, shown.left);
        EXPECT_EQ(expected.y, shown.top);
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED),
                  ::GetMenuState(menu, ID_VIEW_NEWMAIL, MF_BYCOMMAND) & MF_CHECKED);
        ::EndMenu();
        return true;
    };
    int ticks = 0;
    auto noMenuAfterwards = [&] {
        // A few ticks for a second menu or the menu bar to come up.
        if (++ticks < 5) {
            return false;
        }
        EXPECT_EQ(nullptr, testsupport::FindPopupMenu());
        EXPECT_FALSE(InMenuMode()) << "the menu bar is active";
        ::EndMenu();
        ticks = 0;
        return true;
    };
    RunMain(dlg, {[&] {
                      CFolderListCtrl& list = dlg.GetFolderList();
                      list.SetFocus();
                      list.ScrollRowToTop(3);
                      expected = TopRowMenuPoint(list);
                      SetModifier(VK_SHIFT, true);
                      list.PostMessage(WM_SYSKEYDOWN, VK_F10, 1);
                      return true;
                  },
                  menuAtTopRow,
                  [&] {
                      dlg.GetFolderList().PostMessage(WM_SYSKEYUP, VK_F10, 0xC0000001);
                      SetModifier(VK_SHIFT, false);
                      return true;
                  },
                  noMenuAfterwards,
                  [&] {
                      CFolderListCtrl& list = dlg.GetFolderList();
                      list.ScrollRowToTop(0);
                      expected = TopRowMenuPoint(list);
                      list.PostMessage(WM_KEYDOWN, VK_APPS, 1);
                      return true;
                  },
                  menuAtTopRow,
                  [&] {
                      dlg.GetFolderList().PostMessage(WM_KEYUP, VK_APPS, 0xC0000001);
                      return true;
                  },
                  noMenuAfterwards});
}

// A right click on the header opens "Ansicht > Spalten" there, as Explorer offers its
// columns; and a choice in it shows the column.
TEST_F(MainDlgTest, ARightClickOnTheHeaderOffersTheOptionalColumns) {
    CMainDlg dlg(m_app);
    HWND header = nullptr;
    POINT at = {};
    RunMain(dlg, {[&] {
                      header = dlg.GetFolderList().GetHeader().GetSafeHwnd();
                      RECT item = {};
                      ::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
                      at = {item.left + 5, item.top + 3};
                      // What the header's default handling of a right click sends up
                      // through the list to the window.
                      POINT screen = at;
                      ::ClientToScreen(header, &screen);
                      ::PostMessageA(header, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(header),
                                     MAKELPARAM(screen.x, screen.y));
                      return true;
                  },
                  [&] {
                      const HWND popup = testsupport::FindPopupMenu();
                      if (popup == nullptr) {
                          return false;
                      }
                      HMENU menu =
                          reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
                      EXPECT_EQ(static_cast<UINT>(ID_VIEW_COLUMN_FIRST), ::GetMenuItemID(menu, 0));
                      EXPECT_EQ(0u, ::GetMenuState(menu, ID_VIEW_COLUMN_FIRST, MF_BYCOMMAND) &
                                        MF_CHECKED);
                      POINT screen = at;
                      ::ClientToScreen(header, &screen);
                      RECT shown = {};
                      ::GetWindowRect(popup, &shown);
                      EXPECT_EQ(screen.x, shown.left);
                      // The item chosen by its letter shows the column.
                      ::PostMessageA(popup, WM_KEYDOWN, 'G', 0);
                      return true;
                  },
                  [&] { return dlg.GetFolderList().GetColumnCount() == 4; },
                  [&] {
                      EXPECT_EQ(nullptr, testsupport::FindPopupMenu());
                      EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_COLUMN_FIRST));
                      return true;
                  }});
}

TEST_F(MainDlgTest, SortingFromTheViewMenuChecksTheColumnTurnsRoundAndMovesTheArrow) {
    CMainDlg dlg(m_app);
    std::string ascending;
    RunMain(dlg, {[&] {
                      EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_SORT_FIRST + 2))
                          << "by folder name at the start";
                      dlg.PostMessage(WM_COMMAND, ID_VIEW_SORT_FIRST + view::kColumnFileName);
                      return true;
                  },
                  [&] {
                      CFolderListCtrl& list = dlg.GetFolderList();
                      EXPECT_EQ(view::kColumnFileName, list.GetSortColumn());
                      EXPECT_FALSE(list.IsSortDescending());
                      EXPECT_EQ(HDF_SORTUP, SortArrow(list, view::kColumnFileName));
                      EXPECT_EQ(0, SortArrow(list, view::kColumnFolderName));
                      EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_SORT_FIRST));
                      EXPECT_FALSE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_SORT_FIRST + 2));
                      ascending = Column(list, view::kColumnFileName);
                      dlg.PostMessage(WM_COMMAND, ID_VIEW_SORT_FIRST + view::kColumnFileName);
                      return true;
                  },
                  [&] {
                      CFolderListCtrl& list = dlg.GetFolderList();
                      EXPECT_TRUE(list.IsSortDescending()) << "the same column again";
                      EXPECT_EQ(HDF_SORTDOWN, SortArrow(list, view::kColumnFileName));
                      EXPECT_NE(ascending, Column(list, view::kColumnFileName));
                      EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_SORT_FIRST));
                      // A header click moves the check mark as well.
                      HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
                      RECT r = {};
                      ::SendMessageA(header, HDM_GETITEMRECT, view::kColumnSize,
                                     reinterpret_cast<LPARAM>(&r));
                      const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
                      ::PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
                      ::PostMessageA(header, WM_LBUTTONUP, 0, at);
                      return true;
                  },
                  [&] { return dlg.GetFolderList().GetSortColumn() == view::kColumnSize; },
                  [&] {
                      EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_SORT_FIRST + 1));
                      EXPECT_FALSE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_SORT_FIRST));
                      return true;
                  }});
}

TEST_F(MainDlgTest, AltPTogglesTheNewMailRowAndLeavesTheMenuBarInactive) {
    CMainDlg dlg(m_app);
    int ticks = 0;
    RunMain(dlg, {[&] {
                      CFolderListCtrl& list = dlg.GetFolderList();
                      list.SetFocus();
                      SetModifier(VK_MENU, true);
                      list.PostMessage(WM_SYSKEYDOWN, VK_MENU, 0x20000001);
                      list.PostMessage(WM_SYSKEYDOWN, 'P', 0x20000001);
                      // Alt let go before P, as a hand on the keyboard does.
                      list.PostMessage(WM_SYSKEYUP, VK_MENU, 0xC0000001);
                      list.PostMessage(WM_KEYUP, 'P', 0xC0000001);
                      return true;
                  },
                  [&] {
                      if (++ticks < 5) {
                          return false;
                      }
                      SetModifier(VK_MENU, false);
                      EXPECT_FALSE(dlg.GetSettings().m_bShowNewMailFolder);
                      EXPECT_FALSE(InMenuMode()) << "the menu bar is active";
                      ::EndMenu();
                      return true;
                  }});
}

} // namespace
} // namespace uitest
