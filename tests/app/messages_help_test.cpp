// The modal run, numbered messages and help: the innermost dialog is the parent of
// boxes and the owner of help, the message buffer is bounded, and a help viewer that
// opens no window brings error 001 in the platform's own box.
#include "app/html_help.h"
#include "app_test_support.h"
#include "resource.h"
#include "ui_script_win32.h"

#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <iostream>

using apptest::TestApp;
using testsupport::BoxCloser;
using testsupport::UiScript;

namespace {

using apptest::HostDlg;
using apptest::kError001;

struct ViewerCall {
    HWND owner;
    std::string path;
    UINT command;
    DWORD_PTR data;
};

// A viewer that records its calls and answers with `window` (null: failure).
CFoldtallyApp::HelpViewer RecordingViewer(std::vector<ViewerCall>& calls, HWND window) {
    return [&calls, window](HWND owner, const char* path, UINT command, DWORD_PTR data) {
        calls.push_back({owner, path, command, data});
        return window;
    };
}

INT_PTR Show(CAppBase& app, const char* caption, int icon, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const INT_PTR result = app.ShowMessage(format, args, caption, icon);
    va_end(args);
    return result;
}

TEST(MessagesHelpTest, NestedRunsRestoreTheCurrentDialog) {
    TestApp app;
    HostDlg outer;
    HostDlg inner;
    CDialog* duringInner = nullptr;
    CDialog* afterInner = nullptr;
    UiScript script({
        [&] { return outer.GetSafeHwnd() != nullptr; },
        [&] {
            EXPECT_EQ(&outer, app.GetModalDlg());
            UiScript innerScript({
                [&] { return inner.GetSafeHwnd() != nullptr; },
                [&] {
                    duringInner = app.GetModalDlg();
                    inner.EndDialog(IDOK);
                    return true;
                },
            });
            app.RunModal(inner);
            afterInner = app.GetModalDlg();
            outer.EndDialog(IDCANCEL);
            return true;
        },
    });
    EXPECT_EQ(IDCANCEL, app.RunModal(outer));
    EXPECT_EQ(&inner, duringInner);
    EXPECT_EQ(&outer, afterInner);
    EXPECT_EQ(nullptr, app.GetModalDlg());
}

TEST(MessagesHelpTest, HelpAskedInsideAMessageBoxIsOwnedByTheBox) {
    TestApp app;
    app.SetHelpFilePath("C:\\app\\foldtally.chm");
    app.SetHelpCallback(CFoldtallyApp::OnMessageHelp, &app);
    std::vector<ViewerCall> calls;
    app.SetHelpViewer(RecordingViewer(calls, ::GetDesktopWindow()));
    HostDlg host;
    HWND box = nullptr;
    CDialog* current = nullptr;
    UiScript script({
        [&] { return host.GetSafeHwnd() != nullptr; },
        [&] {
            app.Warning(IDS_WARNING_502);
            app.Error(IDS_ERROR_006);
            current = app.GetModalDlg();
            host.EndDialog(IDOK);
            return true;
        },
    });
    UiScript boxes({
        [&] { return (box = testsupport::FindOwnedDialog(host.GetSafeHwnd())) != nullptr; },
        [&] {
            testsupport::PostKey(VK_F1);
            return true;
        },
        [&] { return calls.size() == 1; },
        [&] {
            EXPECT_EQ(box, calls[0].owner);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        },
        [&] {
            HWND next = testsupport::FindOwnedDialog(host.GetSafeHwnd());
            if (next == nullptr || next == box) {
                return false;
            }
            box = next;
            ::PostMessageA(::GetDlgItem(box, IDHELP), BM_CLICK, 0, 0);
            return true;
        },
        [&] { return calls.size() == 2; },
        [&] {
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        },
    });
    EXPECT_EQ(IDOK, app.RunModal(host));
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("C:\\app\\foldtally.chm::/pages/ref_mld_warnungen.htm#w502", calls[0].path);
    EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TOPIC), calls[0].command);
    EXPECT_EQ(0u, calls[0].data);
    // Error 006 has no topic of its own: its help is the start page.
    EXPECT_EQ("C:\\app\\foldtally.chm", calls[1].path);
    EXPECT_EQ(box, calls[1].owner);
    EXPECT_EQ(&host, current);
    EXPECT_EQ(IDS_ERROR_006, app.GetLastMessageId());
}

TEST(MessagesHelpTest, NoViewerWindowBringsError001InThePlatformsBox) {
    for (bool viewerOpens : {false, true}) {
        SCOPED_TRACE(viewerOpens ? "viewer opens" : "viewer fails");
        TestApp app;
        app.SetHelpFilePath("C:\\app\\foldtally.chm");
        std::vector<ViewerCall> calls;
        app.SetHelpViewer(RecordingViewer(calls, viewerOpens ? ::GetDesktopWindow() : nullptr));
        HostDlg host;
        std::unique_ptr<BoxCloser> closer;
        UiScript script({
            [&] { return host.GetSafeHwnd() != nullptr; },
            [&] {
                closer.reset(new BoxCloser(host.GetSafeHwnd()));
                app.ShowHelp("::/pages/ref_dlg_main.htm");
                host.EndDialog(IDOK);
                return true;
            },
        });
        app.RunModal(host);
        ASSERT_NE(nullptr, closer);
        const BoxCloser& boxes = *closer;
        ASSERT_EQ(1u, calls.size());
        EXPECT_EQ("C:\\app\\foldtally.chm::/pages/ref_dlg_main.htm", calls[0].path);
        if (viewerOpens) {
            EXPECT_TRUE(boxes.Seen().empty());
            continue;
        }
        ASSERT_EQ(1u, boxes.Seen().size());
        const BoxCloser::Box& box = boxes.Seen()[0];
        EXPECT_EQ(kError001, box.text);
        EXPECT_EQ("Ordner-Statistik für Pegasus-Mail", box.caption);
        EXPECT_EQ(::LoadIconA(nullptr, IDI_HAND), box.icon);
        EXPECT_EQ(std::vector<std::string>{"OK"}, box.buttons);
    }
}

BOOL CALLBACK FindViewer(HWND hWnd, LPARAM lParam) {
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    if (std::string(name) == "HH Parent" && ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

TEST(MessagesHelpTest, RealViewerOpensAWindowForAHelpFileAndNoneForAMissingOne) {
    TestApp app;
    HostDlg host;
    std::unique_ptr<BoxCloser> closer;
    HWND viewer = nullptr;
    std::string title;
    UiScript script({
        [&] { return host.GetSafeHwnd() != nullptr; },
        [&] {
            closer.reset(new BoxCloser(host.GetSafeHwnd()));
            app.SetHelpFilePath(apptest::ModuleDirectory() + "probe.chm");
            app.ShowHelp("::/pages/a.htm#x");
            ::EnumWindows(FindViewer, reinterpret_cast<LPARAM>(&viewer));
            title = testsupport::WindowText(viewer);
            // Closes the viewer and unloads it; the next request loads it again.
            CloseHtmlHelp();
            app.SetHelpFilePath(apptest::ModuleDirectory() + "fehlt.chm");
            app.ShowHelp(nullptr);
            host.EndDialog(IDOK);
            return true;
        },
    });
    app.RunModal(host);
    std::cout << "HtmlHelpA under this system: viewer window " << (viewer ? "found" : "missing")
              << ", title \"" << title << "\"\n";
    EXPECT_NE(nullptr, viewer);
    EXPECT_EQ("Hilfe-Probe", title);
    ASSERT_NE(nullptr, closer);
    ASSERT_EQ(1u, closer->Seen().size());
    EXPECT_EQ(kError001, closer->Seen()[0].text);
}

TEST(MessagesHelpTest, MessageTextIsCutToTheBufferAndNeverOverrunsIt) {
    TestApp app;
    BoxCloser boxes;
    const std::string longText(5000, 'x');
    Show(app, "FEHLER", kIconError, "%s", longText.c_str());
    Show(app, "FEHLER", kIconError, "%d Dateien, %s", 23, "7,3 MB");
    Show(app, "WARNUNG", kIconNone, nullptr);
    ASSERT_EQ(3u, boxes.Seen().size());
    EXPECT_EQ(std::string(CAppBase::kMessageBufferSize - 1, 'x'), boxes.Seen()[0].text);
    EXPECT_EQ("23 Dateien, 7,3 MB", boxes.Seen()[1].text);
    EXPECT_EQ("", boxes.Seen()[2].text);
    EXPECT_FALSE(boxes.Seen()[2].hasIcon);
}

TEST(MessagesHelpTest, WarningAndErrorShowTheirStringWithCaptionAndIcon) {
    TestApp app;
    BoxCloser boxes;
    app.Warning(IDS_WARNING_502);
    EXPECT_EQ(IDS_WARNING_502, app.GetLastMessageId());
    app.Error(IDS_ERROR_004);
    EXPECT_EQ(IDS_ERROR_004, app.GetLastMessageId());
    ASSERT_EQ(2u, boxes.Seen().size());
    EXPECT_EQ("WARNUNG", boxes.Seen()[0].caption);
    EXPECT_EQ("WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden.",
              boxes.Seen()[0].text);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_EXCLAMATION), boxes.Seen()[0].icon);
    EXPECT_EQ("FEHLER", boxes.Seen()[1].caption);
    EXPECT_EQ("FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein.",
              boxes.Seen()[1].text);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_HAND), boxes.Seen()[1].icon);
    // No help callback installed: no help button.
    EXPECT_EQ(std::vector<std::string>{"&Schließen"}, boxes.Seen()[1].buttons);
}

} // namespace
