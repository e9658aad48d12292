// The list's sort rule, shared by every sortable list, the tree and the report tool:
// which column and which direction, what a header click makes of them, and the
// comparison: in the sort column, descending by swapping the two items, ties broken by
// the other columns in the order the user has arranged them on screen.
#pragma once

namespace view {

struct ColumnSort {
    int column = 0;          // column index, not display position
    bool descending = false; // the items are swapped, so ties run descending too
};

// The sort after a click on `column`'s header: the same column again turns the order
// round, another column starts with the order `descendingFirst` says. The one rule of
// every list's header clicks.
inline ColumnSort NextSort(const ColumnSort& current, int column, bool descendingFirst) {
    return {column, column == current.column ? !current.descending : descendingFirst};
}

// How ties in the sort column are broken: not at all, by the other columns from the
// leftmost shown one, or from the sort column's display position on, wrapping around.
constexpr int kTieNone = 0;
constexpr int kTieFromLeftmost = 1;
constexpr int kTieFromSortColumn = 2;

// `order` holds, for each display position from the left, the column index shown there
// (`count` entries). `compareItems(a, b, column)` gives negative, 0 or positive.
template <class Item, class CompareItems>
int SortCompare(const Item& itemA, const Item& itemB, const ColumnSort& sort, int tieMode,
                const int* order, int count, CompareItems compareItems) {
    const Item* a = &itemA;
    const Item* b = &itemB;
    if (sort.descending) {
        const Item* swap = a;
        a = b;
        b = swap;
    }
    int r = compareItems(*a, *b, sort.column);
    if (r != 0 || tieMode == kTieNone || !order || count <= 0) {
        return r;
    }
    int start = 0;
    if (tieMode == kTieFromSortColumn) {
        for (int position = 0; position < count; ++position) {
            if (order[position] == sort.column) {
                start = position;
                break;
            }
        }
    }
    int i = start;
    do {
        const int column = order[i];
        if (column != sort.column) {
            r = compareItems(*a, *b, column);
        }
        i = i + 1 == count ? 0 : i + 1;
    } while (r == 0 && i != start);
    return r;
}

} // namespace view
