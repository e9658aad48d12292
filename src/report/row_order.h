// The report's row order: the folder list's comparison and tie-break applied to a
// catalogue without a window.
#pragma once

#include "mailbox/folder_catalogue.h"
#include "report/earlier_report.h"

#include <cstdint>
#include <vector>

namespace report {

// The indexes of `records` in the order the folder list shows them: by `column` (0
// file name, 1 size, 2 folder, kSortChange by `changes`), ties broken by the other
// columns from left to right.
std::vector<uint32_t> SortRowIndexes(const std::vector<const FolderRecord*>& records, int column,
                                     bool descending, const std::vector<ByteChange>* changes);

// The rows in the order the folder list shows them: by `column` (0 file name, 1 size,
// 2 folder), ties broken by the other columns from left to right.
std::vector<const FolderRecord*> SortRows(const FolderCatalogue& catalogue, int column,
                                          bool descending);

} // namespace report
