// The main window in use: what it shows for a generated mailbox, the status line, the
// keys and commands of its menus (and not those meant for the help window), warnings 502
// and 506 with the refresh requests they drop and once only for the worker's refreshes,
// the context menu, rows that never stay selected, and the folder limit: one box a start
// with its stored silence, the marks in the size cells and the count in the status line.
#include "folder_formats.h"
#include "main_dlg_fixture_win32.h"
#include "resource.h"
#include "sizes/size_text.h"

#include <gtest/gtest.h>

#include <htmlhelp.h>

#include <algorithm>
#include <filesystem>

using testsupport::UiScript;

namespace uitest {
namespace {

const char kTitle[] = "Ordner-Statistik für Pegasus-Mail";
const char kWarning502[] =
    "WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden.";

std::vector<std::vector<std::string>> Texts(const std::vector<ExpectedRow>& rows, bool compact) {
    std::vector<std::vector<std::string>> texts;
    for (const ExpectedRow& r : rows) {
        texts.push_back({r.fileName, FormatSize(r.size, SizeStyleFor(compact)), r.folder});
    }
    return texts;
}

// A key as the keyboard gives it to the focused list, with Ctrl or Alt held down.
void PostKeyWith(HWND target, UINT modifier, UINT key) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    if (modifier != 0) {
        keys[modifier] = 0x80;
    }
    ::SetKeyboardState(keys);
    const bool alt = modifier == VK_MENU;
    const LPARAM flags = 1 | (alt ? 0x20000000 : 0);
    ::PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, flags);
}

void ReleaseModifiers() {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    keys[VK_MENU] = 0;
    ::SetKeyboardState(keys);
}

TEST_F(MainDlgTest, ShowsTheMailboxSortedByFolderNameWithTheTitleAndTotals) {
    CMainDlg dlg(m_app);
    const INT_PTR result = RunMain(
        dlg, {[&] {
            EXPECT_EQ(kTitle, dlg.GetWindowText());
            EXPECT_EQ(Texts(ExpectedRows(true), true), ListTexts(dlg.GetFolderList()));
            const int files = static_cast<int>(m_expected.folders.size()) + 1;
            const std::string status = testsupport::WindowText(dlg.GetStatusHwnd());
            EXPECT_EQ(std::to_string(files) + " Dateien, ", status.substr(0, status.find(',') + 2));
            EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_COMPACT));
            EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_NEWMAIL));
            EXPECT_EQ(1, dlg.GetRefreshCount());
            EXPECT_EQ(worker::PeriodicWorker::Idle, dlg.GetWorker().GetState());
            return true;
        }});
    EXPECT_EQ(IDOK, result);
}

// Named by the mail client's key or typed in: a new-mail directory that is not there
// puts its failure text in the new-mail row instead of a silent "0 Bytes".
TEST_F(MainDlgTest, AMissingNewMailDirectoryShowsItsFailureTextInTheNewMailRow) {
    const std::string missing = m_dir / "nirgends";
    for (const bool typed : {false, true}) {
        if (typed) {
            Store("MailboxPathManual", REG_BINARY, Byte(1));
            Store("MailboxPath", REG_SZ, m_strMailbox + '\0');
            Store("NewmailPath", REG_SZ, missing + "\\" + '\0');
        } else {
            SetRaw("Software\\Pegasus Mail\\Newmail", "", REG_SZ, missing + '\0');
        }
        StartApp();
        CMainDlg dlg(m_app);
        std::vector<std::vector<std::string>> shown;
        RunMain(dlg, {[&] {
                    shown = ListTexts(dlg.GetFolderList());
                    return true;
                }});
        std::vector<std::string> newMailRow;
        for (const std::vector<std::string>& row : shown) {
            if (!row.empty() && row[0] == "*.CNM") {
                newMailRow = row;
            }
        }
        EXPECT_EQ((std::vector<std::string>{"*.CNM", "0 Bytes",
                                            "<Posteingang-Verzeichnis konnte nicht gelesen "
                                            "werden.>"}),
                  newMailRow)
            << (typed ? "typed" : "registry");
        EXPECT_EQ(m_expected.folders.size() + 1, shown.size());
    }
}

TEST_F(MainDlgTest, StatusLineCountsTheFilesAndGivesTheTotalCompactAndExact) {
    struct Case {
        const char* what;
        int files;
        uint32_t bytesEach;
        uint32_t lastBytes;
        int newMailBytes; // -1: no new-mail row
        const char* expected;
    } cases[] = {
        {"23 files", 23, 300000, 1054321, -1, "23 Dateien, 7,3 MB (7.654.321 Bytes)"},
        {"the new-mail row alone", 0, 0, 0, 9, "1 Dateien, 9 Bytes (9 Bytes)"},
        {"nothing", 0, 0, 0, -1, "0 Dateien, 0 Bytes (0 Bytes)"},
        {"one file and new mail", 1, 0, 1024, 0, "2 Dateien, 1,0 kB (1.024 Bytes)"},
    };
    StartApp();
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Typed-in directories of their own, so the mail client's stay out of it.
        const std::string mailbox = m_dir / ("case" + std::to_string(index) + "\\");
        const std::string newmail = m_dir / ("new" + std::to_string(index++) + "\\");
        ASSERT_TRUE(testsupport::MakeDirectory(mailbox));
        ASSERT_TRUE(testsupport::MakeDirectory(newmail));
        ASSERT_TRUE(testsupport::WriteFile(mailbox + "hierarch.pm", ""));
        for (int i = 0; i < c.files; ++i) {
            const uint32_t size = i + 1 == c.files ? c.lastBytes : c.bytesEach;
            std::string bytes = mailgen::PmmHeader("Ordner " + std::to_string(i), "X");
            bytes.resize(size, 'm');
            ASSERT_TRUE(testsupport::WriteFile(mailbox + "F" + std::to_string(i) + ".PMM", bytes));
        }
        if (c.newMailBytes >= 0) {
            ASSERT_TRUE(
                testsupport::WriteFile(newmail + "1.CNM", std::string(c.newMailBytes, 'n')));
        }
        Store("MailboxPathManual", REG_BINARY, Byte(1));
        Store("MailboxPath", REG_SZ, mailbox + '\0');
        Store("NewmailPath", REG_SZ, newmail + '\0');
        Store("ShowNewMailFolder", REG_BINARY, Byte(c.newMailBytes >= 0 ? 1 : 0));
        CMainDlg dlg(m_app);
        RunMain(dlg, {[&] {
                    EXPECT_EQ(mailbox, dlg.GetMailboxPath());
                    EXPECT_EQ(newmail, dlg.GetNewmailPath());
                    EXPECT_EQ(c.expected, testsupport::WindowText(dlg.GetStatusHwnd()));
                    return true;
                }});
    }
}

TEST_F(MainDlgTest, KeysRefreshToggleTheSizeFormAndTheNewMailRow) {
    CMainDlg dlg(m_app);
    HWND list = nullptr;
    RunMain(dlg,
            {
                [&] {
                    list = dlg.GetFolderList().GetSafeHwnd();
                    ::SetFocus(list);
                    PostKeyWith(list, 0, VK_F5);
                    return true;
                },
                [&] { return dlg.GetRefreshCount() == 2; },
                [&] {
                    PostKeyWith(list, VK_CONTROL, 'K');
                    return true;
                },
                [&] {
                    ReleaseModifiers();
                    EXPECT_EQ(3, dlg.GetRefreshCount());
                    EXPECT_FALSE(dlg.GetSettings().m_bCompactFileSizes);
                    EXPECT_FALSE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_COMPACT));
                    EXPECT_EQ(Texts(ExpectedRows(true), false), ListTexts(dlg.GetFolderList()));
                    PostKeyWith(list, VK_MENU, 'P');
                    return true;
                },
                [&] {
                    ReleaseModifiers();
                    EXPECT_EQ(4, dlg.GetRefreshCount());
                    EXPECT_FALSE(dlg.GetSettings().m_bShowNewMailFolder);
                    EXPECT_FALSE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_NEWMAIL));
                    EXPECT_EQ(Texts(ExpectedRows(false), false), ListTexts(dlg.GetFolderList()));
                    const std::string status = testsupport::WindowText(dlg.GetStatusHwnd());
                    EXPECT_EQ(std::to_string(m_expected.folders.size()) + " Dateien",
                              status.substr(0, status.find(',')));
                    // Back again: the rows come back with the compact form.
                    dlg.PostMessage(WM_COMMAND, ID_VIEW_COMPACT, 0);
                    dlg.PostMessage(WM_COMMAND, ID_VIEW_NEWMAIL, 0);
                    return true;
                },
                [&] {
                    EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_COMPACT));
                    EXPECT_TRUE(IsChecked(dlg.GetSafeHwnd(), ID_VIEW_NEWMAIL));
                    EXPECT_EQ(Texts(ExpectedRows(true), true), ListTexts(dlg.GetFolderList()));
                    return true;
                },
            });
}

// With the folder tree gone, every refresh that wants paths warns, unless told not to.
class MissingTreeTest : public MainDlgTest {
protected:
    void SetUp() override {
        MainDlgTest::SetUp();
        ASSERT_TRUE(testsupport::RemoveFile(m_strMailbox + "hierarch.pm"));
    }
};

TEST_F(MissingTreeTest, Warning502AppearsAndRefreshRequestsMeanwhileAreDropped) {
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    int ticks = 0;
    RunMain(dlg,
            {
                testsupport::OwnedDialogStep(dlg, box),
                [&] {
                    EXPECT_EQ("WARNUNG", testsupport::WindowText(box));
                    EXPECT_EQ(kWarning502, StaticTexts(box));
                    EXPECT_FALSE(::IsWindowEnabled(dlg.GetSafeHwnd()));
                    // The worker's request and F5 arrive while the box is open.
                    dlg.PostMessage(CMainDlg::kRefreshRequest, 0, 0);
                    dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                    return true;
                },
                [&] { return ++ticks == 5; },
                [&] {
                    EXPECT_EQ(1, CountOwnedDialogs(dlg.GetSafeHwnd()));
                    EXPECT_EQ(1, dlg.GetRefreshCount());
                    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return true;
                },
                WaitUntilShown(dlg),
                [&] { return ++ticks == 10; },
                [&] {
                    // Dropped, not queued: no second refresh and no second box.
                    EXPECT_EQ(1, dlg.GetRefreshCount());
                    EXPECT_EQ(0, CountOwnedDialogs(dlg.GetSafeHwnd()));
                    // The list is filled from what the scan found, without paths.
                    std::vector<ExpectedRow> rows;
                    for (const mailgen::ExpectedRow& r : m_expected.folders) {
                        rows.push_back({r.fileName, r.folderName, r.size});
                    }
                    rows.push_back({"*.CNM", "<Posteingang>", m_expected.newMailSize});
                    EXPECT_EQ(Texts(SortedRows(rows, 2, false, {0, 1, 2}), true),
                              ListTexts(dlg.GetFolderList()));
                    return true;
                },
            },
            false);
}

TEST_F(MissingTreeTest, WorkerRefreshesWarnOnceUntilTheFileWasReadableInBetween) {
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    int count = 0;
    int ticks = 0;
    auto findBox = testsupport::OwnedDialogStep(dlg, box);
    auto closeBox = [&] {
        EXPECT_EQ(kWarning502, StaticTexts(box));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    };
    // One refresh by `message` (the worker's request or F5); then, a few ticks later,
    // whether a box is open.
    auto refreshBy = [&](UINT message, WPARAM wParam) -> std::vector<UiScript::Step> {
        return {[&, message, wParam] {
                    count = dlg.GetRefreshCount();
                    ticks = 0;
                    dlg.PostMessage(message, wParam, 0);
                    return true;
                },
                [&] { return dlg.GetRefreshCount() == count + 1 && ++ticks == 5; }};
    };
    auto noBox = [&] {
        EXPECT_EQ(0, CountOwnedDialogs(dlg.GetSafeHwnd())) << "refresh " << count + 1;
        return true;
    };
    std::vector<UiScript::Step> steps = {
        findBox,
        [&] {
            // The list and the status line are filled before the box opens.
            EXPECT_EQ(static_cast<int>(m_expected.folders.size()) + 1,
                      dlg.GetFolderList().GetItemCount());
            const std::string status = testsupport::WindowText(dlg.GetStatusHwnd());
            EXPECT_EQ(std::to_string(m_expected.folders.size() + 1) + " Dateien, ",
                      status.substr(0, status.find(',') + 2));
            return closeBox();
        },
        WaitUntilShown(dlg),
    };
    auto add = [&steps](std::vector<UiScript::Step> more) {
        steps.insert(steps.end(), more.begin(), more.end());
    };
    // Still missing: the worker's refreshes say nothing more.
    add(refreshBy(CMainDlg::kRefreshRequest, 0));
    add({noBox});
    add(refreshBy(CMainDlg::kRefreshRequest, 0));
    add({noBox});
    // Readable in between, then gone again: told once more.
    add({[&] { return testsupport::WriteFile(m_strMailbox + "hierarch.pm", ""); }});
    add(refreshBy(CMainDlg::kRefreshRequest, 0));
    add({noBox, [&] { return testsupport::RemoveFile(m_strMailbox + "hierarch.pm"); }});
    add({[&] {
             count = dlg.GetRefreshCount();
             dlg.PostMessage(CMainDlg::kRefreshRequest, 0, 0);
             return true;
         },
         findBox, closeBox, WaitUntilShown(dlg)});
    add(refreshBy(CMainDlg::kRefreshRequest, 0));
    add({noBox});
    // F5 tells it whenever it applies.
    add({[&] {
             dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
             return true;
         },
         findBox, closeBox, WaitUntilShown(dlg)});
    RunMain(dlg, steps, false);
}

// A missing mailbox directory is named, once for the worker's refreshes, again for F5.
TEST_F(MainDlgTest, AMissingMailboxDirectoryIsNamedByWarning506AndTheStatusLine) {
    std::filesystem::rename(m_strMailbox, m_dir / "weg");
    const std::string sentence =
        "Das Postfach-Verzeichnis \"" + m_strMailbox + "\" kann nicht gelesen werden.";
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    int ticks = 0;
    auto findBox = testsupport::OwnedDialogStep(dlg, box);
    auto closeBox = [&] {
        EXPECT_EQ("WARNUNG 506: " + sentence, StaticTexts(box));
        EXPECT_EQ(sentence, testsupport::StatusLineText(dlg.GetStatusHwnd()));
        return ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    };
    auto post = [&](UINT msg, WPARAM wParam) {
        return [&dlg, msg, wParam] { return dlg.PostMessage(msg, wParam, 0); };
    };
    RunMain(dlg,
            {findBox, closeBox, WaitUntilShown(dlg), post(CMainDlg::kRefreshRequest, 0),
             [&] { return dlg.GetRefreshCount() == 2 && ++ticks == 5; },
             [&] { return CountOwnedDialogs(dlg.GetSafeHwnd()) == 0; }, // else the script times out
             post(WM_COMMAND, ID_VIEW_REFRESH), findBox, closeBox, WaitUntilShown(dlg)},
            false);
}

TEST_F(MainDlgTest, KeysForTheHelpWindowDoNotReachTheMainWindow) {
    HWND help = nullptr;
    m_app.SetHelpViewer([&](HWND owner, const char*, UINT, DWORD_PTR) {
        // A window of the thread that is no child of the main window, as the viewer's.
        help = ::CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, owner,
                                 nullptr, nullptr, nullptr);
        return help;
    });
    CMainDlg dlg(m_app);
    int count = 0;
    int ticks = 0;
    RunMain(dlg, {
                     [&] {
                         dlg.PostMessage(WM_COMMAND, ID_HELP_WINDOW, 0);
                         return true;
                     },
                     [&] { return help != nullptr; },
                     [&] {
                         count = dlg.GetRefreshCount();
                         ::SetFocus(help);
                         PostKeyWith(help, VK_CONTROL, 'K');
                         PostKeyWith(help, VK_CONTROL, 'E');
                         PostKeyWith(help, 0, VK_F5);
                         return true;
                     },
                     [&] { return ++ticks == 5; },
                     [&] {
                         EXPECT_TRUE(dlg.GetSettings().m_bCompactFileSizes);
                         EXPECT_EQ(count, dlg.GetRefreshCount());
                         EXPECT_EQ(0, CountOwnedDialogs(dlg.GetSafeHwnd()));
                         // The same keys for the main window's list still act.
                         PostKeyWith(dlg.GetFolderList().GetSafeHwnd(), VK_CONTROL, 'K');
                         return true;
                     },
                     [&] { return !dlg.GetSettings().m_bCompactFileSizes; },
                     [&] {
                         ReleaseModifiers();
                         ::DestroyWindow(help);
                         return true;
                     },
                 });
    ReleaseModifiers();
}

TEST_F(MissingTreeTest, NoWarningWhenTheWarningIsSwitchedOffOrPathsAreNotWanted) {
    const std::pair<const char*, const char*> settings[] = {{"WarnFolderPath", "warning off"},
                                                            {"ShowFolderPath", "paths off"}};
    StartApp();
    for (const auto& [name, what] : settings) {
        SCOPED_TRACE(what);
        Store("WarnFolderPath", REG_BINARY, Byte(1));
        Store("ShowFolderPath", REG_BINARY, Byte(1));
        Store(name, REG_BINARY, Byte(0));
        CMainDlg dlg(m_app);
        RunMain(dlg, {[&] {
                          dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                          return true;
                      },
                      [&] {
                          EXPECT_EQ(2, dlg.GetRefreshCount());
                          EXPECT_EQ(0, CountOwnedDialogs(dlg.GetSafeHwnd()));
                          EXPECT_EQ(static_cast<int>(m_expected.folders.size()) + 1,
                                    dlg.GetFolderList().GetItemCount());
                          return true;
                      }});
    }
}

// The tree window shows the main window's scan, without reading the mailbox again,
// and then each scan the main window makes while it is open.
TEST_F(MainDlgTest, TheTreeWindowShowsTheMainWindowsScansInsteadOfItsOwn) {
    CMainDlg dlg(m_app);
    HWND tree = nullptr;
    // The files the main window and the tree window count, after the first scan and after
    // a refresh.
    std::vector<std::pair<std::string, std::string>> counts;
    const auto files = [](HWND status) {
        const std::string text = testsupport::WindowText(status);
        return text.substr(0, text.find(' '));
    };
    const auto note = [&] {
        counts.emplace_back(files(dlg.GetStatusHwnd()), files(::GetDlgItem(tree, IDC_TREE_STATUS)));
    };
    std::string bytes = mailgen::PmmHeader("Neu", "NEU");
    bytes.resize(500, 'm');
    RunMain(dlg, {[&] {
                      // A folder file the main window's scan has not seen.
                      EXPECT_TRUE(testsupport::WriteFile(m_strMailbox + "NEU.PMM", bytes));
                      dlg.PostMessage(WM_COMMAND, ID_VIEW_TREE, 0);
                      return true;
                  },
                  [&] {
                      tree = testsupport::FindOwnedDialog(dlg.GetSafeHwnd());
                      return tree != nullptr &&
                             !testsupport::WindowText(::GetDlgItem(tree, IDC_TREE_STATUS)).empty();
                  },
                  [&] {
                      note();
                      dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                      return true;
                  },
                  [&] { return dlg.GetRefreshCount() == 2; },
                  [&] {
                      note();
                      ::PostMessageA(tree, WM_COMMAND, IDCANCEL, 0);
                      return true;
                  },
                  [&] { return testsupport::FindOwnedDialog(dlg.GetSafeHwnd()) == nullptr; }});
    ASSERT_EQ(2u, counts.size());
    EXPECT_EQ(counts[0].first, counts[0].second) << "the tree window read the mailbox again";
    EXPECT_EQ(counts[1].first, counts[1].second) << "the tree window kept the first scan";
    EXPECT_NE(counts[0].first, counts[1].first);
}

TEST_F(MainDlgTest, ClickedRowsNeverStaySelected) {
    CMainDlg dlg(m_app);
    RunMain(dlg, {
                     [&] {
                         CFolderListCtrl& list = dlg.GetFolderList();
                         RECT row = {LVIR_BOUNDS, 0, 0, 0};
                         list.SendMessage(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
                         const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
                         list.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
                         list.PostMessage(WM_LBUTTONUP, 0, at);
                         return true;
                     },
                     [&] {
                         CFolderListCtrl& list = dlg.GetFolderList();
                         EXPECT_EQ(0, list.SendMessage(LVM_GETSELECTEDCOUNT));
                         // Selected from code as well: taken away at once.
                         list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED,
                                           LVIS_SELECTED | LVIS_FOCUSED);
                         EXPECT_EQ(0, list.SendMessage(LVM_GETSELECTEDCOUNT));
                         EXPECT_EQ(-1, list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                        LVNI_FOCUSED));
                         return true;
                     },
                 });
}

TEST_F(MainDlgTest, EnterEscapeAndCloseMessagesLeaveTheWindowOpen) {
    CMainDlg dlg(m_app);
    int ticks = 0;
    UiScript::Step post = [&] {
        HWND list = dlg.GetFolderList().GetSafeHwnd();
        ::SetFocus(list);
        PostKeyWith(list, 0, VK_RETURN);
        PostKeyWith(list, 0, VK_ESCAPE);
        dlg.PostMessage(WM_COMMAND, IDOK, 0);
        dlg.PostMessage(WM_COMMAND, IDCANCEL, 0);
        dlg.PostMessage(WM_CLOSE, 0, 0);
        dlg.PostMessage(WM_SYSCOMMAND, SC_MINIMIZE + 1, 0); // not exactly SC_CLOSE
        return true;
    };
    const INT_PTR result = RunMain(dlg,
                                   {post, [&] { return ++ticks == 10; },
                                    [&] {
                                        EXPECT_TRUE(dlg.IsWindowVisible());
                                        dlg.PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
                                        return true;
                                    }},
                                   true, false);
    EXPECT_EQ(IDOK, result);
}

struct HelpCall {
    HWND owner;
    std::string path;
    UINT command;
};

TEST_F(MainDlgTest, MenuCommandsRefreshOpenHelpAboutAndSettings) {
    std::vector<HelpCall> calls;
    m_app.SetHelpViewer([&](HWND owner, const char* path, UINT command, DWORD_PTR) {
        calls.push_back({owner, path, command});
        return owner; // a window: the viewer opened
    });
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    auto findBox = [&] {
        box = testsupport::FindOwnedDialog(dlg.GetSafeHwnd());
        return box != nullptr;
    };
    RunMain(dlg, {
                     [&] {
                         dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                         dlg.PostMessage(CMainDlg::kRefreshRequest, 0, 0);
                         dlg.PostMessage(WM_COMMAND, ID_HELP_CONTENTS, 0);
                         dlg.PostMessage(WM_COMMAND, ID_HELP_WINDOW, 0);
                         return true;
                     },
                     [&] {
                         // The worker's request came while F5's scan ran: that scan
                         // answers it.
                         EXPECT_EQ(2, dlg.GetRefreshCount());
                         EXPECT_EQ(2u, calls.size());
                         dlg.PostMessage(WM_COMMAND, ID_HELP_ABOUT, 0);
                         return true;
                     },
                     findBox,
                     [&] {
                         EXPECT_EQ("Info", testsupport::WindowText(box));
                         EXPECT_EQ(m_strMailbox,
                                   testsupport::WindowText(::GetDlgItem(box, IDC_ABOUT_MAILBOX)));
                         EXPECT_EQ(m_strNewmail,
                                   testsupport::WindowText(::GetDlgItem(box, IDC_ABOUT_NEWMAIL)));
                         ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                         return true;
                     },
                     WaitUntilShown(dlg),
                     [&] {
                         dlg.PostMessage(WM_COMMAND, ID_EXTRAS_SETTINGS, 0);
                         return true;
                     },
                     findBox,
                     [&] {
                         EXPECT_EQ("Einstellungen", testsupport::WindowText(box));
                         ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                         return true;
                     },
                     WaitUntilShown(dlg),
                     [&] {
                         // Cancelled: nothing stored, nothing refreshed.
                         EXPECT_FALSE(ValueExists(kMainDlgKey, "Placement"));
                         EXPECT_EQ(2, dlg.GetRefreshCount());
                         dlg.GetSettings().m_bCompactFileSizes = false;
                         dlg.PostMessage(WM_COMMAND, ID_EXTRAS_SETTINGS, 0);
                         return true;
                     },
                     findBox,
                     [&] {
                         ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                         return true;
                     },
                     [&] { return dlg.GetRefreshCount() == 3; },
                     [&] {
                         // Confirmed: stored at once, and scanned again.
                         EXPECT_EQ(Byte(0), Stored("CompactFileSizes", REG_BINARY));
                         EXPECT_EQ(Texts(ExpectedRows(true), false),
                                   ListTexts(dlg.GetFolderList()));
                         return true;
                     },
                 });
    ASSERT_EQ(2u, calls.size());
    const std::string help = apptest::ModulePathWithExtension(".chm");
    EXPECT_EQ(help, calls[0].path);
    EXPECT_EQ(help + "::/pages/ref_dlg_main.htm", calls[1].path);
    for (const HelpCall& call : calls) {
        EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TOPIC), call.command);
        EXPECT_NE(nullptr, call.owner);
    }
}

TEST_F(MainDlgTest, RightClicksOpenTheContextMenuWithTheCurrentChecks) {
    CMainDlg dlg(m_app);
    HWND popup = nullptr;
    auto waitForMenu = [&] {
        popup = testsupport::FindPopupMenu();
        return popup != nullptr;
    };
    auto checkAndClose = [&] {
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
        EXPECT_EQ(16, ::GetMenuItemCount(menu));
        EXPECT_EQ(0u, ::GetMenuState(menu, ID_VIEW_COMPACT, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED),
                  ::GetMenuState(menu, ID_VIEW_NEWMAIL, MF_BYCOMMAND) & MF_CHECKED);
        ::EndMenu();
        return true;
    };
    RunMain(dlg, {
                     [&] {
                         dlg.PostMessage(WM_COMMAND, ID_VIEW_COMPACT, 0);
                         CFolderListCtrl& list = dlg.GetFolderList();
                         list.PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
                         list.PostMessage(WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
                         return true;
                     },
                     waitForMenu,
                     checkAndClose,
                     [&] { return testsupport::FindPopupMenu() == nullptr; },
                     [&] {
                         // The free client area below the status line.
                         const RECT client = dlg.GetClientRect();
                         dlg.PostMessage(WM_RBUTTONDOWN, MK_RBUTTON,
                                         MAKELPARAM(client.right / 2, client.bottom - 2));
                         return true;
                     },
                     waitForMenu,
                     checkAndClose,
                     [&] { return testsupport::FindPopupMenu() == nullptr; },
                 });
}

} // namespace
} // namespace uitest

namespace uitest {
namespace {

// Folder files near and over the mail client's limit, sparse, beside the generated ones.
class OverLimitTest : public MainDlgTest {
protected:
    void SetUp() override {
        MainDlgTest::SetUp();
        const uint64_t gib = 1024ull * 1024 * 1024;
        Sparse("BIG.PMM", mailgen::PmmHeader("Riesig", "BIGID"), 2 * gib);
        Sparse("NEAR.PMM", mailgen::PmmHeader("Fast voll", "NEARID"), 3 * gib / 2);
    }
    void Sparse(const std::string& name, const std::string& head, uint64_t size) {
        ASSERT_TRUE(testsupport::WriteFile(m_strMailbox + name, head));
        std::error_code ec;
        std::filesystem::resize_file(m_strMailbox + name, size, ec);
        ASSERT_FALSE(ec) << ec.message();
    }
    // The shown cells of the row of `fileName`, joined by "|".
    static std::string Row(const CListCtrl& list, const std::string& fileName) {
        for (const std::vector<std::string>& row : ListTexts(list)) {
            if (!row.empty() && row[0] == fileName) {
                std::string text;
                for (const std::string& cell : row) {
                    text += cell + "|";
                }
                return text;
            }
        }
        return "";
    }
};

TEST_F(OverLimitTest, Warning504ComesOncePerFileAndStartAndTheSizesAndStatusShowTheLimit) {
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    int ticks = 0;
    RunMain(dlg,
            {
                testsupport::OwnedDialogStep(dlg, box),
                [&] {
                    const std::string text = StaticTexts(box);
                    EXPECT_EQ(0u, text.find("WARNUNG 504: Der Ordner \"")) << text;
                    EXPECT_NE(std::string::npos, text.find("Riesig\" (Datei \"BIG.PMM\")")) << text;
                    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return true;
                },
                WaitUntilShown(dlg),
                [&] {
                    // The worker's request and F5: the file is still over, and told of once.
                    dlg.PostMessage(CMainDlg::kRefreshRequest, 0, 0);
                    dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                    return true;
                },
                [&] { return dlg.GetRefreshCount() == 3 && ++ticks == 5; },
                [&] {
                    EXPECT_EQ(0, CountOwnedDialogs(dlg.GetSafeHwnd()));
                    const std::string status = testsupport::WindowText(dlg.GetStatusHwnd());
                    EXPECT_NE(std::string::npos, status.find("Grenze von 2 GB: 1 Ordner dar\xFC"
                                                             "ber, 1 nahe daran"))
                        << status;
                    const CFolderListCtrl& list = dlg.GetFolderList();
                    EXPECT_NE(std::string::npos, Row(list, "BIG.PMM").find("|!! 2,0 GB|"))
                        << Row(list, "BIG.PMM");
                    EXPECT_NE(std::string::npos, Row(list, "NEAR.PMM").find("|! 1,5 GB|"))
                        << Row(list, "NEAR.PMM");
                    return true;
                },
            },
            false);
}

// One box names all files over the limit; its stored tick keeps the next start silent.
TEST_F(OverLimitTest, SeveralFilesComeInOneBoxWhoseTickIsStoredForTheNextStart) {
    Sparse("HUGE.PMM", mailgen::PmmHeader("Archiv", "HUGEID"), 3 * testsupport::kGiB);
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    RunMain(dlg,
            {testsupport::OwnedDialogStep(dlg, box),
             [&] {
                 const std::string text = StaticTexts(box);
                 EXPECT_EQ(0u, text.find("WARNUNG 507: 2 Ordner sind 2 GB")) << text;
                 EXPECT_NE(std::string::npos, text.find("Riesig\" (Datei \"BIG.PMM\")\n"));
                 EXPECT_NE(std::string::npos, text.find("Archiv\" (Datei \"HUGE.PMM\")"));
                 ::SendMessageA(::GetDlgItem(box, IDC_LIMIT_SILENCE), BM_CLICK, 0, 0);
                 return ::PostMessageA(box, WM_COMMAND, IDOK, 0);
             },
             WaitUntilShown(dlg)},
            false);
    const std::string stored = Stored("SilencedOverLimit", REG_SZ);
    EXPECT_NE(std::string::npos, stored.find(dlg.GetMailboxPath() + "BIG.PMM|")) << stored;
    EXPECT_NE(std::string::npos, stored.find(dlg.GetMailboxPath() + "HUGE.PMM|")) << stored;
    CMainDlg again(m_app);
    int ticks = 0;
    RunMain(again, {[&] { return ++ticks == 5 && CountOwnedDialogs(again.GetSafeHwnd()) == 0; }});
}

} // namespace
} // namespace uitest
