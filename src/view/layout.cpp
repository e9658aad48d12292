// Layout arithmetic of the resizable dialogs.
#include "view/layout.h"

namespace view {

namespace {

// Moving an edge by the minimum size can leave the 32-bit coordinate range only for
// rectangles no window has; those stop at the range's end instead of wrapping.
int32_t Saturate(int64_t value) {
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

} // namespace

LayoutMetrics ComputeLayoutMetrics(int baseUnitX, int baseUnitY) {
    LayoutMetrics m;
    m.baseUnitX = baseUnitX;
    m.baseUnitY = baseUnitY;
    m.marginX = baseUnitX * 7 / 4;
    m.marginY = baseUnitY * 7 / 8;
    m.spacingX = baseUnitX * 5 / 4;
    m.spacingY = baseUnitY * 5 / 8;
    m.buttonWidth = baseUnitX * 50 / 4;
    m.buttonHeight = baseUnitY * 14 / 8;
    return m;
}

void ClampToMinimumSize(int edge, int minWidth, int minHeight, PixelRect& rect) {
    // Widths and heights in 64 bits: a rectangle from the far ends of the coordinate
    // range must not overflow the comparison.
    if (static_cast<int64_t>(rect.right) - rect.left < minWidth) {
        switch (edge) {
        case kEdgeLeft:
        case kEdgeTopLeft:
        case kEdgeBottomLeft:
            rect.left = Saturate(static_cast<int64_t>(rect.right) - minWidth);
            break;
        case kEdgeRight:
        case kEdgeTopRight:
        case kEdgeBottomRight:
            rect.right = Saturate(static_cast<int64_t>(rect.left) + minWidth);
            break;
        default:
            break;
        }
    }
    if (static_cast<int64_t>(rect.bottom) - rect.top < minHeight) {
        switch (edge) {
        case kEdgeTop:
        case kEdgeTopLeft:
        case kEdgeTopRight:
            rect.top = Saturate(static_cast<int64_t>(rect.bottom) - minHeight);
            break;
        case kEdgeBottom:
        case kEdgeBottomLeft:
        case kEdgeBottomRight:
            rect.bottom = Saturate(static_cast<int64_t>(rect.top) + minHeight);
            break;
        default:
            break;
        }
    }
}

namespace {

PixelPoint KeepInWorkArea(int64_t x, int64_t y, int width, int height, const PixelRect& work) {
    // Right and bottom first, so that a window larger than the area keeps its caption
    // and its left edge on the screen.
    x = x + width > work.right ? static_cast<int64_t>(work.right) - width : x;
    y = y + height > work.bottom ? static_cast<int64_t>(work.bottom) - height : y;
    x = x < work.left ? work.left : x;
    y = y < work.top ? work.top : y;
    return {Saturate(x), Saturate(y)};
}

// Along one axis: centred in [start, end) where `length` fits, else `offset` past start.
int64_t OverOwner(int32_t start, int32_t end, int length, int offset) {
    const int64_t room = static_cast<int64_t>(end) - start;
    return length <= room ? start + (room - length) / 2 : static_cast<int64_t>(start) + offset;
}

} // namespace

PixelPoint CenterInWorkArea(int width, int height, const PixelRect& over, const PixelRect& work) {
    const int64_t x = over.left + (static_cast<int64_t>(over.right) - over.left - width) / 2;
    const int64_t y = over.top + (static_cast<int64_t>(over.bottom) - over.top - height) / 2;
    return KeepInWorkArea(x, y, width, height, work);
}

PixelPoint PlaceOverOwner(int width, int height, const PixelRect& over, const PixelRect& work,
                          int offset) {
    return KeepInWorkArea(OverOwner(over.left, over.right, width, offset),
                          OverOwner(over.top, over.bottom, height, offset), width, height, work);
}

} // namespace view
