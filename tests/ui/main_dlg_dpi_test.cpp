// Both windows on a screen of 144 DPI: the main window's first start at the screen's
// scale, widths stored at 96 DPI shown scaled and stored with their DPI, and the folder
// tree window with the program's icon, over the main window, with scaled columns and
// plus and minus boxes. The screen's DPI is read once per process, so the tests run in
// a process of their own, started with the prefix's DPI set to 144.
#include "main_dlg_fixture_win32.h"
#include "resource.h"
#include "ui/folder_tree_dlg.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>

using testsupport::UiScript;

namespace uitest {
namespace {

const char kDpiVariable[] = "FOLDTALLY_TEST_DPI";

bool InDpiProcess() {
    return std::getenv(kDpiVariable) != nullptr;
}

std::vector<int> ColumnWidths(HWND list, int count) {
    std::vector<int> widths;
    for (int c = 0; c < count; ++c) {
        widths.push_back(static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0)));
    }
    return widths;
}

RECT WindowRect(HWND hWnd) {
    RECT r = {};
    ::GetWindowRect(hWnd, &r);
    return r;
}

class MainDlgAt144Dpi : public MainDlgTest {
protected:
    void SetUp() override {
        if (!InDpiProcess()) {
            GTEST_SKIP() << "only in the process the DPI test starts";
        }
        MainDlgTest::SetUp();
    }
    void TearDown() override {
        if (InDpiProcess()) {
            MainDlgTest::TearDown();
        }
    }

    // Opens the folder tree from `dlg`, runs `meanwhile` on it, closes it.
    std::vector<UiScript::Step> WithTree(CMainDlg& dlg, std::function<void(HWND)> meanwhile) {
        return {[&dlg] {
                    dlg.PostMessage(WM_COMMAND, ID_VIEW_TREE, 0);
                    return true;
                },
                [this, &dlg] {
                    m_hTree = testsupport::FindOwnedDialog(dlg.GetSafeHwnd());
                    return m_hTree != nullptr && ::IsWindowVisible(m_hTree);
                },
                [this, meanwhile] {
                    meanwhile(m_hTree);
                    ::PostMessageA(m_hTree, WM_COMMAND, IDCANCEL, 0);
                    return true;
                },
                [&dlg] { return testsupport::FindOwnedDialog(dlg.GetSafeHwnd()) == nullptr; }};
    }

    HWND m_hTree = nullptr;
};

TEST_F(MainDlgAt144Dpi, TheScreenHasTheDpiTheParentSet) {
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(144, ::GetDeviceCaps(screen, LOGPIXELSX));
    ::ReleaseDC(nullptr, screen);
}

TEST_F(MainDlgAt144Dpi, TheFirstStartShowsTheDefaultWindowAtTheScreensScale) {
    CMainDlg dlg(m_app);
    RunMain(dlg, {[&] {
                WINDOWPLACEMENT wp = {};
                wp.length = sizeof wp;
                ::GetWindowPlacement(dlg.GetSafeHwnd(), &wp);
                EXPECT_EQ(6, wp.rcNormalPosition.left);
                EXPECT_EQ(6, wp.rcNormalPosition.top);
                // 472 x 373 at 96 DPI.
                EXPECT_EQ(708, wp.rcNormalPosition.right - wp.rcNormalPosition.left);
                EXPECT_EQ(560, wp.rcNormalPosition.bottom - wp.rcNormalPosition.top);
                int32_t widths[3] = {};
                dlg.GetFolderList().GetColumnWidths(widths, 3);
                EXPECT_EQ(165, widths[0]);
                EXPECT_EQ(360, widths[2]);
                return true;
            }});
    EXPECT_EQ(Ints({144}), Stored("ColumnsDpi", REG_BINARY));
}

TEST_F(MainDlgAt144Dpi, WidthsStoredAt96DpiAreShownScaledAndStoredWithTheirDpi) {
    Store("Columns", REG_BINARY, Ints({100, 70, 200}));
    Store("ColumnsDpi", REG_BINARY, Ints({96}));
    Store("TreeColumns", REG_BINARY, Ints({200, 80, 120, 90, 60}));
    Store("TreeColumnsDpi", REG_BINARY, Ints({96}));
    CMainDlg dlg(m_app);
    std::vector<int> tree;
    std::vector<UiScript::Step> steps = {[&] {
        int32_t widths[3] = {};
        dlg.GetFolderList().GetColumnWidths(widths, 3);
        EXPECT_EQ(150, widths[0]);
        EXPECT_EQ(300, widths[2]);
        return true;
    }};
    for (UiScript::Step& step : WithTree(dlg, [&](HWND window) {
             tree = ColumnWidths(::GetDlgItem(window, IDC_TREE_LIST), 5);
         })) {
        steps.push_back(std::move(step));
    }
    RunMain(dlg, steps);
    EXPECT_EQ((std::vector<int>{300, 120, 180, 135, 90}), tree);
    EXPECT_EQ(Ints({150, 105, 300}), Stored("Columns", REG_BINARY));
    EXPECT_EQ(Ints({144}), Stored("ColumnsDpi", REG_BINARY));
    EXPECT_EQ(Ints({300, 120, 180, 135, 90, 165, 135}), Stored("TreeColumns", REG_BINARY));
    EXPECT_EQ(Ints({144}), Stored("TreeColumnsDpi", REG_BINARY));
}

TEST_F(MainDlgAt144Dpi, TheTreeWindowHasTheProgramsIconScaledBoxesAndOpensOverTheMainWindow) {
    CMainDlg dlg(m_app);
    HICON mainIcon = nullptr;
    HICON treeIcon = nullptr;
    RECT main = {};
    RECT tree = {};
    int imageSize = 0;
    std::vector<int> widths;
    std::vector<UiScript::Step> steps = {[&] {
        // Away from the screen's corner, so that a window left there shows.
        ::SetWindowPos(dlg.GetSafeHwnd(), nullptr, 250, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        mainIcon = reinterpret_cast<HICON>(dlg.SendMessage(WM_GETICON, ICON_BIG));
        main = WindowRect(dlg.GetSafeHwnd());
        return true;
    }};
    for (UiScript::Step& step : WithTree(dlg, [&](HWND window) {
             treeIcon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_BIG, 0));
             tree = WindowRect(window);
             HWND list = ::GetDlgItem(window, IDC_TREE_LIST);
             widths = ColumnWidths(list, 5);
             HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
                 ::SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
             int cx = 0;
             int cy = 0;
             ImageList_GetIconSize(images, &cx, &cy);
             imageSize = cx == cy ? cx : -1;
         })) {
        steps.push_back(std::move(step));
    }
    RunMain(dlg, steps);
    ASSERT_NE(nullptr, mainIcon);
    EXPECT_EQ(mainIcon, treeIcon) << "the program's icon, not the platform's default";
    // Along an axis where it is larger than the main window (the width, here): a
    // caption's height in from the main window's edge; where it fits: centred.
    const int step = ::GetSystemMetrics(SM_CYCAPTION);
    ASSERT_GT(tree.right - tree.left, main.right - main.left);
    EXPECT_EQ(main.left + step, tree.left);
    if (tree.bottom - tree.top > main.bottom - main.top) {
        EXPECT_EQ(main.top + step, tree.top);
    } else {
        EXPECT_NEAR((main.top + main.bottom) / 2, (tree.top + tree.bottom) / 2, 1);
    }
    // The size columns widened to "!! 5.368.941.430" in the list's font at this scale.
    EXPECT_EQ((std::vector<int>{345, 150, 195, 150, 90}), widths);
    EXPECT_EQ(24, imageSize);
}

// The parent: sets the prefix's DPI to 144, runs the tests above in a process of its
// own, and puts the setting back.
TEST(MainDlgDpiTest, BothWindowsPassTheirTestsAt144Dpi) {
    if (InDpiProcess()) {
        GTEST_SKIP() << "the process this test started";
    }
    const char kDesktop[] = "Control Panel\\Desktop";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kDesktop, 0, nullptr, 0,
                                               KEY_READ | KEY_WRITE, nullptr, &key, nullptr));
    DWORD saved = 0;
    DWORD size = sizeof saved;
    const bool hadValue = ::RegQueryValueExA(key, "LogPixels", nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(&saved), &size) == 0;
    const DWORD dpi = 144;
    ::RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                     sizeof dpi);
    ::SetEnvironmentVariableA(kDpiVariable, "144");
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    std::string command = std::string("\"") + self + "\" --gtest_filter=MainDlgAt144Dpi.*";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const bool started = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                          nullptr, &startup, &process) != 0;
    DWORD code = 1;
    if (started) {
        ::WaitForSingleObject(process.hProcess, 90000);
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::SetEnvironmentVariableA(kDpiVariable, nullptr);
    if (hadValue) {
        ::RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved),
                         sizeof saved);
    } else {
        ::RegDeleteValueA(key, "LogPixels");
    }
    ::RegCloseKey(key);
    ASSERT_TRUE(started);
    EXPECT_EQ(0u, code) << "see the output of the tests at 144 DPI above";
}

} // namespace
} // namespace uitest
