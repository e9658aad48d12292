// The filter line: its parts placed from the right with the list below them, and what
// the two boxes' texts make of the filter when they cannot be taken.
#include "view/filter_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const view::LayoutMetrics kLineMetrics = view::ComputeLayoutMetrics(6, 13);

TEST(FilterLineTest, PartsKeepTheirWidthsFromTheRightAndTheFilterBoxTakesTheRest) {
    const view::FilterLineWidths widths{40, 20, 70, 90};
    struct Case {
        int listWidth;
        int listHeight;
        int filterWidth;
        int listTop;
        int listBelow;
    } cases[] = {
        {400, 300, 166, 10 + 20 + 8, 300 - 28}, // spacing 7 wide, 8 high
        {212, 300, 0, 38, 272},                 // too narrow: no filter box
        {100, 20, 0, 30, 0},                    // the list never below nothing
    };
    for (const Case& c : cases) {
        const view::FilterLinePlaces line =
            view::PlaceFilterLine({10, 10, c.listWidth, c.listHeight}, 20, kLineMetrics, widths);
        EXPECT_EQ(10 + c.listWidth, line.remember.x + line.remember.width);
        EXPECT_EQ(line.size.x + 70 + 7, line.remember.x);
        EXPECT_EQ(line.sizeLabel.x + 20, line.size.x);
        EXPECT_EQ(50, line.filter.x);
        EXPECT_EQ(c.filterWidth, line.filter.width) << c.listWidth;
        EXPECT_EQ(c.listTop, line.list.y) << c.listWidth;
        EXPECT_EQ(c.listBelow, line.list.height) << c.listWidth;
    }
    const view::FilterLinePlaces noCheck = view::PlaceFilterLine(
        {10, 10, 400, 300}, 20, kLineMetrics, view::FilterLineWidths{40, 20, 70, 0});
    EXPECT_EQ(410, noCheck.size.x + noCheck.size.width) << "no gap for a check that is not there";
}

TEST(FilterLineTest, BadWordsKeepTheFilterBeforeAndABadSizeFiltersNothingBySize) {
    view::FilterInput input;
    view::TakeFilterInput("kunden", "1,5 kB", input);
    EXPECT_FALSE(input.badWords || input.badSize);
    EXPECT_EQ(1536u, input.filter.MinimumSize());
    std::string many;
    for (int i = 0; i <= 64; ++i) {
        many += "w" + std::to_string(i) + " ";
    }
    view::TakeFilterInput(many, "zehn", input);
    EXPECT_TRUE(input.badWords);
    EXPECT_TRUE(input.badSize);
    EXPECT_EQ(0u, input.filter.MinimumSize());
    EXPECT_TRUE(input.filter.PassesWords({"Kunden"})) << "the words before stay";
    EXPECT_FALSE(input.filter.PassesWords({"w1"}));
    view::TakeFilterInput(std::string(10000, 'x'), "", input);
    EXPECT_FALSE(input.badWords || input.badSize) << "one long word is one word";
    EXPECT_TRUE(input.filter.PassesWords({std::string(10000, 'X')}));
}

} // namespace
