// The filter line: its parts placed from the right with the list below them, and what
// the two boxes' texts make of the filter when they cannot be taken.
#include "view/filter_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FilterLineTest, PartsKeepTheirWidthsFromTheRightAndTheFilterBoxTakesTheRest) {
    const view::LayoutMetrics metrics = view::ComputeLayoutMetrics(6, 13); // spacing 7 x 8
    struct Case {
        int width, height, rememberWidth, filterWidth, sizeRight, listTop, listHeight;
    } cases[] = {
        {400, 300, 90, 166, 313, 38, 272},
        {212, 300, 90, 0, 125, 38, 272},  // too narrow: no filter box
        {100, 20, 90, 0, 13, 30, 0},      // the list never below nothing
        {400, 300, 0, 263, 410, 38, 272}, // no gap for a check that is not there
    };
    for (const Case& c : cases) {
        const view::FilterLinePlaces line = view::PlaceFilterLine(
            {10, 10, c.width, c.height}, 20, metrics, {40, 20, 70, c.rememberWidth});
        EXPECT_EQ(10 + c.width - c.rememberWidth, line.remember.x) << c.width;
        EXPECT_EQ(c.sizeRight, line.size.x + line.size.width) << c.width;
        EXPECT_EQ(line.sizeLabel.x + 20, line.size.x);
        EXPECT_EQ(c.filterWidth, line.filter.width) << c.width;
        EXPECT_EQ(c.listTop, line.list.y) << c.width;
        EXPECT_EQ(c.listHeight, line.list.height) << c.width;
    }
}

TEST(FilterLineTest, BadWordsKeepTheFilterBeforeAndABadSizeFiltersNothingBySize) {
    view::FilterInput input;
    view::TakeFilterInput("kunden", "1,5 kB", input);
    EXPECT_FALSE(input.badWords || input.badSize);
    EXPECT_EQ(1536u, input.filter.MinimumSize());
    std::string many;
    for (int i = 0; i <= 64; ++i)
        many += "w" + std::to_string(i) + " "; // one word over the most
    view::TakeFilterInput(many, "zehn", input);
    EXPECT_TRUE(input.badWords && input.badSize);
    EXPECT_EQ(0u, input.filter.MinimumSize());
    EXPECT_TRUE(input.filter.PassesWords({"Kunden"})) << "the words before stay";
    view::TakeFilterInput(std::string(10000, 'x'), "", input);
    EXPECT_FALSE(input.badWords || input.badSize) << "one long word is one word";
}

} // namespace
