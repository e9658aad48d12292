// The squarified layout. Tiles are laid out level by level: the tiles vector is its own
// queue, each tile's children placed when the walk reaches it, so a chain of any depth
// costs no stack. Sizes decide pixels through integer arithmetic only (a rounded share
// of a length); floating point only chooses which siblings share a row, where a tie
// broken either way still gives a correct layout.
#include "tree/treemap.h"

#include "tree/tree_text.h"
#include "view/folder_compare.h"
#include "view/limit_mark.h"

#include <algorithm>

namespace tree {

namespace {

// The node's own files, laid out beside its children as their share of its area but
// drawn as the node's own ground, not as a tile.
constexpr uint32_t kOwnFiles = UINT32_MAX;

struct Piece {
    uint64_t size;
    uint32_t node;
};

// `part` of `whole` (part <= whole, whole > 0) of `length` pixels, rounded half up. The
// sizes keep their top 32 bits, so that the product fits 64 bits; what that drops is
// far below a pixel of any length an int32 holds.
int32_t ScaledLength(uint64_t part, uint64_t whole, int32_t length) {
    while (whole >> 32 != 0) {
        part >>= 1;
        whole >>= 1;
    }
    const uint64_t twice = 2 * part * static_cast<uint64_t>(length) + whole;
    return static_cast<int32_t>(twice / (2 * whole));
}

// The worse aspect ratio in a row of pieces from `largest` to `smallest` bytes, `sum`
// in all, spanning a side of sqrt(side2) pixels where a byte covers `scale` square pixels.
double WorstRatio(double sum, double largest, double smallest, double side2, double scale) {
    const double area = sum * scale;
    return std::max(side2 * largest * scale / (area * area),
                    area * area / (side2 * smallest * scale));
}

bool IsEmpty(const TreemapRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

class Layout {
public:
    Layout(const FolderTree& tree, const TreemapOptions& options, Treemap& map)
        : m_tree(tree), m_options(options), m_map(map) {}

    // Lays out the children of `node` (-1: the top nodes) in `area`, as children of
    // the tile `parentTile`.
    void PlaceChildren(int32_t parentTile, int node, const TreemapRect& area, uint32_t level);

private:
    void Squarify(TreemapRect rest, uint64_t total, int32_t parentTile, uint32_t level);
    void AddTile(const Piece& piece, const TreemapRect& rect, int32_t parentTile, uint32_t level);
    uint64_t& HiddenOf(int32_t parentTile) {
        return parentTile < 0 ? m_map.hiddenBytes
                              : m_map.tiles[static_cast<size_t>(parentTile)].hiddenBytes;
    }

    const FolderTree& m_tree;
    const TreemapOptions& m_options;
    Treemap& m_map;
    std::vector<Piece> m_pieces; // of the group being laid out, reused
};

void Layout::PlaceChildren(int32_t parentTile, int node, const TreemapRect& area, uint32_t level) {
    const std::vector<TreeNode>& nodes = m_tree.Nodes();
    m_pieces.clear();
    uint64_t total = 0;
    const uint32_t* children = m_tree.ChildrenBegin(node);
    for (uint32_t k = 0; k < m_tree.ChildCount(node); ++k) {
        const uint64_t size = nodes[children[k]].totalSize;
        if (size > 0) {
            m_pieces.push_back({size, children[k]});
            total += size;
        }
    }
    if (m_pieces.empty()) {
        return;
    }
    if (IsEmpty(area)) {
        HiddenOf(parentTile) += total;
        return;
    }
    const uint64_t own = node < 0 ? 0 : nodes[static_cast<size_t>(node)].ownSize;
    if (own > 0) {
        m_pieces.push_back({own, kOwnFiles});
        total += own;
    }
    // Largest first, as the squarified layout wants them; equal sizes by name, so the
    // same tree gives the same picture whatever order the list shows.
    std::sort(m_pieces.begin(), m_pieces.end(), [&](const Piece& a, const Piece& b) {
        if (a.size != b.size) {
            return a.size > b.size;
        }
        if (a.node == kOwnFiles || b.node == kOwnFiles) {
            return b.node == kOwnFiles && a.node != kOwnFiles;
        }
        const int byName = view::CompareFoldedText(m_tree.Name(static_cast<int>(a.node)),
                                                   m_tree.Name(static_cast<int>(b.node)));
        return byName != 0 ? byName < 0 : a.node < b.node;
    });
    Squarify(area, total, parentTile, level);
}

void Layout::Squarify(TreemapRect rest, uint64_t total, int32_t parentTile, uint32_t level) {
    const size_t n = m_pieces.size();
    size_t i = 0;
    while (i < n && !IsEmpty(rest)) {
        const int32_t width = rest.right - rest.left;
        const int32_t height = rest.bottom - rest.top;
        // A row spans the shorter side and takes its share of the longer one.
        const bool wide = width >= height;
        const double side = wide ? height : width;
        const double side2 = side * side;
        const double scale = static_cast<double>(width) * height / static_cast<double>(total);
        uint64_t sum = m_pieces[i].size;
        const double largest = static_cast<double>(sum);
        double worst = WorstRatio(largest, largest, largest, side2, scale);
        size_t j = i + 1;
        for (; j < n; ++j) {
            const double next = WorstRatio(static_cast<double>(sum + m_pieces[j].size), largest,
                                           static_cast<double>(m_pieces[j].size), side2, scale);
            if (next > worst) {
                break;
            }
            worst = next;
            sum += m_pieces[j].size;
        }
        TreemapRect strip = rest;
        if (wide) {
            strip.right = rest.left + ScaledLength(sum, total, width);
            rest.left = strip.right;
        } else {
            strip.bottom = rest.top + ScaledLength(sum, total, height);
            rest.top = strip.bottom;
        }
        const int32_t span = wide ? height : width;
        uint64_t run = 0;
        int32_t from = 0;
        for (size_t m = i; m < j; ++m) {
            run += m_pieces[m].size;
            const int32_t to = ScaledLength(run, sum, span);
            TreemapRect rect = strip;
            if (wide) {
                rect.top = strip.top + from;
                rect.bottom = strip.top + to;
            } else {
                rect.left = strip.left + from;
                rect.right = strip.left + to;
            }
            from = to;
            AddTile(m_pieces[m], rect, parentTile, level);
        }
        total -= sum;
        i = j;
    }
    for (; i < n; ++i) {
        if (m_pieces[i].node != kOwnFiles) {
            HiddenOf(parentTile) += m_pieces[i].size;
        }
    }
}

void Layout::AddTile(const Piece& piece, const TreemapRect& rect, int32_t parentTile,
                     uint32_t level) {
    if (piece.node == kOwnFiles) {
        return;
    }
    if (IsEmpty(rect)) {
        HiddenOf(parentTile) += piece.size;
        return;
    }
    const TreeNode& node = m_tree.Nodes()[piece.node];
    TreemapTile tile;
    tile.node = piece.node;
    tile.parent = parentTile;
    tile.level = level;
    tile.rect = rect;
    tile.children = {rect.left, rect.top, rect.left, rect.top};
    if (node.totalSize > node.ownSize) {
        const int32_t frame = std::max(m_options.frame, 0);
        TreemapRect inner{rect.left + frame, rect.top + frame, rect.right - frame,
                          rect.bottom - frame};
        const int32_t band = m_options.nameBand;
        // A band only where the children keep at least as much height below it.
        tile.named = band > 0 && inner.bottom - inner.top >= 2 * band &&
                     inner.right - inner.left >= 2 * band;
        if (tile.named) {
            inner.top += band;
        }
        if (!IsEmpty(inner)) {
            tile.children = inner;
        }
    }
    m_map.tileOfNode[piece.node] = static_cast<int32_t>(m_map.tiles.size());
    m_map.tiles.push_back(tile);
}

} // namespace

Treemap LayoutTreemap(const FolderTree& tree, int root, const TreemapOptions& options) {
    Treemap map;
    map.bounds = {0, 0, std::max(options.width, 0), std::max(options.height, 0)};
    map.tileOfNode.assign(tree.Nodes().size(), -1);
    if (root >= static_cast<int>(tree.Nodes().size())) {
        return map;
    }
    Layout layout(tree, options, map);
    layout.PlaceChildren(-1, root < 0 ? -1 : root, map.bounds, 0);
    // Breadth first: the tiles placed so far are the queue.
    for (size_t k = 0; k < map.tiles.size(); ++k) {
        const TreemapTile tile = map.tiles[k]; // a copy: placing the children grows the vector
        if (tree.Nodes()[tile.node].childCount > 0) {
            layout.PlaceChildren(static_cast<int32_t>(k), static_cast<int>(tile.node),
                                 tile.children, tile.level + 1);
        }
    }
    return map;
}

uint32_t DimmedColour(uint32_t rgb) {
    // A quarter of the colour on three quarters of 0xF4F4F4, channel by channel.
    uint32_t dimmed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t channel = (rgb >> shift) & 0xFF;
        dimmed |= ((channel + 3 * 0xF4) / 4) << shift;
    }
    return dimmed;
}

uint32_t FilteredTileColour(const FolderTree& tree, const TreemapTile& tile, TreemapColour colour,
                            int64_t now, const std::vector<uint8_t>* kept) {
    const uint32_t rgb = TileColour(tree, tile, colour, now);
    const bool shown =
        kept == nullptr || (tile.node < kept->size() && (*kept)[tile.node] == kNodePasses);
    return shown ? rgb : DimmedColour(rgb);
}

int32_t TileAt(const Treemap& map, int32_t x, int32_t y) {
    // Siblings do not overlap and children lie inside their parents, so the tiles at a
    // point are one tile and its ancestors; the deepest comes last.
    for (size_t k = map.tiles.size(); k-- > 0;) {
        const TreemapRect& r = map.tiles[k].rect;
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
            return static_cast<int32_t>(k);
        }
    }
    return -1;
}

} // namespace tree

namespace tree {

namespace {

// The list's grounds of a cell near and over the limit; the rest a quiet blue-grey.
constexpr uint32_t kNearLimitFill = view::kNearLimitGround;
constexpr uint32_t kOverLimitFill = view::kOverLimitGround;
constexpr uint32_t kBelowLimitFill = 0xD6E2EE;
// Newest to oldest: a light warm yellow to a dark slate, bright enough apart to read
// which branch was touched lately. A branch that knows no date stays a neutral grey.
constexpr uint32_t kNewFill = 0xFFF0A0;
constexpr uint32_t kOldFill = 0x46556E;
constexpr uint32_t kUndatedFill = 0xB4B4B4;
// One light colour per level, so nesting reads without another meaning.
constexpr uint32_t kLevelFills[] = {0xA9C8E6, 0xB9DEB0, 0xEED7A1, 0xDDBAD6, 0xAEDDDD, 0xE6C2AE};

// The channel-wise mix of `from` towards `to`, `part` of `whole` of the way.
uint32_t Mix(uint32_t from, uint32_t to, int64_t part, int64_t whole) {
    uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int64_t a = (from >> shift) & 0xFF;
        const int64_t b = (to >> shift) & 0xFF;
        mixed |= static_cast<uint32_t>(a + (b - a) * part / whole) << shift;
    }
    return mixed;
}

} // namespace

uint32_t TileColour(const FolderTree& tree, const TreemapTile& tile, TreemapColour colour,
                    int64_t now) {
    const TreeNode& node = tree.Nodes()[tile.node];
    switch (colour) {
    case TreemapColour::kLimit:
        return node.ownLimit == FolderLimit::kOver   ? kOverLimitFill
               : node.ownLimit == FolderLimit::kNear ? kNearLimitFill
                                                     : kBelowLimitFill;
    case TreemapColour::kAge: {
        if (node.newestChange <= 0) {
            return kUndatedFill;
        }
        // A change after `now` (a clock set back) counts as new.
        const int64_t age = now > node.newestChange ? now - node.newestChange : 0;
        return Mix(kNewFill, kOldFill, std::min(age, kTreemapAgeSpan), kTreemapAgeSpan);
    }
    default:
        return kLevelFills[tile.level % (sizeof(kLevelFills) / sizeof(kLevelFills[0]))];
    }
}

} // namespace tree
