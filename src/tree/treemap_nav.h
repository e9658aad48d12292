// The rules of moving about a treemap that need no window: which tile lies next in a
// direction, which branch a zoom shows and where going back up leads, how the zoom and
// the selection find their folders again in the next scan's tree, and the status text
// of a tile. The window "Ordnerkarte" turns keys and clicks into these calls.
#pragma once

#include "sizes/size_text.h"
#include "tree/folder_tree.h"
#include "tree/treemap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tree {

enum class TreemapDirection { kLeft, kRight, kUp, kDown };

// The tile next to `from` in `direction`: of the tiles lying wholly beyond that edge of
// `from`, the nearest one, those of `from`'s own level first (a row of siblings reads
// as one), then those of any level. Ties go to the tile overlapping `from` across the
// direction, then to the one laid out first. -1 when none lies there.
int32_t NeighbourTile(const Treemap& map, int32_t from, TreemapDirection direction);

// The branch a double click or Enter on `node` zooms into, the map showing `root` (-1:
// the whole tree): the node itself when it has children, else its parent unless that is
// the root already; -1 when there is nothing deeper to show.
int ZoomTarget(const FolderTree& tree, int root, int node);

// The keys of `node` and the nodes above it, the top one first; empty for -1. A branch
// that is gone in the next scan is found again as its nearest parent that is not.
std::vector<std::string> KeyChain(const FolderTree& tree, int node);

// The deepest node of `tree` named by a prefix of `chain`; -1 when not even the first is
// there (or the chain is empty).
int FindByChain(const FolderTree& tree, const std::vector<std::string>& chain);

// `node`'s path from the top, its names joined by backslashes ("\Archiv\2019").
std::string NodePath(const FolderTree& tree, int node);

// The status line of the tile under the mouse: `format` (printf, three %s: path, size,
// share) filled with the node's path, its total in `style` and its share of the whole
// mailbox.
std::string TileStatus(const std::string& format, const FolderTree& tree, int node,
                       SizeStyle style);

} // namespace tree
