// The About box run in-process on its real template: the description, version line and
// legal notice come from the version resource of the file the application names as
// its own, the directories from its creator; F1 opens its help page; Escape and
// "&Schließen" close it.
#include "dialogs_fixture_win32.h"
#include "framework/win_app.h"
#include "resource.h"
#include "ui/about_dlg.h"
#include "ui_script_win32.h"

#include <gtest/gtest.h>

using namespace dialogtest;
using testsupport::UiScript;

namespace {

struct AboutTexts {
    std::string caption, description, version, copyright, mailbox, newmail;
};

// Opens the About box for the module at `modulePath`, reads its texts and closes it.
AboutTexts ShowAbout(const std::string& modulePath, const char* mailbox, const char* newmail) {
    DialogTestApp app;
    app.SetModulePath(modulePath);
    CAboutDlg dlg(nullptr, &app);
    dlg.m_strMailboxDir = mailbox;
    dlg.m_strNewmailDir = newmail;
    AboutTexts t;
    UiScript script({
        [&] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); },
        [&] {
            HWND h = dlg.GetSafeHwnd();
            t = {testsupport::WindowText(h),     ItemText(h, IDC_ABOUT_DESCRIPTION),
                 ItemText(h, IDC_ABOUT_VERSION), ItemText(h, IDC_ABOUT_COPYRIGHT),
                 ItemText(h, IDC_ABOUT_MAILBOX), ItemText(h, IDC_ABOUT_NEWMAIL)};
            dlg.EndDialog(IDOK);
            return true;
        },
    });
    EXPECT_EQ(IDOK, app.RunModal(dlg));
    return t;
}

TEST(AboutDlgTest, ShowsTheProgramsOwnVersionAndTheDirectoriesItIsGiven) {
    const AboutTexts t = ShowAbout(apptest::ModulePathWithExtension(".exe"), "C:\\PMAIL\\MAIL\\",
                                   "\\\\SERVER\\NEU\\");
    EXPECT_EQ("Info", t.caption);
    // The file description is the application title.
    EXPECT_EQ(LoadResourceString(IDS_APP_TITLE), t.description);
    EXPECT_EQ("v1.00 (Foldtally)", t.version);
    EXPECT_EQ("Copyright © Morvapps", t.copyright);
    EXPECT_EQ("C:\\PMAIL\\MAIL\\", t.mailbox);
    EXPECT_EQ("\\\\SERVER\\NEU\\", t.newmail);
}

TEST(AboutDlgTest, F1OpensItsHelpPageOwnedByTheBox) {
    DialogTestApp app;
    CAboutDlg dlg(nullptr, &app);
    HWND shown = nullptr;
    UiScript script({
        [&] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); },
        [&] {
            shown = dlg.GetSafeHwnd();
            ::SetFocus(::GetDlgItem(shown, IDOK));
            testsupport::PostKey(VK_F1);
            return true;
        },
        [&] { return app.m_helpCalls.size() == 1; },
        [&] {
            dlg.EndDialog(IDOK);
            return true;
        },
    });
    EXPECT_EQ(IDOK, app.RunModal(dlg));
    ASSERT_EQ(1u, app.m_helpCalls.size());
    EXPECT_EQ(shown, app.m_helpCalls[0].owner);
    EXPECT_EQ("C:\\programme\\foldtally.chm::/pages/ref_dlg_info.htm", app.m_helpCalls[0].path);
}

TEST(AboutDlgTest, ReadsTheFileTheApplicationNamesAsItsOwn) {
    struct Case {
        const char* file;
        const char* description;
        const char* version;
        const char* copyright;
    };
    const Case cases[] = {
        {"version_probe_two_translations.dll", "Version probe", "v1.02c Build 0004 (Probe)",
         "Copyright probe"},
        {"version_probe_no_translation.dll", "", "v4.05z (Sonde B)", ""},
        {"no-such-program.exe", "", " ()", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const AboutTexts t = ShowAbout(BesideTestProgram(c.file), "", "");
        EXPECT_EQ(c.description, t.description);
        EXPECT_EQ(c.version, t.version);
        EXPECT_EQ(c.copyright, t.copyright);
        EXPECT_EQ("", t.mailbox);
        EXPECT_EQ("", t.newmail);
    }
}

TEST(AboutDlgTest, EscapeAndTheCloseButtonEndTheBox) {
    struct Case {
        const char* what;
        bool escape;
        INT_PTR result;
    };
    for (const Case& c : {Case{"Escape", true, IDCANCEL}, Case{"Schließen", false, IDOK}}) {
        SCOPED_TRACE(c.what);
        DialogTestApp app;
        CAboutDlg dlg(nullptr, &app);
        HWND shown = nullptr;
        UiScript script({
            [&] { return (shown = dlg.GetSafeHwnd()) != nullptr && dlg.IsWindowVisible(); },
            [&] {
                EXPECT_EQ("&Schließen", ItemText(shown, IDOK));
                if (c.escape) {
                    testsupport::PostKey(VK_ESCAPE);
                } else {
                    ::PostMessageA(Item(shown, IDOK), BM_CLICK, 0, 0);
                }
                return true;
            },
        });
        EXPECT_EQ(c.result, app.RunModal(dlg));
        EXPECT_EQ(nullptr, app.GetModalDlg());
    }
}

} // namespace
