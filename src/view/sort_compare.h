// The list's sort rule, shared by every sortable list and by the report tool: compare
// in the sort column, descending by swapping the two items, and break ties by the
// other columns in the order the user has arranged them on screen.
#pragma once

namespace view {

// How ties in the sort column are broken: not at all, by the other columns from the
// leftmost shown one, or from the sort column's display position on, wrapping around.
constexpr int kTieNone = 0;
constexpr int kTieFromLeftmost = 1;
constexpr int kTieFromSortColumn = 2;

struct SortState {
    int nSortColumn = 0;          // column index, not display position
    bool bSortDescending = false; // the items are swapped, so ties run descending too
    int nTieMode = kTieNone;
};

// `order` holds, for each display position from the left, the column index shown there
// (`count` entries). `compareItems(a, b, column)` gives negative, 0 or positive.
template <class Item, class CompareItems>
int SortCompare(const Item& itemA, const Item& itemB, const SortState& state, const int* order,
                int count, CompareItems compareItems) {
    const Item* a = &itemA;
    const Item* b = &itemB;
    if (state.bSortDescending) {
        const Item* swap = a;
        a = b;
        b = swap;
    }
    int r = compareItems(*a, *b, state.nSortColumn);
    if (r != 0 || state.nTieMode == kTieNone || !order || count <= 0) {
        return r;
    }
    int start = 0;
    if (state.nTieMode == kTieFromSortColumn) {
        for (int position = 0; position < count; ++position) {
            if (order[position] == state.nSortColumn) {
                start = position;
                break;
            }
        }
    }
    int i = start;
    do {
        const int column = order[i];
        if (column != state.nSortColumn) {
            r = compareItems(*a, *b, column);
        }
        i = i + 1 == count ? 0 : i + 1;
    } while (r == 0 && i != start);
    return r;
}

} // namespace view
