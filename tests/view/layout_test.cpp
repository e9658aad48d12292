// The minimum-size clamp for every dragged edge, and the pixel metrics of the dialog
// frame from its base units.
#include "view/layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using view::PixelRect;

struct ClampCase {
    const char* what;
    int edge;
    PixelRect proposed;
    PixelRect expected;
};

// Minimum 300 x 200; the proposals are 100 x 50, so both dimensions are too small.
const PixelRect kSmall = {500, 400, 600, 450};

TEST(LayoutTest, DraggedEdgeGivesWayAndOppositeEdgeStays) {
    const ClampCase cases[] = {
        {"left", view::kEdgeLeft, kSmall, {300, 400, 600, 450}},
        {"right", view::kEdgeRight, kSmall, {500, 400, 800, 450}},
        {"top", view::kEdgeTop, kSmall, {500, 250, 600, 450}},
        {"bottom", view::kEdgeBottom, kSmall, {500, 400, 600, 600}},
        {"top left", view::kEdgeTopLeft, kSmall, {300, 250, 600, 450}},
        {"top right", view::kEdgeTopRight, kSmall, {500, 250, 800, 450}},
        {"bottom left", view::kEdgeBottomLeft, kSmall, {300, 400, 600, 600}},
        {"bottom right", view::kEdgeBottomRight, kSmall, {500, 400, 800, 600}},
        {"no edge", 0, kSmall, kSmall},
        {"unknown edge", 9, kSmall, kSmall},
        {"negative edge", -1, kSmall, kSmall},
        {"wide enough, too low", view::kEdgeBottomRight, {0, 0, 400, 10}, {0, 0, 400, 200}},
        {"high enough, too narrow", view::kEdgeTopLeft, {0, 0, 10, 900}, {-290, 0, 10, 900}},
        {"exactly the minimum", view::kEdgeTopLeft, {10, 20, 310, 220}, {10, 20, 310, 220}},
        {"one pixel short", view::kEdgeBottomRight, {10, 20, 309, 219}, {10, 20, 310, 220}},
        {"inverted rectangle", view::kEdgeRight, {100, 0, 50, 500}, {100, 0, 400, 500}},
    };
    for (const ClampCase& c : cases) {
        SCOPED_TRACE(c.what);
        PixelRect r = c.proposed;
        view::ClampToMinimumSize(c.edge, 300, 200, r);
        EXPECT_EQ(c.expected.left, r.left);
        EXPECT_EQ(c.expected.top, r.top);
        EXPECT_EQ(c.expected.right, r.right);
        EXPECT_EQ(c.expected.bottom, r.bottom);
    }
}

TEST(LayoutTest, ClampedRectangleIsNeverSmallerThanTheMinimumForCornerEdges) {
    // Every corner edge must end with at least the minimum size in both dimensions,
    // whatever was proposed; a seeded walk over many proposals.
    unsigned seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(range)) - range / 2;
    };
    const int corners[] = {view::kEdgeTopLeft, view::kEdgeTopRight, view::kEdgeBottomLeft,
                           view::kEdgeBottomRight};
    for (int i = 0; i < 4000; ++i) {
        PixelRect r = {next(4000), next(4000), next(4000), next(4000)};
        const PixelRect before = r;
        const int edge = corners[i % 4];
        view::ClampToMinimumSize(edge, 320, 240, r);
        EXPECT_GE(r.right - r.left, 320);
        EXPECT_GE(r.bottom - r.top, 240);
        // Exactly one of each pair of opposite edges may have moved.
        EXPECT_TRUE(r.left == before.left || r.right == before.right);
        EXPECT_TRUE(r.top == before.top || r.bottom == before.bottom);
    }
}

TEST(LayoutTest, EdgesAtTheEndOfTheCoordinateRangeDoNotWrap) {
    PixelRect r = {INT_MIN, INT_MIN, INT_MIN + 5, INT_MIN + 5};
    view::ClampToMinimumSize(view::kEdgeTopLeft, 100, 100, r);
    EXPECT_EQ(INT_MIN, r.left);
    EXPECT_EQ(INT_MIN, r.top);

    r = {INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX};
    view::ClampToMinimumSize(view::kEdgeBottomRight, 100, 100, r);
    EXPECT_EQ(INT_MAX, r.right);
    EXPECT_EQ(INT_MAX, r.bottom);
}

struct MetricsCase {
    int unitX, unitY;
    int marginX, marginY, spacingX, spacingY, buttonW, buttonH;
};

TEST(LayoutTest, MetricsMultiplyFirstThenTruncate) {
    const MetricsCase cases[] = {
        // MS Sans Serif 8 at 96 dpi: 4 dlu = 6 px, 8 dlu = 13 px.
        {6, 13, 10, 11, 7, 8, 75, 22},    {7, 14, 12, 12, 8, 8, 87, 24},
        {8, 16, 14, 14, 10, 10, 100, 28}, {5, 11, 8, 9, 6, 6, 62, 19},
        {0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const MetricsCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.unitX << "x" << c.unitY);
        const view::LayoutMetrics m = view::ComputeLayoutMetrics(c.unitX, c.unitY);
        EXPECT_EQ(c.unitX, m.baseUnitX);
        EXPECT_EQ(c.unitY, m.baseUnitY);
        EXPECT_EQ(c.marginX, m.marginX);
        EXPECT_EQ(c.marginY, m.marginY);
        EXPECT_EQ(c.spacingX, m.spacingX);
        EXPECT_EQ(c.spacingY, m.spacingY);
        EXPECT_EQ(c.buttonW, m.buttonWidth);
        EXPECT_EQ(c.buttonH, m.buttonHeight);
    }
}

struct CenterCase {
    const char* what;
    PixelRect over;
    int x, y;
};

TEST(LayoutTest, DialogIsCentredOverItsOwnerAndKeptInsideTheWorkArea) {
    // A 200 x 100 dialog; the work area of a second monitor right of a 1280 px one.
    const PixelRect work = {1280, 0, 2560, 984};
    const CenterCase cases[] = {
        {"inside", {1400, 100, 2000, 500}, 1600, 250},
        {"owner hangs off the left", {1000, 100, 1400, 300}, 1280, 150},
        {"owner hangs off the right bottom", {2400, 900, 2800, 1100}, 2360, 884},
        {"owner maximized over the area", work, 1820, 442},
        {"owner smaller than the dialog", {1500, 500, 1540, 520}, 1420, 460},
    };
    for (const CenterCase& c : cases) {
        SCOPED_TRACE(c.what);
        const view::PixelPoint at = view::CenterInWorkArea(200, 100, c.over, work);
        EXPECT_EQ(c.x, at.x);
        EXPECT_EQ(c.y, at.y);
    }
    // Larger than the area: the top left corner stays on the screen.
    const view::PixelPoint big = view::CenterInWorkArea(1500, 1200, {1400, 100, 2000, 500}, work);
    EXPECT_EQ(1280, big.x);
    EXPECT_EQ(0, big.y);
}

TEST(PlaceOverOwnerTest, CentredWhereItFitsElseFromTheOwnersEdgeAndAlwaysOnTheScreen) {
    const view::PixelRect work = {0, 0, 1280, 984};
    const view::PixelRect main = {6, 6, 714, 566}; // 708 x 560
    const struct {
        const char* what;
        int width, height;
        view::PixelRect over;
        int32_t x, y;
    } cases[] = {
        {"smaller: centred", 400, 300, main, 160, 136},
        {"wider and higher: from the corner, in", 960, 561, main, 36, 36},
        {"wider only", 960, 300, main, 36, 136},
        {"higher only", 400, 700, {300, 200, 1008, 760}, 454, 230},
        {"pushed back from the right", 960, 561, {900, 100, 1280, 400}, 320, 130},
        {"larger than the screen: its corner", 1500, 1200, main, 0, 0},
    };
    for (const auto& c : cases) {
        const view::PixelPoint at = view::PlaceOverOwner(c.width, c.height, c.over, work, 30);
        EXPECT_EQ(c.x, at.x) << c.what;
        EXPECT_EQ(c.y, at.y) << c.what;
    }
}

} // namespace
