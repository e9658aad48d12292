// The filter line's layout and its input rules.
#include "view/filter_line.h"

#include "sizes/size_text.h"

#include <algorithm>

namespace view {

FilterLinePlaces PlaceFilterLine(const ControlPlace& list, int height, const LayoutMetrics& spacing,
                                 const FilterLineWidths& widths) {
    FilterLinePlaces line;
    const int h = std::max(height, 0);
    const int gap = spacing.spacingX;
    const int right = list.x + list.width;
    line.remember = {right - widths.remember, list.y, widths.remember, h};
    const int rememberGap = widths.remember > 0 ? gap : 0;
    line.size = {line.remember.x - rememberGap - widths.size, list.y, widths.size, h};
    line.sizeLabel = {line.size.x - widths.sizeLabel, list.y, widths.sizeLabel, h};
    line.filterLabel = {list.x, list.y, widths.filterLabel, h};
    const int filterX = list.x + widths.filterLabel;
    line.filter = {filterX, list.y, std::max(line.sizeLabel.x - gap - filterX, 0), h};
    const int taken = std::min(h + spacing.spacingY, list.height);
    line.list = {list.x, list.y + taken, list.width, list.height - taken};
    return line;
}

void TakeFilterInput(std::string_view words, std::string_view size, FilterInput& input) {
    input.badWords = !input.filter.SetWords(words);
    uint64_t bytes = 0;
    input.badSize = !ParseSizeText(size, &bytes);
    input.filter.SetMinimumSize(input.badSize ? 0 : bytes);
}

} // namespace view
