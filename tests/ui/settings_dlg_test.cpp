// The settings dialog run in-process on its real template: the controls show the
// working copy, the three group rules follow the clicks, typed input is limited and
// upper-cased, OK checks the seconds and directories (each error leaves the dialog
// open with the faulty edit focused and selected), help opens its topic, and Escape
// cancels.
#include "dialogs_fixture_win32.h"
#include "resource.h"
#include "ui/settings_dlg.h"
#include "ui_script_win32.h"

#include <htmlhelp.h>

#include <gtest/gtest.h>

using namespace dialogtest;
using testsupport::BoxCloser;
using testsupport::UiScript;

namespace {

// The message boxes the settings dialog shows, closed and recorded; only boxes owned by
// the dialog, which is itself a dialog box of this thread.
struct Boxes {
    std::unique_ptr<BoxCloser> closer;
    size_t Count() const { return closer ? closer->Seen().size() : 0; }
    const BoxCloser::Box& operator[](size_t i) const { return closer->Seen()[i]; }
};

// Runs the dialog through the application (so it owns its messages and help) and
// plays `steps` once it is visible; with `boxes`, its message boxes are closed.
INT_PTR RunSettings(DialogTestApp& app, CSettingsDlg& dlg, std::vector<UiScript::Step> steps,
                    Boxes* boxes = nullptr) {
    steps.insert(steps.begin(), [&dlg, boxes] {
        if (dlg.GetSafeHwnd() == nullptr || !dlg.IsWindowVisible()) {
            return false;
        }
        if (boxes != nullptr) {
            boxes->closer.reset(new BoxCloser(dlg.GetSafeHwnd()));
        }
        return true;
    });
    UiScript script(std::move(steps));
    return app.RunModal(dlg);
}

UiScript::Step Do(std::function<void()> action) {
    return [action] {
        action();
        return true;
    };
}

ProgramSettings ManualPaths() {
    ProgramSettings s;
    s.m_bMailboxPathManual = true;
    s.m_strMailboxPath = "C:\\MB\\";
    s.m_strNewmailPath = "\\\\SRV\\NM\\";
    return s;
}

TEST(SettingsDlgTest, ControlsShowTheWorkingCopyWhenItOpens) {
    struct Case {
        const char* what;
        bool autoRefresh;
        bool manual;
        bool showFolderPath;
        bool warn;
    };
    const Case cases[] = {
        {"everything on", true, true, true, false},
        {"defaults with remembered directories", false, false, true, true},
        {"folder paths off", true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DialogTestApp app;
        CSettingsDlg dlg(nullptr, &app);
        dlg.m_settings = ManualPaths();
        dlg.m_settings.m_bAutoRefresh = c.autoRefresh;
        dlg.m_settings.m_nAutoRefreshRate = 45;
        dlg.m_settings.m_bMailboxPathManual = c.manual;
        dlg.m_settings.m_bShowFolderPath = c.showFolderPath;
        dlg.m_settings.m_bWarnFolderPath = c.warn;
        const INT_PTR result = RunSettings(
            app, dlg, {Do([&] {
                HWND h = dlg.GetSafeHwnd();
                EXPECT_EQ("Einstellungen", testsupport::WindowText(h));
                EXPECT_EQ(Item(h, IDC_AUTOREFRESH), ::GetFocus());
                EXPECT_EQ(c.autoRefresh, IsChecked(h, IDC_AUTOREFRESH));
                EXPECT_EQ(c.autoRefresh ? "45" : "", ItemText(h, IDC_REFRESH_RATE));
                for (int id : {IDC_REFRESH_LABEL, IDC_REFRESH_RATE, IDC_REFRESH_UNIT}) {
                    EXPECT_EQ(c.autoRefresh, IsEnabled(h, id)) << id;
                }
                EXPECT_EQ(!c.manual, IsChecked(h, IDC_PATH_REGISTRY));
                EXPECT_EQ(c.manual, IsChecked(h, IDC_PATH_MANUAL));
                EXPECT_EQ(c.manual ? "C:\\MB\\" : "", ItemText(h, IDC_MAILBOX_PATH));
                EXPECT_EQ(c.manual ? "\\\\SRV\\NM\\" : "", ItemText(h, IDC_NEWMAIL_PATH));
                for (int id :
                     {IDC_MAILBOX_LABEL, IDC_MAILBOX_PATH, IDC_NEWMAIL_LABEL, IDC_NEWMAIL_PATH}) {
                    EXPECT_EQ(c.manual, IsEnabled(h, id)) << id;
                }
                EXPECT_EQ(c.showFolderPath, IsChecked(h, IDC_SHOW_FOLDERPATH));
                EXPECT_EQ(c.showFolderPath && c.warn, IsChecked(h, IDC_WARN_FOLDERPATH));
                EXPECT_EQ(c.showFolderPath, IsEnabled(h, IDC_WARN_FOLDERPATH));
                dlg.EndDialog(IDCANCEL);
            })});
        EXPECT_EQ(IDCANCEL, result);
    }
}

TEST(SettingsDlgTest, EditsAcceptOnlyWhatTheirFieldsHold) {
    DialogTestApp app;
    CSettingsDlg dlg(nullptr, &app);
    dlg.m_settings = ManualPaths();
    dlg.m_settings.m_bAutoRefresh = true;
    RunSettings(app, dlg, {Do([&] {
                    HWND h = dlg.GetSafeHwnd();
                    SetItemText(h, IDC_REFRESH_RATE, "");
                    Type(h, IDC_REFRESH_RATE, "x1-2 34");
                    EXPECT_EQ("123", ItemText(h, IDC_REFRESH_RATE));

                    // Both directory edits: letters become capitals as they are typed,
                    // and no more than 260 characters fit.
                    for (int id : {IDC_MAILBOX_PATH, IDC_NEWMAIL_PATH}) {
                        SetItemText(h, id, "");
                        Type(h, id, "c:\\pmail\\mäil");
                        EXPECT_EQ("C:\\PMAIL\\MÄIL", ItemText(h, id)) << id;
                        SetItemText(h, id, "");
                        Type(h, id, "\\\\" + std::string(300, 'n'));
                        EXPECT_EQ("\\\\" + std::string(258, 'N'), ItemText(h, id)) << id;
                    }
                    dlg.EndDialog(IDCANCEL);
                })});
}

struct RateCase {
    const char* typed;
    int32_t remembered;
    const char* shownAgain;
};

TEST(SettingsDlgTest, SwitchingAutoRefreshOffRemembersPositiveSecondsElseTen) {
    const RateCase cases[] = {
        {"45", 45, "45"}, {"0", 10, "10"}, {"", 10, "10"}, {"007", 7, "7"}, {"000", 10, "10"},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(c.typed);
        DialogTestApp app;
        CSettingsDlg dlg(nullptr, &app);
        dlg.m_settings.m_bAutoRefresh = true;
        dlg.m_settings.m_nAutoRefreshRate = 20;
        RunSettings(app, dlg, {Do([&] {
                        HWND h = dlg.GetSafeHwnd();
                        SetItemText(h, IDC_REFRESH_RATE, c.typed);
                        Click(h, IDC_AUTOREFRESH);
                        EXPECT_FALSE(dlg.m_settings.m_bAutoRefresh);
                        EXPECT_EQ(c.remembered, dlg.m_settings.m_nAutoRefreshRate);
                        EXPECT_EQ("", ItemText(h, IDC_REFRESH_RATE));
                        EXPECT_FALSE(IsEnabled(h, IDC_REFRESH_RATE));
                        EXPECT_FALSE(IsEnabled(h, IDC_REFRESH_LABEL));
                        Click(h, IDC_AUTOREFRESH);
                        EXPECT_TRUE(dlg.m_settings.m_bAutoRefresh);
                        EXPECT_EQ(c.shownAgain, ItemText(h, IDC_REFRESH_RATE));
                        EXPECT_TRUE(IsEnabled(h, IDC_REFRESH_RATE));
                        EXPECT_TRUE(IsEnabled(h, IDC_REFRESH_UNIT));
                        EXPECT_TRUE(HasFocusWithAllSelected(h, IDC_REFRESH_RATE));
                        dlg.EndDialog(IDCANCEL);
                    })});
    }
}

TEST(SettingsDlgTest, TypedDirectoriesSurviveSwitchesBetweenRegistryAndExplicit) {
    DialogTestApp app;
    CSettingsDlg dlg(nullptr, &app);
    dlg.m_settings = ManualPaths();
    dlg.m_settings.m_bMailboxPathManual = false;
    const INT_PTR result =
        RunSettings(app, dlg,
                    {Do([&] {
                         HWND h = dlg.GetSafeHwnd();
                         Click(h, IDC_PATH_MANUAL);
                         EXPECT_TRUE(dlg.m_settings.m_bMailboxPathManual);
                         EXPECT_EQ("C:\\MB\\", ItemText(h, IDC_MAILBOX_PATH));
                         EXPECT_EQ("\\\\SRV\\NM\\", ItemText(h, IDC_NEWMAIL_PATH));
                         EXPECT_TRUE(IsEnabled(h, IDC_MAILBOX_PATH));
                         EXPECT_TRUE(IsEnabled(h, IDC_NEWMAIL_LABEL));
                         EXPECT_TRUE(HasFocusWithAllSelected(h, IDC_MAILBOX_PATH));

                         SetItemText(h, IDC_MAILBOX_PATH, "D:\\NEU");
                         Click(h, IDC_PATH_REGISTRY);
                         EXPECT_FALSE(dlg.m_settings.m_bMailboxPathManual);
                         EXPECT_TRUE(IsChecked(h, IDC_PATH_REGISTRY));
                         EXPECT_FALSE(IsChecked(h, IDC_PATH_MANUAL));
                         EXPECT_EQ("", ItemText(h, IDC_MAILBOX_PATH));
                         EXPECT_FALSE(IsEnabled(h, IDC_MAILBOX_PATH));
                         EXPECT_FALSE(IsEnabled(h, IDC_MAILBOX_LABEL));
                         EXPECT_EQ("D:\\NEU", dlg.m_settings.m_strMailboxPath);

                         // A second click on the active choice finds empty edits; the typed
                         // directories must not be lost to them.
                         Click(h, IDC_PATH_REGISTRY);
                         EXPECT_EQ("D:\\NEU", dlg.m_settings.m_strMailboxPath);
                         EXPECT_EQ("\\\\SRV\\NM\\", dlg.m_settings.m_strNewmailPath);

                         Click(h, IDC_PATH_MANUAL);
                         EXPECT_EQ("D:\\NEU", ItemText(h, IDC_MAILBOX_PATH));
                         SetItemText(h, IDC_NEWMAIL_PATH, "E:\\POST");
                         // Clicking the active explicit choice keeps what was just typed.
                         Click(h, IDC_PATH_MANUAL);
                         EXPECT_EQ("E:\\POST", ItemText(h, IDC_NEWMAIL_PATH));
                     }),
                     Do([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, IDOK, 0); })});
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(dlg.m_settings.m_bMailboxPathManual);
    EXPECT_EQ("D:\\NEU\\", dlg.m_settings.m_strMailboxPath);
    EXPECT_EQ("E:\\POST\\", dlg.m_settings.m_strNewmailPath);
}

TEST(SettingsDlgTest, RegistryChoiceOnOkKeepsTheRememberedDirectoriesUnchecked) {
    DialogTestApp app;
    Boxes boxes;
    CSettingsDlg dlg(nullptr, &app);
    dlg.m_settings.m_strMailboxPath = "unchecked";
    dlg.m_settings.m_strNewmailPath = "";
    dlg.m_settings.m_nAutoRefreshRate = 33;
    const INT_PTR result = RunSettings(app, dlg, {Do([&] {
                                           HWND h = dlg.GetSafeHwnd();
                                           // Disabled and ignored while automatic refresh is off.
                                           SetItemText(h, IDC_REFRESH_RATE, "0");
                                           ::PostMessageA(h, WM_COMMAND, IDOK, 0);
                                       })},
                                       &boxes);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_FALSE(dlg.m_settings.m_bMailboxPathManual);
    EXPECT_EQ("unchecked", dlg.m_settings.m_strMailboxPath);
    EXPECT_EQ("", dlg.m_settings.m_strNewmailPath);
    EXPECT_EQ(33, dlg.m_settings.m_nAutoRefreshRate);
}

TEST(SettingsDlgTest, WarningBoxIsOffAndDisabledWhileFolderPathsAreOff) {
    for (bool warn : {true, false}) {
        SCOPED_TRACE(warn ? "warning on" : "warning off");
        DialogTestApp app;
        CSettingsDlg dlg(nullptr, &app);
        dlg.m_settings.m_bWarnFolderPath = warn;
        RunSettings(app, dlg, {Do([&] {
                        HWND h = dlg.GetSafeHwnd();
                        Click(h, IDC_SHOW_FOLDERPATH);
                        EXPECT_FALSE(dlg.m_settings.m_bShowFolderPath);
                        EXPECT_FALSE(IsChecked(h, IDC_WARN_FOLDERPATH));
                        EXPECT_FALSE(IsEnabled(h, IDC_WARN_FOLDERPATH));
                        EXPECT_EQ(warn, dlg.m_settings.m_bWarnFolderPath);
                        Click(h, IDC_SHOW_FOLDERPATH);
                        EXPECT_TRUE(dlg.m_settings.m_bShowFolderPath);
                        EXPECT_EQ(warn, IsChecked(h, IDC_WARN_FOLDERPATH));
                        EXPECT_TRUE(IsEnabled(h, IDC_WARN_FOLDERPATH));
                        Click(h, IDC_WARN_FOLDERPATH);
                        EXPECT_EQ(!warn, dlg.m_settings.m_bWarnFolderPath);
                        dlg.EndDialog(IDCANCEL);
                    })});
    }
}

struct ErrorCase {
    const char* what;
    bool autoRefresh;
    const char* seconds;
    bool manual;
    const char* mailbox;
    const char* newmail;
    const char* message;
    int focusedEdit;
    const char* mailboxAfter; // the working copy's mailbox directory after the error
};

const char kError004[] =
    "FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein.";
const char kError005[] = "FEHLER 005: Ungültiger Mailbox-Pfad.";
const char kError006[] = "FEHLER 006: Ungültiger Newmail-Pfad.";

TEST(SettingsDlgTest, EachErrorKeepsTheDialogOpenWithItsEditSelected) {
    const ErrorCase cases[] = {
        {"seconds 0", true, "0", false, "", "", kError004, IDC_REFRESH_RATE, "C:\\OLD\\"},
        {"seconds empty", true, "", false, "", "", kError004, IDC_REFRESH_RATE, "C:\\OLD\\"},
        {"seconds 000", true, "000", true, "C:\\A", "C:\\B", kError004, IDC_REFRESH_RATE,
         "C:\\OLD\\"},
        {"bare drive", false, "", true, "C:", "C:\\B", kError005, IDC_MAILBOX_PATH, "C:\\OLD\\"},
        {"relative mailbox", true, "5", true, "MAIL\\DIR", "C:\\B", kError005, IDC_MAILBOX_PATH,
         "C:\\OLD\\"},
        {"empty mailbox", false, "", true, "", "C:\\B", kError005, IDC_MAILBOX_PATH, "C:\\OLD\\"},
        {"relative new mail", false, "", true, "C:\\MAIL", "NM", kError006, IDC_NEWMAIL_PATH,
         "C:\\MAIL\\"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.what);
        DialogTestApp app;
        Boxes boxes;
        CSettingsDlg dlg(nullptr, &app);
        dlg.m_settings.m_bAutoRefresh = c.autoRefresh;
        dlg.m_settings.m_bMailboxPathManual = c.manual;
        dlg.m_settings.m_strMailboxPath = "C:\\OLD\\";
        dlg.m_settings.m_strNewmailPath = "C:\\OLDNM\\";
        const INT_PTR result =
            RunSettings(app, dlg,
                        {Do([&] {
                             HWND h = dlg.GetSafeHwnd();
                             if (c.autoRefresh) {
                                 SetItemText(h, IDC_REFRESH_RATE, c.seconds);
                             }
                             if (c.manual) {
                                 SetItemText(h, IDC_MAILBOX_PATH, c.mailbox);
                                 SetItemText(h, IDC_NEWMAIL_PATH, c.newmail);
                             }
                             ::SetFocus(Item(h, IDC_SHOW_FOLDERPATH));
                             ::PostMessageA(h, WM_COMMAND, IDOK, 0);
                         }),
                         [&] {
                             return boxes.Count() == 1 &&
                                    testsupport::FindOwnedDialog(dlg.GetSafeHwnd()) == nullptr &&
                                    ::GetFocus() == Item(dlg.GetSafeHwnd(), c.focusedEdit);
                         },
                         Do([&] {
                             HWND h = dlg.GetSafeHwnd();
                             EXPECT_TRUE(::IsWindowVisible(h));
                             EXPECT_TRUE(HasFocusWithAllSelected(h, c.focusedEdit));
                             EXPECT_EQ("C:\\OLDNM\\", dlg.m_settings.m_strNewmailPath);
                             EXPECT_EQ(c.mailboxAfter, dlg.m_settings.m_strMailboxPath);
                             ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
                         })},
                        &boxes);
        EXPECT_EQ(IDCANCEL, result);
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ("FEHLER", boxes[0].caption);
        EXPECT_EQ(c.message, boxes[0].text);
    }
}

TEST(SettingsDlgTest, OkTakesTheValuesAndPassesTheMenuSettingsThrough) {
    DialogTestApp app;
    Boxes boxes;
    CSettingsDlg dlg(nullptr, &app);
    dlg.m_settings.m_bCompactFileSizes = false;
    dlg.m_settings.m_bShowNewMailFolder = false;
    const INT_PTR result =
        RunSettings(app, dlg,
                    {Do([&] {
                         HWND h = dlg.GetSafeHwnd();
                         Click(h, IDC_AUTOREFRESH);
                         SetItemText(h, IDC_REFRESH_RATE, "");
                         Type(h, IDC_REFRESH_RATE, "45");
                         Click(h, IDC_PATH_MANUAL);
                         SetItemText(h, IDC_MAILBOX_PATH, "");
                         Type(h, IDC_MAILBOX_PATH, "c:\\mail");
                         SetItemText(h, IDC_NEWMAIL_PATH, "");
                         Type(h, IDC_NEWMAIL_PATH, "\\\\server\\mail");
                         Click(h, IDC_SHOW_FOLDERPATH);
                     }),
                     Do([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, IDOK, 0); })},
                    &boxes);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(0u, boxes.Count());
    const ProgramSettings& s = dlg.m_settings;
    EXPECT_TRUE(s.m_bAutoRefresh);
    EXPECT_EQ(45, s.m_nAutoRefreshRate);
    EXPECT_TRUE(s.m_bMailboxPathManual);
    EXPECT_EQ("C:\\MAIL\\", s.m_strMailboxPath);
    EXPECT_EQ("\\\\SERVER\\MAIL\\", s.m_strNewmailPath);
    EXPECT_FALSE(s.m_bShowFolderPath);
    EXPECT_TRUE(s.m_bWarnFolderPath);
    EXPECT_FALSE(s.m_bCompactFileSizes);
    EXPECT_FALSE(s.m_bShowNewMailFolder);
}

TEST(SettingsDlgTest, HelpButtonAndF1OpenTheSettingsTopicOwnedByTheDialog) {
    DialogTestApp app;
    CSettingsDlg dlg(nullptr, &app);
    dlg.m_settings.m_bMailboxPathManual = true;
    HWND shown = nullptr;
    const INT_PTR result = RunSettings(
        app, dlg,
        {Do([&] {
             shown = dlg.GetSafeHwnd();
             ::SetFocus(Item(shown, IDC_MAILBOX_PATH));
             testsupport::PostKey(VK_F1);
         }),
         [&] { return app.m_helpCalls.size() == 1; },
         Do([&] { ::PostMessageA(Item(shown, ID_HELP_BUTTON), BM_CLICK, 0, 0); }),
         [&] { return app.m_helpCalls.size() == 2; }, Do([&] { dlg.EndDialog(IDCANCEL); })});
    EXPECT_EQ(IDCANCEL, result);
    ASSERT_EQ(2u, app.m_helpCalls.size());
    for (const HelpCall& call : app.m_helpCalls) {
        EXPECT_EQ(shown, call.owner);
        EXPECT_EQ("C:\\programme\\foldtally.chm::/pages/ref_dlg_einst.htm", call.path);
        EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TOPIC), call.command);
        EXPECT_EQ(0u, call.data);
    }
}

TEST(SettingsDlgTest, EscapeAndTheCancelButtonEndWithCancel) {
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "Escape" : "Abbrechen");
        DialogTestApp app;
        CSettingsDlg dlg(nullptr, &app);
        const INT_PTR result =
            RunSettings(app, dlg, {Do([&] {
                            HWND h = dlg.GetSafeHwnd();
                            Click(h, IDC_AUTOREFRESH);
                            if (way == 0) {
                                ::SetFocus(Item(h, IDC_REFRESH_RATE));
                                testsupport::PostKey(VK_ESCAPE);
                            } else {
                                ::PostMessageA(Item(h, IDCANCEL), BM_CLICK, 0, 0);
                            }
                        })});
        EXPECT_EQ(IDCANCEL, result);
    }
}

} // namespace
