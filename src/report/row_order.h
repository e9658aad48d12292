// The report's row order: the folder list's comparison and tie-break applied to a
// catalogue without a window.
#pragma once

#include "report/earlier_report.h"

#include <cstdint>
#include <vector>

namespace report {

// The indexes of `rows` in the order the folder list shows them: by `column` (0 file
// name, 1 size, 2 folder, kSortChange by the rows' changes), ties broken by the other
// columns from left to right.
std::vector<uint32_t> SortRowIndexes(const ComparedRows& rows, int column, bool descending);

} // namespace report
