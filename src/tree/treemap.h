// The treemap of a folder tree: every node a rectangle whose area is its total size,
// nested by branch, in the squarified layout (Bruls, Huizing and van Wijk, 2000). The
// layout is pure arithmetic on the tree, deterministic (equal sizes by name), and shared
// by the window's picture and the report's SVG.
#pragma once

#include "tree/folder_tree.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tree {

// A rectangle in pixels; right and bottom lie outside it.
struct TreemapRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct TreemapTile {
    uint32_t node = 0;    // in FolderTree::Nodes()
    int32_t parent = -1;  // the tile of the node's parent in Treemap::tiles; -1 at the top
    uint32_t level = 0;   // 0 for the tiles directly inside the map's root
    TreemapRect rect;     // the whole tile, its frame included
    TreemapRect children; // where its children lie: inside the frame, below the name band
    bool named = false;   // a branch with room for its name band
    // The bytes of the children too small for a pixel, counted into this tile instead.
    uint64_t hiddenBytes = 0;
};

struct TreemapOptions {
    int32_t width = 0;
    int32_t height = 0;
    int32_t nameBand = 0; // the height of a branch's name band, in pixels; 0 for none
    int32_t frame = 1;    // the border of a branch around its children, in pixels
};

struct Treemap {
    TreemapRect bounds;
    // Every tile laid out, each after its parent; children in the order they were placed.
    std::vector<TreemapTile> tiles;
    // The tile of each node, -1 for a node not laid out (too small, outside the root).
    std::vector<int32_t> tileOfNode;
    // The bytes of the root's children too small for a pixel: no tile holds them.
    uint64_t hiddenBytes = 0;
};

// The treemap of the branch below `root` (-1: the whole tree) in a rectangle of the
// options' size. Nodes of size 0 and those that would get less than a pixel are not laid
// out; their bytes go to their parent's tile's hiddenBytes.
Treemap LayoutTreemap(const FolderTree& tree, int root, const TreemapOptions& options);

// The tile at a point: the innermost tile containing it, or -1.
int32_t TileAt(const Treemap& map, int32_t x, int32_t y);

// What a tile's colour tells: the folder limit (near and over in the list's colours),
// the last change (newer is brighter), or nothing.
enum class TreemapColour { kLimit, kAge, kPlain };

// The age at which the colour by last change reaches its darkest: a year, in seconds.
constexpr int64_t kTreemapAgeSpan = 365 * 24 * 60 * 60;

// The fill of `tile` as 0xRRGGBB; `now` (Unix seconds) is what "new" is measured from.
uint32_t TileColour(const FolderTree& tree, const TreemapTile& tile, TreemapColour colour,
                    int64_t now);

// The names from the top of the tree down to `node` as the tree shows them, joined by
// "\" (Windows-1252): "Archiv\2019". Past kTreemapPathLength characters only the end
// after the ellipsis, as KeepPathEnd cuts it; the walk up stops there, so a tile of a
// deep chain costs no more.
constexpr size_t kTreemapPathLength = 1024;
std::string TreemapPath(const FolderTree& tree, uint32_t node);

// A tile's colour washed out toward a light grey: what the list's filter leaves out,
// still there to show where it lies.
uint32_t DimmedColour(uint32_t rgb);

// The fill of `tile` under the list's filter: TileColour where the filter shows the
// tile's folder, dimmed where it does not. `kept` holds NodesKeptBy's flags (null for no
// filter); a folder kept only on the way down to a match is dimmed, as the tree greys it.
uint32_t FilteredTileColour(const FolderTree& tree, const TreemapTile& tile, TreemapColour colour,
                            int64_t now, const std::vector<uint8_t>* kept);

// The map as an SVG document (UTF-8): each tile a rectangle with a <title> of its path
// and size, so that a browser shows them on hover.
std::string TreemapSvg(const FolderTree& tree, const Treemap& map, TreemapColour colour,
                       int64_t now);

} // namespace tree
