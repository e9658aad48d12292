// The main window on a mailbox of 2 000 folders, as a user with a long list lives with
// it: keys and type-ahead scroll the list without selecting a row, a refresh keeps the
// place the user scrolled to, and refresh requests that come faster than refreshes end
// neither pile up nor hold up closing. On a slow share (every file read waits) the
// window shows the scan's progress, keeps its rows, cancels by Escape and closes at once.
#include "main_dlg_fixture_win32.h"
#include "resource.h"
#include "view/list_rules.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace uitest {
namespace {

// The mailbox is made once for all tests: 2 000 folder files take a while to write.
class LargeMailboxTest : public MainDlgTest {
protected:
    static void SetUpTestSuite() {
        s_pDir = new testsupport::TempDir();
        s_pExpected = new mailgen::Expectation();
        mailgen::Options options;
        options.seed = 2000;
        options.folders = 2000;
        options.maxDepth = 3;
        options.newMailFiles = 1;
        options.maxMessageBytes = 64;
        std::string error;
        s_bGenerated = mailgen::Generate(*s_pDir / "big\\", *s_pDir / "bignew\\", options,
                                         *s_pExpected, error);
    }
    static void TearDownTestSuite() {
        delete s_pExpected;
        delete s_pDir;
    }

    void SetUp() override {
        MainDlgTest::SetUp();
        ASSERT_TRUE(s_bGenerated);
        m_strMailbox = *s_pDir / "big\\";
        m_strNewmail = *s_pDir / "bignew\\";
        m_expected = *s_pExpected;
        SetRaw("Software\\Pegasus Mail\\Mailbox", "", REG_SZ,
               m_strMailbox.substr(0, m_strMailbox.size() - 1) + '\0');
        SetRaw("Software\\Pegasus Mail\\Newmail", "", REG_SZ,
               m_strNewmail.substr(0, m_strNewmail.size() - 1) + '\0');
    }

    static testsupport::TempDir* s_pDir;
    static mailgen::Expectation* s_pExpected;
    static bool s_bGenerated;

    static int Top(CMainDlg& dlg) { return dlg.GetFolderList().GetTopIndex(); }

    // While `s_bSlow` is set every folder file read waits as on a far share, so a scan
    // of the 2 000 files takes many seconds unless it is cancelled.
    static std::atomic<bool> s_bSlow;
    static void SlowShare(void*) {
        if (s_bSlow.load()) {
            ::Sleep(5);
        }
    }
    static void ScanAsOnASlowShare(CMainDlg& dlg) {
        s_bSlow = false;
        ScanThreading threading;
        threading.helpers = 0;
        threading.afterFileRead = &SlowShare;
        dlg.GetScans().SetThreading(threading);
    }
    static std::string Status(CMainDlg& dlg) {
        return testsupport::WindowText(dlg.GetStatusHwnd());
    }
    static bool CancelItemEnabled(CMainDlg& dlg) {
        HMENU view = ::GetSubMenu(::GetMenu(dlg.GetSafeHwnd()), 1);
        return (::GetMenuState(view, ID_VIEW_CANCEL_SCAN, MF_BYCOMMAND) &
                (MF_GRAYED | MF_DISABLED)) == 0;
    }

    static void PostListKey(CMainDlg& dlg, UINT message, WPARAM key) {
        dlg.GetFolderList().PostMessage(message, key, 1);
    }

    // No row selected and none focused: the rows are for reading only.
    static void ExpectNoRowSelected(CMainDlg& dlg) {
        CFolderListCtrl& list = dlg.GetFolderList();
        EXPECT_EQ(0, list.SendMessage(LVM_GETSELECTEDCOUNT));
        EXPECT_EQ(-1, list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    }
};

std::atomic<bool> LargeMailboxTest::s_bSlow{false};
testsupport::TempDir* LargeMailboxTest::s_pDir = nullptr;
mailgen::Expectation* LargeMailboxTest::s_pExpected = nullptr;
bool LargeMailboxTest::s_bGenerated = false;

TEST_F(LargeMailboxTest, UpDownPageHomeEndKeysAndTypeAheadScrollWithoutSelecting) {
    CMainDlg dlg(m_app);
    int perPage = 0;
    std::string prefix;
    int expectedRow = -1;
    RunMain(dlg, {
                     [&] {
                         EXPECT_EQ(2001, dlg.GetFolderList().GetItemCount());
                         ::SetFocus(dlg.GetFolderList().GetSafeHwnd());
                         for (int i = 0; i < 5; ++i) {
                             PostListKey(dlg, WM_KEYDOWN, VK_DOWN);
                         }
                         PostListKey(dlg, WM_KEYDOWN, VK_UP);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(4, Top(dlg));
                         perPage = dlg.GetFolderList().GetCountPerPage();
                         EXPECT_GT(perPage, 1);
                         PostListKey(dlg, WM_KEYDOWN, VK_NEXT);
                         PostListKey(dlg, WM_KEYDOWN, VK_NEXT);
                         PostListKey(dlg, WM_KEYDOWN, VK_PRIOR);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(4 + perPage, Top(dlg));
                         ExpectNoRowSelected(dlg);
                         PostListKey(dlg, WM_KEYDOWN, VK_END);
                         return true;
                     },
                     [&] {
                         // The last row at the bottom of the last page.
                         EXPECT_EQ(2001 - perPage, Top(dlg));
                         ExpectNoRowSelected(dlg);
                         PostListKey(dlg, WM_KEYDOWN, VK_HOME);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(0, Top(dlg));
                         ExpectNoRowSelected(dlg);
                         // Sorted by file name: type the name in row 1 234 up to its
                         // dot, in lower case.
                         CFolderListCtrl& list = dlg.GetFolderList();
                         list.SetSort(0, false);
                         list.Resort();
                         const std::vector<std::string> names = ColumnTexts(list, 0);
                         prefix = names[1234].substr(0, names[1234].find('.'));
                         for (char& c : prefix) {
                             c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
                         }
                         for (size_t i = 0; i < names.size() && expectedRow < 0; ++i) {
                             if (view::StartsWithIgnoringCase(names[i], prefix)) {
                                 expectedRow = static_cast<int>(i);
                             }
                         }
                         for (char c : prefix) {
                             PostListKey(dlg, WM_CHAR, static_cast<unsigned char>(c));
                         }
                         return true;
                     },
                     [&] {
                         EXPECT_GT(expectedRow, 4 + perPage) << prefix;
                         EXPECT_EQ(expectedRow, Top(dlg)) << prefix;
                         ExpectNoRowSelected(dlg);
                         return true;
                     },
                 });
}

TEST_F(LargeMailboxTest, FirstVisibleRowAndHorizontalScrollSurviveRefreshes) {
    CMainDlg dlg(m_app);
    int count = 0;
    std::string topName;
    std::string nextName;
    int scrollX = 0;
    auto topText = [&] { return ItemText(dlg.GetFolderList(), Top(dlg), 0, 260); };
    RunMain(dlg, {
                     [&] {
                         CFolderListCtrl& list = dlg.GetFolderList();
                         list.SendMessage(LVM_SETCOLUMNWIDTH, 2, 2000);
                         list.ScrollRowToTop(214);
                         list.Scroll(150, 0);
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(214, Top(dlg));
                         scrollX = dlg.GetFolderList().GetScrollX();
                         EXPECT_GT(scrollX, 0);
                         topName = topText();
                         nextName = ItemText(dlg.GetFolderList(), 215, 0, 260);
                         count = dlg.GetRefreshCount();
                         // As the worker asks.
                         dlg.PostMessage(CMainDlg::kRefreshRequest, 0, 0);
                         return true;
                     },
                     [&] { return dlg.GetRefreshCount() == count + 1; },
                     [&] {
                         EXPECT_EQ(214, Top(dlg));
                         EXPECT_EQ(topName, topText());
                         EXPECT_EQ(scrollX, dlg.GetFolderList().GetScrollX());
                         dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                         return true;
                     },
                     [&] { return dlg.GetRefreshCount() == count + 2; },
                     [&] {
                         EXPECT_EQ(topName, topText());
                         EXPECT_EQ(scrollX, dlg.GetFolderList().GetScrollX());
                         // The first visible row's file goes: the row after it takes its place.
                         // (Moved aside, and back afterwards: the mailbox serves every test.)
                         EXPECT_TRUE(::MoveFileA((m_strMailbox + topName).c_str(),
                                                 (m_dir / topName).c_str()));
                         dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                         return true;
                     },
                     [&] { return dlg.GetRefreshCount() == count + 3; },
                     [&] {
                         EXPECT_EQ(214, Top(dlg));
                         EXPECT_EQ(nextName, topText());
                         return true;
                     },
                 });
    EXPECT_TRUE(::MoveFileA((m_dir / topName).c_str(), (m_strMailbox + topName).c_str()));
}

TEST_F(LargeMailboxTest, RequestsFasterThanRefreshesLeaveAtMostOneRefreshAfterTheCurrent) {
    CMainDlg dlg(m_app);
    int count = 0;
    std::atomic<int> posted{0};
    HWND target = nullptr;
    RunMain(dlg, {
                     [&] {
                         count = dlg.GetRefreshCount();
                         target = dlg.GetSafeHwnd();
                         // A worker gone wild: a request every millisecond, during
                         // three refreshes in a row.
                         std::thread poster([&] {
                             for (int i = 0; i < 100; ++i) {
                                 ::PostMessageA(target, CMainDlg::kRefreshRequest, 0, 0);
                                 ++posted;
                                 ::Sleep(1);
                             }
                         });
                         dlg.Refresh();
                         dlg.Refresh();
                         poster.join();
                         dlg.Refresh();
                         return true;
                     },
                     [&] {
                         // The timer's step runs only once the queue is empty.
                         EXPECT_EQ(100, posted.load());
                         EXPECT_LE(dlg.GetRefreshCount(), count + 4) << posted.load();
                         return true;
                     },
                 });
}

TEST_F(LargeMailboxTest, ClosingBehindAPileOfRequestsWaitsForNoFurtherRefresh) {
    CMainDlg dlg(m_app);
    int count = 0;
    RunMain(dlg,
            {
                [&] {
                    count = dlg.GetRefreshCount();
                    for (int i = 0; i < 20; ++i) {
                        dlg.PostMessage(CMainDlg::kRefreshRequest, 0, 0);
                    }
                    dlg.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
                    dlg.Refresh();
                    return true;
                },
            },
            true, false);
    // The twenty requests came while the scan ran and gave none of their own; the
    // close cancels the scan unless it has ended before.
    EXPECT_LE(dlg.GetRefreshCount(), count + 1);
}

TEST_F(LargeMailboxTest, ASlowScanShowsItsProgressKeepsTheRowsAndEscapeCancelsIt) {
    m_bStepsWaitForScans = false;
    CMainDlg dlg(m_app);
    ScanAsOnASlowShare(dlg);
    std::vector<std::vector<std::string>> rows;
    std::string status;
    int count = 0;
    const std::string prefix = "Lese Ordnerdateien: ";
    const std::string total = " von 2.0"; // 2 000 folders and the broken files' few
    RunMain(dlg, {
                     [&] {
                         EXPECT_FALSE(CancelItemEnabled(dlg)) << "no scan runs";
                         rows = ListTexts(dlg.GetFolderList());
                         status = Status(dlg);
                         count = dlg.GetRefreshCount();
                         s_bSlow = true;
                         ::SetFocus(dlg.GetFolderList().GetSafeHwnd());
                         testsupport::PostKey(VK_F5);
                         return true;
                     },
                     [&] { return Status(dlg).rfind(prefix, 0) == 0; },
                     [&] { return ::IsWindowVisible(dlg.GetProgressHwnd()) != FALSE; },
                     [&] {
                         const std::string progress = Status(dlg);
                         EXPECT_NE(std::string::npos, progress.find(total)) << progress;
                         EXPECT_TRUE(dlg.IsScanBusy());
                         EXPECT_TRUE(CancelItemEnabled(dlg));
                         EXPECT_EQ(rows, ListTexts(dlg.GetFolderList())) << "rows went early";
                         // The window answers meanwhile: a sort is done at once.
                         dlg.SendMessage(WM_COMMAND, ID_VIEW_SORT_FIRST + 1, 0);
                         EXPECT_EQ(1, dlg.GetFolderList().GetSortColumn());
                         dlg.SendMessage(WM_COMMAND, ID_VIEW_SORT_FIRST + 2, 0);
                         testsupport::PostKey(VK_ESCAPE);
                         return true;
                     },
                     [&] { return !dlg.IsScanBusy(); },
                     [&] {
                         s_bSlow = false;
                         EXPECT_EQ(status, Status(dlg));
                         EXPECT_EQ(rows, ListTexts(dlg.GetFolderList()));
                         EXPECT_EQ(count, dlg.GetRefreshCount());
                         EXPECT_FALSE(::IsWindowVisible(dlg.GetProgressHwnd()));
                         EXPECT_FALSE(CancelItemEnabled(dlg));
                         return true;
                     },
                 });
}

TEST_F(LargeMailboxTest, ClosingDuringASlowScanEndsAtOnceAndSavesTheSettings) {
    m_bStepsWaitForScans = false;
    CMainDlg dlg(m_app);
    ScanAsOnASlowShare(dlg);
    std::chrono::steady_clock::time_point closed;
    RunMain(dlg,
            {
                [&] {
                    s_bSlow = true;
                    dlg.Refresh();
                    return true;
                },
                [&] { return Status(dlg).rfind("Lese Ordnerdateien: ", 0) == 0; },
                [&] {
                    closed = std::chrono::steady_clock::now();
                    dlg.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
                    return true;
                },
            },
            true, false);
    const auto took = std::chrono::steady_clock::now() - closed;
    s_bSlow = false;
    // Generous: the scan stops at its next file, a few milliseconds away.
    EXPECT_LT(took, std::chrono::seconds(1));
    ASSERT_NE(nullptr, dlg.GetResult());
    EXPECT_EQ(static_cast<int>(m_expected.folders.size()) + 1, dlg.GetResult()->catalogue.fileCount)
        << "the first scan's rows stay";
    ExpectDefaultsStoredBesidesPlacement();
}

} // namespace
} // namespace uitest
