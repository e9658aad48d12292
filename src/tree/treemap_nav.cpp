// Neighbours by geometry alone, so that the keys follow what the user sees whatever
// order the layout placed the tiles in; zoom and selection across scans by the keys the
// tree window keeps its open branches by.
#include "tree/treemap_nav.h"

#include "diag/trace.h"
#include "tree/tree_text.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

namespace tree {

namespace {

// How far `to` lies beyond `from` in `direction`; negative when it is not wholly beyond.
int64_t GapBeyond(const TreemapRect& from, const TreemapRect& to, TreemapDirection direction) {
    switch (direction) {
    case TreemapDirection::kLeft:
        return int64_t{from.left} - to.right;
    case TreemapDirection::kRight:
        return int64_t{to.left} - from.right;
    case TreemapDirection::kUp:
        return int64_t{from.top} - to.bottom;
    case TreemapDirection::kDown:
        return int64_t{to.top} - from.bottom;
    }
    return -1;
}

// How far apart the two are across the direction: 0 when their spans overlap.
int64_t GapAcross(const TreemapRect& from, const TreemapRect& to, TreemapDirection direction) {
    const bool across =
        direction == TreemapDirection::kLeft || direction == TreemapDirection::kRight;
    const int64_t fromLow = across ? from.top : from.left;
    const int64_t fromHigh = across ? from.bottom : from.right;
    const int64_t toLow = across ? to.top : to.left;
    const int64_t toHigh = across ? to.bottom : to.right;
    return std::max<int64_t>({0, toLow - fromHigh, fromLow - toHigh});
}

} // namespace

int32_t NeighbourTile(const Treemap& map, int32_t from, TreemapDirection direction) {
    if (from < 0 || static_cast<size_t>(from) >= map.tiles.size()) {
        return -1;
    }
    const TreemapTile& origin = map.tiles[static_cast<size_t>(from)];
    // (other level, gap, gap across, index): the smallest wins.
    std::tuple<bool, int64_t, int64_t, int32_t> best{true, INT64_MAX, INT64_MAX, -1};
    for (size_t t = 0; t < map.tiles.size(); ++t) {
        const TreemapTile& tile = map.tiles[t];
        const int64_t gap = GapBeyond(origin.rect, tile.rect, direction);
        if (gap < 0) {
            continue; // ancestors and descendants overlap the origin: never beyond it
        }
        const auto candidate =
            std::make_tuple(tile.level != origin.level, gap,
                            GapAcross(origin.rect, tile.rect, direction), static_cast<int32_t>(t));
        best = std::min(best, candidate);
    }
    return std::get<3>(best);
}

int ZoomTarget(const FolderTree& tree, int root, int node) {
    if (node < 0) {
        return -1;
    }
    if (tree.ChildCount(node) > 0) {
        return node;
    }
    const int parent = tree.Nodes()[static_cast<size_t>(node)].parent;
    return parent >= 0 && parent != root ? parent : -1;
}

std::vector<std::string> KeyChain(const FolderTree& tree, int node) {
    std::vector<std::string> chain;
    for (int n = node; n >= 0; n = tree.Nodes()[static_cast<size_t>(n)].parent) {
        chain.push_back(tree.Key(n));
    }
    std::reverse(chain.begin(), chain.end());
    return chain;
}

int FindByChain(const FolderTree& tree, const std::vector<std::string>& chain) {
    std::unordered_map<std::string, int> nodeOf;
    for (const std::string& key : chain) {
        nodeOf.emplace(key, -1);
    }
    const size_t count = tree.Nodes().size();
    for (size_t n = 0; n < count && !chain.empty(); ++n) {
        const auto at = nodeOf.find(tree.Key(static_cast<int>(n)));
        if (at != nodeOf.end()) {
            at->second = static_cast<int>(n);
        }
    }
    // Only an unbroken way down from the top counts: a folder moved under another
    // parent is not the one the chain names below that parent.
    int found = -1;
    for (const std::string& key : chain) {
        const int node = nodeOf[key];
        if (node < 0 || tree.Nodes()[static_cast<size_t>(node)].parent != found) {
            break;
        }
        found = node;
    }
    return found;
}

std::string NodePath(const FolderTree& tree, int node) {
    // Gathered upwards and joined once: a chain of any depth costs its length, not its
    // square.
    std::vector<std::string_view> names;
    for (int n = node; n >= 0; n = tree.Nodes()[static_cast<size_t>(n)].parent) {
        names.push_back(tree.Name(n));
    }
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        path += '\\';
        path += *name;
    }
    return path;
}

std::string TileStatus(const std::string& format, const FolderTree& tree, int node,
                       SizeStyle style) {
    const uint64_t total = tree.Nodes()[static_cast<size_t>(node)].totalSize;
    return FormatText(format.c_str(), NodePath(tree, node).c_str(),
                      FormatSize(total, style).c_str(),
                      FormatShare(ShareTenths(total, tree.GrandTotal())).c_str());
}

} // namespace tree
