// The tree window's rows without the window, over a hand-made mailbox: the first level
// open, the Explorer keys, clicks on the boxes, every header both ways with the first
// click's order, a rescan keeping open branches and the selection, the cells, the
// type-ahead search and the share bar's geometry.
#include "folder_formats.h"
#include "mailbox_fixtures.h"
#include "mailgen.h"
#include "sizes/date_text.h"
#include "test_support.h"
#include "tree/tree_rows.h"
#include "tree/tree_text.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using fixtures::HierarchyLine;
using testsupport::TempDir;
using testsupport::WriteFile;
using tree::TreeKey;

// The first column of every shown row with its indent, and the selected row marked:
// "Archiv;.2019;*.2020;" for three rows with the last selected.
std::string Outline(const tree::TreeRows& rows) {
    std::string text;
    for (int r = 0; r < rows.RowCount(); ++r) {
        text += (r == rows.SelectedRow() ? "*" : "") +
                std::string(static_cast<size_t>(rows.IndentOf(r)), '.') +
                rows.CellText(r, tree::kTreeColumnName, SizeStyle::Exact) + ";";
    }
    return text;
}

// A tree of two levels below "Archiv", a branch "Kunden" and new mail.
class TreeRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFile(box / "hierarch.pm", HierarchyLine(2, "ROOT", "", "Mein Postfach") +
                                                       HierarchyLine(1, "A", "ROOT", "Archiv") +
                                                       HierarchyLine(1, "A1", "A", "2019") +
                                                       HierarchyLine(1, "A2", "A", "2020") +
                                                       HierarchyLine(1, "A21", "A2", "Q1") +
                                                       HierarchyLine(1, "K", "ROOT", "Kunden")));
        Pmm("A1.PMM", "2019", "A1", 1000);
        Pmm("A2.PMM", "2020", "A2", 400);
        Pmm("A21.PMM", "Q1", "A21", 200);
        Pmm("K.PMM", "Kunden", "K", 300);
        ASSERT_TRUE(WriteFile(news / "1.CNM", std::string(100, 'n')));
        request.mailboxDir = box.Path();
        request.newmailDir = news.Path();
        request.newMailLabel = "<Posteingang>";
        rows.SetResult(RunScan(request));
    }
    void Pmm(const std::string& file, const std::string& name, const std::string& id, size_t body) {
        ASSERT_TRUE(WriteFile(box / file, mailgen::PmmHeader(name, id) + std::string(body, 'm')));
    }
    TempDir box;
    TempDir news;
    ScanRequest request;
    tree::TreeRows rows;
};

TEST_F(TreeRowsTest, OpensWithTheFirstLevelOpenTheFirstRowSelectedAndTheCellsOfTheTree) {
    EXPECT_EQ("*Archiv;.2019;.2020;Kunden;<Posteingang>;", Outline(rows));
    const auto exact = [](uint64_t n) { return FormatSize(n, SizeStyle::Exact); };
    // 128-byte headers: 1128, 528 + 328, 428; new mail 100; 2512 in all.
    const std::vector<std::vector<std::string>> expected = {
        {exact(1984), "79,0 %", exact(0), "3"},  {exact(1128), "44,9 %", exact(1128), "1"},
        {exact(856), "34,1 %", exact(528), "2"}, {exact(428), "17,0 %", exact(428), "1"},
        {exact(100), "4,0 %", exact(100), "1"},
    };
    std::vector<std::vector<std::string>> cells;
    for (int r = 0; r < rows.RowCount(); ++r) {
        std::vector<std::string> line;
        // The change (the files' own times) has a test of its own.
        for (int c = tree::kTreeColumnTotal; c <= tree::kTreeColumnFiles; ++c) {
            line.push_back(rows.CellText(r, c, SizeStyle::Exact));
        }
        cells.push_back(line);
    }
    EXPECT_EQ(expected, cells);
    EXPECT_EQ(FormatSize(1984, SizeStyle::Compact),
              rows.CellText(0, tree::kTreeColumnTotal, SizeStyle::Compact));
    EXPECT_EQ("", rows.CellText(5, tree::kTreeColumnName, SizeStyle::Exact)) << "past the end";
    EXPECT_EQ("", rows.CellText(0, tree::kTreeColumnCount, SizeStyle::Exact));
    EXPECT_EQ((std::vector<int>{tree::kImageOpen, tree::kImageLeaf, tree::kImageClosed,
                                tree::kImageLeaf, tree::kImageLeaf}),
              (std::vector<int>{rows.ImageOf(0), rows.ImageOf(1), rows.ImageOf(2), rows.ImageOf(3),
                                rows.ImageOf(4)}));
}

// Ctrl+C: the shown rows only, the names indented by their level, each branch's total.
TEST_F(TreeRowsTest, ACopyHoldsTheShownRowsIndentedByLevelWithEachBranchsTotal) {
    rows.SetExpanded(2, true); // 2020 opens: Q1 below it
    const view::ListSnapshot copy = rows.Snapshot({"Ordner"});
    std::vector<std::string> names;
    std::vector<uint64_t> bytes;
    for (const view::ListSnapshot::Row& row : copy.rows) {
        names.push_back(row.cells.at(tree::kTreeColumnName));
        bytes.push_back(row.bytes);
    }
    EXPECT_EQ((std::vector<std::string>{"Archiv", "  2019", "  2020", "    Q1", "Kunden",
                                        "<Posteingang>"}),
              names);
    EXPECT_EQ((std::vector<uint64_t>{1984, 1128, 856, 328, 428, 100}), bytes);
}

TEST_F(TreeRowsTest, KeysAndClicksOpenAndCloseBranchesAsInExplorer) {
    std::vector<std::string> seen;
    const auto key = [&](TreeKey k) {
        rows.OnKey(k);
        seen.push_back(Outline(rows));
    };
    rows.SelectRow(2);         // 2020
    key(TreeKey::kRight);      // opens
    key(TreeKey::kRight);      // open: to the first child
    key(TreeKey::kLeft);       // Q1 has none: to its parent
    key(TreeKey::kLeft);       // closes 2020
    key(TreeKey::kLeft);       // closed: to Archiv
    key(TreeKey::kLeft);       // closes Archiv
    key(TreeKey::kLeft);       // a closed top node stays where it is
    key(TreeKey::kOpenBranch); // the whole branch
    key(TreeKey::kClose);
    key(TreeKey::kOpen);
    rows.Toggle(0); // a click on the box
    seen.push_back(Outline(rows));
    rows.Toggle(1); // a double click on a leaf changes nothing but the selection
    seen.push_back(Outline(rows));
    const std::vector<std::string> expected = {
        "Archiv;.2019;*.2020;..Q1;Kunden;<Posteingang>;",
        "Archiv;.2019;.2020;*..Q1;Kunden;<Posteingang>;",
        "Archiv;.2019;*.2020;..Q1;Kunden;<Posteingang>;",
        "Archiv;.2019;*.2020;Kunden;<Posteingang>;",
        "*Archiv;.2019;.2020;Kunden;<Posteingang>;",
        "*Archiv;Kunden;<Posteingang>;",
        "*Archiv;Kunden;<Posteingang>;",
        "*Archiv;.2019;.2020;..Q1;Kunden;<Posteingang>;",
        "*Archiv;Kunden;<Posteingang>;",
        "*Archiv;.2019;.2020;..Q1;Kunden;<Posteingang>;",
        "*Archiv;Kunden;<Posteingang>;",
        "Archiv;*Kunden;<Posteingang>;",
    };
    EXPECT_EQ(expected, seen);
}

TEST_F(TreeRowsTest, KeysWithoutASelectionAndRowsOutOfRangeChangeNothing) {
    rows.SelectRow(-1);
    const std::string before = Outline(rows);
    for (TreeKey k :
         {TreeKey::kLeft, TreeKey::kRight, TreeKey::kOpenBranch, TreeKey::kOpen, TreeKey::kClose}) {
        rows.OnKey(k);
    }
    rows.SetExpanded(5, false);
    rows.SetExpanded(-1, false);
    rows.Toggle(99);
    EXPECT_EQ(before, Outline(rows));
    EXPECT_EQ(-1, rows.SelectedRow());
    rows.SelectRow(17);
    EXPECT_EQ(-1, rows.SelectedRow());
}

TEST_F(TreeRowsTest, EveryHeaderSortsBothWaysKeepingChildrenBelowTheirParent) {
    std::vector<std::string> seen;
    rows.SelectRow(-1);
    for (int column : {0, 0, 3, 3, 4, 1, 1}) {
        seen.push_back(Outline(rows));
        rows.SortBy(column);
    }
    seen.push_back(Outline(rows));
    const std::vector<std::string> expected = {
        "Archiv;.2019;.2020;Kunden;<Posteingang>;", // by total, largest first
        "<Posteingang>;Archiv;.2019;.2020;Kunden;", // name ascending on the first click
        "Kunden;Archiv;.2020;.2019;<Posteingang>;", // name descending
        "Kunden;<Posteingang>;Archiv;.2019;.2020;", // own size, largest first
        "Archiv;.2020;.2019;<Posteingang>;Kunden;", // own size ascending
        "Archiv;.2020;.2019;<Posteingang>;Kunden;", // files: 3, 2, 1; ties by name
        "Archiv;.2019;.2020;Kunden;<Posteingang>;", // total, largest first
        "<Posteingang>;Kunden;Archiv;.2020;.2019;", // total, smallest first
    };
    EXPECT_EQ(expected, seen);
    rows.SortBy(tree::kTreeColumnCount);
    rows.SortBy(-1);
    EXPECT_EQ(expected.back(), Outline(rows)) << "no such column";
}

TEST(TreeRowsRule, TheFirstClickSortsNamesAscendingAndSizesAndCountsDescending) {
    EXPECT_FALSE(tree::DescendingOnFirstClick(tree::kTreeColumnName));
    for (int column : {tree::kTreeColumnTotal, tree::kTreeColumnShare, tree::kTreeColumnOwn,
                       tree::kTreeColumnFiles}) {
        EXPECT_TRUE(tree::DescendingOnFirstClick(column)) << column;
    }
}

TEST_F(TreeRowsTest, AsAReportModelItSortsAsToldAndShowsSizesInTheStyleSet) {
    view::ReportModel& model = rows;
    EXPECT_EQ(5, model.RowCount());
    EXPECT_EQ(FormatSize(1984, SizeStyle::Compact), model.CellText(0, tree::kTreeColumnTotal));
    rows.SetSizeStyle(SizeStyle::Exact);
    EXPECT_EQ(FormatSize(1984, SizeStyle::Exact), model.CellText(0, tree::kTreeColumnTotal));
    rows.SelectRow(-1);
    model.Sort(tree::kTreeColumnName, true);
    EXPECT_EQ("Kunden;Archiv;.2020;.2019;<Posteingang>;", Outline(rows));
    EXPECT_EQ(tree::kTreeColumnName, rows.GetSort().column);
    model.Sort(tree::kTreeColumnCount, false);
    EXPECT_EQ(tree::kTreeColumnName, rows.GetSort().column) << "no such column";
    EXPECT_EQ(1, model.FindRow(0, "ar"));
    EXPECT_EQ(tree::kImageOpen, model.ImageOf(1));
    EXPECT_EQ(1, model.IndentOf(3));
}

TEST_F(TreeRowsTest, SortingKeepsTheSelectionOnItsNode) {
    rows.SelectRow(3); // Kunden
    rows.SortBy(tree::kTreeColumnOwn);
    EXPECT_EQ("*Kunden;<Posteingang>;Archiv;.2019;.2020;", Outline(rows));
}

TEST_F(TreeRowsTest, TheKeyboardsContextMenuPointsAtTheSelectedRowWhereverTheListStands) {
    const view::ReportModel& model = rows;
    EXPECT_EQ(0, model.ContextRow(3)) << "the first row, selected at the start";
    rows.SelectRow(3); // Kunden
    EXPECT_EQ(3, model.ContextRow(0));
    rows.SortBy(tree::kTreeColumnOwn);
    EXPECT_EQ(0, model.ContextRow(4)) << "Kunden sorts first by its own size";
    rows.SelectRow(-1);
    EXPECT_EQ(-1, model.ContextRow(0));
}

TEST_F(TreeRowsTest, ARescanKeepsOpenBranchesTheSelectionAndTheSortWhereTheEntriesStillExist) {
    rows.SelectRow(2);
    rows.OnKey(TreeKey::kRight); // 2020 open
    rows.SelectRow(3);           // Q1
    EXPECT_EQ("Archiv;.2019;.2020;*..Q1;Kunden;<Posteingang>;", Outline(rows));
    const SharedScanResult before = rows.Result();
    Pmm("K2.PMM", "Kunden", "K", 5000); // Kunden now the largest
    rows.SetResult(RunScan(request));
    EXPECT_EQ("Kunden;Archiv;.2019;.2020;*..Q1;<Posteingang>;", Outline(rows));
    EXPECT_NE(before, rows.Result());
    EXPECT_EQ(5u, before->catalogue.records.size()) << "the old result stays as it was";

    // A selection whose branch was closed meanwhile is shown by opening the way to it;
    // a sort by name stays on name.
    rows.SortBy(tree::kTreeColumnName);
    rows.SetResult(RunScan(request));
    EXPECT_EQ("<Posteingang>;Archiv;.2019;.2020;*..Q1;Kunden;", Outline(rows));
    rows.SelectRow(0);
    rows.SetExpanded(1, false);
    rows.SelectRow(-1);
    rows.SetResult(RunScan(request));
    EXPECT_EQ("<Posteingang>;Archiv;Kunden;", Outline(rows)) << "nothing selected, Archiv closed";
}

// The map hands its selection back by keys: the branches above it open; a filter that
// hides it leaves its nearest parent shown; a chain that names nothing keeps the row.
TEST_F(TreeRowsTest, AChainFromTheMapSelectsItsFolderOrItsNearestParentShown) {
    rows.SetExpanded(2, true); // 2020
    rows.SelectRow(3);         // Q1
    const std::vector<std::string> q1 = rows.SelectedChain();
    rows.SetExpanded(0, false); // Archiv closed, selected
    rows.SelectChain(q1);
    rows.SelectChain({"nirgends"});
    EXPECT_EQ("Archiv;.2019;.2020;*..Q1;Kunden;<Posteingang>;", Outline(rows));
    view::RowFilter filter;
    ASSERT_TRUE(filter.SetWords("2019"));
    rows.SetFilter(filter);
    rows.SelectChain(q1);
    EXPECT_EQ("*Archiv;.2019;", Outline(rows));
}

TEST_F(TreeRowsTest, ASelectionThatIsGoneLeavesNoneAndAnEmptyMailboxShowsOnlyTheNewMail) {
    rows.SelectRow(3); // Kunden
    ASSERT_TRUE(testsupport::RemoveFile(box / "K.PMM"));
    rows.SetResult(RunScan(request));
    EXPECT_EQ("Archiv;.2019;.2020;<Posteingang>;", Outline(rows));
    EXPECT_EQ(-1, rows.SelectedRow());

    TempDir empty;
    ScanRequest nothing = request;
    nothing.mailboxDir = empty.Path();
    nothing.includeNewMail = false;
    tree::TreeRows fresh;
    fresh.SetResult(RunScan(nothing));
    EXPECT_EQ(0, fresh.RowCount());
    EXPECT_EQ(-1, fresh.SelectedRow());
    fresh.OnKey(TreeKey::kRight);
    EXPECT_EQ(-1, fresh.FindByName(0, "a"));
}

TEST_F(TreeRowsTest, TypedLettersFindANameFromTheStartRowOnWrappingAroundIgnoringCase) {
    const struct {
        int start;
        const char* prefix;
        int row;
    } cases[] = {
        {0, "k", 3},
        {0, "20", 1},
        {2, "20", 2},
        {3, "20", 1},
        {-5, "ARCH", 0},
        {99, "<p", 4},
        {0, "kundenx", -1},
        {0, "", 0},
        // The number pad's keys come to the list as characters too: they find nothing.
        {2, "*", -1},
        {2, "+", -1},
        {2, "-", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.row, rows.FindByName(c.start, c.prefix)) << c.start << " " << c.prefix;
    }
}

TEST(ShareBarRect, TheBarGrowsInTheRoomThePercentageLeavesAndNeverPastIt) {
    const view::PixelRect cell = {100, 20, 230, 38}; // 130 wide: 72 pixels of room
    const struct {
        uint32_t tenths;
        int32_t right;
    } cases[] = {{0, 103}, {1000, 175}, {500, 139}, {5, 103}, {7, 104}, {2000, 175}};
    for (const auto& c : cases) {
        const view::PixelRect bar = tree::ShareBarRect(cell, c.tenths);
        EXPECT_EQ(103, bar.left) << c.tenths;
        EXPECT_EQ(23, bar.top) << c.tenths;
        EXPECT_EQ(35, bar.bottom) << c.tenths;
        EXPECT_EQ(c.right, bar.right) << c.tenths;
    }
    const view::PixelRect narrow = {0, 0, 40, 18}; // narrower than the text
    EXPECT_EQ(narrow.left + 3, tree::ShareBarRect(narrow, 1000).right);
}

TEST(ShareBarRect, ThePercentageKeepsItsRoomOnEveryScreen) {
    // The widest percentage in the list's font, measured: wider than the room a 96-DPI
    // cell kept for it once the screen has more pixels per inch.
    const struct {
        int dpi;
        int widestText;
    } screens[] = {{96, 37}, {120, 46}, {144, 56}, {192, 74}, {144, 90}};
    for (const auto& s : screens) {
        const tree::ShareCellMetrics m = tree::ShareCellMetricsFor(s.dpi, s.widestText);
        for (int width : {90, 130, 195, 400}) {
            if (width < m.textMargin + s.widestText + 2 * m.barInset) {
                continue; // no room for any bar: the text alone overfills the cell
            }
            const view::PixelRect cell = {100, 20, 100 + width, 20 + s.dpi / 5};
            const view::PixelRect full = tree::ShareBarRect(cell, 1000, m);
            // The text is drawn right-aligned at its margin from the cell's right.
            const int textLeft = cell.right - m.textMargin - s.widestText;
            EXPECT_LT(full.right, textLeft) << s.dpi << " dpi, " << width << " px";
            EXPECT_GE(full.right, full.left);
            EXPECT_GT(full.bottom, full.top) << s.dpi;
        }
    }
    const tree::ShareCellMetrics at144 = tree::ShareCellMetricsFor(144, 0);
    EXPECT_EQ(78, at144.textRoom) << "never less than the 96-DPI room, scaled";
    EXPECT_EQ(5, at144.barInset);
    const tree::ShareCellMetrics at96 = tree::ShareCellMetricsFor(96, 37);
    const view::PixelRect cell = {100, 20, 230, 38};
    EXPECT_EQ(175, tree::ShareBarRect(cell, 1000, at96).right) << "as at 96 DPI before";
}

TEST(ExpanderShape, TheBoxAndItsSignAreCentredAndGrowWithTheScreen) {
    const tree::ExpanderShape at96 = tree::ExpanderShapeFor(96);
    EXPECT_EQ(16, at96.imageSize);
    EXPECT_EQ(3, at96.box.left);
    EXPECT_EQ(12, at96.box.right);
    EXPECT_EQ(5, at96.bar.left);
    EXPECT_EQ(7, at96.bar.top);
    int previousSide = 0;
    for (int dpi : {96, 120, 144, 168, 192, 288}) {
        SCOPED_TRACE(dpi);
        const tree::ExpanderShape s = tree::ExpanderShapeFor(dpi);
        const int side = s.box.right - s.box.left;
        EXPECT_EQ(side, s.box.bottom - s.box.top);
        EXPECT_EQ(1, side % 2) << "a middle pixel for the sign";
        EXPECT_GT(side, previousSide);
        EXPECT_GE(side * 96, 8 * dpi) << "about 9 pixels at 96 DPI, scaled";
        previousSide = side;
        EXPECT_GE(s.imageSize * 96, 16 * dpi - 48);
        EXPECT_LE(s.box.right, s.imageSize);
        EXPECT_LE(std::abs(s.box.left - (s.imageSize - s.box.right)), 1);
        // The sign: bar and stem equally long and thick, crossing in the box's middle,
        // as far from the frame on every side.
        EXPECT_EQ(s.bar.left - s.box.left, s.box.right - s.bar.right);
        EXPECT_EQ(s.stem.top - s.box.top, s.box.bottom - s.stem.bottom);
        EXPECT_GT(s.bar.left - s.box.left, 1) << "clear of the frame";
        EXPECT_EQ(s.bar.right - s.bar.left, s.stem.bottom - s.stem.top);
        EXPECT_EQ(s.bar.bottom - s.bar.top, s.stem.right - s.stem.left);
        EXPECT_EQ(s.bar.top, s.stem.left);
        const int middle = s.box.left + side / 2;
        EXPECT_LE(s.bar.top, middle);
        EXPECT_GT(s.bar.bottom, middle);
    }
}

} // namespace

namespace {

// The branch's newest change and the own size's limit mark, as the window shows them.
TEST_F(TreeRowsTest, TheChangedColumnShowsEachBranchsNewestFileAndSortsByIt) {
    // Archiv holds 2019 (old) and 2020 with Q1 below it (newest of all); Kunden is in
    // between; the new mail has no time of its own here beyond its file's.
    const int64_t old = 1735732800;    // 2025-01-01 12:00 UTC
    const int64_t middle = 1781006400; // 2026-06-09
    const int64_t newest = 1796817600; // 2026-12-09
    ASSERT_TRUE(testsupport::SetLastWrite(box / "A1.PMM", old));
    ASSERT_TRUE(testsupport::SetLastWrite(box / "A2.PMM", old));
    ASSERT_TRUE(testsupport::SetLastWrite(box / "A21.PMM", newest));
    ASSERT_TRUE(testsupport::SetLastWrite(box / "K.PMM", middle));
    ASSERT_TRUE(testsupport::SetLastWrite(news / "1.CNM", old - 86400));
    rows.SetResult(RunScan(request));
    rows.SelectRow(-1);
    EXPECT_EQ("Archiv;.2019;.2020;Kunden;<Posteingang>;", Outline(rows));
    const auto changed = [&](int row) { return rows.CellText(row, tree::kTreeColumnChanged); };
    EXPECT_EQ(GermanChangeText(newest), changed(0)) << "Q1, two levels down";
    EXPECT_EQ(GermanChangeText(old), changed(1));
    EXPECT_EQ(GermanChangeText(newest), changed(2));
    EXPECT_EQ(GermanChangeText(middle), changed(3));
    EXPECT_EQ(GermanChangeText(old - 86400), changed(4));
    EXPECT_NE(changed(0), changed(3));

    EXPECT_TRUE(tree::DescendingOnFirstClick(tree::kTreeColumnChanged)) << "newest first";
    rows.SortBy(tree::kTreeColumnChanged);
    EXPECT_EQ("Archiv;.2020;.2019;Kunden;<Posteingang>;", Outline(rows));
    rows.SortBy(tree::kTreeColumnChanged);
    EXPECT_EQ("<Posteingang>;Kunden;Archiv;.2019;.2020;", Outline(rows));
}

TEST_F(TreeRowsTest, AnOwnSizeOverOrNearTheLimitCarriesItsMarkAndAnExportTheBareSize) {
    const uint64_t gib = 1024ull * 1024 * 1024;
    ASSERT_TRUE(
        fixtures::WriteLargeFile(box / "K.PMM", mailgen::PmmHeader("Kunden", "K"), 2 * gib));
    ASSERT_TRUE(
        fixtures::WriteLargeFile(box / "A1.PMM", mailgen::PmmHeader("2019", "A1"), 3 * gib / 2));
    rows.SetResult(RunScan(request));
    rows.SetSizeStyle(SizeStyle::Exact);
    rows.SelectRow(-1);
    ASSERT_EQ("Kunden;Archiv;.2019;.2020;<Posteingang>;", Outline(rows));
    const view::ReportModel& model = rows;
    EXPECT_EQ("!! 2.147.483.648", model.ShownText(0, tree::kTreeColumnOwn));
    EXPECT_EQ("2.147.483.648", model.CellText(0, tree::kTreeColumnOwn));
    EXPECT_EQ(2, model.WarningOf(0, tree::kTreeColumnOwn));
    EXPECT_EQ("! 1.610.612.736", model.ShownText(2, tree::kTreeColumnOwn));
    EXPECT_EQ(1, model.WarningOf(2, tree::kTreeColumnOwn));
    // The branch above holds the file but is none itself; small files and the new
    // mail have no mark.
    EXPECT_EQ(0, model.WarningOf(1, tree::kTreeColumnOwn));
    EXPECT_EQ(model.CellText(1, tree::kTreeColumnTotal),
              model.ShownText(1, tree::kTreeColumnTotal));
    EXPECT_EQ(0, model.WarningOf(0, tree::kTreeColumnTotal));
    EXPECT_EQ(0, model.WarningOf(3, tree::kTreeColumnOwn));
    EXPECT_EQ(0, model.WarningOf(4, tree::kTreeColumnOwn));
    EXPECT_EQ(0, model.WarningOf(99, tree::kTreeColumnOwn));
}

} // namespace

namespace {

// Each branch sums the change of its files and of the files gone since: those in the
// folder they were in when the tree still has it, else in the nearest folder above.
TEST_F(TreeRowsTest, TheChangeColumnSumsEachBranchWithTheFilesGoneSince) {
    const SharedScanResult result = rows.Result();
    const std::vector<FolderRecord>& records = result->catalogue.records;
    view::FolderChangeSet set;
    for (const FolderRecord& record : records) {
        // 2019 grew by 100, Q1 shrank by 50, the rest stayed.
        const uint64_t then = record.fileName == "A1.PMM"    ? record.size - 100
                              : record.fileName == "A21.PMM" ? record.size + 50
                                                             : record.size;
        set.changes.push_back({RowChange::kChanged, ChangeBetween(record.size, then)});
    }
    const struct {
        const char* path;
        const char* name;
        uint64_t size;
    } gone[] = {
        {"\\Archiv\\", "2018", 1000},          // its folder is gone: counts in Archiv
        {"\\archiv\\2020\\", "q1", 7},         // its folder is there, in any case
        {"\\Archiv\\2020\\Q1\\Alt\\", "X", 3}, // the nearest folder there is: Q1
        {"\\Anderswo\\", "Y", 5000},           // no folder of it: in no branch
    };
    for (const auto& g : gone) {
        set.removed.push_back(fixtures::Record("GONE.PMM", g.path, g.name, 0));
        set.changes.push_back({RowChange::kRemoved, ChangeBetween(0, g.size)});
    }
    rows.SetChanges(set);
    const auto change = [&](int row) {
        return rows.CellText(row, tree::kTreeColumnChange, SizeStyle::Exact);
    };
    rows.SetExpanded(2, true); // 2020
    rows.SelectRow(-1);
    ASSERT_EQ("Archiv;.2019;.2020;..Q1;Kunden;<Posteingang>;", Outline(rows));
    EXPECT_EQ("-960", change(0)) << "100 - 50 - 1000 - 7 - 3";
    EXPECT_EQ("+100", change(1));
    EXPECT_EQ("-60", change(2)) << "Q1's -50 - 7 - 3";
    EXPECT_EQ("-60", change(3));
    EXPECT_EQ("0", change(4));
    EXPECT_EQ("0", change(5));

    EXPECT_TRUE(tree::DescendingOnFirstClick(tree::kTreeColumnChange)) << "growth first";
    rows.SortBy(tree::kTreeColumnChange);
    EXPECT_EQ("<Posteingang>;Kunden;Archiv;.2019;.2020;..Q1;", Outline(rows)) << "ties by name";

    // The next scan without a day to compare with: empty cells, the sort stays.
    rows.SetResult(RunScan(request));
    EXPECT_EQ("", change(0));
    EXPECT_EQ(tree::kTreeColumnChange, rows.GetSort().column);
    // A set of another scan (a change short) is not taken.
    set.changes.pop_back();
    rows.SetChanges(set);
    EXPECT_EQ("", change(0));
}

TEST_F(TreeRowsTest, AFilterShowsItsMatchesOpenWithTheWayDownGreyedAndBringsTheBranchesBack) {
    struct Case {
        const char *words, *outline; // "~" for a greyed row
        uint64_t minimum, bytes;
        int32_t files;
    } cases[] = {
        {"q1", "~Archiv;~.2020;..Q1;", 0, 328, 1},          // closed 2020 opened
        {"20", "~Archiv;.2019;.2020;", 500, 1128 + 528, 2}, // total, own file counted
        {"-archiv", "Kunden;<Posteingang>;", 0, 428 + 100, 2},
        {"nirgends", "", 0, 0, 0},
    };
    rows.SelectRow(3); // Kunden
    for (const Case& c : cases) {
        view::RowFilter filter;
        ASSERT_TRUE(filter.SetWords(c.words));
        filter.SetMinimumSize(c.minimum);
        rows.SetFilter(filter);
        std::string outline;
        for (int r = 0; r < rows.RowCount(); ++r) {
            outline += (rows.IsGreyed(r) ? "~" : "") + std::string(rows.IndentOf(r), '.') +
                       rows.CellText(r, tree::kTreeColumnName, SizeStyle::Exact) + ";";
        }
        EXPECT_EQ(c.outline, outline) << c.words;
        EXPECT_TRUE(c.outline[0] != '~' || // greyed, with the total of the whole branch
                    rows.CellText(0, tree::kTreeColumnTotal, SizeStyle::Exact) == "1.984");
        EXPECT_EQ(std::make_pair(c.files, c.bytes),
                  std::make_pair(rows.ShownFileCount(), rows.ShownSize()))
            << c.words;
    }
    rows.SetFilter(view::RowFilter());
    EXPECT_EQ("Archiv;.2019;.2020;*Kunden;<Posteingang>;", Outline(rows));
}

} // namespace
