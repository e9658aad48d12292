// Where the folder tree window puts its controls for a client size: the tree takes the
// room above the status line, the two buttons sit at the bottom right. Pure arithmetic.
#pragma once

#include "view/main_layout.h"

namespace view {

struct TreeLayout {
    ControlPlace list;
    ControlPlace status;
    ControlPlace help;
    ControlPlace close;
};

// Sizes that would come out negative become 0.
TreeLayout ComputeTreeLayout(int clientWidth, int clientHeight, const LayoutMetrics& metrics,
                             int statusHeight);

// The width of the window at its first opening: wide enough that its list shows every
// column (`listWidth` is the list's client width now, `columnsWidth` the columns' and
// `scrollBar` a vertical scroll bar's), within the work area's `roomWidth`; never
// narrower than `windowWidth`, the template's.
int FirstTreeWindowWidth(int windowWidth, int listWidth, int columnsWidth, int scrollBar,
                         int roomWidth);

} // namespace view
