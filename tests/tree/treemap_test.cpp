// The treemap layout on real scans: the example of the squarified layout's paper, a
// chain deeper than any stack, and generated mailboxes of many seeds checked against
// what every layout must satisfy.
#include "folder_formats.h"
#include "mailgen.h"
#include "test_support.h"
#include "tree/tree_scan.h"
#include "tree/tree_text.h"
#include "tree/treemap.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using testsupport::TempDir;
using testsupport::WriteFile;

int64_t AreaOf(const tree::TreemapRect& r) {
    return static_cast<int64_t>(r.right - r.left) * (r.bottom - r.top);
}

bool Inside(const tree::TreemapRect& in, const tree::TreemapRect& out) {
    return in.left >= out.left && in.top >= out.top && in.right <= out.right &&
           in.bottom <= out.bottom && in.left < in.right && in.top < in.bottom;
}

bool Overlap(const tree::TreemapRect& a, const tree::TreemapRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The first broken rule of `map`, or empty: each tile after its parent, inside its
// parent's children's area, apart from its siblings, its area its share of that area
// within the rounding of its edges, and every byte of a group in a tile or hidden.
std::string TreemapFault(const tree::FolderTree& t, int root, const tree::Treemap& map,
                         int32_t band = 0) {
    const auto& nodes = t.Nodes();
    std::vector<uint64_t> placed(map.tiles.size() + 1, 0); // per parent tile, the root last
    for (size_t k = 0; k < map.tiles.size(); ++k) {
        const tree::TreemapTile& tile = map.tiles[k];
        const bool top = tile.parent < 0;
        if (!top && tile.parent >= static_cast<int32_t>(k)) {
            return "a tile before its parent";
        }
        const tree::TreemapTile* parent = top ? nullptr : &map.tiles[tile.parent];
        const int parentNode = top ? root : static_cast<int>(parent->node);
        if (nodes[tile.node].parent != parentNode || map.tileOfNode[tile.node] != int32_t(k) ||
            tile.level != (top ? 0 : parent->level + 1)) {
            return "a tile that is not its node's child's";
        }
        const tree::TreemapRect& area = top ? map.bounds : parent->children;
        if (!Inside(tile.rect, area)) {
            return "a tile outside its parent";
        }
        if (tile.named && (tile.children.top - band < tile.rect.top ||
                           tile.children.bottom - tile.children.top < band)) {
            return "a name band without room for it and the children below";
        }
        for (size_t s = k + 1; s < map.tiles.size() && map.tiles[s].parent == tile.parent; ++s) {
            if (Overlap(tile.rect, map.tiles[s].rect)) {
                return "two siblings overlap";
            }
        }
        const uint64_t group = top && root < 0 ? t.GrandTotal() : nodes[parentNode].totalSize;
        const double expected = static_cast<double>(AreaOf(area)) *
                                static_cast<double>(nodes[tile.node].totalSize) /
                                static_cast<double>(group);
        const int32_t edges = tile.rect.right - tile.rect.left + tile.rect.bottom - tile.rect.top;
        if (std::abs(static_cast<double>(AreaOf(tile.rect)) - expected) > 2.0 * edges + 4) {
            return "an area not proportional to its size";
        }
        placed[top ? map.tiles.size() : tile.parent] += nodes[tile.node].totalSize;
    }
    for (size_t k = 0; k <= map.tiles.size(); ++k) {
        const bool top = k == map.tiles.size();
        const int node = top ? root : static_cast<int>(map.tiles[k].node);
        const uint64_t own = node < 0 ? 0 : nodes[node].ownSize;
        const uint64_t total = node < 0 ? t.GrandTotal() : nodes[node].totalSize;
        if (placed[k] + (top ? map.hiddenBytes : map.tiles[k].hiddenBytes) + own != total) {
            return "bytes of a group neither in a tile nor hidden";
        }
    }
    return std::string();
}

ScanRequest RequestFor(const TempDir& box, const TempDir& news, bool paths) {
    return {box.Path(), news.Path(), paths, false, "<Posteingang>"};
}

TEST(TreemapTest, LaysOutThePapersExampleInItsRows) {
    // Bruls, Huizing and van Wijk's example, 6 6 4 3 2 2 1 in a 6 by 4 rectangle, worked
    // by hand: the rows [6 6] and [4 3], then the rest, where adding a piece to a row
    // makes it worse each time. A unit is a kilobyte and 100 by 100 pixels.
    TempDir box;
    TempDir news;
    const int units[] = {6, 6, 4, 3, 2, 2, 1};
    for (int i = 0; i < 7; ++i) {
        const std::string name = std::string(1, static_cast<char>('A' + i));
        ASSERT_TRUE(WriteFile(box / (name + ".PMM"), mailgen::PmmHeader(name, name) +
                                                         std::string(units[i] * 1024 - 128, 'm')));
    }
    tree::TreeScan scan;
    scan.Run(RequestFor(box, news, false));
    const tree::Treemap map = tree::LayoutTreemap(scan.tree, 0, {600, 400, 0, 0});
    ASSERT_EQ("", TreemapFault(scan.tree, 0, map));
    ASSERT_EQ(7u, map.tiles.size());
    const tree::TreemapRect expected[] = {
        {0, 0, 300, 200},     {0, 200, 300, 400},   {300, 0, 471, 233},  {471, 0, 600, 233},
        {300, 233, 420, 400}, {420, 233, 540, 400}, {540, 233, 600, 400}};
    for (int i = 0; i < 7; ++i) {
        const tree::TreemapRect& r = map.tiles[static_cast<size_t>(i)].rect;
        EXPECT_EQ(std::string(1, static_cast<char>('A' + i)), scan.tree.Name(map.tiles[i].node));
        EXPECT_EQ(std::vector<int>(
                      {expected[i].left, expected[i].top, expected[i].right, expected[i].bottom}),
                  std::vector<int>({r.left, r.top, r.right, r.bottom}))
            << i;
    }
    // Filtered: B keeps its colour, the rest and B's group are washed out toward grey.
    view::RowFilter filter;
    ASSERT_TRUE(filter.SetWords("b"));
    const std::vector<uint8_t> kept = tree::NodesKeptBy(scan.tree, scan.catalogue.records, filter);
    for (const tree::TreemapTile& tile : tree::LayoutTreemap(scan.tree, -1, {60, 40, 0, 0}).tiles) {
        const tree::TreemapColour plain = tree::TreemapColour::kPlain;
        const uint32_t own = tree::FilteredTileColour(scan.tree, tile, plain, 0, nullptr);
        const uint32_t shown = tree::FilteredTileColour(scan.tree, tile, plain, 0, &kept);
        for (int s = 0; s < 24; s += 8) {
            const int from = std::abs(int((own >> s) & 0xFF) - 0xF4);
            const int to = std::abs(int((shown >> s) & 0xFF) - 0xF4);
            EXPECT_TRUE(scan.tree.Name(tile.node) == "B" ? to == from : to * 4 <= from + 4);
        }
    }
}

TEST(TreemapTest, AnEmptyFolderOneThatHoldsAlmostAllAndAMapOfAFewPixelsKeepEveryRule) {
    TempDir box;
    TempDir news;
    ASSERT_TRUE(
        WriteFile(box / "BIG.PMM", mailgen::PmmHeader("Big", "B") + std::string(1 << 20, 'm')));
    ASSERT_TRUE(WriteFile(box / "SMALL.PMM", mailgen::PmmHeader("Small", "S") + "m"));
    ASSERT_TRUE(WriteFile(box / "EMPTY.PMM", ""));
    tree::TreeScan scan;
    scan.Run(RequestFor(box, news, false));
    int empty = -1;
    int big = -1;
    for (size_t n = 0; n < scan.tree.Nodes().size(); ++n) {
        const uint64_t size = scan.tree.Nodes()[n].totalSize;
        empty = scan.tree.Nodes()[n].kind == tree::NodeKind::kFile && size == 0 ? int(n) : empty;
        big =
            size > (1u << 20) && scan.tree.Nodes()[n].kind == tree::NodeKind::kFile ? int(n) : big;
    }
    ASSERT_GE(empty, 0);
    ASSERT_GE(big, 0);
    for (const tree::TreemapOptions& options :
         {tree::TreemapOptions{600, 400, 12, 1}, tree::TreemapOptions{3, 2, 12, 1},
          tree::TreemapOptions{1, 1, 0, 0}, tree::TreemapOptions{0, 0, 0, 0},
          tree::TreemapOptions{-5, 7, 0, 1}}) {
        SCOPED_TRACE(std::to_string(options.width) + "x" + std::to_string(options.height));
        const tree::Treemap map = tree::LayoutTreemap(scan.tree, 0, options);
        EXPECT_EQ("", TreemapFault(scan.tree, 0, map));
        EXPECT_EQ(-1, map.tileOfNode[static_cast<size_t>(empty)]);
        for (const tree::TreemapTile& tile : map.tiles) {
            EXPECT_GT(AreaOf(tile.rect), 0);
        }
    }
    // The one that holds nearly everything fills nearly the whole map.
    const tree::Treemap map = tree::LayoutTreemap(scan.tree, 0, {600, 400, 0, 0});
    ASSERT_GE(map.tileOfNode[static_cast<size_t>(big)], 0);
    EXPECT_GE(AreaOf(map.tiles[static_cast<size_t>(map.tileOfNode[static_cast<size_t>(big)])].rect),
              600 * 400 * 99 / 100);
}

TEST(TreemapTest, SvgEscapesNamesInUtf8AndTheAgeColourDarkensOverAYear) {
    TempDir box;
    TempDir news;
    ASSERT_TRUE(WriteFile(box / "A.PMM", mailgen::PmmHeader("a&b<c>d\"e'f\x01g\x85h\xE4", "A")));
    tree::TreeScan scan;
    scan.Run(RequestFor(box, news, false));
    const tree::Treemap map = tree::LayoutTreemap(scan.tree, 0, {50, 40, 0, 0});
    const std::string svg = tree::TreemapSvg(scan.tree, map, tree::TreemapColour::kPlain, 0);
    EXPECT_NE(std::string::npos, svg.find("\\a&amp;b&lt;c&gt;d&quot;e&apos;f?g\xE2\x80\xA6h"
                                          "\xC3\xA4 (128 Bytes)</title>"))
        << svg;
    // By age a tile darkens over a year, then stays; one from the future counts as new.
    const int64_t written = scan.tree.Nodes()[map.tiles[0].node].newestChange;
    auto brightness = [&](int64_t age) {
        const uint32_t rgb =
            tree::TileColour(scan.tree, map.tiles[0], tree::TreemapColour::kAge, written + age);
        return (rgb >> 16) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF);
    };
    const int64_t ages[] = {0, 7 * 86400, 100 * 86400, tree::kTreemapAgeSpan};
    for (size_t k = 1; k < 4; ++k) {
        EXPECT_LT(brightness(ages[k]), brightness(ages[k - 1])) << ages[k];
    }
    EXPECT_EQ(brightness(-86400), brightness(0));
    EXPECT_EQ(brightness(5 * tree::kTreemapAgeSpan), brightness(tree::kTreemapAgeSpan));
}

TEST(TreemapTest, GeneratedTreesKeepEveryRuleInAnySortAndAtAnyPoint) {
    for (uint32_t seed = 1; seed <= 24; ++seed) {
        TempDir box;
        TempDir news;
        mailgen::Options options;
        options.seed = seed;
        options.folders = 20 + static_cast<int>(seed * 37 % 400);
        options.maxDepth = 1 + static_cast<int>(seed % 7);
        options.newMailFiles = static_cast<int>(seed % 3);
        options.hugeFolders = seed % 5 == 0 ? 1 : 0;
        mailgen::Expectation expected;
        std::string error;
        ASSERT_TRUE(mailgen::Generate(box.Path(), news.Path(), options, expected, error)) << error;
        tree::TreeScan scan;
        scan.Run(RequestFor(box, news, true));
        const tree::TreemapOptions sizes[] = {{800, 600, 14, 1}, {37, 500, 0, 0}, {3, 2, 9, 2}};
        for (const tree::TreemapOptions& size : sizes) {
            const int root = seed % 2 == 0 ? -1 : static_cast<int>(scan.tree.ChildrenBegin(-1)[0]);
            const tree::Treemap map = tree::LayoutTreemap(scan.tree, root, size);
            ASSERT_EQ("", TreemapFault(scan.tree, root, map, size.nameBand))
                << seed << " " << size.width;
            // Another order of the tree's rows draws the same picture.
            scan.tree.Sort({tree::kTreeColumnName, seed % 3 == 0});
            const tree::Treemap again = tree::LayoutTreemap(scan.tree, root, size);
            scan.tree.Sort(tree::kDefaultTreeSort);
            ASSERT_EQ(map.tiles.size(), again.tiles.size());
            for (size_t k = 0; k < map.tiles.size(); ++k) {
                const tree::TreemapRect& a = map.tiles[k].rect;
                const tree::TreemapRect& b = again.tiles[map.tileOfNode[again.tiles[k].node]].rect;
                ASSERT_TRUE(a.left == b.left && a.top == b.top && a.right == b.right &&
                            a.bottom == b.bottom);
                // The tile at a tile's centre is it or one inside it.
                int32_t at = tree::TileAt(map, (a.left + a.right) / 2, (a.top + a.bottom) / 2);
                while (at > static_cast<int32_t>(k)) {
                    at = map.tiles[static_cast<size_t>(at)].parent;
                }
                ASSERT_EQ(static_cast<int32_t>(k), at);
            }
            EXPECT_EQ(-1, tree::TileAt(map, size.width, 0));
        }
    }
}

TEST(TreemapTest, AChainDeeperThanAnyStackIsLaidOutUntilItsTilesVanish) {
    TempDir box;
    TempDir news;
    const int depth = 100000;
    std::string table = mailgen::HierarchyLine(2, 0, "R", "", "Wurzel") + "\r\n";
    for (int i = 0; i < depth; ++i) {
        table += mailgen::HierarchyLine(1, 0, "C" + std::to_string(i),
                                        i == 0 ? "R" : "C" + std::to_string(i - 1), "k") +
                 "\r\n";
    }
    ASSERT_TRUE(WriteFile(box / "hierarch.pm", table));
    const std::string last = "C" + std::to_string(depth - 1);
    ASSERT_TRUE(WriteFile(box / "DEEP.PMM", mailgen::PmmHeader("Tief", last) + "m"));
    tree::TreeScan scan;
    ASSERT_TRUE(scan.Run(RequestFor(box, news, true)));
    // Without frames every level fills the map, and the deepest is the one at a point.
    const tree::Treemap whole = tree::LayoutTreemap(scan.tree, -1, {40, 30, 0, 0});
    ASSERT_EQ(static_cast<size_t>(depth), whole.tiles.size());
    EXPECT_EQ(static_cast<int32_t>(depth - 1), tree::TileAt(whole, 39, 29));
    // Frames of 2 pixels leave no room inside the 8th level: the rest is its hidden bytes.
    const tree::Treemap framed = tree::LayoutTreemap(scan.tree, -1, {40, 30, 0, 2});
    ASSERT_EQ(8u, framed.tiles.size());
    EXPECT_EQ(129u, framed.tiles.back().hiddenBytes);
    EXPECT_EQ("", TreemapFault(scan.tree, -1, framed));
}

} // namespace
