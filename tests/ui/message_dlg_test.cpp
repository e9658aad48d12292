// The message box driven in-process: its controls where the dialog units put them, the
// help button only with a callback, F1 and the button asking for help without closing,
// and the closing call that arrives exactly once whichever way the box ends.
#include "ui/message_dlg.h"
#include "ui_script_win32.h"

#include <gtest/gtest.h>

#include <vector>

using testsupport::ChildRect;
using testsupport::DialogUnitsToPixels;
using testsupport::PostKey;
using testsupport::UiScript;

namespace {

struct HelpCall {
    uint32_t code;
    uint32_t messageId;
    void* context;
    CMessageDlg* dialog;
};

std::vector<HelpCall>* g_calls = nullptr;

int RecordHelp(uint32_t code, uint32_t messageId, void* context, CMessageDlg* dialog) {
    g_calls->push_back({code, messageId, context, dialog});
    return 0;
}

class MessageDlgTest : public testing::Test {
protected:
    void SetUp() override { g_calls = &m_calls; }
    void TearDown() override { g_calls = nullptr; }
    std::vector<HelpCall> m_calls;
};

HWND ChildWithId(HWND dialog, int id, const char* className) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        ::GetClassNameA(child, name, sizeof name);
        if (::GetDlgCtrlID(child) == id && lstrcmpiA(name, className) == 0) {
            return child;
        }
    }
    return nullptr;
}

// The static that shows an icon, or the one that shows text.
HWND StaticChild(HWND dialog, bool iconStatic) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        ::GetClassNameA(child, name, sizeof name);
        const bool isIcon = (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (lstrcmpiA(name, "Static") == 0 && isIcon == iconStatic) {
            return child;
        }
    }
    return nullptr;
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

struct LayoutCase {
    int iconKind;
    bool withHelp;
    LPCSTR systemIcon; // null: no icon expected
};

void ExpectLayout(CMessageDlg& box, const LayoutCase& c) {
    HWND h = box.GetSafeHwnd();
    EXPECT_EQ("WARNUNG", testsupport::WindowText(h));
    const RECT client = box.GetClientRect();
    const RECT size = DialogUnitsToPixels(h, 0, 0, 260, 70);
    EXPECT_EQ(size.right, client.right);
    EXPECT_EQ(size.bottom, client.bottom);

    HWND text = StaticChild(h, false);
    HWND icon = StaticChild(h, true);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ("Größe der Ordner: 17 Einträge.", testsupport::WindowText(text));
    EXPECT_EQ(CMessageDlg::kTextId, ::GetDlgCtrlID(text));
    if (c.systemIcon != nullptr) {
        ASSERT_NE(nullptr, icon);
        EXPECT_EQ(CMessageDlg::kTextId, ::GetDlgCtrlID(icon));
        const RECT at = ChildRect(icon);
        const RECT expected = DialogUnitsToPixels(h, 7, 7, 0, 0);
        EXPECT_EQ(expected.left, at.left);
        EXPECT_EQ(expected.top, at.top);
        EXPECT_EQ(reinterpret_cast<LRESULT>(::LoadIconA(nullptr, c.systemIcon)),
                  ::SendMessageA(icon, STM_GETICON, 0, 0));
        ExpectRect(DialogUnitsToPixels(h, 35, 7, 218, 42), ChildRect(text), "text");
    } else {
        EXPECT_EQ(nullptr, icon);
        ExpectRect(DialogUnitsToPixels(h, 7, 7, 246, 42), ChildRect(text), "text");
    }

    HWND close = ChildWithId(h, IDOK, "Button");
    ASSERT_NE(nullptr, close);
    EXPECT_EQ("&Schließen", testsupport::WindowText(close));
    ExpectRect(DialogUnitsToPixels(h, 7, 49, 50, 14), ChildRect(close), "close");
    EXPECT_TRUE(::GetWindowLongA(close, GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_EQ(close, ::GetFocus());

    HWND help = ChildWithId(h, IDHELP, "Button");
    if (c.withHelp) {
        ASSERT_NE(nullptr, help);
        EXPECT_EQ("&Hilfe", testsupport::WindowText(help));
        ExpectRect(DialogUnitsToPixels(h, 203, 49, 50, 14), ChildRect(help), "help");
    } else {
        EXPECT_EQ(nullptr, help);
    }
}

TEST_F(MessageDlgTest, ControlsSitAtTheirDialogUnitRectangles) {
    const LayoutCase cases[] = {
        {kIconError, true, IDI_HAND},
        {kIconWarning, false, IDI_EXCLAMATION},
        {kIconInformation, true, IDI_ASTERISK},
        {kIconNone, true, nullptr},
        {4, false, nullptr},
        {-1, true, nullptr},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "icon kind " << c.iconKind << ", help " << c.withHelp);
        CMessageDlg box(nullptr, "Größe der Ordner: 17 Einträge.", "WARNUNG", c.iconKind);
        if (c.withHelp) {
            box.SetHelpCallback(RecordHelp, 2601, this);
        }
        UiScript script({
            [&] { return box.GetSafeHwnd() != nullptr && box.IsWindowVisible(); },
            [&] {
                ExpectLayout(box, c);
                box.PostMessage(WM_COMMAND, IDOK);
                return true;
            },
        });
        EXPECT_EQ(IDOK, box.DoModal());
    }
}

TEST_F(MessageDlgTest, F1AndTheHelpButtonAskForHelpAndLeaveTheBoxOpen) {
    CMessageDlg box(nullptr, "FEHLER 005: Ungültiger Mailbox-Pfad.", "FEHLER", kIconError);
    box.SetHelpCallback(RecordHelp, 2106, this);
    UiScript script({
        [&] { return box.GetSafeHwnd() != nullptr && box.IsWindowVisible(); },
        [&] {
            PostKey(VK_F1);
            return true;
        },
        [&] { return m_calls.size() == 1; },
        [&] {
            EXPECT_TRUE(box.IsWindowVisible());
            PostKey(VK_F1);
            return true;
        },
        [&] { return m_calls.size() == 2; },
        [&] {
            ::PostMessageA(box.GetDlgItem(IDHELP), BM_CLICK, 0, 0);
            return true;
        },
        [&] { return m_calls.size() == 3; },
        [&] {
            EXPECT_TRUE(box.IsWindowVisible());
            box.PostMessage(WM_COMMAND, IDOK);
            return true;
        },
    });
    EXPECT_EQ(IDOK, box.DoModal());
    ASSERT_EQ(4u, m_calls.size());
    for (size_t i = 0; i < m_calls.size(); ++i) {
        EXPECT_EQ(i < 3 ? 5u : 0u, m_calls[i].code);
        EXPECT_EQ(2106u, m_calls[i].messageId);
        EXPECT_EQ(this, m_calls[i].context);
        EXPECT_EQ(&box, m_calls[i].dialog);
    }
}

TEST_F(MessageDlgTest, WithoutCallbackF1DoesNothing) {
    CMessageDlg box(nullptr, "Text", nullptr, kIconWarning);
    bool stillOpen = false;
    UiScript script({
        [&] { return box.GetSafeHwnd() != nullptr && box.IsWindowVisible(); },
        [&] {
            EXPECT_EQ("", testsupport::WindowText(box.GetSafeHwnd()));
            PostKey(VK_F1);
            return true;
        },
        [&] {
            stillOpen = box.IsWindowVisible() != FALSE;
            box.PostMessage(WM_COMMAND, IDOK);
            return true;
        },
    });
    EXPECT_EQ(IDOK, box.DoModal());
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(m_calls.empty());
}

struct CloseCase {
    const char* how;
    void (*close)(HWND box);
    INT_PTR result;
};

TEST_F(MessageDlgTest, ClosingCallsBackWithCodeZeroExactlyOnce) {
    const CloseCase cases[] = {
        {"button", [](HWND box) { ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0); }, IDOK},
        {"Enter", [](HWND) { PostKey(VK_RETURN); }, IDOK},
        {"Escape", [](HWND) { PostKey(VK_ESCAPE); }, IDCANCEL},
        {"close box", [](HWND box) { ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.how);
        m_calls.clear();
        CMessageDlg box(nullptr, "WARNUNG 502", "WARNUNG", kIconWarning);
        box.SetHelpCallback(RecordHelp, 2602, this);
        UiScript script({
            [&] { return box.GetSafeHwnd() != nullptr && box.IsWindowVisible(); },
            [&] {
                c.close(box.GetSafeHwnd());
                return true;
            },
        });
        EXPECT_EQ(c.result, box.DoModal());
        ASSERT_EQ(1u, m_calls.size());
        EXPECT_EQ(0u, m_calls[0].code);
        EXPECT_EQ(2602u, m_calls[0].messageId);
    }
}

TEST_F(MessageDlgTest, CentresOverItsParentAndDisablesItMeanwhile) {
    HWND parent = ::CreateWindowExA(0, "STATIC", "Eltern", WS_POPUP | WS_VISIBLE | WS_CAPTION, 40,
                                    60, 700, 500, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, parent);
    CMessageDlg box(parent, "Text", "FEHLER", kIconError);
    UiScript script({
        [&] { return box.GetSafeHwnd() != nullptr && box.IsWindowVisible(); },
        [&] {
            EXPECT_FALSE(::IsWindowEnabled(parent));
            EXPECT_EQ(parent, ::GetWindow(box.GetSafeHwnd(), GW_OWNER));
            RECT p, b;
            ::GetWindowRect(parent, &p);
            ::GetWindowRect(box.GetSafeHwnd(), &b);
            EXPECT_NEAR((p.left + p.right) / 2, (b.left + b.right) / 2, 1);
            EXPECT_NEAR((p.top + p.bottom) / 2, (b.top + b.bottom) / 2, 1);
            box.PostMessage(WM_COMMAND, IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(IDCANCEL, box.DoModal());
    EXPECT_TRUE(::IsWindowEnabled(parent));
    ::DestroyWindow(parent);
}

} // namespace
