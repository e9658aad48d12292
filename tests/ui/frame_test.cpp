// The dialog frame on the real main-window template: metrics from the dialog font, the
// minimum size, the WM_SIZING clamp, the icon, accelerators before dispatch, and the
// borrowed menus.
#include "framework/menu.h"
#include "framework/win_app.h"
#include "resource.h"
#include "ui/app_dlg.h"
#include "ui_script_win32.h"

#include <gtest/gtest.h>

#include <vector>

using testsupport::UiScript;

namespace {

class FrameDlg : public CAppDlg {
public:
    FrameDlg(UINT icon = IDR_MAINFRAME, UINT accelerators = IDR_MAINACCEL)
        : CAppDlg(icon, accelerators, IDD_FOLDTALLY_DIALOG, nullptr) {}
    std::vector<UINT> m_commands;
    int m_nLayouts = 0;

    void LayoutControls(int cx, int cy) override {
        CAppDlg::LayoutControls(cx, cy);
        ++m_nLayouts;
    }

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (id >= ID_VIEW_REFRESH && id <= ID_VIEW_NEWMAIL) {
            m_commands.push_back(id);
            return true;
        }
        return CAppDlg::OnCommand(id, code, control);
    }
};

// Runs `check` once the dialog is up, then ends it.
void RunWith(FrameDlg& dlg, const std::function<void()>& check) {
    UiScript script({
        [&] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); },
        [&] {
            check();
            dlg.EndDialog(IDOK);
            return true;
        },
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
}

// The dialog base units by their documented definition: the average width of the
// Latin letters and the height of the dialog's font.
SIZE BaseUnitsOfFont(HWND dialog) {
    HDC dc = ::GetDC(dialog);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    SIZE letters;
    ::GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                            &letters);
    ::SelectObject(dc, old);
    ::ReleaseDC(dialog, dc);
    return {(letters.cx / 26 + 1) / 2, tm.tmHeight};
}

TEST(FrameTest, MetricsComeFromTheDialogFont) {
    FrameDlg dlg;
    RunWith(dlg, [&] {
        const SIZE units = BaseUnitsOfFont(dlg.GetSafeHwnd());
        const view::LayoutMetrics& m = dlg.GetMetrics();
        EXPECT_EQ(units.cx, m.baseUnitX);
        EXPECT_EQ(units.cy, m.baseUnitY);
        EXPECT_EQ(units.cx * 7 / 4, m.marginX);
        EXPECT_EQ(units.cy * 7 / 8, m.marginY);
        EXPECT_EQ(units.cx * 50 / 4, m.buttonWidth);
        EXPECT_EQ(units.cy * 14 / 8, m.buttonHeight);
    });
}

TEST(FrameTest, MinimumSizeIsTheTemplateSize) {
    FrameDlg dlg;
    RunWith(dlg, [&] {
        RECT templ = {0, 0, 128, 81};
        dlg.MapDialogRect(&templ);
        EXPECT_EQ(templ.right, dlg.GetMinClientWidth());
        EXPECT_EQ(templ.bottom, dlg.GetMinClientHeight());
        const RECT window = dlg.GetWindowRect();
        EXPECT_EQ(window.right - window.left, dlg.GetMinWindowWidth());
        EXPECT_EQ(window.bottom - window.top, dlg.GetMinWindowHeight());
        EXPECT_GT(dlg.GetMinWindowWidth(), dlg.GetMinClientWidth());
    });
}

TEST(FrameTest, SizingMessageGrowsTheDraggedEdgeBackToTheMinimum) {
    FrameDlg dlg;
    RunWith(dlg, [&] {
        const int w = dlg.GetMinWindowWidth();
        const int h = dlg.GetMinWindowHeight();
        struct Case {
            int edge;
            RECT expected;
        } cases[] = {
            {WMSZ_LEFT, {110 - w, 100, 110, 120}},
            {WMSZ_RIGHT, {100, 100, 100 + w, 120}},
            {WMSZ_TOP, {100, 120 - h, 110, 120}},
            {WMSZ_BOTTOM, {100, 100, 110, 100 + h}},
            {WMSZ_TOPLEFT, {110 - w, 120 - h, 110, 120}},
            {WMSZ_TOPRIGHT, {100, 120 - h, 100 + w, 120}},
            {WMSZ_BOTTOMLEFT, {110 - w, 100, 110, 100 + h}},
            {WMSZ_BOTTOMRIGHT, {100, 100, 100 + w, 100 + h}},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.edge);
            RECT r = {100, 100, 110, 120};
            EXPECT_EQ(TRUE, ::SendMessageA(dlg.GetSafeHwnd(), WM_SIZING, c.edge,
                                           reinterpret_cast<LPARAM>(&r)));
            EXPECT_EQ(c.expected.left, r.left);
            EXPECT_EQ(c.expected.top, r.top);
            EXPECT_EQ(c.expected.right, r.right);
            EXPECT_EQ(c.expected.bottom, r.bottom);
        }
        RECT big = {0, 0, w + 50, h + 50};
        ::SendMessageA(dlg.GetSafeHwnd(), WM_SIZING, WMSZ_BOTTOMRIGHT,
                       reinterpret_cast<LPARAM>(&big));
        EXPECT_EQ(w + 50, big.right);
        EXPECT_EQ(h + 50, big.bottom);
    });
}

TEST(FrameTest, LayoutNeverGoesBelowTheMinimumClientSize) {
    FrameDlg dlg;
    RunWith(dlg, [&] {
        ::SendMessageA(dlg.GetSafeHwnd(), WM_SIZE, SIZE_MINIMIZED, 0);
        EXPECT_EQ(dlg.GetMinClientWidth(), dlg.GetClientWidth());
        EXPECT_EQ(dlg.GetMinClientHeight(), dlg.GetClientHeight());
        dlg.MoveWindow(0, 0, dlg.GetMinWindowWidth() + 100, dlg.GetMinWindowHeight() + 40);
        EXPECT_EQ(dlg.GetMinClientWidth() + 100, dlg.GetClientWidth());
        EXPECT_EQ(dlg.GetMinClientHeight() + 40, dlg.GetClientHeight());
        const int before = dlg.m_nLayouts;
        dlg.Relayout();
        EXPECT_EQ(before + 1, dlg.m_nLayouts);
    });
}

TEST(FrameTest, BigIconIsSetAtInitialisationAndLaterAtOnce) {
    FrameDlg dlg(0, 0);
    EXPECT_EQ(nullptr, dlg.GetDialogIcon());
    EXPECT_FALSE(dlg.SetDialogIcon(4711));
    EXPECT_FALSE(dlg.SetAccelerators(4711));
    RunWith(dlg, [&] {
        EXPECT_TRUE(dlg.IsInitialised());
        EXPECT_EQ(0, dlg.SendMessage(WM_GETICON, ICON_BIG));
        EXPECT_TRUE(dlg.SetDialogIcon(IDR_MAINFRAME));
        EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.GetDialogIcon()),
                  dlg.SendMessage(WM_GETICON, ICON_BIG));
    });

    FrameDlg withIcon;
    RunWith(withIcon, [&] {
        EXPECT_NE(nullptr, withIcon.GetDialogIcon());
        EXPECT_EQ(reinterpret_cast<LRESULT>(withIcon.GetDialogIcon()),
                  withIcon.SendMessage(WM_GETICON, ICON_BIG));
    });
}

TEST(FrameTest, AcceleratorsWorkWhileAControlHasTheFocus) {
    for (bool withTable : {true, false}) {
        SCOPED_TRACE(withTable ? "with table" : "without table");
        FrameDlg dlg(IDR_MAINFRAME, withTable ? IDR_MAINACCEL : 0);
        UiScript script({
            [&] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); },
            [&] {
                HWND list = dlg.GetDlgItem(IDC_FOLDERLIST);
                ::SetFocus(list);
                ::PostMessageA(list, WM_KEYDOWN, VK_F5, 1);
                return true;
            },
            [&] {
                // Modifiers are read when the key is translated, so Ctrl goes down
                // only after F5 has been handled.
                HWND list = dlg.GetDlgItem(IDC_FOLDERLIST);
                BYTE keys[256];
                ::GetKeyboardState(keys);
                keys[VK_CONTROL] = 0x80;
                ::SetKeyboardState(keys);
                ::PostMessageA(list, WM_KEYDOWN, 'K', 1);
                return true;
            },
            [&] {
                BYTE keys[256];
                ::GetKeyboardState(keys);
                keys[VK_CONTROL] = 0;
                ::SetKeyboardState(keys);
                dlg.EndDialog(IDOK);
                return true;
            },
        });
        EXPECT_EQ(IDOK, dlg.DoModal());
        const std::vector<UINT> expected =
            withTable ? std::vector<UINT>{ID_VIEW_REFRESH, ID_VIEW_COMPACT} : std::vector<UINT>{};
        EXPECT_EQ(expected, dlg.m_commands);
    }
}

TEST(FrameTest, BorrowedMenusStayAliveAndOwnedOnesGo) {
    FrameDlg dlg;
    RunWith(dlg, [&] {
        HMENU bar = ::GetMenu(dlg.GetSafeHwnd());
        {
            const CMenuHandle menu = CMenuHandle::FromWindow(dlg.GetSafeHwnd());
            ASSERT_TRUE(menu);
            EXPECT_EQ(bar, menu.GetSafeHmenu());
            const CMenuHandle view = menu.GetSubMenu(1);
            ASSERT_TRUE(view);
            EXPECT_TRUE(view.CheckItem(ID_VIEW_COMPACT, true));
            EXPECT_EQ(MF_CHECKED,
                      ::GetMenuState(view.GetSafeHmenu(), ID_VIEW_COMPACT, MF_BYCOMMAND) &
                          MF_CHECKED);
            EXPECT_TRUE(view.CheckItem(ID_VIEW_COMPACT, false));
            EXPECT_EQ(0u, ::GetMenuState(view.GetSafeHmenu(), ID_VIEW_COMPACT, MF_BYCOMMAND) &
                              MF_CHECKED);
            EXPECT_FALSE(view.CheckItem(4711, true));
            EXPECT_FALSE(menu.GetSubMenu(9));
        }
        EXPECT_TRUE(::IsMenu(bar));
    });

    EXPECT_FALSE(CMenuHandle::FromWindow(::GetDesktopWindow()));
    HMENU loaded = nullptr;
    HMENU popup = nullptr;
    {
        CMenu context;
        ASSERT_TRUE(context.LoadMenu(IDR_CONTEXTMENU));
        loaded = context.GetSafeHmenu();
        {
            const CMenuHandle lent = context.Borrow().GetSubMenu(0);
            popup = lent.GetSafeHmenu();
        }
        EXPECT_TRUE(::IsMenu(popup)) << "a borrowed popup goes with its owner only";
        EXPECT_TRUE(::IsMenu(loaded));
    }
    EXPECT_FALSE(::IsMenu(loaded));
}

} // namespace
