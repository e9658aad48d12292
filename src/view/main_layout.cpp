// The main window's layout arithmetic, the progress bar's place included.
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

ControlPlace ProgressBarPlace(const ControlPlace& status) {
    // Two fifths of the line: "Lese Ordnerdateien: 100.000 von 100.000" stays readable
    // beside it in the narrowest window.
    const int width = std::max(status.width * 2 / 5 - 2, 0);
    const int height = std::max(status.height - 2, 0);
    return {status.x + status.width - 1 - width, status.y + 1, width, height};
}

StatusWrap WrapStatusParts(const std::vector<int>& widths, int room) {
    StatusWrap wrap;
    if (room <= 0) {
        return wrap;
    }
    int used = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        int width = std::max(widths[i], 0);
        if (used > 0 && used + width > room) {
            wrap.breaks.push_back(i);
            ++wrap.lines;
            used = 0;
        }
        // A part wider than a line wraps inside itself, on lines of its own.
        for (; width > room; width -= room) {
            ++wrap.lines;
        }
        used += width;
    }
    return wrap;
}

std::vector<std::string> WordParts(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < text.size()) {
        const size_t blank = text.find(' ', text.find_first_not_of(' ', start));
        const size_t end = blank == std::string::npos ? text.size() : blank;
        parts.push_back(text.substr(start, end - start));
        start = end;
    }
    return parts;
}

int StatusHeightFor(size_t lines, int oneLineHeight, int lineHeight) {
    return oneLineHeight + static_cast<int>(lines > 1 ? lines - 1 : 0) * std::max(lineHeight, 0);
}

int FillingColumnWidth(int width, int others, int oldRoom, int room, int minimum) {
    const int fill = room - others;
    if (oldRoom <= 0 || room == oldRoom) {
        return width; // the list's first size, or a layout that changed no width
    }
    if (room > oldRoom) {
        return std::max(width, fill);
    }
    if (width == oldRoom - others) {
        return std::max(fill, std::min(width, minimum));
    }
    return width;
}

} // namespace view
