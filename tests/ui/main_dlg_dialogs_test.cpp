// The settings dialog and the About box opened from the main window: OK hands every
// value back, stores it, applies automatic refresh and refreshes twice when it is on;
// Cancel leaves the live settings and the store as they were; the About box shows the
// directories in effect, the typed ones when the settings say so; both open centred over
// the main window, inside the work area of its monitor.
#include "main_dlg_fixture_win32.h"
#include "resource.h"

#include <gtest/gtest.h>

using testsupport::UiScript;

namespace uitest {
namespace {

// The settings dialog or About box that the main window opened, or null.
HWND OwnedBox(CMainDlg& dlg) {
    return testsupport::FindOwnedDialog(dlg.GetSafeHwnd());
}

void Click(HWND box, int id) {
    ::SendMessageA(::GetDlgItem(box, id), BM_CLICK, 0, 0);
}

void SetText(HWND box, int id, const std::string& text) {
    ::SetDlgItemTextA(box, id, text.c_str());
}

std::string Text(HWND box, int id) {
    return testsupport::WindowText(::GetDlgItem(box, id));
}

bool SameSettings(const ProgramSettings& a, const ProgramSettings& b) {
    return a.m_bAutoRefresh == b.m_bAutoRefresh && a.m_nAutoRefreshRate == b.m_nAutoRefreshRate &&
           a.m_bShowFolderPath == b.m_bShowFolderPath &&
           a.m_bWarnFolderPath == b.m_bWarnFolderPath &&
           a.m_bMailboxPathManual == b.m_bMailboxPathManual &&
           a.m_strMailboxPath == b.m_strMailboxPath && a.m_strNewmailPath == b.m_strNewmailPath &&
           a.m_bCompactFileSizes == b.m_bCompactFileSizes &&
           a.m_bShowNewMailFolder == b.m_bShowNewMailFolder;
}

TEST_F(MainDlgTest, OkWithAutomaticRefreshStoresAppliesAndRefreshesOnce) {
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    int before = 0;
    RunMain(dlg,
            {
                [&] {
                    before = dlg.GetRefreshCount();
                    dlg.PostMessage(WM_COMMAND, ID_EXTRAS_SETTINGS, 0);
                    return true;
                },
                [&] { return (box = OwnedBox(dlg)) != nullptr; },
                [&] {
                    EXPECT_EQ("Einstellungen", testsupport::WindowText(box));
                    Click(box, IDC_AUTOREFRESH);
                    SetText(box, IDC_REFRESH_RATE, "45");
                    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return true;
                },
                [&] { return OwnedBox(dlg) == nullptr && dlg.GetRefreshCount() >= before + 1; },
                [&] {
                    // Once for the new settings; the worker's first request comes
                    // while that scan runs or just after it, and the next one is 45
                    // seconds after its end.
                    ::Sleep(300);
                    return true;
                },
                [&] {
                    EXPECT_EQ(before + 1, dlg.GetRefreshCount());
                    EXPECT_TRUE(dlg.GetSettings().m_bAutoRefresh);
                    EXPECT_EQ(45, dlg.GetSettings().m_nAutoRefreshRate);
                    EXPECT_EQ(worker::PeriodicWorker::Running, dlg.GetWorker().GetState());
                    EXPECT_EQ(45000, static_cast<int>(dlg.GetWorker().GetInterval()));
                    // Stored right after OK, not only at closing.
                    EXPECT_EQ(Byte(1), Stored("AutoRefresh", REG_BINARY));
                    EXPECT_EQ(Ints({45}), Stored("AutoRefreshRate", REG_BINARY));
                    return true;
                },
            });
    EXPECT_EQ(worker::PeriodicWorker::Idle, dlg.GetWorker().GetState());
}

TEST_F(MainDlgTest, CancelLeavesTheLiveSettingsAndTheStoreUntouched) {
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    int before = 0;
    ProgramSettings live;
    RunMain(dlg, {
                     [&] {
                         before = dlg.GetRefreshCount();
                         live = dlg.GetSettings();
                         dlg.PostMessage(WM_COMMAND, ID_EXTRAS_SETTINGS, 0);
                         return true;
                     },
                     [&] { return (box = OwnedBox(dlg)) != nullptr; },
                     [&] {
                         Click(box, IDC_AUTOREFRESH);
                         SetText(box, IDC_REFRESH_RATE, "45");
                         Click(box, IDC_AUTOREFRESH);
                         Click(box, IDC_PATH_MANUAL);
                         SetText(box, IDC_MAILBOX_PATH, "C:\\ANDERS");
                         Click(box, IDC_PATH_REGISTRY);
                         Click(box, IDC_SHOW_FOLDERPATH);
                         ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                         return true;
                     },
                     [&] { return OwnedBox(dlg) == nullptr; },
                     [&] {
                         ::Sleep(200);
                         return true;
                     },
                     [&] {
                         EXPECT_TRUE(SameSettings(live, dlg.GetSettings()));
                         EXPECT_EQ(before, dlg.GetRefreshCount());
                         EXPECT_FALSE(ValueExists(kMainDlgKey, "MailboxPath"));
                         EXPECT_EQ(worker::PeriodicWorker::Idle, dlg.GetWorker().GetState());
                         return true;
                     },
                 });
    // Closing stores the live values, which Cancel left alone.
    EXPECT_EQ(std::string(1, '\0'), Stored("MailboxPathManual", REG_BINARY));
    EXPECT_EQ(std::string(1, '\0'), Stored("AutoRefresh", REG_BINARY));
    EXPECT_EQ(std::string(1, '\1'), Stored("ShowFolderPath", REG_BINARY));
}

TEST_F(MainDlgTest, AboutBoxShowsTheDirectoriesInEffect) {
    Store("MailboxPathManual", REG_BINARY, Byte(1));
    Store("MailboxPath", REG_SZ, std::string("C:\\EXPLIZIT\\MAIL\\") + '\0');
    Store("NewmailPath", REG_SZ, std::string("C:\\EXPLIZIT\\NEU\\") + '\0');
    Store("WarnFolderPath", REG_BINARY, Byte(0));
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    RunMain(dlg, {
                     [&] {
                         dlg.PostMessage(WM_COMMAND, ID_HELP_ABOUT, 0);
                         return true;
                     },
                     [&] { return (box = OwnedBox(dlg)) != nullptr; },
                     [&] {
                         EXPECT_EQ("Info", testsupport::WindowText(box));
                         EXPECT_EQ("C:\\EXPLIZIT\\MAIL\\", Text(box, IDC_ABOUT_MAILBOX));
                         EXPECT_EQ("C:\\EXPLIZIT\\NEU\\", Text(box, IDC_ABOUT_NEWMAIL));
                         EXPECT_EQ("v1.00 (Foldtally)", Text(box, IDC_ABOUT_VERSION));
                         ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                         return true;
                     },
                     [&] { return OwnedBox(dlg) == nullptr; },
                     // Back to the mail client's directories through the settings.
                     [&] {
                         dlg.PostMessage(WM_COMMAND, ID_EXTRAS_SETTINGS, 0);
                         return true;
                     },
                     [&] { return (box = OwnedBox(dlg)) != nullptr; },
                     [&] {
                         Click(box, IDC_PATH_REGISTRY);
                         ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                         return true;
                     },
                     [&] { return OwnedBox(dlg) == nullptr; },
                     [&] {
                         dlg.PostMessage(WM_COMMAND, ID_HELP_ABOUT, 0);
                         return true;
                     },
                     [&] { return (box = OwnedBox(dlg)) != nullptr; },
                     [&] {
                         EXPECT_EQ(m_strMailbox, Text(box, IDC_ABOUT_MAILBOX));
                         EXPECT_EQ(m_strNewmail, Text(box, IDC_ABOUT_NEWMAIL));
                         ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                         return true;
                     },
                     [&] { return OwnedBox(dlg) == nullptr; },
                 });
    // The typed directories stay stored for a later switch back.
    EXPECT_EQ(std::string("C:\\EXPLIZIT\\MAIL\\") + '\0', Stored("MailboxPath", REG_SZ));
}

// The centre of `box` lies on the centre of `owner` (to the pixel the halving allows)
// and the whole box lies inside the work area of the owner's monitor.
void ExpectCentredInside(HWND box, HWND owner, bool expectCentre) {
    RECT b = {};
    RECT o = {};
    ::GetWindowRect(box, &b);
    ::GetWindowRect(owner, &o);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    if (expectCentre) {
        EXPECT_NEAR((o.left + o.right) / 2, (b.left + b.right) / 2, 1);
        EXPECT_NEAR((o.top + o.bottom) / 2, (b.top + b.bottom) / 2, 1);
    }
    EXPECT_GE(b.left, work.left);
    EXPECT_GE(b.top, work.top);
    EXPECT_LE(b.right, work.right);
    EXPECT_LE(b.bottom, work.bottom);
}

TEST_F(MainDlgTest, SettingsAndAboutOpenCentredOverTheMainWindowInsideTheWorkArea) {
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    const struct {
        UINT command;
        int x;       // where the main window stands
        bool centre; // whether the centre can be kept there
    } cases[] = {{ID_EXTRAS_SETTINGS, 300, true},
                 {ID_HELP_ABOUT, 300, true},
                 {ID_EXTRAS_SETTINGS, -380, false},
                 {ID_HELP_ABOUT, -380, false}};
    std::vector<UiScript::Step> steps;
    for (const auto& c : cases) {
        steps.push_back([&dlg, &c] {
            // Partly off the monitor's left edge in the later cases.
            ::SetWindowPos(dlg.GetSafeHwnd(), nullptr, c.x, 200, 500, 400, SWP_NOZORDER);
            dlg.PostMessage(WM_COMMAND, c.command, 0);
            return true;
        });
        steps.push_back([&] { return (box = OwnedBox(dlg)) != nullptr; });
        steps.push_back([&dlg, &box, &c] {
            SCOPED_TRACE(testing::Message() << c.command << " at " << c.x);
            ExpectCentredInside(box, dlg.GetSafeHwnd(), c.centre);
            ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
            return true;
        });
        steps.push_back([&] { return OwnedBox(dlg) == nullptr; });
    }
    RunMain(dlg, steps);
}

} // namespace
} // namespace uitest
