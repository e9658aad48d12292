// The treemap's ways about without a window: the neighbour in each direction on a
// hand-made map, the branch a zoom shows, and the zoom and selection found again in the
// next scan when folders are gone or moved.
#include "folder_formats.h"
#include "mailbox_fixtures.h"
#include "mailgen.h"
#include "test_support.h"
#include "tree/tree_scan.h"
#include "tree/treemap_nav.h"

#include <gtest/gtest.h>

namespace {

using fixtures::HierarchyLine;
using tree::TreemapDirection;

tree::TreemapTile Tile(int32_t parent, uint32_t level, tree::TreemapRect rect) {
    tree::TreemapTile tile;
    tile.parent = parent;
    tile.level = level;
    tile.rect = rect;
    return tile;
}

TEST(TreemapNavTest, TheNeighbourIsTheNearestTileBeyondThatEdgeItsOwnLevelFirst) {
    // 0 | 1 | 2 side by side at the top, 3 below them all; 4 and 5 inside 1, one above
    // the other; 6 inside 2 at its bottom right.
    tree::Treemap map;
    map.tiles = {Tile(-1, 0, {0, 0, 10, 10}),  Tile(-1, 0, {10, 0, 20, 10}),
                 Tile(-1, 0, {20, 0, 40, 10}), Tile(-1, 0, {0, 10, 40, 20}),
                 Tile(1, 1, {11, 1, 19, 5}),   Tile(1, 1, {11, 5, 19, 9}),
                 Tile(2, 1, {30, 5, 39, 9})};
    const struct {
        int32_t from;
        TreemapDirection direction;
        int32_t expected;
    } cases[] = {
        {0, TreemapDirection::kRight, 1},  {1, TreemapDirection::kRight, 2},
        {2, TreemapDirection::kRight, -1}, {2, TreemapDirection::kLeft, 1},
        {0, TreemapDirection::kLeft, -1},  {0, TreemapDirection::kDown, 3},
        {3, TreemapDirection::kUp, 0},     {4, TreemapDirection::kDown, 5},
        {5, TreemapDirection::kUp, 4},     {4, TreemapDirection::kRight, 6},
        {5, TreemapDirection::kLeft, 0},   {6, TreemapDirection::kDown, 3},
        {-1, TreemapDirection::kDown, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, tree::NeighbourTile(map, c.from, c.direction))
            << "from " << c.from << " direction " << static_cast<int>(c.direction);
    }
}

// "Archiv" with "2019" and "2020", "2020" with "Q1", and "Kunden"; the second scan
// loses "2020" (and "Q1" with it) and moves "Kunden" below "Archiv".
class TreemapNavScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        request.mailboxDir = box.Path();
        before = Scan(HierarchyLine(1, "A2", "A", "2020") + HierarchyLine(1, "A21", "A2", "Q1") +
                      HierarchyLine(1, "K", "ROOT", "Kunden"));
        beforeTree.Build(before->catalogue, before->details,
                         tree::MailboxNodeName(request.mailboxDir));
        after = Scan(HierarchyLine(1, "K", "A", "Kunden"));
        afterTree.Build(after->catalogue, after->details,
                        tree::MailboxNodeName(request.mailboxDir));
    }
    SharedScanResult Scan(const std::string& moreLines) {
        EXPECT_TRUE(testsupport::WriteFile(box / "hierarch.pm",
                                           HierarchyLine(2, "ROOT", "", "Mein Postfach") +
                                               HierarchyLine(1, "A", "ROOT", "Archiv") +
                                               HierarchyLine(1, "A1", "A", "2019") + moreLines));
        for (const char* id : {"A1", "A2", "A21", "K"}) {
            EXPECT_TRUE(testsupport::WriteFile(box / (std::string(id) + ".PMM"),
                                               mailgen::PmmHeader(id, id) + std::string(300, 'm')));
        }
        return RunScan(request);
    }
    int Named(const tree::FolderTree& tree, const std::string& path) const {
        for (size_t n = 0; n < tree.Nodes().size(); ++n) {
            if (tree::NodePath(tree, static_cast<int>(n)) == path) {
                return static_cast<int>(n);
            }
        }
        return -1;
    }
    testsupport::TempDir box;
    ScanRequest request;
    SharedScanResult before;
    SharedScanResult after;
    tree::FolderTree beforeTree;
    tree::FolderTree afterTree;
};

TEST_F(TreemapNavScanTest, AZoomOrSelectionKeepsItsFolderOrFallsBackToTheNearestParentLeft) {
    const struct {
        const char* path;
        const char* found;
    } cases[] = {
        {"\\Archiv\\2019", "\\Archiv\\2019"},
        {"\\Archiv\\2020\\Q1", "\\Archiv"},
        {"\\Kunden", ""},
        {"\\Archiv", "\\Archiv"},
    };
    for (const auto& c : cases) {
        const int node = Named(beforeTree, c.path);
        ASSERT_GE(node, 0) << c.path;
        const int found = tree::FindByChain(afterTree, tree::KeyChain(beforeTree, node));
        EXPECT_EQ(c.found, found < 0 ? "" : tree::NodePath(afterTree, found)) << c.path;
    }
    EXPECT_EQ(-1, tree::FindByChain(afterTree, {}));
}

TEST_F(TreemapNavScanTest, AZoomShowsTheBranchOrTheParentOfAFolderBelowTheRoot) {
    const int archiv = Named(beforeTree, "\\Archiv");
    const int y2020 = Named(beforeTree, "\\Archiv\\2020");
    const int q1 = Named(beforeTree, "\\Archiv\\2020\\Q1");
    const int kunden = Named(beforeTree, "\\Kunden");
    const struct {
        int root, node, expected;
    } cases[] = {{-1, archiv, archiv}, {-1, q1, y2020},  {archiv, q1, y2020},
                 {y2020, q1, -1},      {-1, kunden, -1}, {-1, -1, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, tree::ZoomTarget(beforeTree, c.root, c.node))
            << c.root << " " << c.node;
    }
    // 428 of 1712 bytes: 25 %.
    EXPECT_EQ("\\Archiv\\2020\\Q1|" + FormatSize(428, SizeStyle::Exact) + "|25,0 %",
              tree::TileStatus("%s|%s|%s", beforeTree, q1, SizeStyle::Exact));
}

} // namespace
