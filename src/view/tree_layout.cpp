// The folder tree window's layout arithmetic.
#include "view/tree_layout.h"

#include <algorithm>

namespace view {

namespace {

int AtLeastZero(int n) {
    return n < 0 ? 0 : n;
}

} // namespace

TreeLayout ComputeTreeLayout(int clientWidth, int clientHeight, const LayoutMetrics& m,
                             int statusHeight) {
    TreeLayout l;
    const int buttonsTop = clientHeight - m.marginY - m.buttonHeight;
    l.close = {clientWidth - m.marginX - m.buttonWidth, buttonsTop, m.buttonWidth, m.buttonHeight};
    l.help = {l.close.x - m.spacingX - m.buttonWidth, buttonsTop, m.buttonWidth, m.buttonHeight};
    const int width = AtLeastZero(clientWidth - 2 * m.marginX);
    l.status = {m.marginX, buttonsTop - m.spacingY - statusHeight, width, statusHeight};
    l.list = {m.marginX, m.marginY, width, AtLeastZero(l.status.y - m.spacingY - m.marginY)};
    return l;
}

int FirstTreeWindowWidth(int windowWidth, int listWidth, int columnsWidth, int scrollBar,
                         int roomWidth) {
    const int wanted = windowWidth + columnsWidth + scrollBar - listWidth;
    return std::max(windowWidth, std::min(wanted, roomWidth));
}

} // namespace view
