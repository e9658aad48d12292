// Two copies of the program open at once: while this main window and its folder tree
// are open, another copy stores its own state in the same registry key. Closing this
// one unchanged keeps every value the other stored; what this one changed is written.
#include "main_dlg_fixture_win32.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <map>

using testsupport::UiScript;

namespace uitest {
namespace {

struct StoredValue {
    DWORD type;
    std::string bytes;
};

// What the other copy stores: every value of the section, each different from a first
// start's and each in its own form.
std::map<std::string, StoredValue> OtherCopysState() {
    return {
        {"Placement", {REG_BINARY, Ints({44, 0, 1, -1, -1, -1, -1, 30, 40, 630, 540})}},
        {"Columns", {REG_BINARY, Ints({90, 70, 180})}},
        {"ColumnsDpi", {REG_BINARY, Ints({120})}},
        {"ColOrder", {REG_BINARY, Ints({1, 2, 0})}},
        {"Sort", {REG_BINARY, Ints({1, 1})}},
        {"TreePlacement", {REG_BINARY, Ints({44, 0, 1, -1, -1, -1, -1, 50, 60, 650, 560})}},
        {"TreeColumns", {REG_BINARY, Ints({210, 81, 131, 91, 61, 111})}},
        {"TreeColumnsDpi", {REG_BINARY, Ints({120})}},
        {"AutoRefresh", {REG_BINARY, Byte(1)}},
        {"AutoRefreshRate", {REG_BINARY, Ints({33})}},
        {"ShowFolderPath", {REG_BINARY, Byte(0)}},
        {"WarnFolderPath", {REG_BINARY, Byte(0)}},
        {"MailboxPathManual", {REG_BINARY, Byte(1)}},
        {"MailboxPath", {REG_SZ, std::string("C:\\Anders\\") + '\0'}},
        {"NewmailPath", {REG_SZ, std::string("C:\\Anders neu\\") + '\0'}},
        {"CompactFileSizes", {REG_BINARY, Byte(0)}},
        {"ShowNewMailFolder", {REG_BINARY, Byte(0)}},
    };
}

class TwoRunsTest : public MainDlgTest {
protected:
    // A first run that opened the folder tree too, so every value is stored.
    void StoreAFirstRun() {
        CMainDlg first(m_app);
        RunMain(first, OpenAndCloseTree(first, [] { return true; }));
        for (const auto& [name, value] : OtherCopysState()) {
            Stored(name, value.type);
        }
    }

    // Opens the folder tree, runs `meanwhile` while it is open, closes it.
    std::vector<UiScript::Step> OpenAndCloseTree(CMainDlg& dlg, UiScript::Step meanwhile) {
        return {[&dlg] {
                    dlg.PostMessage(WM_COMMAND, ID_VIEW_TREE, 0);
                    return true;
                },
                [this, &dlg] {
                    m_hTree = testsupport::FindOwnedDialog(dlg.GetSafeHwnd());
                    return m_hTree != nullptr && ::IsWindowVisible(m_hTree);
                },
                meanwhile,
                [this] {
                    ::PostMessageA(m_hTree, WM_COMMAND, IDCANCEL, 0);
                    return true;
                },
                [&dlg] { return testsupport::FindOwnedDialog(dlg.GetSafeHwnd()) == nullptr; }};
    }

    void OtherCopySaves(const char* except = "") {
        for (const auto& [name, value] : OtherCopysState()) {
            if (name != except) {
                Store(name, value.type, value.bytes);
            }
        }
    }

    HWND m_hTree = nullptr;
};

TEST_F(TwoRunsTest, ClosingUnchangedKeepsWhatAnotherCopyStoredMeanwhile) {
    StoreAFirstRun();
    CMainDlg dlg(m_app);
    RunMain(dlg, OpenAndCloseTree(dlg, [this] {
                OtherCopySaves();
                return true;
            }));
    for (const auto& [name, value] : OtherCopysState()) {
        EXPECT_EQ(value.bytes, Stored(name, value.type)) << name;
    }
}

TEST_F(TwoRunsTest, WhatThisCopyChangedIsWrittenBesideTheOthersValues) {
    StoreAFirstRun();
    CMainDlg dlg(m_app);
    std::vector<UiScript::Step> steps = OpenAndCloseTree(dlg, [this] {
        OtherCopySaves("ShowNewMailFolder");
        ::SendMessageA(::GetDlgItem(m_hTree, IDC_TREE_LIST), LVM_SETCOLUMNWIDTH, 1, 99);
        return true;
    });
    steps.push_back([&dlg] {
        dlg.PostMessage(WM_COMMAND, ID_VIEW_NEWMAIL, 0); // shown at first: now hidden
        dlg.GetFolderList().SetSort(0, false);
        return true;
    });
    RunMain(dlg, steps);
    std::map<std::string, StoredValue> expected = OtherCopysState();
    expected["ShowNewMailFolder"].bytes = Byte(0);
    expected["Sort"].bytes = Ints({0, 0});
    // A value is written whole: this copy's widths, the one it changed among them.
    expected["TreeColumns"].bytes = Ints({230, 99, 130, 106, 60, 110, 90});
    // And with them the DPI they were made for, the other's widths' DPI replaced.
    expected["TreeColumnsDpi"].bytes = Ints({96});
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(value.bytes, Stored(name, value.type)) << name;
    }
}

} // namespace
} // namespace uitest
