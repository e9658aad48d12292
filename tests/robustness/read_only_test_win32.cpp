// The program never writes where it reads. The main window runs through its start,
// automatic and manual refreshes, every command of its keys, menus and context menu,
// the settings dialog confirmed, the About box, the real help viewer and its closing; afterwards
// every file and directory of the mailbox, the new mail and the program's folder with its help file
// is what it was, byte for byte, with the same modification time, and none came or went. And a
// second process that holds folder files open for writing, as the mail client does, and keeps
// writing them never makes one of our opens fail, nor we one of its writes.
#include "app/html_help.h"
#include "folder_formats.h"
#include "mailbox/folder_catalogue.h"
#include "mailgen.h"
#include "main_dlg_fixture_win32.h"
#include "resource.h"
#include "snapshot_win32.h"

#include <gtest/gtest.h>

#include <htmlhelp.h>

#include <iostream>
#include <map>
#include <memory>

namespace uitest {
namespace {

// A key as the keyboard gives it to `target`, with Ctrl or Alt held down meanwhile.
void PostKeyWith(HWND target, UINT modifier, UINT key) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = modifier == VK_CONTROL ? 0x80 : 0;
    keys[VK_MENU] = modifier == VK_MENU ? 0x80 : 0;
    ::SetKeyboardState(keys);
    const bool alt = modifier == VK_MENU;
    ::PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | (alt ? 0x20000000 : 0));
}

void ReleaseModifiers() {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    keys[VK_MENU] = 0;
    ::SetKeyboardState(keys);
}

class ReadOnlyTest : public MainDlgTest {
protected:
    // Steps that open the context menu on the list and choose an item by its letter;
    // the last waits for the menu to go, unless the item ends the dialog.
    void AddContextMenuChoice(std::vector<testsupport::UiScript::Step>& steps, CMainDlg& dlg,
                              char letter, bool endsDialog = false) {
        steps.push_back([&dlg] {
            CFolderListCtrl& list = dlg.GetFolderList();
            list.PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
            list.PostMessage(WM_RBUTTONUP, 0, MAKELPARAM(40, 40));
            return true;
        });
        steps.push_back([] { return testsupport::FindPopupMenu() != nullptr; });
        steps.push_back([letter] {
            ::PostMessageA(testsupport::FindPopupMenu(), WM_CHAR, static_cast<WPARAM>(letter), 1);
            return true;
        });
        if (!endsDialog) {
            steps.push_back([] { return testsupport::FindPopupMenu() == nullptr; });
        }
    }
};

TEST_F(ReadOnlyTest, EverythingTheWindowDoesLeavesMailboxNewMailAndHelpAsTheyWere) {
    testsupport::TempDir program;
    const std::string helpFile = program / "foldtally.chm";
    ASSERT_TRUE(::CopyFileA((apptest::ModuleDirectory() + FOLDTALLY_HELP_FILE).c_str(),
                            helpFile.c_str(), TRUE));
    // Enough folder files that every refresh reads them on its helper threads too.
    m_strMailbox = m_dir / "many\\";
    m_strNewmail = m_dir / "manynew\\";
    mailgen::Options options;
    options.seed = 4343;
    options.folders = 90;
    options.brokenFolders = 6;
    mailgen::Expectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(m_strMailbox, m_strNewmail, options, expected, error)) << error;
    SetRaw("Software\\Pegasus Mail\\Mailbox", "", REG_SZ,
           m_strMailbox.substr(0, m_strMailbox.size() - 1) + '\0');
    SetRaw("Software\\Pegasus Mail\\Newmail", "", REG_SZ,
           m_strNewmail.substr(0, m_strNewmail.size() - 1) + '\0');
    Store("AutoRefresh", REG_BINARY, Byte(1));
    Store("AutoRefreshRate", REG_BINARY, Ints({1}));
    StartApp();
    m_app.SetHelpFilePath(helpFile);

    const robustness::Snapshot mailboxBefore = robustness::TakeSnapshot(m_strMailbox);
    const robustness::Snapshot newmailBefore = robustness::TakeSnapshot(m_strNewmail);
    const robustness::Snapshot programBefore = robustness::TakeSnapshot(program.Path());
    ASSERT_GT(mailboxBefore.size(), ScanThreading::kMinFilesForHelpers);
    ASSERT_GT(newmailBefore.size(), 1u);
    ASSERT_EQ(2u, programBefore.size());

    CMainDlg dlg(m_app);
    int refreshes = 0;
    auto moreRefreshes = [&](int count) {
        return [&dlg, &refreshes, count] { return dlg.GetRefreshCount() >= refreshes + count; };
    };
    auto mark = [&] {
        refreshes = dlg.GetRefreshCount();
        return true;
    };
    HWND list = nullptr;
    std::unique_ptr<testsupport::BoxCloser> boxes; // "FEHLER 001" where there is no viewer
    std::vector<testsupport::UiScript::Step> steps = {
        // The start's refresh and the worker's first.
        [&] { return dlg.GetRefreshCount() >= 2; },
        [&] {
            boxes.reset(new testsupport::BoxCloser(dlg.GetSafeHwnd()));
            return mark();
        },
        [&] {
            list = dlg.GetFolderList().GetSafeHwnd();
            PostKeyWith(list, 0, VK_F5);
            return true;
        },
        moreRefreshes(1),
        [&] {
            PostKeyWith(list, VK_CONTROL, 'K');
            return true;
        },
        moreRefreshes(2),
        [&] {
            PostKeyWith(list, VK_MENU, 'P');
            return true;
        },
        moreRefreshes(3),
        [&] {
            ReleaseModifiers();
            for (UINT command : {ID_VIEW_REFRESH, ID_VIEW_COMPACT, ID_VIEW_NEWMAIL}) {
                dlg.PostMessage(WM_COMMAND, command, 0);
            }
            dlg.PostMessage(CMainDlg::kRefreshRequest, 0, 0);
            return true;
        },
        moreRefreshes(7),
        [&] {
            PostKeyWith(list, 0, VK_F1);
            dlg.PostMessage(WM_COMMAND, ID_HELP_CONTENTS, 0);
            return true;
        },
        mark,
    };
    for (char letter : {'a', 'k', 'p', 'i', 'h'}) {
        AddContextMenuChoice(steps, dlg, letter);
    }
    steps.push_back(moreRefreshes(3));
    // The settings dialog, confirmed as it stands (it stores and refreshes), and the
    // About box; the box closer answers both with OK.
    size_t seen = 0;
    auto dialogDone = [&] {
        if (boxes->Seen().size() <= seen || !::IsWindowEnabled(dlg.GetSafeHwnd())) {
            return false;
        }
        seen = boxes->Seen().size();
        return true;
    };
    steps.push_back([&] {
        seen = boxes->Seen().size();
        mark();
        dlg.PostMessage(WM_COMMAND, ID_EXTRAS_SETTINGS, 0);
        return true;
    });
    steps.push_back(dialogDone);
    steps.push_back(moreRefreshes(1));
    steps.push_back([&] {
        dlg.PostMessage(WM_COMMAND, ID_HELP_ABOUT, 0);
        return true;
    });
    steps.push_back(dialogDone);
    // The folder tree scans the mailbox itself; its scan must leave it as it was too.
    steps.push_back([&] {
        dlg.PostMessage(WM_COMMAND, ID_VIEW_TREE, 0);
        return true;
    });
    steps.push_back(dialogDone);
    steps.push_back(mark);
    // Another refresh of the worker, then "Beenden" from the context menu.
    steps.push_back(moreRefreshes(1));
    AddContextMenuChoice(steps, dlg, 'b', true);
    EXPECT_EQ(IDOK, RunMain(dlg, steps, true, false));
    std::vector<std::string> captions;
    for (const testsupport::BoxCloser::Box& box : boxes->Seen()) {
        captions.push_back(box.caption);
    }
    boxes.reset();
    const bool helpFailed = captions.size() > 3;
    CallHtmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    // Start, worker, three keys, four commands, three menu items, the settings, the
    // worker again.
    EXPECT_GE(dlg.GetRefreshCount(), 14);
    std::cout << "help: " << (helpFailed ? "FEHLER 001 shown" : "the viewer opened") << std::endl;
    ASSERT_GE(captions.size(), 3u);
    EXPECT_EQ("Einstellungen", captions[captions.size() - 3]);
    EXPECT_EQ("Info", captions[captions.size() - 2]);
    EXPECT_EQ("Ordnerbaum", captions.back());

    EXPECT_EQ(mailboxBefore, robustness::TakeSnapshot(m_strMailbox));
    EXPECT_EQ(newmailBefore, robustness::TakeSnapshot(m_strNewmail));
    EXPECT_EQ(programBefore, robustness::TakeSnapshot(program.Path()));
}

// The row of `fileName`: folder path and name, and size; "<missing>" when there is none.
std::pair<std::string, uint64_t> RowOf(const CMainDlg& dlg, const std::string& fileName) {
    for (const FolderRecord& r : dlg.GetResult()->catalogue.records) {
        if (r.fileName == fileName) {
            return {r.folderPath + r.folderName, r.size};
        }
    }
    return {"<missing>", 0};
}

TEST_F(ReadOnlyTest, FilesHeldOpenAndWrittenByTheMailClientAreReadAtEveryRefresh) {
    const std::string mailbox = m_dir / "busy\\";
    const std::string newmail = m_dir / "busynew\\";
    ASSERT_TRUE(testsupport::MakeDirectory(mailbox));
    ASSERT_TRUE(testsupport::MakeDirectory(newmail));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "a.PMM", mailgen::PmmHeader("Gehalten", "A")));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "b.MBX", std::string(500, 'm')));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "b.PMG", mailgen::PmgHeader("Auch", "B")));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "hierarch.pm",
                                       "2,0,R,,Oben\r\n1,0,A,R,Gehalten\r\n1,0,B,A,Auch\r\n"));
    ASSERT_TRUE(testsupport::WriteFile(newmail + "n.CNM", std::string(100, 'n')));
    // Beside them, enough folders that the scan reads on its helper threads too.
    for (size_t i = 0; i < ScanThreading::kMinFilesForHelpers; ++i) {
        ASSERT_TRUE(testsupport::WriteFile(mailbox + "f" + std::to_string(i) + ".PMM",
                                           mailgen::PmmHeader("Ruhig", "F")));
    }
    Store("MailboxPathManual", REG_BINARY, Byte(1));
    Store("MailboxPath", REG_SZ, mailbox + '\0');
    Store("NewmailPath", REG_SZ, newmail + '\0');
    Store("AutoRefresh", REG_BINARY, Byte(1));
    Store("AutoRefreshRate", REG_BINARY, Ints({1}));

    const std::string suffix = std::to_string(::GetCurrentProcessId());
    const std::string readyName = "FoldtallyBusyReady" + suffix;
    const std::string stopName = "FoldtallyBusyStop" + suffix;
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
    HANDLE stop = ::CreateEventA(nullptr, TRUE, FALSE, stopName.c_str());
    ASSERT_NE(nullptr, ready);
    ASSERT_NE(nullptr, stop);
    std::string command =
        "\"" + apptest::ModuleDirectory() + "busy_writer.exe\" " + readyName + " " + stopName;
    for (const char* file : {"a.PMM", "b.MBX", "b.PMG", "hierarch.pm"}) {
        command += " \"" + mailbox + file + "\"";
    }
    command += " \"" + newmail + "n.CNM\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(ready, 20000));

    testsupport::TraceCapture trace;
    CMainDlg dlg(m_app);
    int checked = 0;
    uint64_t newMailBefore = 0;
    auto checkRows = [&] {
        EXPECT_EQ("\\Gehalten", RowOf(dlg, "a.PMM").first);
        EXPECT_GE(RowOf(dlg, "a.PMM").second, 128u);
        EXPECT_EQ("\\Gehalten\\Auch", RowOf(dlg, "b.MBX").first);
        EXPECT_GE(RowOf(dlg, "b.MBX").second, 500u);
        EXPECT_GE(RowOf(dlg, "*.CNM").second, newMailBefore);
        newMailBefore = RowOf(dlg, "*.CNM").second;
        ++checked;
    };
    // A hierarchy that cannot be opened would show warning 502, from the first refresh
    // on: closed, and counted. (The main window, a dialog without owner, ignores the
    // closer's IDOK.)
    testsupport::BoxCloser boxes;
    std::vector<testsupport::UiScript::Step> steps = {[&] {
        checkRows();
        return true;
    }};
    int before = 0;
    for (int i = 0; i < 20; ++i) {
        steps.push_back([&] {
            before = dlg.GetRefreshCount();
            dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
            return true;
        });
        steps.push_back([&] {
            if (dlg.GetRefreshCount() == before) {
                return false;
            }
            checkRows();
            return true;
        });
    }
    RunMain(dlg, steps);
    for (const testsupport::BoxCloser::Box& box : boxes.Seen()) {
        EXPECT_EQ(nullptr, box.owner) << box.text;
    }

    ::SetEvent(stop);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.hProcess, 20000));
    DWORD exitCode = 99;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(0u, exitCode) << "1: a write failed, 2: an open failed, 3: too few writes";
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(ready);
    ::CloseHandle(stop);

    EXPECT_EQ(21, checked);
    // The mail client's growing newmail file was measured, not opened; all others were
    // opened at every refresh, and none of those opens failed.
    EXPECT_GT(newMailBefore, 100u);
    for (const std::string& line : trace.Lines()) {
        EXPECT_EQ(std::string::npos, line.find("nicht zum Lesen")) << line;
    }
}

} // namespace
} // namespace uitest
