// The main window's layout for every client size: the list takes the growth, the
// status line keeps its height at the bottom, and nothing gets a negative size.
#include "view/main_layout.h"
#include "view/tree_layout.h"

#include <gtest/gtest.h>

namespace {

using view::ComputeMainLayout;
using view::ControlPlace;
using view::LayoutMetrics;
using view::MainLayout;

// "MS Sans Serif" 8 under Wine: 6 x 13 pixels per 4 x 8 dialog units, so the margins
// are 10 x 11 pixels and the spacing 8 pixels high.
const LayoutMetrics kMetrics = view::ComputeLayoutMetrics(6, 13);
const int kStatusHeight = 16;

void ExpectPlace(const ControlPlace& expected, const ControlPlace& actual, const char* what) {
    EXPECT_EQ(expected.x, actual.x) << what;
    EXPECT_EQ(expected.y, actual.y) << what;
    EXPECT_EQ(expected.width, actual.width) << what;
    EXPECT_EQ(expected.height, actual.height) << what;
}

TEST(MainLayoutTest, ListFillsTheClientAreaAboveTheStatusLine) {
    struct Case {
        int cx;
        int cy;
        ControlPlace list;
        ControlPlace status;
    } cases[] = {
        // The template's own size (128 x 81 dialog units).
        {192, 132, {10, 11, 172, 86}, {10, 105, 172, 16}},
        // Grown: only the list changes size; the status line moves down.
        {800, 600, {10, 11, 780, 554}, {10, 573, 780, 16}},
        {193, 133, {10, 11, 173, 87}, {10, 106, 173, 16}},
        // Exactly margins, spacing and status line: an empty list.
        {20, 46, {10, 11, 0, 0}, {10, 19, 0, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cx << " x " << c.cy);
        const MainLayout layout = ComputeMainLayout(c.cx, c.cy, kMetrics, kStatusHeight);
        ExpectPlace(c.list, layout.list, "list");
        ExpectPlace(c.status, layout.status, "status");
    }
}

TEST(MainLayoutTest, TheStatusLineKeepsItsHeightAndTheGapsStayFixed) {
    for (int cy = 46; cy <= 1200; cy += 37) {
        for (int cx = 20; cx <= 1600; cx += 151) {
            const MainLayout l = ComputeMainLayout(cx, cy, kMetrics, kStatusHeight);
            EXPECT_EQ(kStatusHeight, l.status.height);
            EXPECT_EQ(cy - kMetrics.marginY, l.status.y + l.status.height);
            EXPECT_EQ(l.status.y - kMetrics.spacingY, l.list.y + l.list.height);
            EXPECT_EQ(cx - kMetrics.marginX, l.list.x + l.list.width);
            EXPECT_EQ(l.list.width, l.status.width);
        }
    }
}

TEST(MainLayoutTest, NoControlGetsANegativeSizeForAnyClientSize) {
    // A minimized window reports 0 x 0; the frame raises that to the minimum, but even
    // a size nobody raised must not give a control a negative width or height.
    const int sizes[] = {0, 1, 5, 19, 20, 21, 45, 46, 47, -1, -100};
    for (int cx : sizes) {
        for (int cy : sizes) {
            const MainLayout l = ComputeMainLayout(cx, cy, kMetrics, kStatusHeight);
            EXPECT_GE(l.list.width, 0) << cx << " x " << cy;
            EXPECT_GE(l.list.height, 0) << cx << " x " << cy;
            EXPECT_GE(l.status.width, 0) << cx << " x " << cy;
            EXPECT_GE(l.status.height, 0) << cx << " x " << cy;
        }
    }
}

// The bar sits inside the status line's frame at its right end, leaving the left part
// for the progress text, in every window from the narrowest up.
TEST(MainLayoutTest, TheProgressBarStaysInsideTheRightOfTheStatusLine) {
    for (int cx = 0; cx <= 1600; cx += 7) {
        const MainLayout l = ComputeMainLayout(cx, 300, kMetrics, kStatusHeight);
        const ControlPlace bar = ProgressBarPlace(l.status);
        SCOPED_TRACE(cx);
        EXPECT_GE(bar.width, 0);
        EXPECT_EQ(kStatusHeight - 2, bar.height);
        EXPECT_EQ(l.status.y + 1, bar.y);
        if (l.status.width >= 10) {
            EXPECT_EQ(l.status.x + l.status.width - 1, bar.x + bar.width);
            EXPECT_GE(bar.x, l.status.x + l.status.width / 2) << "covers the text's half";
            if (l.status.width >= 30) {
                EXPECT_GE(bar.width, l.status.width / 3);
            }
        }
    }
    const ControlPlace bar = view::ProgressBarPlace({10, 573, 780, 16});
    ExpectPlace({479, 574, 310, 14}, bar, "grown window");
}

// A part that does not fit behind the ones before starts a line of its own; one wider
// than a line takes the lines its own wrap needs.
TEST(MainLayoutTest, TheStatusLineWrapsBetweenItsPartsAndGrowsByALineForEach) {
    const struct {
        std::vector<int> widths;
        int room;
        std::vector<size_t> breaks;
        size_t lines;
    } cases[] = {
        {{250, 200, 150}, 600, {}, 1},  // all fit
        {{250, 200, 150}, 450, {2}, 2}, // exactly full, then the third
        {{250, 200, 150}, 449, {1}, 2}, // the second and third share the next line
        {{250, 200, 150}, 260, {1, 2}, 3},
        {{250, 0, 150}, 300, {2}, 2},   // an empty part goes nowhere
        {{250, 500, 100}, 300, {1}, 3}, // the second wraps in itself, the third behind it
        {{250, 200}, 0, {}, 1},         // no room: nothing to wrap for
        {{}, 300, {}, 1},
    };
    for (const auto& c : cases) {
        const view::StatusWrap wrap = view::WrapStatusParts(c.widths, c.room);
        EXPECT_EQ(c.breaks, wrap.breaks) << c.room;
        EXPECT_EQ(c.lines, wrap.lines) << c.room;
    }
    EXPECT_EQ(16 + 2 * 13, view::StatusHeightFor(3, 16, 13));
    // A message wraps between its words: each part a word with the blanks before it.
    EXPECT_EQ((std::vector<std::string>{"Das", "  \"C:\\Post", " fach\"", " fehlt."}),
              view::WordParts("Das  \"C:\\Post fach\" fehlt."));
    EXPECT_TRUE(view::WordParts("").empty());
}

// "Ordnername" (width, others 200, minimum 240) as the list's client width changes.
TEST(MainLayoutTest, TheFolderColumnFillsTheRoomItsListGainsAndGivesItBack) {
    const struct {
        int width;
        int oldRoom;
        int room;
        int expected;
    } cases[] = {
        {100, 0, 800, 100},   // the list's first size: the stored width stands
        {100, 800, 800, 100}, // a layout of the same width
        {240, 440, 800, 600}, // wider: the free room
        {600, 800, 500, 300}, // narrower while it filled the room: follows
        {300, 500, 300, 240}, // never below its minimum
        {700, 800, 600, 700}, // wider than the room by the user: kept
        {100, 800, 600, 100}, // narrower by the user: kept until the list grows
        {100, 600, 700, 500}, {900, 800, 1000, 900}, // the columns still overflow the wider list
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, view::FillingColumnWidth(c.width, 200, c.oldRoom, c.room, 240))
            << c.width << " " << c.oldRoom << " " << c.room;
    }
}

} // namespace

namespace {

// The tree window opens wide enough for all its columns where the screen has room.
TEST(FirstTreeWindowWidth, WidensToTheColumnsWithinTheWorkAreaAndNeverShrinks) {
    // Window 600 with a list of 560: 40 of frame and margins.
    EXPECT_EQ(889, view::FirstTreeWindowWidth(600, 560, 832, 17, 1920)) << "columns and bar fit";
    EXPECT_EQ(800, view::FirstTreeWindowWidth(600, 560, 832, 17, 800)) << "the room there is";
    EXPECT_EQ(600, view::FirstTreeWindowWidth(600, 560, 300, 17, 1920)) << "never narrower";
    EXPECT_EQ(600, view::FirstTreeWindowWidth(600, 560, 832, 17, 400)) << "a tiny screen";
}

} // namespace
