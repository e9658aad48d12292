// Shares, their text and bars, and the shown order of the rows.
#include "tree/tree_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(ShareTest, RoundsHalfUpAndKeepsTheEndsForTheWholeAndNothing) {
    const uint64_t max = std::numeric_limits<uint64_t>::max();
    const struct {
        uint64_t part, whole;
        uint32_t tenths;
    } cases[] = {
        {0, 0, 0},
        {5, 0, 0},
        {0, 7, 0},
        {7, 7, 1000},
        {345, 1000, 345},
        {3445, 10000, 345},
        {3444, 10000, 344},
        {9999, 10000, 999},
        {99999, 100000, 999}, // 99,999 % rounds to 100,0 but is not the whole
        {1, 3, 333},
        {2, 3, 667},
        {1, 2000, 1},
        {1, 2001, 0},
        {max, max, 1000},
        {max / 2, max, 500},
        {max - 1, max, 999},
        {1, max, 0},
        {max / 1000 * 345, max, 345},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.tenths, tree::ShareTenths(c.part, c.whole)) << c.part << "/" << c.whole;
    }
}

TEST(ShareTest, HugeSizesGiveTheSameShareAsTheirScaledDownRatio) {
    // Past 2^64 / 1000 the product needs 128 bits; scaling an even whole and its part by
    // the same factor must not change the rounded share.
    uint64_t x = 12345;
    for (int i = 0; i < 2000; ++i) {
        x = x * 6364136223846793005u + 1442695040888963407u;
        const uint64_t whole = 2 * ((x >> 40) + 1);
        const uint64_t part = (x >> 8) % (whole + 1);
        const uint64_t scale = (uint64_t{1} << 63) / whole;
        ASSERT_EQ(tree::ShareTenths(part, whole), tree::ShareTenths(part * scale, whole * scale))
            << part << "/" << whole << " x" << scale;
    }
}

TEST(ShareTest, TextHasOneDecimalAfterAComma) {
    EXPECT_EQ("0,0 %", tree::FormatShare(0));
    EXPECT_EQ("34,5 %", tree::FormatShare(345));
    EXPECT_EQ("9,9 %", tree::FormatShare(99));
    EXPECT_EQ("100,0 %", tree::FormatShare(1000));
}

TEST(ShareTest, BarsAreProportionalWithinHalfAPixel) {
    for (int width : {0, 1, 7, 60, 101, 1000}) {
        for (uint32_t tenths = 0; tenths <= 1000; ++tenths) {
            const int bar = tree::BarWidth(tenths, width);
            const double exact = width * tenths / 1000.0;
            ASSERT_LE(bar - exact, 0.5) << width << " " << tenths;
            ASSERT_GT(bar - exact, -0.5) << width << " " << tenths;
        }
    }
    EXPECT_EQ(0, tree::BarWidth(500, -4));
}

} // namespace
