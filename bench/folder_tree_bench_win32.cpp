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
#include "window_bench_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

// Runs the dialog on `settings`; `inside` runs once it is visible, from the steps of a
// UI script (a thread timer inside the dialog's own loop). Returns the time from the
// start of the run to the end of the first paint.
double RunDialog(const ScanRequest& settings, const std::function<void(CFolderTreeDlg&)>& inside) {
    bench::QuietApp app;
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    const double start = bench::NowMs();
    double painted = 0;
    testsupport::UiScript script(
        {[&] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); },
         [&] {
             ::UpdateWindow(dlg.GetListHwnd());
             painted = bench::NowMs() - start;
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
        const double before = bench::NowMs();
        scan.Run(settings);
        const double scanMs = bench::NowMs() - before;
        const double openMs = RunDialog(settings, [](CFolderTreeDlg&) {});
        double expandMs = 0;
        double collapseMs = 0;
        size_t shown = 0;
        RunDialog(wide, [&](CFolderTreeDlg& dlg) {
            // The window opens with "Breit" open; it is closed first, then timed both ways.
            dlg.SetExpanded(0, false);
            ::UpdateWindow(dlg.GetListHwnd());
            double t = bench::NowMs();
            dlg.SetExpanded(0, true);
            ::UpdateWindow(dlg.GetListHwnd());
            expandMs = bench::NowMs() - t;
            shown = dlg.GetRows().size();
            t = bench::NowMs();
            dlg.SetExpanded(0, false);
            ::UpdateWindow(dlg.GetListHwnd());
            collapseMs = bench::NowMs() - t;
        });
        std::printf("%zu rows: scan and tree %.1f ms, window open and painted %.1f ms "
                    "(+%.1f ms); node of %zu children: open %.2f ms, close %.2f ms\n",
                    scan.catalogue.records.size(), scanMs, openMs, openMs - scanMs, shown - 1,
                    expandMs, collapseMs);
        std::fflush(stdout);
    }
    return 0;
}
