// The main list's optional columns: the stored values with only the three columns shown
// are those of a list that never had optional ones, byte for byte; a shown, moved and
// sorted optional column comes back where it was; damaged values fall back; and the
// rows map the list's columns to theirs, with the change's cells, sort and the limit's
// marks.
#include "diag/trace.h"
#include "view/folder_rows.h"
#include "view/limit_mark.h"
#include "view/optional_columns.h"
#include "view/window_state.h"

#include "memory_store.h"
#include "sizes/date_text.h"

#include "mailbox_fixtures.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using fixtures::ResultOf;

using view::ListState;
using view::OptionalColumnState;

using testsupport::Ints;

ListState Shown(std::vector<int32_t> widths, std::vector<int32_t> order, int32_t sort,
                bool descending) {
    ListState state;
    state.widths = std::move(widths);
    state.order = std::move(order);
    state.sortColumn = sort;
    state.sortDescending = descending;
    return state;
}

view::WindowStateNames Names() {
    view::WindowStateNames names;
    names.widths = "Columns";
    names.order = "ColOrder";
    names.sort = "Sort";
    return names;
}

class OptionalColumnsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.Open("MainDlg")); }
    MemorySettingsStore::Section& Section() { return store.Sections()["MainDlg"]; }
    void Save(const ListState& shown, const std::vector<int32_t>& listColumns) {
        const ListState stored = view::StoredListState(shown, listColumns, optional);
        ASSERT_TRUE(view::SaveWindowState(store, Names(), view::WindowPlacementRecord(), stored));
        ASSERT_TRUE(view::SaveOptionalColumns(store, optional));
    }
    MemorySettingsStore store;
    std::vector<OptionalColumnState> optional{view::kOptionalColumnCount};
};

TEST_F(OptionalColumnsTest, WithOnlyTheThreeShownTheirValuesAreTheFormsTheyHadBefore) {
    Save(Shown({110, 70, 240}, {2, 0, 1}, 1, true), {0, 1, 2});
    EXPECT_EQ(Ints({110, 70, 240}), Section()["Columns"].bytes);
    EXPECT_EQ(Ints({2, 0, 1}), Section()["ColOrder"].bytes);
    EXPECT_EQ(Ints({1, 1}), Section()["Sort"].bytes);
    // The hidden columns' own values say so, and nothing else was written.
    EXPECT_EQ(Ints({0, -1, -1}), Section()["ColChanged"].bytes);
    EXPECT_EQ(Ints({0, -1, -1}), Section()["ColChange"].bytes);
    EXPECT_EQ(5u, Section().size());
}

TEST_F(OptionalColumnsTest, AShownMovedAndSortedColumnComesBackWhereItWas) {
    // "Geändert" shown, dragged between the file name and the folder, sorted by.
    Save(Shown({110, 70, 240, 130}, {0, 3, 2, 1}, 3, true), {0, 1, 2, 3});
    EXPECT_EQ(Ints({110, 70, 240}), Section()["Columns"].bytes);
    EXPECT_EQ(Ints({0, 2, 1}), Section()["ColOrder"].bytes) << "the three among themselves";
    EXPECT_EQ(Ints({3, 1}), Section()["Sort"].bytes);
    EXPECT_EQ(Ints({1, 130, 1}), Section()["ColChanged"].bytes);

    ListState loaded = Shown({1, 1, 1}, {0, 1, 2}, 0, false);
    loaded.sortColumns = view::kAllFolderColumns;
    view::LoadListState(store, Names(), {9, 9, 9}, loaded);
    std::vector<OptionalColumnState> states(view::kOptionalColumnCount);
    view::LoadOptionalColumns(store, states);
    EXPECT_EQ((std::vector<int32_t>{110, 70, 240}), loaded.widths);
    EXPECT_EQ(3, loaded.sortColumn) << "not held to the three";
    EXPECT_TRUE(loaded.sortDescending);
    ASSERT_TRUE(states[0].shown);
    EXPECT_EQ(130, states[0].width);
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3}), view::ShownColumns(states));
    EXPECT_EQ((std::vector<int32_t>{0, 3, 2, 1}), view::MergeOrder(loaded.order, states));

    // Hidden again: the three's values are as before, the column keeps width and place.
    Save(Shown({110, 70, 240}, {0, 2, 1}, 2, false), {0, 1, 2});
    EXPECT_EQ(Ints({0, 2, 1}), Section()["ColOrder"].bytes);
    EXPECT_EQ(Ints({2, 0}), Section()["Sort"].bytes);
    EXPECT_EQ(Ints({0, 130, 1}), Section()["ColChanged"].bytes);
}

TEST_F(OptionalColumnsTest, ValuesOfAnotherFormOrOutOfRangeKeepTheDefaults) {
    const struct {
        std::string bytes;
        bool shown;
        int32_t width;
        int32_t position;
    } cases[] = {
        {Ints({2, 9999, -5}), false, -1, -1},
        {Ints({1, -3, 7}), true, -1, 7},
        {Ints({1, 80}), false, -1, -1}, // another length: not this value
        {"", false, -1, -1},
    };
    for (const auto& c : cases) {
        Section()["ColChanged"].bytes = c.bytes;
        std::vector<OptionalColumnState> states(view::kOptionalColumnCount);
        view::LoadOptionalColumns(store, states);
        EXPECT_EQ(c.shown, states[0].shown);
        EXPECT_EQ(c.width, states[0].width);
        EXPECT_EQ(c.position, states[0].position);
    }
    // A sort that names a column past every one is the last there is.
    Section()["Sort"].bytes = Ints({9, 0});
    ListState loaded = Shown({1, 1, 1}, {0, 1, 2}, 0, false);
    loaded.sortColumns = view::kAllFolderColumns;
    view::LoadListState(store, Names(), {9, 9, 9}, loaded);
    EXPECT_EQ(view::kAllFolderColumns - 1, loaded.sortColumn);
}

TEST(OptionalColumnOrder, ColumnsLandAtTheirPositionsOrAtTheEnd) {
    OptionalColumnState state;
    state.shown = true;
    const struct {
        int32_t position;
        std::vector<int32_t> order;
    } cases[] = {
        {0, {3, 2, 0, 1}},  {2, {2, 0, 3, 1}},  {3, {2, 0, 1, 3}},
        {40, {2, 0, 1, 3}}, {-1, {2, 0, 1, 3}},
    };
    for (const auto& c : cases) {
        state.position = c.position;
        EXPECT_EQ(c.order, view::MergeOrder({2, 0, 1}, {state})) << c.position;
        EXPECT_EQ((std::vector<int32_t>{2, 0, 1}), view::BaseOrder(c.order));
    }
    state.shown = false;
    EXPECT_EQ((std::vector<int32_t>{2, 0, 1}), view::MergeOrder({2, 0, 1}, {state}));
}

using testsupport::kGiB;

TEST(FolderRowsColumns, TheChangeShowsSortsNewestFirstAndMapsThroughTheListsColumns) {
    std::vector<FolderRecord> records = {
        fixtures::Record("a.PMM", "", "Alt", 10),
        fixtures::Record("b.PMM", "", "Neu", 20),
        fixtures::Record("c.PMM", "", "Mitte", 30),
    };
    records[0].lastWrite = 1735732800;
    records[1].lastWrite = 1796817600;
    records[2].lastWrite = 1781006400;
    view::FolderRows rows;
    rows.SetResult(ResultOf(records));
    EXPECT_EQ(-1, rows.ListColumn(view::kColumnChanged)) << "hidden by default";
    EXPECT_EQ("", rows.CellText(0, 3));
    rows.SetListColumns({0, 1, 2, view::kColumnChanged});
    ASSERT_EQ(3, rows.ListColumn(view::kColumnChanged));
    EXPECT_TRUE(rows.DescendingOnFirstClick(3));
    EXPECT_FALSE(rows.DescendingOnFirstClick(1));
    rows.Sort(3, true);
    EXPECT_EQ(view::kColumnChanged, rows.GetSort().column);
    EXPECT_EQ("b.PMM", rows.CellText(0, 0));
    EXPECT_EQ("c.PMM", rows.CellText(1, 0));
    EXPECT_EQ("a.PMM", rows.CellText(2, 0));
    EXPECT_EQ(GermanChangeText(1796817600), rows.CellText(0, 3));
    EXPECT_EQ(16u, rows.CellText(0, 3).size());
    // The column hidden again: the sort falls back to the folder, ascending.
    rows.SetListColumns({0, 1, 2});
    EXPECT_EQ(view::kColumnFolderName, rows.GetSort().column);
    EXPECT_FALSE(rows.GetSort().descending);
    EXPECT_EQ("", rows.CellText(0, 3));
}

// What the history says of each file: grown, shrunk, new, and one file gone since.
TEST(FolderRowsColumns, TheChangeColumnShowsGrowthAndGoneFilesOnlyWhileItIsShown) {
    const std::vector<FolderRecord> records = {
        fixtures::Record("grew.PMM", "\\", "Gewachsen", 3000),
        fixtures::Record("shrank.PMM", "\\", "Geschrumpft", 100),
        fixtures::Record("new.PMM", "\\", "Neu", 50),
    };
    view::FolderChangeSet set;
    set.changes = {{RowChange::kChanged, ChangeBetween(3000, 1000)},
                   {RowChange::kChanged, ChangeBetween(100, 700)},
                   {RowChange::kNew, ChangeBetween(50, 0)},
                   {RowChange::kRemoved, ChangeBetween(0, 400)}};
    set.removed = {fixtures::Record("gone.PMM", "\\", "Weg", 0)};
    view::FolderRows rows;
    rows.SetCompactSizes(false);
    rows.SetResult(ResultOf(records), set);
    ASSERT_TRUE(rows.HasChanges());
    EXPECT_EQ(3, rows.RowCount()) << "a gone file is no row while the column is hidden";

    rows.SetListColumns({0, 1, 2, view::kColumnChange});
    ASSERT_EQ(4, rows.RowCount());
    const int change = rows.ListColumn(view::kColumnChange);
    ASSERT_EQ(3, change);
    EXPECT_TRUE(rows.DescendingOnFirstClick(change));
    rows.Sort(change, true);
    const char* const expected[][3] = {
        {"grew.PMM", "3.000", "+2.000"},
        {"new.PMM", "50", "neu"},
        {"gone.PMM", "", "entfernt"}, // -400: no size now, as in the report
        {"shrank.PMM", "100", "-600"},
    };
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(expected[row][0], rows.CellText(row, 0)) << row;
        EXPECT_EQ(expected[row][1], rows.CellText(row, 1)) << row;
        EXPECT_EQ(expected[row][2], rows.CellText(row, change)) << row;
    }
    rows.SetCompactSizes(true);
    EXPECT_EQ("+2,0 kB", rows.CellText(0, change));

    // A new scan without a comparison: empty cells, no gone rows.
    rows.SetResult(ResultOf(records));
    EXPECT_FALSE(rows.HasChanges());
    EXPECT_EQ(3, rows.RowCount());
    EXPECT_EQ("", rows.CellText(0, change));
    // A set that belongs to another scan (one change short) is not shown.
    set.changes.pop_back();
    rows.SetChanges(set);
    EXPECT_FALSE(rows.HasChanges());

    rows.SetChanges({{{RowChange::kChanged, ChangeBetween(3000, 1000)},
                      {RowChange::kChanged, ChangeBetween(100, 700)},
                      {RowChange::kNew, ChangeBetween(50, 0)},
                      {RowChange::kRemoved, ChangeBetween(0, 400)}},
                     {fixtures::Record("gone.PMM", "\\", "Weg", 0)},
                     ChangeBetween(3050, 1700)});
    ASSERT_EQ(4, rows.RowCount());
    rows.SetListColumns({0, 1, 2});
    EXPECT_EQ(3, rows.RowCount()) << "hiding the column takes the gone row away";
    for (int row = 0; row < rows.RowCount(); ++row) {
        EXPECT_NE("gone.PMM", rows.CellText(row, 0));
    }
}

TEST(FolderRowsColumns, TheScreenMarksSizesNearAndOverTheLimitAndTheCellTextStaysBare) {
    view::FolderRows rows;
    rows.SetCompactSizes(false);
    rows.SetResult(ResultOf({fixtures::Record("a.PMM", "", "A", 3 * kGiB / 2 - 1),
                             fixtures::Record("b.MBX", "", "B", 3 * kGiB / 2),
                             fixtures::Record("c.pmm", "", "C", 2 * kGiB),
                             fixtures::Record("*.CNM", "", "D", 5 * kGiB)}));
    const struct {
        const char* shown;
        int warning;
    } expected[] = {
        {"1.610.612.735", 0},
        {"! 1.610.612.736", 1},
        {"!! 2.147.483.648", 2},
        {"5.368.709.120", 0},
    };
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(expected[row].shown, rows.ShownText(row, view::kColumnSize)) << row;
        EXPECT_EQ(expected[row].warning, rows.WarningOf(row, view::kColumnSize)) << row;
        EXPECT_EQ(0, rows.WarningOf(row, view::kColumnFolderName));
        EXPECT_EQ(rows.CellText(row, view::kColumnFileName),
                  rows.ShownText(row, view::kColumnFileName));
    }
    EXPECT_EQ("2.147.483.648", rows.CellText(2, view::kColumnSize)) << "exports stay bare";
}

TEST(LimitStatus, OnlyAMailboxWithFilesNearOrOverTheLimitGetsTheAddition) {
    const std::string format = "%d \xFC"
                               "ber der Grenze, %d nahe daran";
    EXPECT_EQ("", view::LimitStatus(format, LimitCounts()));
    LimitCounts counts;
    counts.overLimit = 2;
    EXPECT_EQ("2 \xFC"
              "ber der Grenze, 0 nahe daran",
              view::LimitStatus(format, counts));
    counts.overLimit = 0;
    counts.nearLimit = 1;
    EXPECT_EQ("0 \xFC"
              "ber der Grenze, 1 nahe daran",
              view::LimitStatus(format, counts));
}

} // namespace

namespace {

using WarnCause = view::LimitWarnings::Cause;

std::string WarnedFileNames(const std::vector<const FolderRecord*>& told) {
    std::string text;
    for (const FolderRecord* r : told) {
        text += r->fileName + ";";
    }
    return text;
}

TEST(LimitWarnings, OneBoxARunNamesTheFilesOverTheLimitAndTheWorkerShowsNone) {
    view::LimitWarnings warnings;
    std::vector<FolderRecord> rows = {fixtures::Record("a.PMM", "", "A", 2 * kGiB),
                                      fixtures::Record("b.MBX", "", "B", 2 * kGiB - 1)};
    EXPECT_EQ("", WarnedFileNames(warnings.TakeBox("M\\", rows, WarnCause::kAutomatic)));
    EXPECT_EQ("a.PMM;", WarnedFileNames(warnings.TakeBox("M\\", rows, WarnCause::kUser)));
    rows[1].size = 2 * kGiB; // grew over meanwhile: the status line tells it
    EXPECT_EQ("", WarnedFileNames(warnings.TakeBox("M\\", rows, WarnCause::kUser)));
}

TEST(LimitWarnings, SilencedFilesStaySilentInLaterRunsUntilAScanSeesThemBelowTheLimit) {
    std::vector<FolderRecord> rows = {fixtures::Record("a.PMM", "", "A", 0),
                                      fixtures::Record("c.mbx", "", "C", 0)};
    std::string stored; // each step a run of its own, taking what the one before stored
    const struct {
        const char* mailbox;
        uint64_t size;
        const char* fileA;
        const char* told;
    } runs[] = {
        {"C:\\M\\", 2 * kGiB, "a.PMM", "a.PMM;c.mbx;"}, // both silenced
        {"c:\\m\\", 3 * kGiB, "A.pmm", ""},             // whatever the case
        {"C:\\Other\\", 3 * kGiB, "a.PMM", "a.PMM;c.mbx;"},
        {"C:\\M\\", 1, "a.PMM", ""}, // back below: forgotten
        {"C:\\M\\", 2 * kGiB, "a.PMM", "a.PMM;c.mbx;"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(std::string(run.mailbox) + run.fileA);
        view::LimitWarnings warnings;
        warnings.LoadSilenced(stored);
        rows[0].fileName = run.fileA;
        rows[0].size = rows[1].size = run.size;
        const std::vector<const FolderRecord*> told =
            warnings.TakeBox(run.mailbox, rows, WarnCause::kUser);
        EXPECT_EQ(run.told, WarnedFileNames(told));
        if (&run == runs) {
            warnings.Silence(run.mailbox, told);
        }
        // As the window saves it: an emptied list too, or the next run would keep it.
        if (warnings.HasStoredSilence()) {
            stored = warnings.StoredSilenced();
        }
    }
    // A stored value made to be huge is taken only up to the bound, and a path no file
    // system has is not taken at all.
    std::string huge(view::LimitWarnings::kLongestPath + 1, 'p');
    huge += '|';
    for (int i = 0; i < 100000; ++i) {
        huge += std::to_string(i) + '|';
    }
    view::LimitWarnings warnings;
    warnings.LoadSilenced(huge);
    const std::string kept = warnings.StoredSilenced();
    EXPECT_EQ(view::LimitWarnings::kMostSilenced,
              static_cast<size_t>(std::count(kept.begin(), kept.end(), '|')));
    EXPECT_EQ(std::string::npos, kept.find("pp"));
}

TEST(LimitWarnings, TheTextNamesOneFileAsBeforeAndListsManyUpToALastLineForTheRest) {
    const struct {
        size_t files;
        const char* text;
    } cases[] = {
        {1, "504 F0 F0.PMM"},
        {8,
         "507 8: F0=F0.PMM,F1=F1.PMM,F2=F2.PMM,F3=F3.PMM,F4=F4.PMM,F5=F5.PMM,F6=F6.PMM,F7=F7.PMM"},
        {9, "507 9: F0=F0.PMM,F1=F1.PMM,F2=F2.PMM,F3=F3.PMM,F4=F4.PMM,F5=F5.PMM,F6=F6.PMM,+2"},
        {40, "507 40: F0=F0.PMM,F1=F1.PMM,F2=F2.PMM,F3=F3.PMM,F4=F4.PMM,F5=F5.PMM,F6=F6.PMM,+33"},
    };
    std::vector<FolderRecord> records;
    for (int i = 0; i < 40; ++i) {
        records.push_back(fixtures::Record(FormatText("F%d.PMM", i), "", FormatText("F%d", i), 0));
    }
    for (const auto& c : cases) {
        std::vector<const FolderRecord*> rows(c.files);
        std::transform(records.begin(), records.begin() + c.files, rows.begin(),
                       [](const FolderRecord& r) { return &r; });
        std::string text = view::LimitWarningText("504 %s %s", "507 %d: %s", "%s=%s", "+%d", rows);
        std::replace(text.begin(), text.end(), '\n', ',');
        EXPECT_EQ(c.text, text);
    }
}

} // namespace
