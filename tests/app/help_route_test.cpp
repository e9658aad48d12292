// The two ways help opens: under Wine the page of the HTML form goes to the host's
// browser (error 001 when the page is missing or no browser starts), and the help
// viewer's windows are closed with HH_CLOSE_ALL once the main dialog has ended.
#include "app_test_support.h"
#include "resource.h"
#include "test_support.h"
#include "ui_script_win32.h"

#include <htmlhelp.h>

#include <gtest/gtest.h>

using apptest::TestApp;
using testsupport::BoxCloser;
using testsupport::UiScript;

namespace {

using apptest::HostDlg;
using apptest::kError001;

TEST(HelpRouteTest, UnderWineTheProgramChoosesTheBrowser) {
    // CFoldtallyApp itself, not TestApp, which takes the viewer's way for the tests.
    CFoldtallyApp app;
    EXPECT_TRUE(app.IsHelpInBrowser());
}

// The HTML form in a scratch folder: the start page, one page and one jump page.
class BrowserHelpTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::MakeDirectory(m_dir / "pages"));
        for (const char* file :
             {"start.htm", "pages\\ref_dlg_main.htm", "pages\\ref_mld_warnungen.w502.htm"}) {
            ASSERT_TRUE(testsupport::WriteFile(m_dir / file, "<html></html>"));
        }
        m_app.SetHelpInBrowser(true);
        m_app.SetHelpFilePath("C:\\nirgends\\foldtally.chm");
        m_app.SetHelpPagesPath(m_dir.Path());
        m_app.SetHelpCallback(CFoldtallyApp::OnMessageHelp, &m_app);
        m_app.SetHelpViewer([this](HWND, const char* path, UINT, DWORD_PTR) {
            m_viewerCalls.push_back(path != nullptr ? path : "");
            return ::GetDesktopWindow();
        });
        m_app.SetBrowserHandOff([this](const std::string& path) {
            m_handedOff.push_back(path);
            return m_bBrowserStarts;
        });
    }

    // Runs `steps` inside a host dialog; the boxes the steps raise are read and closed.
    std::vector<BoxCloser::Box> WithHost(std::function<void()> steps) {
        HostDlg host;
        std::unique_ptr<BoxCloser> closer;
        UiScript script({
            [&] { return host.GetSafeHwnd() != nullptr; },
            [&] {
                closer.reset(new BoxCloser(host.GetSafeHwnd()));
                steps();
                host.EndDialog(IDOK);
                return true;
            },
        });
        m_app.RunModal(host);
        return closer ? closer->Seen() : std::vector<BoxCloser::Box>();
    }

    testsupport::TempDir m_dir;
    TestApp m_app;
    bool m_bBrowserStarts = true;
    std::vector<std::string> m_handedOff;
    std::vector<std::string> m_viewerCalls;
};

TEST_F(BrowserHelpTest, TopicsGoToThePageOrJumpPageAndNeverToTheViewer) {
    const std::vector<BoxCloser::Box> boxes = WithHost([&] {
        m_app.ShowHelp("::/pages/ref_dlg_main.htm");
        m_app.ShowHelp(nullptr);
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ((std::vector<std::string>{m_dir / "pages\\ref_dlg_main.htm", m_dir / "start.htm"}),
              m_handedOff);
    EXPECT_TRUE(m_viewerCalls.empty());
}

TEST_F(BrowserHelpTest, APageTheEnglishPagesLackOpensInGerman) {
    testsupport::TempDir english;
    ASSERT_TRUE(testsupport::WriteFile(english / "start.htm", "<html></html>"));
    m_app.SetHelpPagesPath(english.Path(), m_dir.Path());
    const std::vector<BoxCloser::Box> boxes = WithHost([&] {
        m_app.ShowHelp(nullptr);
        m_app.ShowHelp("::/pages/ref_dlg_main.htm");
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ((std::vector<std::string>{english / "start.htm", m_dir / "pages\\ref_dlg_main.htm"}),
              m_handedOff);
}

TEST_F(BrowserHelpTest, F1InAMessageBoxHandsOnTheMessagesJumpPage) {
    HostDlg host;
    UiScript script({
        [&] { return host.GetSafeHwnd() != nullptr; },
        [&] {
            m_app.Warning(IDS_WARNING_502);
            host.EndDialog(IDOK);
            return true;
        },
    });
    HWND box = nullptr;
    UiScript keys({
        [&] { return (box = testsupport::FindOwnedDialog(host.GetSafeHwnd())) != nullptr; },
        [&] {
            testsupport::PostKey(VK_F1);
            return true;
        },
        [&] { return !m_handedOff.empty(); },
        [&] {
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        },
    });
    m_app.RunModal(host);
    EXPECT_EQ(std::vector<std::string>{m_dir / "pages\\ref_mld_warnungen.w502.htm"}, m_handedOff);
}

TEST_F(BrowserHelpTest, AMissingPageOrNoBrowserBringsError001) {
    std::vector<BoxCloser::Box> boxes = WithHost([&] {
        m_app.ShowHelp("::/pages/ref_dlg_einst.htm");
        m_app.ShowHelp("::/pages/ref_dlg_main.htm#fehlt");
    });
    EXPECT_TRUE(m_handedOff.empty());
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(kError001, boxes[0].text);
    EXPECT_EQ(kError001, boxes[1].text);

    m_bBrowserStarts = false;
    boxes = WithHost([&] { m_app.ShowHelp("::/pages/ref_dlg_main.htm"); });
    EXPECT_EQ(std::vector<std::string>{m_dir / "pages\\ref_dlg_main.htm"}, m_handedOff);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(kError001, boxes[0].text);
    EXPECT_EQ("Ordner-Statistik für Pegasus-Mail", boxes[0].caption);
    EXPECT_EQ(std::vector<std::string>{"OK"}, boxes[0].buttons);
}

// A main dialog that opens help (or not) and ends.
class HelpingMainDlg : public CDialog {
public:
    HelpingMainDlg(CFoldtallyApp& app, bool openHelp)
        : CDialog(IDD_ABOUTBOX), m_app(app), m_bOpenHelp(openHelp) {}
    static HWND s_hWnd;

protected:
    BOOL OnInitDialog() override {
        s_hWnd = m_hWnd;
        if (m_bOpenHelp) {
            m_app.ShowHelp("::/pages/ref_dlg_main.htm");
        }
        EndDialog(IDOK);
        return TRUE;
    }

private:
    CFoldtallyApp& m_app;
    bool m_bOpenHelp;
};
HWND HelpingMainDlg::s_hWnd = nullptr;

struct ViewerCallAtClose {
    std::string path;
    UINT command;
    bool mainDialogAlive;
};

TEST(HelpCloseTest, ViewerWindowsCloseAfterTheMainDialogEndsOnceHelpWasOpened) {
    apptest::MailClientKeys keys;
    apptest::MailClientKeys::Set("Mailbox", REG_SZ, "C:\\M");
    apptest::MailClientKeys::Set("Newmail", REG_SZ, "C:\\N");
    for (bool openHelp : {true, false}) {
        SCOPED_TRACE(openHelp ? "help opened" : "help never opened");
        TestApp app;
        std::vector<ViewerCallAtClose> calls;
        app.SetHelpViewer([&calls](HWND, const char* path, UINT command, DWORD_PTR) {
            calls.push_back({path != nullptr ? path : "(null)", command,
                             ::IsWindow(HelpingMainDlg::s_hWnd) != FALSE});
            return ::GetDesktopWindow();
        });
        app.SetMainDialogFactory([openHelp](CFoldtallyApp& self) -> std::unique_ptr<CDialog> {
            return std::unique_ptr<CDialog>(new HelpingMainDlg(self, openHelp));
        });
        EXPECT_FALSE(app.InitInstance());
        if (!openHelp) {
            EXPECT_TRUE(calls.empty());
            continue;
        }
        ASSERT_EQ(2u, calls.size());
        EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TOPIC), calls[0].command);
        EXPECT_EQ(static_cast<UINT>(HH_CLOSE_ALL), calls[1].command);
        EXPECT_EQ("(null)", calls[1].path);
        EXPECT_FALSE(calls[1].mainDialogAlive);
    }
}

} // namespace
