// Which stored column orders a list may apply: permutations of its columns only.
#include "view/column_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ColumnOrderTest, OnlyPermutationsOfTheColumnsAreAccepted) {
    struct Case {
        std::vector<int32_t> order;
        bool expected;
    } cases[] = {
        {{0, 1, 2}, true},
        {{2, 0, 1}, true},
        {{1, 2, 0}, true},
        {{2, 1, 0}, true},
        {{0, 0, 1}, false},
        {{2, 2, 2}, false},
        {{0, 1, 3}, false},
        {{-1, 0, 1}, false},
        {{0, 1}, true},
        {{}, true},
        {{1}, false},
        {{0}, true},
        {{0, 1, 2147483647}, false},
    };
    for (const Case& c : cases) {
        testing::Message what;
        for (int32_t v : c.order) {
            what << v << ' ';
        }
        EXPECT_EQ(c.expected,
                  view::IsColumnPermutation(c.order.data(), static_cast<int>(c.order.size())))
            << what;
    }
}

TEST(ColumnOrderTest, ANegativeCountOrAMissingArrayIsNoOrder) {
    const int32_t order[] = {0};
    EXPECT_FALSE(view::IsColumnPermutation(order, -1));
    EXPECT_FALSE(view::IsColumnPermutation(nullptr, 3));
}

} // namespace
