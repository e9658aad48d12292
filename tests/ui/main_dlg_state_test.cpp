// The main window's state across runs and its worker: what a first start stores, the
// exact types and sizes of the stored values, the legacy key moved once, a maximized
// window reopening maximized, the layout at every size, and automatic refresh with
// its two errors and with stored rates out of range.
#include "app/legacy_settings.h"
#include "main_dlg_fixture_win32.h"
#include "resource.h"
#include "view/main_layout.h"

#include <gtest/gtest.h>

#include <atomic>

using testsupport::UiScript;

namespace uitest {
namespace {

const char kError002[] = "FEHLER 002: Auto-Refresh-Thread konnte nicht gestartet werden.";
const char kError003[] = "FEHLER 003: Auto-Refresh-Thread konnte nicht beendet werden.";

// The default placement record: normal, 472 x 373 pixels at (6, 6).
const char kDefaultPlacementHex[] =
    "2C0000000000000001000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF0600000006000000DE0100007B010000";

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

WINDOWPLACEMENT PlacementOf(HWND hWnd) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(hWnd, &wp);
    return wp;
}

TEST_F(MainDlgTest, FirstStartUsesTheDefaultsAndStoresEveryValueWithItsTypeAndSize) {
    CMainDlg dlg(m_app);
    RunMain(dlg, {[&] {
                const ProgramSettings& s = dlg.GetSettings();
                EXPECT_FALSE(s.m_bAutoRefresh);
                EXPECT_EQ(10, s.m_nAutoRefreshRate);
                EXPECT_TRUE(s.m_bShowFolderPath);
                EXPECT_TRUE(s.m_bWarnFolderPath);
                EXPECT_FALSE(s.m_bMailboxPathManual);
                EXPECT_TRUE(s.m_bCompactFileSizes);
                EXPECT_TRUE(s.m_bShowNewMailFolder);
                EXPECT_EQ(m_strMailbox, dlg.GetMailboxPath());
                EXPECT_EQ(m_strNewmail, dlg.GetNewmailPath());
                const WINDOWPLACEMENT wp = PlacementOf(dlg.GetSafeHwnd());
                EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), wp.showCmd);
                EXPECT_EQ(6, wp.rcNormalPosition.left);
                EXPECT_EQ(6, wp.rcNormalPosition.top);
                EXPECT_EQ(478, wp.rcNormalPosition.right);
                EXPECT_EQ(379, wp.rcNormalPosition.bottom);
                EXPECT_EQ(2, dlg.GetFolderList().GetSortColumn());
                return true;
            }});
    EXPECT_EQ(FromHex(kDefaultPlacementHex), Stored("Placement", REG_BINARY));
    ExpectDefaultsStoredBesidesPlacement();
}

TEST_F(MainDlgTest, ChangesOfThisRunAreStoredAtClosingAndRestoredNextTime) {
    CMainDlg dlg(m_app);
    RunMain(dlg, {[&] {
                dlg.PostMessage(WM_COMMAND, ID_VIEW_COMPACT, 0);
                dlg.PostMessage(WM_COMMAND, ID_VIEW_NEWMAIL, 0);
                CFolderListCtrl& list = dlg.GetFolderList();
                const int32_t widths[] = {90, 80, 200};
                list.SetColumnWidths(widths, 3);
                list.SetColumnOrder({2, 0, 1});
                list.SetSort(1, true);
                return true;
            }});
    EXPECT_EQ(Byte(0), Stored("CompactFileSizes", REG_BINARY));
    EXPECT_EQ(Byte(0), Stored("ShowNewMailFolder", REG_BINARY));
    EXPECT_EQ(Ints({90, 80, 200}), Stored("Columns", REG_BINARY));
    EXPECT_EQ(Ints({2, 0, 1}), Stored("ColOrder", REG_BINARY));
    EXPECT_EQ(Ints({1, 1}), Stored("Sort", REG_BINARY));

    CMainDlg again(m_app);
    RunMain(again, {[&] {
                EXPECT_FALSE(again.GetSettings().m_bCompactFileSizes);
                EXPECT_FALSE(IsChecked(again.GetSafeHwnd(), ID_VIEW_COMPACT));
                EXPECT_FALSE(IsChecked(again.GetSafeHwnd(), ID_VIEW_NEWMAIL));
                CFolderListCtrl& list = again.GetFolderList();
                EXPECT_EQ((std::vector<int32_t>{2, 0, 1}), list.GetColumnOrder());
                EXPECT_EQ(1, list.GetSortColumn());
                EXPECT_TRUE(list.IsSortDescending());
                EXPECT_EQ(static_cast<int>(m_expected.folders.size()), list.GetItemCount());
                ::SendMessageA(again.GetFilterRememberHwnd(), BM_SETCHECK, BST_CHECKED, 0);
                ::SetWindowTextA(again.GetFilterHwnd(), "-qqq");
                return ::SetWindowTextA(again.GetFilterSizeHwnd(), "1 kB"), true;
            }});
    CMainDlg third(m_app); // "Filter merken" ticked: the filter comes back, then unticked
    RunMain(third, {[&] {
                EXPECT_EQ("-qqq|1 kB", testsupport::WindowText(third.GetFilterHwnd()) + "|" +
                                           testsupport::WindowText(third.GetFilterSizeHwnd()));
                return ::SendMessageA(third.GetFilterRememberHwnd(), BM_SETCHECK, 0, 0), true;
            }});
    CMainDlg fourth(m_app);
    RunMain(fourth, {[&] { return testsupport::WindowText(fourth.GetFilterHwnd()).empty(); }});
}

TEST_F(MainDlgTest, LegacyValuesAreReadOnceThenDeletedAndSavedToTheCurrentKey) {
    // Placement: normal window at (20, 30), 600 x 500.
    const std::string placement = Ints({44, 0, 1, -1, -1, -1, -1, 20, 30, 620, 530});
    SetRaw(kLegacyKey, "Placement", REG_BINARY, placement);
    SetRaw(kLegacyKey, "Sort", REG_BINARY, Ints({0, 1}));
    SetRaw(kLegacyKey, "CompactFileSizes", REG_BINARY, Byte(0));
    SetRaw(kLegacyKey, "AutoRefreshRate", REG_BINARY, Ints({25}));
    // The current key says otherwise; the legacy values win this once.
    Store("CompactFileSizes", REG_BINARY, Byte(1));
    Store("AutoRefreshRate", REG_BINARY, Ints({7}));

    // Start-up moves them before the window opens.
    StartApp();
    ASSERT_TRUE(MoveLegacySettings(*m_app.GetSettingsStore()));
    EXPECT_FALSE(MoveLegacySettings(*m_app.GetSettingsStore())) << "once";
    CMainDlg dlg(m_app);
    RunMain(dlg, {[&] {
                EXPECT_FALSE(dlg.GetSettings().m_bCompactFileSizes);
                EXPECT_EQ(25, dlg.GetSettings().m_nAutoRefreshRate);
                EXPECT_EQ(0, dlg.GetFolderList().GetSortColumn());
                EXPECT_TRUE(dlg.GetFolderList().IsSortDescending());
                const WINDOWPLACEMENT wp = PlacementOf(dlg.GetSafeHwnd());
                EXPECT_EQ(20, wp.rcNormalPosition.left);
                EXPECT_EQ(530, wp.rcNormalPosition.bottom);
                // Deleted as soon as it was read, with the vendor key that only held it,
                // but only after its values were written to the current key: a run that
                // is killed now loses nothing.
                EXPECT_FALSE(KeyExists("SOFTWARE\\Corvapps"));
                EXPECT_EQ(Ints({25}), Stored("AutoRefreshRate", REG_BINARY));
                EXPECT_EQ(Byte(0), Stored("CompactFileSizes", REG_BINARY));
                EXPECT_EQ(placement, Stored("Placement", REG_BINARY));
                return true;
            }});
    EXPECT_EQ(Byte(0), Stored("CompactFileSizes", REG_BINARY));
    EXPECT_EQ(Ints({25}), Stored("AutoRefreshRate", REG_BINARY));
    EXPECT_EQ(Ints({0, 1}), Stored("Sort", REG_BINARY));
    EXPECT_EQ(placement, Stored("Placement", REG_BINARY));
    EXPECT_FALSE(KeyExists("SOFTWARE\\Corvapps"));
}

TEST_F(MainDlgTest, AWindowClosedMaximizedReopensMaximizedWithItsNormalRectangle) {
    CMainDlg dlg(m_app);
    RunMain(dlg, {[&] {
                dlg.ShowWindow(SW_MAXIMIZE);
                return true;
            }});
    const std::string stored = Stored("Placement", REG_BINARY);
    ASSERT_EQ(44u, stored.size());
    EXPECT_EQ(Ints({44}), stored.substr(0, 4));
    EXPECT_EQ(Ints({SW_SHOWMAXIMIZED}), stored.substr(8, 4));

    CMainDlg again(m_app);
    RunMain(again, {[&] {
                EXPECT_TRUE(::IsZoomed(again.GetSafeHwnd()));
                const WINDOWPLACEMENT wp = PlacementOf(again.GetSafeHwnd());
                EXPECT_EQ(6, wp.rcNormalPosition.left);
                EXPECT_EQ(478, wp.rcNormalPosition.right);
                // The list takes the whole maximized client area but the margins.
                const RECT client = again.GetClientRect();
                const RECT list = testsupport::ChildRect(again.GetFolderList().GetSafeHwnd());
                EXPECT_EQ(client.right - again.GetMetrics().marginX, list.right);
                return true;
            }});
}

TEST_F(MainDlgTest, AWindowStoredMinimizedOpensNormalWithItsRectangle) {
    Store("Placement", REG_BINARY,
          Ints({44, 0, SW_SHOWMINIMIZED, -1, -1, -1, -1, 20, 30, 520, 430}));
    CMainDlg dlg(m_app);
    RunMain(dlg, {[&] {
                EXPECT_FALSE(::IsIconic(dlg.GetSafeHwnd()));
                const WINDOWPLACEMENT wp = PlacementOf(dlg.GetSafeHwnd());
                EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), wp.showCmd);
                EXPECT_EQ(20, wp.rcNormalPosition.left);
                EXPECT_EQ(430, wp.rcNormalPosition.bottom);
                return true;
            }});
}

void ExpectPlaced(HWND control, const view::ControlPlace& place, const char* what) {
    const RECT r = testsupport::ChildRect(control);
    EXPECT_EQ(place.x, r.left) << what;
    EXPECT_EQ(place.y, r.top) << what;
    EXPECT_EQ(place.width, r.right - r.left) << what;
    EXPECT_EQ(place.height, r.bottom - r.top) << what;
    EXPECT_GE(r.right - r.left, 0) << what;
    EXPECT_GE(r.bottom - r.top, 0) << what;
}

TEST_F(MainDlgTest, ControlsFollowTheWindowAndMinimizingGivesNoNegativeSize) {
    CMainDlg dlg(m_app);
    RECT before = {};
    auto expectLayout = [&](int cx, int cy) {
        const view::MainLayout layout =
            view::ComputeMainLayout(cx, cy, dlg.GetMetrics(), dlg.GetStatusAreaHeight());
        const RECT line = testsupport::ChildRect(dlg.GetFilterHwnd());
        ExpectPlaced(
            dlg.GetFolderList().GetSafeHwnd(),
            view::PlaceFilterLine(layout.list, line.bottom - line.top, dlg.GetMetrics(), {}).list,
            "list");
        ExpectPlaced(dlg.GetStatusHwnd(), layout.status, "status");
    };
    RunMain(dlg, {
                     [&] {
                         // The template's status line keeps its height.
                         const RECT templ =
                             testsupport::DialogUnitsToPixels(dlg.GetSafeHwnd(), 7, 64, 114, 10);
                         EXPECT_EQ(templ.bottom - templ.top, dlg.GetStatusHeight());
                         const RECT client = dlg.GetClientRect();
                         expectLayout(client.right, client.bottom);
                         dlg.MoveWindow(10, 10, 900, 700);
                         const RECT grown = dlg.GetClientRect();
                         expectLayout(grown.right, grown.bottom);
                         before = testsupport::ChildRect(dlg.GetFolderList().GetSafeHwnd());
                         dlg.ShowWindow(SW_MINIMIZE);
                         return true;
                     },
                     [&] {
                         EXPECT_TRUE(::IsIconic(dlg.GetSafeHwnd()));
                         EXPECT_EQ(dlg.GetMinClientWidth(), dlg.GetClientWidth());
                         EXPECT_EQ(dlg.GetMinClientHeight(), dlg.GetClientHeight());
                         expectLayout(dlg.GetMinClientWidth(), dlg.GetMinClientHeight());
                         dlg.ShowWindow(SW_RESTORE);
                         return true;
                     },
                     [&] {
                         const RECT after =
                             testsupport::ChildRect(dlg.GetFolderList().GetSafeHwnd());
                         EXPECT_EQ(before.left, after.left);
                         EXPECT_EQ(before.right, after.right);
                         EXPECT_EQ(before.bottom, after.bottom);
                         return true;
                     },
                 });
}

TEST_F(MainDlgTest, AutoRefreshRunsTheWorkerAtTheStoredRateAndOddStoredRatesAtTenSeconds) {
    const struct {
        int32_t rate;
        uint32_t interval;
    } cases[] = {{3, 3000}, {0, 10000}, {-7, 10000}, {2147484, 10000}, {INT32_MAX, 10000}};
    StartApp();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        Store("AutoRefresh", REG_BINARY, Byte(1));
        Store("AutoRefreshRate", REG_BINARY, Ints({c.rate}));
        CMainDlg dlg(m_app);
        RunMain(dlg, {[&] {
                    EXPECT_EQ(worker::PeriodicWorker::Running, dlg.GetWorker().GetState());
                    EXPECT_EQ(c.interval, dlg.GetWorker().GetInterval());
                    return true;
                }});
        EXPECT_EQ(worker::PeriodicWorker::Idle, dlg.GetWorker().GetState());
        // The stored rate stays what it was.
        EXPECT_EQ(Ints({c.rate}), Stored("AutoRefreshRate", REG_BINARY));
    }
}

bool RefuseThread(platform::Thread&, platform::ThreadFunction, void*) {
    return false;
}

TEST_F(MainDlgTest, AWorkerThatCannotStartShowsError002AndTheProgramRunsOn) {
    Store("AutoRefresh", REG_BINARY, Byte(1));
    CMainDlg dlg(m_app);
    dlg.GetWorker().SetThreadStarter(RefuseThread);
    HWND box = nullptr;
    RunMain(dlg,
            {
                testsupport::OwnedDialogStep(dlg, box),
                [&] {
                    EXPECT_EQ("FEHLER", testsupport::WindowText(box));
                    EXPECT_EQ(kError002, StaticTexts(box));
                    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return true;
                },
                WaitUntilShown(dlg),
                [&] {
                    EXPECT_TRUE(dlg.GetSettings().m_bAutoRefresh);
                    EXPECT_EQ(1, dlg.GetRefreshCount());
                    return true;
                },
            },
            false);
    EXPECT_EQ(Byte(1), Stored("AutoRefresh", REG_BINARY));
}

// Posts like the platform, except that while it is held it keeps the worker's thread
// inside its tick, so the thread cannot end when asked to.
class HoldingSink : public worker::MessageSink {
public:
    HoldingSink() : m_hRelease(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~HoldingSink() { ::CloseHandle(m_hRelease); }
    platform::PostResult Post(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                              intptr_t lParam) override {
        m_nPosts++;
        ::WaitForSingleObject(m_hRelease, 20000);
        return worker::WindowMessageSink().Post(window, message, wParam, lParam);
    }
    void Release() { ::SetEvent(m_hRelease); }
    std::atomic<int> m_nPosts{0};

private:
    HANDLE m_hRelease;
};

TEST_F(MainDlgTest, AWorkerThatDoesNotStopShowsError003) {
    Store("AutoRefresh", REG_BINARY, Byte(1));
    Store("AutoRefreshRate", REG_BINARY, Ints({1}));
    HoldingSink sink;
    CMainDlg dlg(m_app, sink);
    std::unique_ptr<testsupport::BoxCloser> boxes;
    RunMain(dlg, {
                     [&] { return sink.m_nPosts.load() == 1; },
                     [&] {
                         boxes.reset(new testsupport::BoxCloser(dlg.GetSafeHwnd()));
                         dlg.GetSettings().m_bAutoRefresh = false;
                         dlg.ApplyAutoRefresh();
                         return true;
                     },
                     [&] {
                         EXPECT_EQ(1u, boxes->Seen().size());
                         if (!boxes->Seen().empty()) {
                             EXPECT_EQ("FEHLER", boxes->Seen()[0].caption);
                             EXPECT_EQ(kError003, boxes->Seen()[0].text);
                         }
                         EXPECT_EQ(worker::PeriodicWorker::StopRequested,
                                   dlg.GetWorker().GetState());
                         sink.Release();
                         return true;
                     },
                     [&] { return dlg.GetWorker().GetState() == worker::PeriodicWorker::Idle; },
                 });
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

// "Geändert" shown from the menu, moved and sorted by: its own value keeps that, the
// three columns' values keep their forms, and the next run shows it where it was.
TEST_F(MainDlgTest, AnOptionalColumnComesBackWhereItWasAndTheThreeValuesKeepTheirForms) {
    const std::vector<int32_t> widths = DefaultColumnWidths();
    CMainDlg dlg(m_app);
    RunMain(dlg, {[&] {
                      EXPECT_FALSE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_COLUMN_FIRST));
                      dlg.PostMessage(WM_COMMAND, ID_VIEW_COLUMN_FIRST, 0);
                      return true;
                  },
                  [&] {
                      CFolderListCtrl& list = dlg.GetFolderList();
                      EXPECT_EQ(4, list.GetColumnCount());
                      EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_COLUMN_FIRST));
                      // Every folder file of the generated mailbox has a time: "09.12.2026 14:03".
                      EXPECT_GT(list.GetItemCount(), 0);
                      for (int row = 0; row < list.GetItemCount(); ++row) {
                          const std::string file = ItemText(list, row, 0, 260);
                          const std::string changed = ItemText(list, row, 3, 260);
                          EXPECT_EQ(16u, changed.size()) << file << ": " << changed;
                          EXPECT_EQ(':', changed.size() == 16 ? changed[13] : ' ') << changed;
                      }
                      list.SetColumnWidth(3, 150);
                      list.SetColumnOrder({0, 3, 1, 2});
                      list.SortByColumn(3);
                      return true;
                  }});
    EXPECT_EQ(Ints({widths[0], widths[1], widths[2]}), Stored("Columns", REG_BINARY));
    EXPECT_EQ(Ints({0, 1, 2}), Stored("ColOrder", REG_BINARY));
    EXPECT_EQ(Ints({3, 1}), Stored("Sort", REG_BINARY)) << "newest first";
    EXPECT_EQ(Ints({1, 150, 1}), Stored("ColChanged", REG_BINARY));

    CMainDlg again(m_app);
    RunMain(again, {[&] {
                        CFolderListCtrl& list = again.GetFolderList();
                        EXPECT_EQ(4, list.GetColumnCount());
                        EXPECT_EQ((std::vector<int32_t>{0, 3, 1, 2}), list.GetColumnOrder());
                        EXPECT_EQ(150, list.GetColumnWidth(3));
                        EXPECT_EQ(3, list.GetSortColumn());
                        EXPECT_TRUE(list.IsSortDescending());
                        // Hidden again: the sort goes back to the folder column.
                        again.PostMessage(WM_COMMAND, ID_VIEW_COLUMN_FIRST, 0);
                        return true;
                    },
                    [&] {
                        CFolderListCtrl& list = again.GetFolderList();
                        EXPECT_EQ(3, list.GetColumnCount());
                        EXPECT_EQ(2, list.GetSortColumn());
                        EXPECT_FALSE(IsChecked(again.GetSafeHwnd(), ID_VIEW_COLUMN_FIRST));
                        return true;
                    }});
    EXPECT_EQ(Ints({widths[0], widths[1], widths[2]}), Stored("Columns", REG_BINARY));
    EXPECT_EQ(Ints({0, 1, 2}), Stored("ColOrder", REG_BINARY));
    EXPECT_EQ(Ints({2, 0}), Stored("Sort", REG_BINARY));
    EXPECT_EQ(Ints({0, 150, 1}), Stored("ColChanged", REG_BINARY));
}

} // namespace
} // namespace uitest
