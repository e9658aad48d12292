// The window "Alle Postfächer" run in-process on its real template over a generated
// installation: what only the window shows. The rules of its rows (figures once read,
// shares, sort, status text) are tested natively in all_users_model_test and the
// reading thread in all_users_reader_test; here the rows reach the list as each
// mailbox is read, the status line counts them, Escape cancels a read and then
// closes, Enter opens the tree window of the selected user, F5 reads again, Ctrl+C
// copies the rows, placement, widths and sort go to the store and come back from it,
// and the main window opens the overview of its installation or the one chosen.
#include "mailgen_installation.h"
#include "recording_app.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "sizes/size_text.h"
#include "test_support.h"
#include "ui/all_users_dlg.h"
#include "ui/folder_tree_dlg.h"
#include "ui/main_dlg.h"
#include "ui_script_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

namespace alluserstest {

using testsupport::TempDir;
using testsupport::UiScript;

std::string ListCell(HWND list, int row, int column) {
    char text[260] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

int ListRows(HWND list) {
    return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

// The rows whose size cell shows a figure.
int RowsWithFigures(HWND list) {
    int rows = 0;
    for (int r = 0; r < ListRows(list); ++r) {
        rows += ListCell(list, r, report::kUserColumnSize).empty() ? 0 : 1;
    }
    return rows;
}

void PostKey(HWND target, UINT key) {
    ::PostMessageA(target, WM_KEYDOWN, key, 1);
    ::PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

UiScript::Step Then(std::function<void()> action) {
    return [action] {
        action();
        return true;
    };
}

// Holds the reading thread after its first row until opened, or for 10 s at most, so
// that a window that closes while the read is held fails its test instead of waiting
// for the thread forever.
struct ReadGate {
    std::atomic<bool> open{false};
    std::atomic<int> rows{0};

    static void AfterRow(void* context) {
        auto& self = *static_cast<ReadGate*>(context);
        if (++self.rows == 1) {
            const DWORD start = ::GetTickCount();
            while (!self.open.load() && ::GetTickCount() - start < 10000) {
                ::Sleep(1);
            }
        }
    }
};

std::string ClipboardText() {
    std::string text;
    if (!::OpenClipboard(nullptr)) {
        return text;
    }
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

// The tree window a user's row opened: a visible "Ordnerbaum – <user>" owned by `owner`.
HWND TreeWindowOf(HWND owner, const std::string& user) {
    HWND found = nullptr;
    for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (::GetWindow(w, GW_OWNER) == owner && ::IsWindowVisible(w) &&
            testsupport::WindowText(w) == "Ordnerbaum – " + user) {
            found = w;
        }
    }
    return found;
}

class AllUsersDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        mailgen::InstallationOptions options;
        options.seed = 7;
        options.users = 5;
        options.mailbox.folders = 6;
        options.mailbox.newMailFiles = 1;
        std::string error;
        ASSERT_TRUE(mailgen::GenerateInstallation(Root(), options, expected, error)) << error;
    }
    std::string Root() const { return dir / "MAIL\\"; }
    // Runs the dialog with `steps` once it is up; the last step should close it.
    INT_PTR Run(CAllUsersDlg& dlg, std::vector<UiScript::Step> steps) {
        steps.insert(steps.begin(),
                     [&dlg] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); });
        UiScript script(std::move(steps), 20000);
        const INT_PTR result = app.RunModal(dlg);
        EXPECT_TRUE(script.Finished()) << "the script did not run to its end";
        return result;
    }
    // The first row of a user whose mailbox is read, and that user.
    int FirstReadRow(const CAllUsersDlg& dlg, mailgen::ExpectedUser& user) const {
        for (int r = 0; r < dlg.GetModel().RowCount(); ++r) {
            const mailgen::ExpectedUser& e = expected.users[dlg.GetModel().IndexOf(r)];
            if (e.kind == mailgen::ExpectedUser::Kind::kRead) {
                user = e;
                return r;
            }
        }
        return -1;
    }

    TempDir dir;
    mailgen::InstallationExpectation expected;
    RecordingApp app;
};

// A gate after each row holds the reading thread: with one mailbox at a time, the
// whole read.
AllUsersThreading OneAtATime() {
    AllUsersThreading threading;
    threading.mailboxesAtOnce = 1;
    return threading;
}

TEST_F(AllUsersDlgTest, RowsFillInAsTheMailboxesAreReadAndTheStatusLineCounts) {
    CAllUsersDlg dlg(nullptr, app, Root(), false);
    ReadGate gate;
    dlg.GetReader().SetAfterRow(&ReadGate::AfterRow, &gate);
    dlg.GetReader().SetThreading(OneAtATime()); // the gate holds the one reader
    std::string caption;
    int rowsWhileHeld = 0;
    int figuresWhileHeld = -1;
    std::string statusWhileHeld;
    std::vector<std::string> names;
    std::string status;
    int figures = 0;
    Run(dlg, {[&] {
                  // Held after the first user: every row shows its name, one its figures.
                  HWND list = dlg.GetListHwnd();
                  if (gate.rows.load() == 0 || RowsWithFigures(list) == 0) {
                      return false;
                  }
                  caption = testsupport::WindowText(dlg.GetSafeHwnd());
                  rowsWhileHeld = ListRows(list);
                  figuresWhileHeld = RowsWithFigures(list);
                  statusWhileHeld = testsupport::WindowText(dlg.GetDlgItem(IDC_ALLUSERS_STATUS));
                  gate.open = true;
                  return true;
              },
              [&] { return dlg.GetReadCount() == 1 && !dlg.IsReading(); }, Then([&] {
                  HWND list = dlg.GetListHwnd();
                  for (int r = 0; r < ListRows(list); ++r) {
                      names.push_back(ListCell(list, r, report::kUserColumnUser));
                  }
                  figures = RowsWithFigures(list);
                  status = testsupport::WindowText(dlg.GetDlgItem(IDC_ALLUSERS_STATUS));
              }),
              Then([&] { PostKey(dlg.GetListHwnd(), VK_ESCAPE); })});
    EXPECT_EQ("Alle Postfächer", caption);
    EXPECT_EQ(static_cast<int>(expected.users.size()), rowsWhileHeld);
    EXPECT_EQ(1, figuresWhileHeld);
    EXPECT_EQ(0u, statusWhileHeld.find("Lese Postfächer: 1 von ")) << statusWhileHeld;
    // Sorted by user name as the model folds it; every read or stray mailbox has figures.
    ASSERT_EQ(expected.users.size(), names.size());
    int read = 0;
    for (const mailgen::ExpectedUser& user : expected.users) {
        read += user.kind == mailgen::ExpectedUser::Kind::kRead ||
                        user.kind == mailgen::ExpectedUser::Kind::kStray
                    ? 1
                    : 0;
    }
    EXPECT_EQ(read, figures);
    // The users of the list: a stray folder is none.
    const size_t listed =
        expected.users.size() -
        static_cast<size_t>(std::count_if(expected.users.begin(), expected.users.end(),
                                          [](const mailgen::ExpectedUser& u) {
                                              return u.kind == mailgen::ExpectedUser::Kind::kStray;
                                          }));
    const std::string counts = std::to_string(listed) + " Benutzer, " +
                               std::to_string(expected.folderFiles) + " Ordnerdateien, ";
    EXPECT_EQ(0u, status.find(counts)) << status;
    EXPECT_NE(std::string::npos,
              status.find("(" + FormatSize(expected.totalSize, SizeStyle::Exact) + " Bytes)"))
        << status;
}

TEST_F(AllUsersDlgTest, EscapeCancelsARunningReadAndClosesOnceNoneRuns) {
    CAllUsersDlg dlg(nullptr, app, Root(), false);
    ReadGate gate;
    dlg.GetReader().SetAfterRow(&ReadGate::AfterRow, &gate);
    dlg.GetReader().SetThreading(OneAtATime()); // the gate holds the one reader
    bool openAfterCancel = false;
    int figures = -1;
    std::string status;
    const INT_PTR result =
        Run(dlg, {[&] { return gate.rows.load() > 0; },
                  Then([&] { PostKey(dlg.GetListHwnd(), VK_ESCAPE); }),
                  [&] {
                      // The key is taken once the read's cancel mark is set; then the gate opens.
                      if (!::IsWindow(dlg.GetSafeHwnd())) {
                          return true;
                      }
                      gate.open = true;
                      return !dlg.IsReading();
                  },
                  Then([&] {
                      openAfterCancel = ::IsWindow(dlg.GetSafeHwnd()) && dlg.IsWindowVisible();
                      figures = RowsWithFigures(dlg.GetListHwnd());
                      status = testsupport::WindowText(dlg.GetDlgItem(IDC_ALLUSERS_STATUS));
                  }),
                  Then([&] { PostKey(dlg.GetListHwnd(), VK_ESCAPE); })});
    EXPECT_TRUE(openAfterCancel);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(0, dlg.GetReadCount()); // a cancelled read is not a complete one
    EXPECT_EQ(1, figures);            // the user read before the cancel keeps the figures
    EXPECT_EQ(std::string::npos, status.find("Lese")) << status;
    EXPECT_EQ(1, gate.rows.load()) << "the read went on after the cancel";
}

// F5, Escape while the re-read is held: the last complete figures come back with the
// word, and a held key's repeat after the read's end does not close the window.
TEST_F(AllUsersDlgTest, EscapeDuringARereadKeepsTheLastCompleteReadAndTheWindow) {
    CAllUsersDlg dlg(nullptr, app, Root(), false);
    dlg.GetReader().SetThreading(OneAtATime());
    ReadGate gate;
    std::string complete;
    std::string status;
    Run(dlg,
        {[&] { return dlg.GetReadCount() == 1 && !dlg.IsReading(); }, Then([&] {
             complete = testsupport::WindowText(dlg.GetDlgItem(IDC_ALLUSERS_STATUS));
             dlg.GetReader().SetAfterRow(&ReadGate::AfterRow, &gate);
             PostKey(dlg.GetListHwnd(), VK_F5);
         }),
         [&] { return gate.rows.load() > 0; }, Then([&] { PostKey(dlg.GetListHwnd(), VK_ESCAPE); }),
         [&] { return (gate.open = true) && !dlg.IsReading(); }, Then([&] {
             ::PostMessageA(dlg.GetListHwnd(), WM_KEYDOWN, VK_ESCAPE, 0x40000001); // held
         }),
         Then([&] { status = testsupport::WindowText(dlg.GetDlgItem(IDC_ALLUSERS_STATUS)); }),
         Then([&] { PostKey(dlg.GetListHwnd(), VK_ESCAPE); })});
    EXPECT_EQ("Neues Einlesen abgebrochen, es gilt das letzte vollst\xE4ndige: " + complete,
              status);
}

TEST_F(AllUsersDlgTest, EnterOpensTheTreeWindowOfTheSelectedUsersMailbox) {
    CAllUsersDlg dlg(nullptr, app, Root(), false);
    mailgen::ExpectedUser user;
    std::string treeStatus;
    std::string copied;
    std::string treeCopied;
    bool opened = false;
    HWND tree = nullptr;
    const auto control = [](bool down) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    };
    Run(dlg, {[&] { return dlg.GetReadCount() == 1; }, Then([&] {
                  const int row = FirstReadRow(dlg, user);
                  ASSERT_GE(row, 0);
                  HWND list = dlg.GetListHwnd();
                  LVITEMA item = {};
                  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                  item.state = item.stateMask;
                  ::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
                  ::SetFocus(list);
                  PostKey(list, VK_RETURN);
              }),
              [&] {
                  tree = TreeWindowOf(dlg.GetSafeHwnd(), user.userName);
                  if (tree == nullptr) {
                      return false;
                  }
                  treeStatus = testsupport::WindowText(::GetDlgItem(tree, IDC_TREE_STATUS));
                  if (treeStatus.find("Dateien") == std::string::npos) {
                      return false; // its scan has not ended yet
                  }
                  opened = true;
                  control(true); // Ctrl+C in the tree copies its rows
                  PostKey(::GetDlgItem(tree, IDC_TREE_LIST), 'C');
                  return true;
              },
              Then([&] {
                  control(false);
                  treeCopied = ClipboardText();
                  ::PostMessageA(tree, WM_COMMAND, IDCANCEL, 0);
              }),
              [&] { return TreeWindowOf(dlg.GetSafeHwnd(), user.userName) == nullptr; },
              // F5 reads every mailbox again; Ctrl+C copies the rows as shown.
              Then([&] { PostKey(dlg.GetListHwnd(), VK_F5); }),
              [&] { return dlg.GetReadCount() == 2; }, Then([&] {
                  ::SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_EDIT_COPY, 0);
                  copied = ClipboardText();
              }),
              Then([&] { PostKey(dlg.GetListHwnd(), VK_ESCAPE); })});
    ASSERT_TRUE(opened);
    EXPECT_EQ(0u,
              copied.find("Benutzer\tName\tOrdnerdateien\tGr\xF6\xDF"
                          "e\tAnteil\tPosteingang\tGr\xF6\xDFte Ordnerdatei\tGrenze\tBytes\r\n"))
        << copied;
    // The user's line ends with their total in plain digits.
    EXPECT_NE(std::string::npos, copied.find("\t" + std::to_string(user.totalSize) + "\r\n"))
        << copied;
    EXPECT_EQ(expected.users.size() + 1,
              static_cast<size_t>(std::count(copied.begin(), copied.end(), '\n')));
    EXPECT_EQ(0u, treeCopied.find("Ordner\tGesamt\tAnteil\t")) << treeCopied;
    // The tree scanned that user's folder: its total is the user's, new mail included.
    EXPECT_NE(std::string::npos,
              treeStatus.find("(" + FormatSize(user.totalSize, SizeStyle::Exact) + " Bytes)"))
        << treeStatus << " for " << user.userName;
}

// The export writes the rows as Ctrl+C copies them, and never below the installation's
// root: a file there is refused and the question comes again.
TEST_F(AllUsersDlgTest, TheExportWritesTheRowsAndNeverBelowTheRoot) {
    CAllUsersDlg dlg(nullptr, app, Root(), false);
    TempDir out;
    const auto read = std::find_if(expected.users.begin(), expected.users.end(), [](const auto& u) {
        return u.kind == mailgen::ExpectedUser::Kind::kRead;
    });
    ASSERT_NE(read, expected.users.end());
    const std::string inside = Root() + read->folderName + "\\alle.tsv"; // a user's folder
    const std::string outside = out / "alle.tsv";
    int asked = 0;
    dlg.SetExportPrompt([&](HWND, const std::string&, std::string& path, int& filterIndex) {
        ++asked;
        path = asked == 1 ? inside : outside;
        filterIndex = 2; // TSV
        return asked <= 2;
    });
    std::string copied;
    Run(dlg, {[&] { return dlg.GetReadCount() == 1 && !dlg.IsReading(); }, Then([&] {
                  ::SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_FILE_EXPORT, 0);
                  ::SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_EDIT_COPY, 0);
                  copied = ClipboardText();
                  PostKey(dlg.GetListHwnd(), VK_ESCAPE);
              })});
    EXPECT_EQ(2, asked);
    EXPECT_EQ(1u, app.m_errors.size()) << "the refusal is told once";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(inside.c_str()));
    const std::string written = testsupport::ReadFile(outside);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(expected.users.size() + 1,
              static_cast<size_t>(std::count(written.begin(), written.end(), '\n')));
    EXPECT_NE(std::string::npos, written.find(read->userName + "\t"));
    EXPECT_FALSE(copied.empty());
}

TEST_F(AllUsersDlgTest, PlacementWidthsAndSortGoToTheStoreAndComeBack) {
    auto& section = app.m_store.Sections()[settings_names::kSection];
    std::string selectedBefore;
    std::string selectedAfter;
    int selectedRow = -1;
    {
        CAllUsersDlg dlg(nullptr, app, Root(), false);
        Run(dlg, {[&] { return dlg.GetReadCount() == 1; }, Then([&] {
                      HWND list = dlg.GetListHwnd();
                      ::SendMessageA(list, LVM_SETCOLUMNWIDTH, report::kUserColumnUser, 133);
                      LVITEMA item = {};
                      item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
                      item.state = item.stateMask;
                      ::SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
                      selectedBefore = ListCell(list, 1, report::kUserColumnUser);
                      // By size: the largest first; a second click turns it round.
                      ::SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND,
                                     ID_VIEW_SORT_FIRST + report::kUserColumnSize, 0);
                      ::SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND,
                                     ID_VIEW_SORT_FIRST + report::kUserColumnSize, 0);
                      const int selected = static_cast<int>(::SendMessageA(
                          list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
                      selectedAfter = ListCell(list, selected, report::kUserColumnUser);
                      selectedRow = selected;
                      ::SetWindowPos(dlg.GetSafeHwnd(), nullptr, 20, 30, 800, 450,
                                     SWP_NOZORDER | SWP_NOACTIVATE);
                      PostKey(list, VK_ESCAPE);
                  })});
    }
    // The selection stays with its user whatever the order.
    EXPECT_EQ(selectedBefore, selectedAfter);
    EXPECT_NE(1, selectedRow) << "the sort left " << selectedBefore << " where it was";
    ASSERT_EQ(1u, section.count(stored_names::kAllUsersPlacement));
    ASSERT_EQ(1u, section.count(stored_names::kAllUsersColumns));
    ASSERT_EQ(1u, section.count(stored_names::kAllUsersSort));
    // Nothing of the other windows' values is written by this one.
    EXPECT_EQ(0u, section.count("Placement"));
    EXPECT_EQ(0u, section.count("TreeColumns"));

    int width = 0;
    RECT window = {};
    view::ColumnSort sort;
    std::vector<uint64_t> sizes;
    {
        CAllUsersDlg dlg(nullptr, app, Root(), false);
        Run(dlg, {[&] { return dlg.GetReadCount() == 1; }, Then([&] {
                      HWND list = dlg.GetListHwnd();
                      width = static_cast<int>(
                          ::SendMessageA(list, LVM_GETCOLUMNWIDTH, report::kUserColumnUser, 0));
                      ::GetWindowRect(dlg.GetSafeHwnd(), &window);
                      sort = dlg.GetModel().CurrentSort();
                      for (int r = 0; r < dlg.GetModel().RowCount(); ++r) {
                          sizes.push_back(dlg.GetModel().Row(r).totalSize);
                      }
                      PostKey(list, VK_ESCAPE);
                  })});
    }
    EXPECT_EQ(133, width);
    EXPECT_EQ(800, window.right - window.left);
    EXPECT_EQ(450, window.bottom - window.top);
    EXPECT_EQ(report::kUserColumnSize, sort.column);
    EXPECT_FALSE(sort.descending);
    EXPECT_TRUE(std::is_sorted(sizes.begin(), sizes.end()));
}

TEST_F(AllUsersDlgTest, ARootThatLostItsListShowsTheErrorAndNoRows) {
    ASSERT_TRUE(::DeleteFileA((Root() + "PMAIL.USR").c_str()));
    CAllUsersDlg dlg(nullptr, app, Root(), false);
    int rows = -1;
    Run(dlg, {[&] { return !dlg.IsReading(); }, Then([&] {
                  rows = ListRows(dlg.GetListHwnd());
                  PostKey(dlg.GetListHwnd(), VK_ESCAPE);
              })});
    EXPECT_EQ(0, rows);
    EXPECT_EQ(std::vector<uint32_t>{IDS_ERROR_012}, app.m_errors);
}

// The visible window `caption` owned by `owner`; null when there is none.
HWND OwnedWindow(HWND owner, const char* caption) {
    for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w != nullptr;
         w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (::GetWindow(w, GW_OWNER) == owner && ::IsWindowVisible(w) &&
            testsupport::WindowText(w) == caption) {
            return w;
        }
    }
    return nullptr;
}

// The main window's way in: Ctrl+U finds the installation of the mailbox in effect
// without a question; "Installation wählen..." asks, keeps the answer in the store and
// shows message 012 for a folder without "PMAIL.USR", then asks again.
TEST_F(AllUsersDlgTest, TheMainWindowOpensTheInstallationOfItsMailboxOrTheOneChosen) {
    TempDir history;
    TempDir elsewhere;
    mailgen::ExpectedUser user;
    for (const mailgen::ExpectedUser& e : expected.users) {
        if (e.kind == mailgen::ExpectedUser::Kind::kRead && user.folderName.empty()) {
            user = e;
        }
    }
    ASSERT_FALSE(user.folderName.empty());
    app.m_mailbox = Root() + user.folderName + "\\";
    CMainDlg dlg(app);
    dlg.SetHistoryRoot(history.Path());
    std::vector<std::string> offered;
    dlg.SetRootPrompt([&](HWND, std::string& root) {
        offered.push_back(root);
        root = elsewhere.Path();    // no "PMAIL.USR" there
        return offered.size() == 1; // then cancelled
    });
    int overviewRows = -1;
    UiScript script(
        {[&] { return dlg.GetSafeHwnd() != nullptr && dlg.GetRefreshCount() > 0; }, Then([&] {
             ::SetFocus(dlg.GetDlgItem(IDC_FOLDERLIST));
             BYTE keys[256] = {};
             ::GetKeyboardState(keys);
             keys[VK_CONTROL] = 0x80;
             ::SetKeyboardState(keys);
             PostKey(dlg.GetDlgItem(IDC_FOLDERLIST), 'U');
         }),
         [&] {
             HWND overview = OwnedWindow(dlg.GetSafeHwnd(), "Alle Postfächer");
             if (overview == nullptr) {
                 return false;
             }
             BYTE keys[256] = {};
             ::GetKeyboardState(keys);
             keys[VK_CONTROL] = 0;
             ::SetKeyboardState(keys);
             overviewRows = ListRows(::GetDlgItem(overview, IDC_ALLUSERS_LIST));
             if (overviewRows == 0) {
                 return false; // not planned yet
             }
             ::PostMessageA(overview, WM_COMMAND, IDCANCEL, 0);
             return true;
         },
         [&] { return OwnedWindow(dlg.GetSafeHwnd(), "Alle Postfächer") == nullptr; },
         Then([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_FILE_ALL_USERS_ROOT, 0); }),
         Then([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_FILE_ALL_USERS_ROOT, 0); }),
         Then([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); })},
        20000);
    app.RunModal(dlg);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(static_cast<int>(expected.users.size()), overviewRows);
    // The answer without a list is message 012, and the choice opens again on it
    // before the second command asks once more from there; the answer is kept.
    ASSERT_EQ(3u, offered.size());
    EXPECT_EQ("", offered[0]);
    EXPECT_EQ(elsewhere.Path(), offered[1]);
    EXPECT_EQ(elsewhere.Path(), offered[2]);
    EXPECT_EQ((std::vector<uint32_t>{IDS_ERROR_012}), app.m_errors);
    const auto& section = app.m_store.Sections()[settings_names::kSection];
    ASSERT_EQ(1u, section.count(stored_names::kAllUsersRoot));
    EXPECT_EQ(elsewhere.Path(), section.at(stored_names::kAllUsersRoot).bytes);
}

} // namespace alluserstest
