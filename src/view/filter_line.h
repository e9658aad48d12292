// The filter line above each list window's list ("Filter:", its box, "ab:" with a
// minimum size, "Filter merken") without a window: where its controls go, and what the
// two boxes' texts make of the filter, bad input included.
#pragma once

#include "view/main_layout.h"
#include "view/row_filter.h"

#include <string_view>

namespace view {

struct FilterLinePlaces {
    ControlPlace filterLabel;
    ControlPlace filter;
    ControlPlace sizeLabel;
    ControlPlace size;
    ControlPlace remember;
    ControlPlace list; // the list's place below the line
};

// The widths the line's fixed parts take: the labels' and the check's texts with
// their room, and the size box.
struct FilterLineWidths {
    int filterLabel = 0;
    int sizeLabel = 0;
    int size = 0;
    int remember = 0;
};

// The line on top of `list` (the list's place without it), `height` high, the list
// giving way by that and `spacing.spacingY`. The parts keep their widths from the
// right; the filter box takes what is left, none in a window too narrow for it.
FilterLinePlaces PlaceFilterLine(const ControlPlace& list, int height, const LayoutMetrics& spacing,
                                 const FilterLineWidths& widths);

// The filter the two boxes say, and which of them holds what cannot be taken.
struct FilterInput {
    RowFilter filter;
    bool badWords = false; // over RowFilter::kMostWords words: the words as before
    bool badSize = false;  // no size: nothing filtered by size
};

// Takes the boxes' texts into `input`, whose filter is the one shown before.
void TakeFilterInput(std::string_view words, std::string_view size, FilterInput& input);

} // namespace view
