#include "ui/scan_progress.h"

#include "framework/win_app.h"
#include "resource.h"
#include "view/scan_view.h"

#include <commctrl.h>

bool FollowScanProgress(HWND window, HWND bar, bool busy) {
    if (busy) {
        ::SetTimer(window, kProgressTimer, kProgressPeriodMs, nullptr);
    } else {
        ::KillTimer(window, kProgressTimer);
        ::ShowWindow(bar, SW_HIDE);
    }
    return busy;
}

void ShowScanProgress(const worker::ScanProgress& progress, const CWnd& status, HWND bar) {
    if (!progress.running || progress.filesTotal == 0) {
        return; // listing still, or ended with its message on the way
    }
    status.SetWindowText(view::ProgressLine(LoadResourceString(IDS_SCAN_PROGRESS),
                                            progress.filesRead, progress.filesTotal));
    if (progress.elapsedMs >= view::kProgressBarDelayMs) {
        ::SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(progress.filesTotal));
        ::SendMessageA(bar, PBM_SETPOS, progress.filesRead, 0);
        if (!::IsWindowVisible(bar)) {
            // Above the status line it lies on.
            ::SetWindowPos(bar, HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }
}
