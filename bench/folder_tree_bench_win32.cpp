// Rerunnable timing of the window Ordnerbaum (Windows, under Wine): opening it on a
// mailbox (its own scan, the tree, the first level open, the first paint) against the
// scan and tree alone, and opening and closing a node of many children with the repaint.
// No settings store is given, so nothing stored is read or written.
// Usage: folder_tree_bench MAILBOX NEWMAIL WIDE_MAILBOX [RUNS]
// (directories end with a backslash; WIDE_MAILBOX from "tree_bench --wide DIR 10000")
#include "framework/app_services.h"
#include "framework/dialog.h"
#include "tree/tree_scan.h"
#include "ui/folder_tree_dlg.h"
#include "ui_script_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

double Now() {
    LARGE_INTEGER frequency, count;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&count);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class BenchApp : public AppServices {
public:
    const std::string& GetTitle() const override { return m_text; }
    const std::string& GetModulePath() const override { return m_text; }
    SettingsStore* GetSettingsStore() const override { return nullptr; }
    INT_PTR RunModal(CDialog& dialog) override { return dialog.DoModal(); }
    void Warning(uint32_t, ...) override {}
    void Error(uint32_t, ...) override {}
    void ShowHelp(const char*) override {}
    const std::string& GetMailboxPath() const override { return m_text; }
    const std::string& GetNewmailPath() const override { return m_text; }
    std::string m_text = "Foldtally";
};

// Runs the dialog on `settings`; `inside` runs once it is visible, from the steps of a
// UI script (a thread timer inside the dialog's own loop). Returns the time from the
// start of the run to the end of the first paint.
double RunDialog(const ScanRequest& settings, const std::function<void(CFolderTreeDlg&)>& inside) {
    BenchApp app;
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    const double start = Now();
    double painted = 0;
    testsupport::UiScript script(
        {[&] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); },
         [&] {
             ::UpdateWindow(dlg.GetListHwnd());
             painted = Now() - start;
             inside(dlg);
             ::PostMessageA(dlg.GetListHwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
             return true;
         }},
        600000);
    dlg.DoModal();
    return painted;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: folder_tree_bench MAILBOX NEWMAIL WIDE_MAILBOX [RUNS]\n");
        return 2;
    }
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;
    ScanRequest settings;
    settings.mailboxDir = argv[1];
    settings.newmailDir = argv[2];
    settings.newMailLabel = "<Posteingang>";
    ScanRequest wide = settings;
    wide.mailboxDir = argv[3];
    wide.includeNewMail = false;
    for (int run = 0; run < runs; ++run) {
        tree::TreeScan scan;
        const double before = Now();
        scan.Run(settings);
        const double scanMs = Now() - before;
        const double openMs = RunDialog(settings, [](CFolderTreeDlg&) {});
        double expandMs = 0;
        double collapseMs = 0;
        size_t shown = 0;
        RunDialog(wide, [&](CFolderTreeDlg& dlg) {
            // The window opens with "Breit" open; it is closed first, then timed both ways.
            dlg.SetExpanded(0, false);
            ::UpdateWindow(dlg.GetListHwnd());
            double t = Now();
            dlg.SetExpanded(0, true);
            ::UpdateWindow(dlg.GetListHwnd());
            expandMs = Now() - t;
            shown = dlg.GetRows().size();
            t = Now();
            dlg.SetExpanded(0, false);
            ::UpdateWindow(dlg.GetListHwnd());
            collapseMs = Now() - t;
        });
        std::printf("%zu rows: scan and tree %.1f ms, window open and painted %.1f ms "
                    "(+%.1f ms); node of %zu children: open %.2f ms, close %.2f ms\n",
                    scan.catalogue.records.size(), scanMs, openMs, openMs - scanMs, shown - 1,
                    expandMs, collapseMs);
        std::fflush(stdout);
    }
    return 0;
}
