// Layout arithmetic of the resizable dialogs, free of any window: the pixel metrics
// derived from the dialog's base units, the clamp that keeps a window from being
// dragged smaller than the size it was created with, and a dialog's place over its owner.
#pragma once

#include <cstdint>

namespace view {

// A rectangle in pixels, as the platform's RECT: right and bottom are exclusive.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Pixel sizes of the fixed dialog-unit distances, from the pixels of 4 horizontal and
// 8 vertical dialog units. Each is "multiply, then divide, truncating".
struct LayoutMetrics {
    int baseUnitX = 0; // pixels of 4 horizontal dialog units
    int baseUnitY = 0; // pixels of 8 vertical dialog units
    int marginX = 0;   // 7 dialog units
    int marginY = 0;
    int spacingX = 0; // 5 dialog units
    int spacingY = 0;
    int buttonWidth = 0; // 50 x 14 dialog units
    int buttonHeight = 0;
};

LayoutMetrics ComputeLayoutMetrics(int baseUnitX, int baseUnitY);

// The WMSZ_* edge values of the platform's WM_SIZING.
enum SizingEdge {
    kEdgeLeft = 1,
    kEdgeRight = 2,
    kEdgeTop = 3,
    kEdgeTopLeft = 4,
    kEdgeTopRight = 5,
    kEdgeBottom = 6,
    kEdgeBottomLeft = 7,
    kEdgeBottomRight = 8,
};

// Grows a proposed window rectangle back to the minimum size: the dragged edge gives
// way and the opposite edge stays. A dimension that only the other edges change is
// left alone (dragging the top edge never corrects the width), and so is every edge
// value outside 1..8.
void ClampToMinimumSize(int edge, int minWidth, int minHeight, PixelRect& rect);

// Where a window of `width` x `height` goes: centred over `over`, kept inside `work`
// (a monitor's work area); a window larger than the work area shows its top left.
struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
};
PixelPoint CenterInWorkArea(int width, int height, const PixelRect& over, const PixelRect& work);

// Where a window of `width` x `height` opens over its owner `over`: centred along each
// axis where it fits within the owner, else from the owner's edge `offset` pixels in (a
// window centred over a smaller owner near the screen's edge would be pushed to the
// screen's corner and seem to belong to no window); kept inside `work` as above.
PixelPoint PlaceOverOwner(int width, int height, const PixelRect& over, const PixelRect& work,
                          int offset);

} // namespace view
