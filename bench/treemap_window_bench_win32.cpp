// Rerunnable timing of the picture of "Ordnerkarte" (Windows, under Wine): the layout of
// a scanned mailbox at 1280x1024 and a full repaint of it as the window makes one, into
// a memory bitmap of that size and copied to the screen; then the window itself,
// maximized, repainted whole.
// Usage: treemap_window_bench MAILBOX [RUNS]   (the directory ends with a backslash)
#include "framework/app_services.h"
#include "framework/dialog.h"
#include "tree/tree_scan.h"
#include "ui/treemap_dlg.h"
#include "ui/treemap_paint.h"
#include "ui_script_win32.h"
#include "window_bench_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// The window maximized and repainted whole, once laid out: the milliseconds of the
// repaint and the map's size.
double WindowRepaint(const SharedScanResult& result, RECT& map) {
    bench::QuietApp app;
    CTreemapDlg dlg(nullptr, app, true, result);
    double repaint = 0;
    testsupport::UiScript script(
        {[&] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); },
         [&] {
             ::ShowWindow(dlg.GetSafeHwnd(), SW_MAXIMIZE);
             ::UpdateWindow(dlg.GetSafeHwnd()); // the layout for the new size
             map = dlg.GetMapRect();
             const double start = bench::NowMs();
             ::RedrawWindow(dlg.GetSafeHwnd(), nullptr, nullptr,
                            RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
             ::GdiFlush();
             repaint = bench::NowMs() - start;
             ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
             return true;
         }},
        600000);
    dlg.DoModal();
    return repaint;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: treemap_window_bench MAILBOX [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    ScanRequest request;
    request.mailboxDir = argv[1];
    request.includeNewMail = false;
    const SharedScanResult result = RunScan(request);
    tree::FolderTree tree;
    tree.Build(result->catalogue, result->details, tree::MailboxNodeName(request.mailboxDir));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 1280, 1024);
    ::SelectObject(memory, bitmap);
    for (int run = 0; run < runs; ++run) {
        const double start = bench::NowMs();
        const tree::Treemap map = tree::LayoutTreemap(tree, -1, {1280, 1024, 15, 2});
        const double laidOut = bench::NowMs();
        TreemapPaint paint;
        paint.tree = &tree;
        paint.map = &map;
        paint.now = static_cast<int64_t>(std::time(nullptr));
        paint.font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        paint.selected = 0;
        PaintTreemap(memory, paint);
        ::BitBlt(screen, 0, 0, 1280, 1024, memory, 0, 0, SRCCOPY);
        ::GdiFlush();
        const double painted = bench::NowMs();
        RECT window = {};
        const double windowMs = WindowRepaint(result, window);
        std::printf("%zu nodes, %zu tiles at 1280x1024: layout %.1f ms, full repaint %.1f ms; "
                    "window maximized (map %ldx%ld): repaint %.1f ms\n",
                    tree.Nodes().size(), map.tiles.size(), laidOut - start, painted - laidOut,
                    window.right - window.left, window.bottom - window.top, windowMs);
        std::fflush(stdout);
    }
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
    ::ReleaseDC(nullptr, screen);
    return 0;
}
