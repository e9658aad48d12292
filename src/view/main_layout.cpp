// The main window's layout arithmetic.
#include "view/main_layout.h"

#include <algorithm>

namespace view {

MainLayout ComputeMainLayout(int clientWidth, int clientHeight, const LayoutMetrics& metrics,
                             int statusHeight) {
    const int mx = metrics.marginX;
    const int my = metrics.marginY;
    const int sy = metrics.spacingY;
    const int sh = std::max(statusHeight, 0);
    const int width = std::max(clientWidth - 2 * mx, 0);
    MainLayout layout;
    layout.list = {mx, my, width, std::max(clientHeight - sy - 2 * my - sh, 0)};
    layout.status = {mx, clientHeight - my - sh, width, sh};
    return layout;
}

} // namespace view
