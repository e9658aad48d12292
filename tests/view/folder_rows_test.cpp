// The folder list's rows without the window: a result's records in the list's sort
// with ties by the display order, the cells in both size forms, the kept place of a
// refill, type-ahead in the sort column, and a result that stays alive while shown.
#include "view/folder_rows.h"

#include "view/folder_compare.h"

#include "sizes/size_text.h"

#include "mailbox_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using fixtures::ResultOf;

// The same rows as the sort rule's own test: file names and folder names that tie.
SharedScanResult Sample() {
    return ResultOf({fixtures::Record("b.PMM", "\\", "Kunden", 300),
                     fixtures::Record("a.PMM", "\\", "Kunden", 500),
                     fixtures::Record("A.MBX", "\\", "kunden", 100),
                     fixtures::Record("c.PMM", "\\", "Archiv", 300),
                     fixtures::Record("*.CNM", "", "<Posteingang>", 900)});
}

std::string Files(const view::FolderRows& rows) {
    std::string text;
    for (int r = 0; r < rows.RowCount(); ++r) {
        text += rows.CellText(r, view::kColumnFileName) + ";";
    }
    return text;
}

TEST(FolderRowsTest, RowsComeInTheListsSortWithTiesByTheDisplayedOrder) {
    view::FolderRows rows;
    rows.SetResult(Sample());
    EXPECT_EQ("*.CNM;c.PMM;A.MBX;a.PMM;b.PMM;", Files(rows)) << "folder name, then file name";
    rows.Sort(view::kColumnFolderName, true);
    EXPECT_EQ("b.PMM;a.PMM;A.MBX;c.PMM;*.CNM;", Files(rows));
    rows.Sort(view::kColumnSize, false);
    EXPECT_EQ("A.MBX;b.PMM;c.PMM;a.PMM;*.CNM;", Files(rows)) << "size ties by file name";
    rows.SetColumnOrder({2, 0, 1});
    EXPECT_EQ("A.MBX;b.PMM;c.PMM;a.PMM;*.CNM;", Files(rows))
        << "the order counts from the next sort";
    rows.Sort(view::kColumnSize, false);
    EXPECT_EQ("A.MBX;c.PMM;b.PMM;a.PMM;*.CNM;", Files(rows)) << "size ties by folder name";
    rows.Sort(7, false);
    EXPECT_EQ(view::kColumnFolderName, rows.GetSort().column) << "held to the last column";
    rows.SetSort(view::kColumnFileName, false);
    EXPECT_EQ("*.CNM;c.PMM;A.MBX;a.PMM;b.PMM;", Files(rows)) << "not sorted until told";
    rows.SetResult(Sample());
    EXPECT_EQ("*.CNM;A.MBX;a.PMM;b.PMM;c.PMM;", Files(rows));
}

TEST(FolderRowsTest, CellsShowTheChosenSizeFormAndPathWithName) {
    view::FolderRows rows;
    rows.SetResult(ResultOf({fixtures::Record("X.PMM", "\\Archiv\\", "2019", 123456789)}));
    EXPECT_TRUE(rows.IsCompactSizes());
    EXPECT_EQ(FormatSize(123456789, SizeStyle::Compact), rows.CellText(0, view::kColumnSize));
    rows.SetCompactSizes(false);
    EXPECT_EQ("123.456.789", rows.CellText(0, view::kColumnSize));
    EXPECT_EQ("\\Archiv\\2019", rows.CellText(0, view::kColumnFolderName));
    EXPECT_EQ("", rows.CellText(0, 3));
    EXPECT_EQ("", rows.CellText(1, 0));
    EXPECT_EQ("", rows.CellText(-1, 0));
    EXPECT_FALSE(rows.DescendingOnFirstClick(view::kColumnSize)) << "every column ascending";
}

TEST(FolderRowsTest, ARefillKeepsTheFirstRowOrTheNextInSortOrder) {
    view::FolderRows rows;
    rows.SetResult(Sample());
    const FolderRecord top = rows.Record(2); // A.MBX
    rows.SetResult(ResultOf({fixtures::Record("c.PMM", "\\", "Archiv", 300),
                             fixtures::Record("A.MBX", "\\", "kunden", 1),
                             fixtures::Record("b.PMM", "\\", "Kunden", 300)}));
    EXPECT_EQ(1, rows.KeptRow(top)) << "found by its file name";
    rows.SetResult(ResultOf({fixtures::Record("c.PMM", "\\", "Archiv", 300),
                             fixtures::Record("b.PMM", "\\", "Kunden", 300),
                             fixtures::Record("Z.PMM", "\\", "Zoo", 300)}));
    EXPECT_EQ(1, rows.KeptRow(top)) << "gone: the next that sorts after it";
    EXPECT_EQ(2, rows.KeptRow(fixtures::Record("ZZ.PMM", "\\", "Zzz", 1)))
        << "nothing after it: the last";
    rows.SetResult(nullptr);
    EXPECT_EQ(0, rows.RowCount());
    EXPECT_EQ(-1, rows.KeptRow(top));
}

// Sorted by size, largest first: a folder that grows past the first visible row, or a
// new one, shows at the top instead of staying hidden above it; by name the place is
// kept.
TEST(FolderRowsTest, ARowARefreshMovesAboveTheFirstVisibleOneShowsFirst) {
    const auto result = [](uint64_t dSize, bool withNew) {
        std::vector<FolderRecord> records = {
            fixtures::Record("a.PMM", "\\", "A", 900), fixtures::Record("b.PMM", "\\", "B", 800),
            fixtures::Record("c.PMM", "\\", "C", 700), fixtures::Record("d.PMM", "\\", "D", dSize)};
        if (withNew) {
            records.push_back(fixtures::Record("n.PMM", "\\", "N", 990));
        }
        return ResultOf(records);
    };
    const struct {
        int column;
        int top;      // the first visible row before the refresh (a, b, c, d)
        bool withNew; // "n" comes first after it; else "d" grows to the second place
        int shown;    // the first visible row after it
    } cases[] = {
        {view::kColumnSize, 0, true, 0},  // at the top the new first row shows
        {view::kColumnSize, 2, false, 1}, // "d" passed "c" and "b": it shows above them
        {view::kColumnSize, 1, false, 1},
        {view::kColumnSize, 3, false, 1}, // "d" itself moved up: found where it went
        {view::kColumnSize, 2, true, 0},
        {view::kColumnFolderName, 2, true, 2}, // by name "c" keeps its place
        {view::kColumnFileName, 0, false, 0},
    };
    for (const auto& c : cases) {
        view::FolderRows rows;
        rows.SetSort(c.column, c.column == view::kColumnSize);
        rows.SetResult(result(600, false));
        const FolderRecord top = rows.Record(c.top);
        std::vector<std::string> above;
        for (int r = 0; r < c.top; ++r) {
            above.push_back(rows.Record(r).fileName);
        }
        std::sort(above.begin(), above.end());
        rows.SetResult(result(c.withNew ? 600 : 850, c.withNew));
        EXPECT_EQ(c.shown, rows.ShownTopRow(top, above)) << c.column << " " << c.top;
    }
}

TEST(FolderRowsTest, TypedLettersFindTheFirstRowByTheSortColumnFromTheTop) {
    view::FolderRows rows;
    rows.SetResult(Sample());
    EXPECT_EQ(2, rows.FindRow(4, "\\ku")) << "folder column, from the first row whatever the start";
    EXPECT_EQ(-1, rows.FindRow(0, "x"));
    EXPECT_EQ(-1, rows.FindRow(0, ""));
    rows.Sort(view::kColumnFileName, false);
    EXPECT_EQ(1, rows.FindRow(0, "A"));
    EXPECT_EQ(4, rows.FindRow(0, "c.p"));
}

TEST(FolderRowsTest, TypedLettersInTheFolderColumnFindTheNameAfterThePathsSeparators) {
    view::FolderRows rows;
    rows.SetResult(ResultOf({fixtures::Record("1.PMM", "\\Archiv\\2019\\", "Urlaub", 1),
                             fixtures::Record("2.PMM", "\\Archiv\\", "2019", 1),
                             fixtures::Record("3.PMM", "\\", "Archiv", 1),
                             fixtures::Record("4.PMM", "\\", "Urlaub", 1),
                             fixtures::Record("5.PMM", "", "Ohne Pfad", 1)}));
    // In the folder column's order: \\Archiv, \\Archiv\\2019, \\Archiv\\2019\\Urlaub,
    // \\Urlaub, Ohne Pfad.
    const struct {
        const char* typed;
        int row;
    } cases[] = {
        {"urlaub", 2}, {"URL", 2},  {"\\url", 3},  {"2019", 1},     {"\\archiv\\", 1},
        {"arch", 0},   {"ohne", 4}, {"rlaub", -1}, {"2019\\u", -1}, {"", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.row, rows.FindRow(0, c.typed)) << c.typed;
    }
    // Another sort column matches its text only.
    rows.Sort(view::kColumnFileName, false);
    EXPECT_EQ(-1, rows.FindRow(0, "urlaub"));
    EXPECT_EQ(3, rows.FindRow(0, "4."));
}

TEST(FolderRowsTest, TheKeyboardsContextMenuPointsAtTheFirstVisibleRow) {
    view::FolderRows rows;
    EXPECT_EQ(-1, rows.ContextRow(0)) << "no rows";
    rows.SetResult(Sample());
    EXPECT_EQ(0, rows.ContextRow(0));
    EXPECT_EQ(3, rows.ContextRow(3));
    EXPECT_EQ(4, rows.ContextRow(4));
    EXPECT_EQ(-1, rows.ContextRow(5));
    EXPECT_EQ(-1, rows.ContextRow(-1));
}

TEST(FolderRowsTest, TheResultShownStaysAliveUntilTheNextReplacesIt) {
    view::FolderRows rows;
    SharedScanResult result = Sample();
    const std::weak_ptr<const ScanResult> watch = result;
    rows.SetResult(std::move(result));
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ("*.CNM", rows.Record(0).fileName);
    rows.SetResult(Sample());
    EXPECT_TRUE(watch.expired());
}

} // namespace

TEST(FolderRowsTest, AFilterShowsThePassingRowsInTheSortAndCountsOnlyThem) {
    struct Case {
        const char* words;
        uint64_t minimum;
        const char* files;
        int32_t count;
        uint64_t size;
        const char* kept; // what stands first where a.PMM stood
    } cases[] = {
        {"kunden", 0, "A.MBX;a.PMM;b.PMM;", 3, 900, "a.PMM"}, // folder name, either case
        {"kunden -a.pmm", 0, "A.MBX;b.PMM;", 2, 400, "b.PMM"},
        {"\\ARCHIV", 0, "c.PMM;", 1, 300, "c.PMM"}, // the path with the name
        {"", 300, "*.CNM;c.PMM;a.PMM;b.PMM;", 4, 2000, "a.PMM"},
        {"PMM", 400, "a.PMM;", 1, 500, "a.PMM"},
        {"nirgends", 0, "", 0, 0, ""},
    };
    for (const Case& c : cases) {
        view::FolderRows rows;
        rows.SetResult(Sample());
        const FolderRecord top = rows.Record(3); // a.PMM
        view::RowFilter filter;
        ASSERT_TRUE(filter.SetWords(c.words));
        filter.SetMinimumSize(c.minimum);
        rows.SetFilter(filter);
        EXPECT_EQ(c.files, Files(rows)) << c.words;
        const int kept = rows.KeptRow(top);
        EXPECT_EQ(c.kept, kept < 0 ? "" : rows.Record(kept).fileName) << c.words;
        EXPECT_EQ(std::make_pair(c.count, c.size),
                  std::make_pair(rows.ShownFileCount(), rows.ShownSize()))
            << c.words;
        rows.SetResult(Sample());
        EXPECT_EQ(c.files, Files(rows)) << "a new scan keeps the filter";
    }
}
