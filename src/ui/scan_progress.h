// The progress of a running scan in a window's status area, the same in both windows:
// the files read of those found in the status line, and the bar once the scan has lasted
// long enough for a user to wonder.
#pragma once

#include "framework/wnd.h"
#include "worker/scan_controller.h"

#include <windows.h>

// The timer that refreshes the progress while a scan runs, in both windows.
constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressPeriodMs = 100;

// Starts `window`'s progress timer while a scan is `busy`; otherwise stops it and hides
// `bar`, and the caller shows its result's status line again. Returns `busy`.
bool FollowScanProgress(HWND window, HWND bar, bool busy);

// Shows `progress` in `status` and `bar` (a progress bar control, hidden until then);
// nothing while the files are still being listed or after the scan ended.
void ShowScanProgress(const worker::ScanProgress& progress, const CWnd& status, HWND bar);
