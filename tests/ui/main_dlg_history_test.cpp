// The main window and the mailbox's history: the day's entry after the first scan, kept
// once a day; a history that cannot be written is no concern of the user, one that is
// a link is refused with warning 505; deleting it after the real Yes/No question; and
// the day of the change chosen and stored.
#include "folder_links.h"
#include "history/history_store.h"
#include "mailbox_fixtures.h"
#include "main_dlg_fixture_win32.h"
#include "platform/clock.h"
#include "resource.h"
#include "view/folder_compare.h"

#include <gtest/gtest.h>

#include <algorithm>

using testsupport::UiScript;

namespace uitest {
namespace {

class MainDlgHistoryTest : public MainDlgTest {
protected:
    std::string Root() const { return m_settings.Path() + "Verlauf\\"; }
    history::MailboxHistory History() const {
        return history::MailboxHistory(Root(), m_strMailbox);
    }
    // Runs a window on the fixture's mailbox with its history below Root().
    void RunWithHistory(CMainDlg& dlg, const std::vector<UiScript::Step>& steps) {
        dlg.SetHistoryRoot(Root());
        RunMain(dlg, steps);
        dlg.GetHistoryWriter().Wait();
    }

    testsupport::TempDir m_settings;
};

TEST_F(MainDlgHistoryTest, TheFirstScanOfTheDayIsFiledAndTheRefreshesAfterItAreNot) {
    CMainDlg dlg(m_app);
    RunWithHistory(dlg, {[&] {
                             dlg.GetHistoryWriter().Wait();
                             dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                             return true;
                         },
                         [&] { return dlg.GetRefreshCount() >= 2; }});
    const std::vector<history::CalendarDay> days = History().Days();
    ASSERT_EQ(days.size(), 1u);
    report::EarlierReport entry;
    std::string error;
    ASSERT_TRUE(
        report::ReadEarlierReport(History().Folder() + history::DayFileName(days[0]), entry, error))
        << error;
    EXPECT_TRUE(history::SameMailbox(entry.MailboxDir(), m_strMailbox)) << entry.MailboxDir();
    // The list's rows and the new-mail row.
    EXPECT_EQ(entry.RowCount(), m_expected.folders.size() + 1);
    EXPECT_FALSE(dlg.GetHistoryWriter().IsOff());
}

TEST_F(MainDlgHistoryTest, AHistoryThatCannotBeWrittenShowsNothingAndTheWindowRunsOn) {
    ASSERT_TRUE(testsupport::WriteFile(m_settings.Path() + "Verlauf", "in the way"));
    CMainDlg dlg(m_app);
    RunWithHistory(dlg, {[&] {
                       dlg.GetHistoryWriter().Wait();
                       EXPECT_EQ(CountOwnedDialogs(dlg.GetSafeHwnd()), 0);
                       EXPECT_EQ(dlg.GetFolderList().GetItemCount(),
                                 static_cast<int>(m_expected.folders.size()) + 1);
                       return true;
                   }});
    EXPECT_TRUE(dlg.GetHistoryWriter().IsOff());
}

// The history's folder a link to the mailbox: nothing is filed there, and the user is
// told once, though the writer and the reader of the change both meet the link.
TEST_F(MainDlgHistoryTest, AHistoryFolderThatIsALinkIsRefusedWithWarning505) {
    std::string link = History().Folder();
    link.pop_back();
    ASSERT_TRUE(testsupport::MakeDirectory(Root()));
    if (!testsupport::MakeFolderLink(link, m_strMailbox)) {
        GTEST_SKIP() << "this system does not let the test make a folder link";
    }
    Store("ColChange", REG_BINARY, Ints({1, 80, 3}));
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    std::string text;
    int ticks = 0;
    dlg.SetHistoryRoot(Root());
    // The box may come before the window has ever been idle.
    RunMain(dlg,
            {testsupport::OwnedDialogStep(dlg, box),
             [&] {
                 text = StaticTexts(box);
                 ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                 return true;
             },
             WaitUntilShown(dlg), [&] { return ++ticks == 20; },
             [&] {
                 EXPECT_EQ(CountOwnedDialogs(dlg.GetSafeHwnd()), 0);
                 return true;
             }},
            false);
    dlg.GetHistoryWriter().Wait();
    EXPECT_EQ(text.rfind("WARNUNG 505: Der Verlauf im Ordner \"" + History().Folder() + "\"", 0),
              0u)
        << text;
    EXPECT_TRUE(dlg.GetHistoryWriter().IsRefused());
    const std::string today = history::DayFileName(platform::LocalToday());
    EXPECT_EQ(testsupport::ReadFile(m_strMailbox + today), "");
}

// The real question, answered once with "Nein" and once with "Ja".
TEST_F(MainDlgHistoryTest, DeletingTheHistoryAsksFirstAndOnYesRemovesIt) {
    for (const int answer : {IDNO, IDYES}) {
        CMainDlg dlg(m_app);
        std::string question;
        HWND box = nullptr;
        RunWithHistory(
            dlg, {[&] {
                      dlg.GetHistoryWriter().Wait();
                      EXPECT_EQ(History().Days().size(), 1u);
                      dlg.PostMessage(WM_COMMAND, ID_EXTRAS_CLEAR_HISTORY, 0);
                      return true;
                  },
                  [&] {
                      box = testsupport::FindOwnedDialog(dlg.GetSafeHwnd());
                      return box != nullptr;
                  },
                  [&] {
                      question = StaticTexts(box);
                      ::SendMessageA(::GetDlgItem(box, answer), BM_CLICK, 0, 0);
                      return true;
                  },
                  [&] { return testsupport::FindOwnedDialog(dlg.GetSafeHwnd()) == nullptr; }});
        EXPECT_NE(question.find("Den Verlauf des Postfachs \"" + m_strMailbox + "\" l\xF6schen?"),
                  std::string::npos)
            << question;
        EXPECT_EQ(History().Days().size(), answer == IDYES ? 0u : 1u) << answer;
    }
}

TEST_F(MainDlgHistoryTest, TheDayOfTheChangeIsStoredOnlyOnceChosen) {
    {
        CMainDlg dlg(m_app);
        RunWithHistory(dlg, {[&] {
                           EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_CHANGE_WEEK));
                           return true;
                       }});
        EXPECT_FALSE(ValueExists(kMainDlgKey, "ChangeSince"));
    }
    {
        CMainDlg dlg(m_app);
        RunWithHistory(dlg, {[&] {
                                 dlg.PostMessage(WM_COMMAND, ID_VIEW_CHANGE_MONTH, 0);
                                 return true;
                             },
                             [&] {
                                 if (!IsChecked(dlg.GetSafeHwnd(), ID_VIEW_CHANGE_MONTH)) {
                                     return false;
                                 }
                                 EXPECT_FALSE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_CHANGE_WEEK));
                                 return true;
                             }});
        EXPECT_EQ(std::string("30") + '\0', Stored("ChangeSince", REG_SZ));
    }
    {
        // A day of the history: the one entry the runs above filed.
        CMainDlg dlg(m_app);
        std::vector<history::CalendarDay> offered;
        dlg.SetDayPrompt([&](HWND, const std::vector<history::CalendarDay>& days) {
            offered = days;
            return 0;
        });
        RunWithHistory(dlg, {[&] {
                                 EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_CHANGE_MONTH));
                                 dlg.PostMessage(WM_COMMAND, ID_VIEW_CHANGE_DAY, 0);
                                 return true;
                             },
                             [&] { return IsChecked(dlg.GetSafeHwnd(), ID_VIEW_CHANGE_DAY); }});
        ASSERT_EQ(offered.size(), 1u);
        EXPECT_EQ(std::string(history::DayFileName(offered[0]).substr(0, 10)) + '\0',
                  Stored("ChangeSince", REG_SZ));
    }
}

TEST_F(MainDlgHistoryTest, AStoredChoiceThatIsNoneIsLeftAsItIs) {
    Store("ChangeSince", REG_SZ, std::string("fortnight") + '\0');
    CMainDlg dlg(m_app);
    RunWithHistory(dlg, {[&] {
                       EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_CHANGE_WEEK));
                       return true;
                   }});
    EXPECT_EQ(std::string("fortnight") + '\0', Stored("ChangeSince", REG_SZ));
}

// The days offered as the window offers them: a popup at the cursor, newest first, in
// the German form; the keyboard picks the second.
TEST_F(MainDlgHistoryTest, TheDaysOfTheHistoryAreOfferedNewestFirstInAPopup) {
    const history::CalendarDay today = platform::LocalToday();
    const auto before = [&today](int days) {
        return history::DayFromNumber(history::DayNumber(today) - days);
    };
    const FolderCatalogue then = fixtures::CatalogueOf({fixtures::Record("A.PMM", "", "A", 1)});
    for (const int days : {10, 3}) {
        ASSERT_EQ(
            History().WriteDay(before(days), history::HistoryJson(then, m_strMailbox, "", "t")),
            history::WriteOutcome::kWritten);
    }
    CMainDlg dlg(m_app);
    HWND popup = nullptr;
    std::vector<std::string> items;
    RunWithHistory(dlg, {[&] {
                             dlg.GetHistoryWriter().Wait(); // today's entry is there now
                             dlg.PostMessage(WM_COMMAND, ID_VIEW_CHANGE_DAY, 0);
                             return true;
                         },
                         [&] {
                             popup = testsupport::FindPopupMenu();
                             return popup != nullptr;
                         },
                         [&] {
                             HMENU menu =
                                 reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
                             for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                                 char text[64] = "";
                                 ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
                                 items.push_back(text);
                             }
                             ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 1);
                             ::PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 1);
                             ::PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 1);
                             return true;
                         },
                         [&] { return testsupport::FindPopupMenu() == nullptr; },
                         [&] { return IsChecked(dlg.GetSafeHwnd(), ID_VIEW_CHANGE_DAY); }});
    EXPECT_EQ(items,
              (std::vector<std::string>{history::GermanDay(today), history::GermanDay(before(3)),
                                        history::GermanDay(before(10))}));
    EXPECT_EQ(history::DayFileName(before(3)).substr(0, 10) + '\0', Stored("ChangeSince", REG_SZ));
}

// The column "Änderung" against an entry ten days old: a file grown, one new since,
// one gone since as a row of its own; deleting the history empties the column.
TEST_F(MainDlgHistoryTest, TheChangeColumnComparesWithTheHistoryAndShowsTheFilesGoneSince) {
    // The entry, made from a first run's scan: the largest folder file half as large
    // then, the last one not there yet, and one that is gone now. Written on its own:
    // a history with today's entry takes no older day.
    std::string grown, added;
    {
        CMainDlg first(m_app);
        FolderCatalogue then;
        bool newMailRow = false;
        RunWithHistory(first, {[&] {
                           then = first.GetResult()->catalogue;
                           newMailRow = first.GetResult()->details.newMailRow;
                           return true;
                       }});
        std::vector<FolderRecord>& records = then.records;
        ASSERT_GE(records.size(), 3u);
        FolderRecord& largest = *std::max_element(
            records.begin() + (newMailRow ? 1 : 0), records.end() - 1,
            [](const FolderRecord& a, const FolderRecord& b) { return a.size < b.size; });
        ASSERT_GT(largest.size, 0u);
        grown = largest.fileName;
        largest.size /= 2;
        added = records.back().fileName;
        records.back() = fixtures::Record("WEG.PMM", "\\", "Weg", 4096);
        ASSERT_EQ(History().Clear(), history::ClearOutcome::kCleared);
        const history::CalendarDay tenDaysAgo =
            history::DayFromNumber(history::DayNumber(platform::LocalToday()) - 10);
        ASSERT_EQ(History().WriteDay(tenDaysAgo, history::HistoryJson(then, m_strMailbox, "", "t")),
                  history::WriteOutcome::kWritten);
    }
    CMainDlg dlg(m_app);
    dlg.SetClearPrompt([](HWND, const std::string&) { return true; });
    const auto rowOf = [&](const std::string& fileName) {
        const view::FolderRows& rows = dlg.GetFolderList().GetRows();
        for (int row = 0; row < rows.RowCount(); ++row) {
            if (rows.ModelCellText(row, view::kColumnFileName) == fileName) {
                return row;
            }
        }
        return -1;
    };
    const auto change = [&](const std::string& fileName) {
        const int row = rowOf(fileName);
        return row < 0 ? std::string("(no row)")
                       : dlg.GetFolderList().GetRows().ModelCellText(row, view::kColumnChange);
    };
    RunWithHistory(
        dlg, {[&] {
                  EXPECT_EQ(change(grown), "") << "the column is hidden";
                  EXPECT_EQ(rowOf("WEG.PMM"), -1);
                  dlg.PostMessage(WM_COMMAND, ID_VIEW_COLUMN_CHANGE, 0);
                  return true;
              },
              [&] { return dlg.GetFolderList().GetColumnCount() == 4 && rowOf("WEG.PMM") >= 0; },
              [&] {
                  EXPECT_EQ(change("WEG.PMM"), "entfernt");
                  EXPECT_EQ(change(added), "neu");
                  EXPECT_EQ(change(grown).substr(0, 1), "+") << change(grown);
                  const std::string status = testsupport::WindowText(dlg.GetStatusHwnd());
                  // Its own part, on a line of its own in a narrow window.
                  EXPECT_NE(status.find("\x96 \xC4nderung seit einer Woche: "), std::string::npos)
                      << status;
                  EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_COLUMN_CHANGE));
                  dlg.PostMessage(WM_COMMAND, ID_EXTRAS_CLEAR_HISTORY, 0);
                  return true;
              },
              [&] { return rowOf("WEG.PMM") < 0; },
              [&] {
                  EXPECT_EQ(change(grown), "") << "no entry to compare with";
                  EXPECT_EQ(testsupport::WindowText(dlg.GetStatusHwnd()).find("nderung seit"),
                            std::string::npos);
                  return true;
              }});
}

} // namespace
} // namespace uitest
