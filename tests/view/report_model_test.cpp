// The one rule of a header click, for every list.
#include "view/report_model.h"

#include <gtest/gtest.h>

namespace {

TEST(NextSort, TheSameColumnTurnsRoundAndAnotherStartsWithItsFirstDirection) {
    const struct {
        view::ColumnSort current;
        int column;
        bool descendingFirst;
        view::ColumnSort next;
    } cases[] = {
        {{0, false}, 0, false, {0, true}}, {{0, true}, 0, false, {0, false}},
        {{0, true}, 0, true, {0, false}},  {{0, false}, 2, false, {2, false}},
        {{0, false}, 2, true, {2, true}},  {{2, true}, 1, false, {1, false}},
        {{2, false}, 1, true, {1, true}},
    };
    for (const auto& c : cases) {
        const view::ColumnSort next = view::NextSort(c.current, c.column, c.descendingFirst);
        EXPECT_EQ(c.next.column, next.column);
        EXPECT_EQ(c.next.descending, next.descending)
            << c.current.column << (c.current.descending ? " down, " : " up, ") << c.column;
    }
}

} // namespace
