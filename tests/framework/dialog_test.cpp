// The framework's dialog: resource and data exchange, the modal loop and its owner, and
// exceptions that must not unwind through the platform.
#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/win_app.h"
#include "resource.h"
#include "ui_script_win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

using testsupport::UiScript;

namespace {

// The settings template has what data exchange needs: a radio group and an edit.
class ExchangeDlg : public CDialog {
public:
    explicit ExchangeDlg(HWND parent = nullptr) : CDialog(IDD_SETTINGS, parent) {}
    int m_nRadio = -1;
    CEdit m_edit;
    CButton m_check;
    int m_nExchanges = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        ++m_nExchanges;
        DDX_Control(pDX, IDC_MAILBOX_PATH, m_edit);
        DDX_Control(pDX, IDC_AUTOREFRESH, m_check);
        DDX_Radio(pDX, IDC_PATH_REGISTRY, m_nRadio);
    }
};

bool Checked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

TEST(DialogTest, DataExchangeAttachesControlsAndMovesTheRadioIndexBothWays) {
    ExchangeDlg dlg;
    dlg.m_nRadio = 1;
    UiScript script({
        [&] { return dlg.GetSafeHwnd() != nullptr; },
        [&] {
            HWND h = dlg.GetSafeHwnd();
            EXPECT_EQ(dlg.GetDlgItem(IDC_MAILBOX_PATH), dlg.m_edit.GetSafeHwnd());
            EXPECT_EQ(dlg.GetDlgItem(IDC_AUTOREFRESH), dlg.m_check.GetSafeHwnd());
            EXPECT_FALSE(Checked(h, IDC_PATH_REGISTRY));
            EXPECT_TRUE(Checked(h, IDC_PATH_MANUAL));
            ::CheckDlgButton(h, IDC_PATH_MANUAL, BST_UNCHECKED);
            ::CheckDlgButton(h, IDC_PATH_REGISTRY, BST_CHECKED);
            dlg.PostMessage(WM_COMMAND, IDOK); // OnOK reads the controls back
            return true;
        },
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(0, dlg.m_nRadio);
    EXPECT_EQ(2, dlg.m_nExchanges);
}

TEST(DialogTest, RadioIndexIsMinusOneWhenNoButtonIsChecked) {
    ExchangeDlg dlg;
    dlg.m_nRadio = -1;
    UiScript script({
        [&] { return dlg.GetSafeHwnd() != nullptr; },
        [&] {
            EXPECT_FALSE(Checked(dlg.GetSafeHwnd(), IDC_PATH_REGISTRY));
            EXPECT_FALSE(Checked(dlg.GetSafeHwnd(), IDC_PATH_MANUAL));
            dlg.m_nRadio = 7;
            dlg.UpdateData(TRUE);
            EXPECT_EQ(-1, dlg.m_nRadio);
            dlg.PostMessage(WM_COMMAND, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

#ifdef _WIN64
// The window keeps its object's address in pointer-sized window data: kept in 32 bits,
// a dialog above 4 GiB would lose it and get no message. Only the 64-bit build has
// such addresses, so only it can show the fault.
TEST(DialogTest, ADialogAboveFourGibibytesGetsItsMessages) {
    void* place = nullptr;
    for (uintptr_t at = uintptr_t{1} << 36; place == nullptr && at != 0; at <<= 1) {
        place = ::VirtualAlloc(reinterpret_cast<void*>(at), sizeof(ExchangeDlg),
                               MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    }
    ASSERT_NE(nullptr, place);
    ASSERT_GT(reinterpret_cast<uintptr_t>(place), uintptr_t{0xFFFFFFFF});
    ExchangeDlg* dlg = new (place) ExchangeDlg;
    dlg->m_nRadio = 1;
    UiScript script({
        [&] { return dlg->GetSafeHwnd() != nullptr; },
        [&] {
            dlg->PostMessage(WM_COMMAND, IDOK);
            return true;
        },
    });
    EXPECT_EQ(IDOK, dlg->DoModal());
    EXPECT_EQ(2, dlg->m_nExchanges);
    dlg->~ExchangeDlg();
    ::VirtualFree(place, 0, MEM_RELEASE);
}
#endif

TEST(DialogTest, OwnerIsDisabledWhileTheDialogRunsAndNestedRunsUnwindInOrder) {
    ExchangeDlg outer;
    ExchangeDlg* inner = nullptr;
    INT_PTR innerResult = 0;
    UiScript script({
        [&] { return outer.GetSafeHwnd() != nullptr; },
        [&] {
            // A step that runs a nested modal dialog; later steps run inside its loop.
            ExchangeDlg nested(outer.GetSafeHwnd());
            inner = &nested;
            innerResult = nested.DoModal();
            inner = nullptr;
            return true;
        },
        [&] {
            EXPECT_TRUE(outer.IsWindowEnabled());
            outer.EndDialog(42);
            return true;
        },
    });
    UiScript innerScript({
        [&] { return inner != nullptr && inner->GetSafeHwnd() != nullptr; },
        [&] {
            EXPECT_FALSE(outer.IsWindowEnabled());
            EXPECT_EQ(outer.GetSafeHwnd(), ::GetWindow(inner->GetSafeHwnd(), GW_OWNER));
            inner->EndDialog(17);
            return true;
        },
    });
    EXPECT_EQ(42, outer.DoModal());
    EXPECT_EQ(17, innerResult);
    EXPECT_EQ(nullptr, outer.GetSafeHwnd());
}

class ThrowingDlg : public ExchangeDlg {
public:
    bool m_bThrowInInit = false;

protected:
    BOOL OnInitDialog() override {
        if (m_bThrowInInit) {
            throw std::runtime_error("init");
        }
        return ExchangeDlg::OnInitDialog();
    }
    bool OnCommand(UINT id, UINT code, HWND control) override {
        if (id == ID_HELP_BUTTON) {
            throw std::runtime_error("command");
        }
        return ExchangeDlg::OnCommand(id, code, control);
    }
};

TEST(DialogTest, AnExceptionInAHandlerEndsTheDialogAndReachesTheCaller) {
    for (bool inInit : {true, false}) {
        SCOPED_TRACE(inInit ? "in WM_INITDIALOG" : "in WM_COMMAND");
        ThrowingDlg dlg;
        dlg.m_bThrowInInit = inInit;
        std::vector<UiScript::Step> steps;
        if (!inInit) {
            steps = {[&] { return dlg.GetSafeHwnd() != nullptr; },
                     [&] {
                         dlg.PostMessage(WM_COMMAND, ID_HELP_BUTTON);
                         return true;
                     }};
        }
        UiScript script(steps);
        try {
            dlg.DoModal();
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(inInit ? "init" : "command", e.what());
        }
        EXPECT_EQ(nullptr, dlg.GetSafeHwnd());
    }
}

TEST(DialogTest, MissingTemplateGivesMinusOne) {
    CDialog dlg(4711);
    EXPECT_EQ(-1, dlg.DoModal());
}

TEST(DialogTest, StringsComeFromTheTableInTheProgramsCodePage) {
    EXPECT_EQ("Ordner-Statistik für Pegasus-Mail", LoadResourceString(IDS_APP_TITLE));
    EXPECT_EQ("", LoadResourceString(4711));
}

// The tests run under a German Wine: English texts can only come from the program's own
// choice, never from the thread's locale. A dialog's menu, which the dialog manager
// loads itself, included.
TEST(DialogTest, TheProgramsLanguageChoosesStringsDialogsAndTheirMenus) {
    struct German {
        ~German() { SetResourceLanguage(Language::German); }
    } restore;
    SetResourceLanguage(Language::English);
    EXPECT_EQ("&Close", LoadResourceString(IDS_BUTTON_CLOSE));
    CDialog dlg(IDD_FOLDTALLY_DIALOG);
    std::string firstMenu;
    UiScript script({
        [&] { return dlg.GetSafeHwnd() != nullptr; },
        [&] {
            char text[64] = {};
            ::GetMenuStringA(::GetMenu(dlg.GetSafeHwnd()), 0, text, sizeof text, MF_BYPOSITION);
            firstMenu = text;
            dlg.PostMessage(WM_COMMAND, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ("&File", firstMenu);
    SetResourceLanguage(Language::German);
    EXPECT_EQ("&Schließen", LoadResourceString(IDS_BUTTON_CLOSE));
}

} // namespace
