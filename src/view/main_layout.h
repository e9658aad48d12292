// Where the main window puts its two controls for a client size: the folder list takes
// all the room but a margin and the status line, which keeps its height at the bottom.
// Pure arithmetic, so every size (minimized, tiny, huge) is tested without a window.
#pragma once

#include "view/layout.h"

#include <string>
#include <vector>

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

// The status line's parts ("23 Dateien, ...", " – Grenze von 2 GB: ...") on lines of
// `room` pixels, each part `widths` wide: a part that does not fit behind the ones
// before begins a new line, so a part is never cut in two by the wrap; one wider than
// a line takes as many as its own wrap needs. One line for no parts or no room.
struct StatusWrap {
    std::vector<size_t> breaks; // the parts that begin a new line, in order
    size_t lines = 1;
};
StatusWrap WrapStatusParts(const std::vector<int>& widths, int room);
// A sentence as parts of one word each, every word after the first with the blank before
// it: a message in the status line then wraps between its words.
std::vector<std::string> WordParts(const std::string& text);

// The status area's height for `lines` lines: the one-line height of the template and
// `lineHeight` for each further line.
int StatusHeightFor(size_t lines, int oneLineHeight, int lineHeight);

// The width of the column that takes the room the others leave ("Ordnername"), after
// the list's client width went from `oldRoom` to `room`; `others` is the other
// columns' width. Widening fills the free room; narrowing takes back from a column
// that filled the old room exactly, never below the smaller of its width and `minimum`.
// A column the user made wider or narrower than the room keeps its width otherwise, and
// every column at the list's first size (`oldRoom` 0) and while the room stays: the
// stored widths stand.
int FillingColumnWidth(int width, int others, int oldRoom, int room, int minimum);

} // namespace view
