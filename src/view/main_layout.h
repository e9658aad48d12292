// Where the main window puts its two controls for a client size: the folder list takes
// all the room but a margin and the status line, which keeps its height at the bottom.
// Pure arithmetic, so every size (minimized, tiny, huge) is tested without a window.
#pragma once

#include "view/layout.h"

namespace view {

// A control's place in its dialog's client area, in pixels.
struct ControlPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct MainLayout {
    ControlPlace list;
    ControlPlace status;
};

// The progress bar of a running scan, in the status area: its right part, where the
// status line's counts end well before, one pixel inside the line's sunken frame.
ControlPlace ProgressBarPlace(const ControlPlace& status);

// `clientWidth` and `clientHeight` are the recorded client size (already raised to the
// minimum); margins and spacing come from `metrics`. A width or height that the
// arithmetic would make negative (a client smaller than margins and status line,
// which only a window without a minimum size can have) becomes 0.
MainLayout ComputeMainLayout(int clientWidth, int clientHeight, const LayoutMetrics& metrics,
                             int statusHeight);

} // namespace view
