// Shares of the mailbox total in tenths of a percent, their text and bar width, and the
// order in which the tree's rows are shown: integer arithmetic only, so the same sizes
// give the same text and the same bar on every platform.
#pragma once

#include "tree/folder_tree.h"
#include "view/row_filter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tree {

// `part` of `whole` in tenths of a percent, rounded half up: 0 for an empty whole,
// 1000 only when the part is the whole (so a share shown as "100,0 %" is all of it),
// exact for every 64-bit size.
uint32_t ShareTenths(uint64_t part, uint64_t whole);

// "34,5 %": the tenths as a decimal with a comma and the percent sign after a space;
// in English "34.5%".
std::string FormatShare(uint32_t tenths);

// Pixels of a bar `width` wide for the share, rounded half up: 0..width.
int BarWidth(uint32_t tenths, int width);

// The nodes in the order the tree shows them, each directly before its children: the
// children of a node only when `expanded` (one flag per node; null: every node) says so,
// and no node deeper than `maxDepth` (negative: no limit).
// One flag per node: whether `filter` keeps it. A node passes (kNodePasses) when the
// words are found on its way down (its name, its file's name and the names above it),
// none left out, and its total reaches the minimum; a node above one that passes is kept
// too (kNodeOnTheWay), for the way down to it, as the window greys it.
constexpr uint8_t kNodePasses = 1;
constexpr uint8_t kNodeOnTheWay = 2;
std::vector<uint8_t> NodesKeptBy(const FolderTree& tree, const std::vector<FolderRecord>& records,
                                 const view::RowFilter& filter);

std::vector<uint32_t> ShownNodes(const FolderTree& tree, const std::vector<uint8_t>* expanded,
                                 int maxDepth);

} // namespace tree
