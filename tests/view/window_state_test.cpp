// One rule set for every window's stored state: a placement made fit for the screens
// there are, the columns' widths, order and sort read over what the list shows, and
// the values written back in their names, forms and order.
#include "memory_store.h"
#include "settings/change_tracking_store.h"
#include "view/stored_values.h"
#include "view/window_state.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using view::PixelRect;
using view::WindowPlacementRecord;

WindowPlacementRecord Placement(uint32_t showCmd, PixelRect normal) {
    WindowPlacementRecord r;
    r.length = view::kPlacementSize;
    r.showCmd = showCmd;
    r.minX = r.minY = r.maxX = r.maxY = -1;
    r.normal = normal;
    return r;
}

std::string Rect(const PixelRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

using testsupport::Ints;

const std::vector<PixelRect> kTwoScreens = {{0, 0, 1280, 984}, {1280, 0, 2560, 1024}};

TEST(FitPlacement, AWindowOnAnyScreenStaysWhereItWas) {
    for (const PixelRect& r : {PixelRect{6, 6, 478, 379}, PixelRect{1300, 50, 1900, 600},
                               PixelRect{1000, 100, 1600, 500}, PixelRect{-300, -20, 10, 300}}) {
        EXPECT_EQ(Rect(r), Rect(view::FitPlacement(Placement(1, r), {}, kTwoScreens).normal));
    }
}

TEST(FitPlacement, AWindowOffEveryScreenOrLargerThanItsScreensComesOntoAWorkArea) {
    const struct {
        PixelRect stored;
        const char* fitted;
    } cases[] = {
        {{3000, 100, 3400, 400}, "2160,100,2560,400"},  // right of the second screen
        {{-900, 200, -400, 500}, "0,200,500,500"},      // left of the first
        {{100, 2000, 500, 2300}, "100,684,500,984"},    // below the first, onto its work area
        {{-5000, -5000, -4000, -4000}, "0,0,1000,984"}, // and shrunk to its height
        {{4000, 0, 9000, 3000}, "1280,0,2560,1024"},    // larger than the screen: shrunk to it
        {{-10000, -10000, 10000, 10000}, "1280,0,2560,1024"}, // over both: the one covered most
        {{100, -500, 600, 1500}, "100,0,600,984"},            // taller than its screen
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.fitted,
                  Rect(view::FitPlacement(Placement(1, c.stored), {}, kTwoScreens).normal))
            << Rect(c.stored);
    }
    // Without a screen to go by nothing moves.
    const PixelRect far = {9000, 9000, 9100, 9100};
    EXPECT_EQ(Rect(far), Rect(view::FitPlacement(Placement(1, far), {}, {}).normal));
}

TEST(FitPlacement, OnlyMaximizedSurvivesOfTheShowCommandsAndNoPlacementGivesTheFallback) {
    const PixelRect r = {10, 10, 300, 200};
    const struct {
        uint32_t stored;
        uint32_t shown;
    } commands[] = {{0, 1}, {1, 1}, {2, 1}, {3, 3}, {6, 1}, {0xFFFFFFFF, 1}};
    for (const auto& c : commands) {
        EXPECT_EQ(c.shown, view::FitPlacement(Placement(c.stored, r), {}, kTwoScreens).showCmd)
            << c.stored;
    }
    const WindowPlacementRecord fallback = Placement(3, {6, 6, 478, 379});
    WindowPlacementRecord wrongLength = Placement(1, r);
    wrongLength.length = 40;
    for (const WindowPlacementRecord& bad :
         {wrongLength, Placement(1, {10, 10, 10, 200}), Placement(1, {10, 200, 300, 10})}) {
        const WindowPlacementRecord fitted = view::FitPlacement(bad, fallback, kTwoScreens);
        EXPECT_EQ("6,6,478,379", Rect(fitted.normal));
        EXPECT_EQ(3u, fitted.showCmd);
    }
}

class WindowStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(store.Open("MainDlg"));
        names.placement = "Placement";
        names.widths = "Columns";
        names.order = "ColOrder";
        names.sort = "Sort";
        current.widths = {110, 70, 240};
        current.order = {0, 1, 2};
        current.sortColumn = 2;
    }
    MemorySettingsStore::Section& Section() { return store.Sections()["MainDlg"]; }
    MemorySettingsStore store;
    view::WindowStateNames names;
    view::ListState current;
    const std::vector<int32_t> defaults = {100, 60, 200};
};

TEST_F(WindowStateTest, SavedStateComesBackAndIsWrittenInItsNamesFormsAndOrder) {
    view::ListState saved;
    saved.widths = {55, 66, 4000};
    saved.order = {1, 2, 0};
    saved.sortColumn = 1;
    saved.sortDescending = true;
    const WindowPlacementRecord placement = Placement(3, {20, 30, 620, 530});
    store.ClearLog();
    EXPECT_TRUE(view::SaveWindowState(store, names, placement, saved));
    const std::vector<std::string> writes = {"WriteBinary Placement", "WriteIntArray Columns",
                                             "WriteIntArray ColOrder", "WriteBinary Sort"};
    EXPECT_EQ(writes, store.Log());
    EXPECT_EQ(Ints({55, 66, 4000}), Section()["Columns"].bytes);
    EXPECT_EQ(Ints({1, 2, 0}), Section()["ColOrder"].bytes);
    EXPECT_EQ(Ints({1, 1}), Section()["Sort"].bytes);
    EXPECT_EQ(Ints({44, 0, 3, -1, -1, -1, -1, 20, 30, 620, 530}), Section()["Placement"].bytes);

    view::ListState loaded = current;
    view::LoadListState(store, names, defaults, loaded);
    EXPECT_EQ(saved.widths, loaded.widths);
    EXPECT_EQ(saved.order, loaded.order);
    EXPECT_EQ(1, loaded.sortColumn);
    EXPECT_TRUE(loaded.sortDescending);
    const WindowPlacementRecord back =
        view::LoadPlacement(store, names, Placement(1, {6, 6, 478, 379}), kTwoScreens);
    EXPECT_EQ("20,30,620,530", Rect(back.normal));
    EXPECT_EQ(3u, back.showCmd);
}

TEST_F(WindowStateTest, AWindowWithoutOrderOrSortWritesAndReadsOnlyItsOwnValues) {
    view::WindowStateNames tree;
    tree.placement = "TreePlacement";
    tree.widths = "TreeColumns";
    view::ListState state;
    state.widths = {230, 80};
    store.ClearLog();
    EXPECT_TRUE(view::SaveWindowState(store, tree, Placement(1, {1, 2, 3, 4}), state));
    EXPECT_EQ((std::vector<std::string>{"WriteBinary TreePlacement", "WriteIntArray TreeColumns"}),
              store.Log());
    Section()["ColOrder"].bytes = Ints({1, 0});
    Section()["Sort"].bytes = Ints({1, 1});
    view::ListState loaded;
    loaded.widths = {1, 1};
    loaded.order = {0, 1};
    view::LoadListState(store, tree, {9, 9}, loaded);
    EXPECT_EQ((std::vector<int32_t>{230, 80}), loaded.widths);
    EXPECT_EQ((std::vector<int32_t>{0, 1}), loaded.order) << "the main window's order";
    EXPECT_EQ(0, loaded.sortColumn);
}

TEST_F(WindowStateTest, StoredValuesOutOfRangeOrOfAnotherFormKeepTheCurrentOrDefaultState) {
    const struct {
        const char* what;
        std::string columns;
        std::string order;
        std::string sort;
        std::vector<int32_t> widths;
        std::vector<int32_t> order_;
        int sortColumn;
        bool descending;
    } cases[] = {
        {"too short", Ints({1, 2}), Ints({2, 1}), Ints({1}), {110, 70, 240}, {0, 1, 2}, 2, false},
        {"too long",
         Ints({1, 2, 3, 4}),
         Ints({2, 1, 0, 3}),
         Ints({1, 1, 1}),
         {110, 70, 240},
         {0, 1, 2},
         2,
         false},
        {"not a permutation",
         Ints({50, 60, 70}),
         Ints({2, 2, 0}),
         Ints({1, 0}),
         {50, 60, 70},
         {0, 1, 2},
         1,
         false},
        {"column out of range",
         Ints({50, 60, 70}),
         Ints({2, 0, 1}),
         Ints({9, 1}),
         {50, 60, 70},
         {2, 0, 1},
         2,
         true},
        {"negative column",
         Ints({50, 60, 70}),
         Ints({1, 0, 2}),
         Ints({-4, 0}),
         {50, 60, 70},
         {1, 0, 2},
         0,
         false},
        {"direction other than 1",
         Ints({50, 60, 70}),
         Ints({0, 1, 2}),
         Ints({1, 7}),
         {50, 60, 70},
         {0, 1, 2},
         1,
         true},
        {"widths out of range",
         Ints({-1, 4001, 0x10064}),
         Ints({0, 1, 2}),
         Ints({0, 0}),
         {100, 60, 200},
         {0, 1, 2},
         0,
         false},
        {"widths at the bounds",
         Ints({0, 4000, 1}),
         Ints({0, 1, 2}),
         Ints({0, 0}),
         {0, 4000, 1},
         {0, 1, 2},
         0,
         false},
    };
    for (const auto& c : cases) {
        Section()["Columns"].bytes = c.columns;
        Section()["ColOrder"].bytes = c.order;
        Section()["Sort"].bytes = c.sort;
        view::ListState state = current;
        view::LoadListState(store, names, defaults, state);
        EXPECT_EQ(c.widths, state.widths) << c.what;
        EXPECT_EQ(c.order_, state.order) << c.what;
        EXPECT_EQ(c.sortColumn, state.sortColumn) << c.what;
        EXPECT_EQ(c.descending, state.sortDescending) << c.what;
    }
}

TEST_F(WindowStateTest, APlacementOfAnotherFormOrOffTheScreensIsMadeFitToShow) {
    const WindowPlacementRecord fallback = Placement(1, {6, 6, 478, 379});
    Section()["Placement"] = {MemorySettingsStore::Kind::Text, "40,30"};
    EXPECT_EQ("6,6,478,379", Rect(view::LoadPlacement(store, names, fallback, kTwoScreens).normal));
    Section()["Placement"].kind = MemorySettingsStore::Kind::Binary;
    Section()["Placement"].bytes = Ints({44, 0, 2, -1, -1, -1, -1, 5000, 30, 5600, 530});
    const WindowPlacementRecord fitted = view::LoadPlacement(store, names, fallback, kTwoScreens);
    EXPECT_EQ("1960,30,2560,530", Rect(fitted.normal));
    EXPECT_EQ(1u, fitted.showCmd) << "never started minimized";
    Section().erase("Placement");
    EXPECT_EQ("6,6,478,379", Rect(view::LoadPlacement(store, names, fallback, kTwoScreens).normal));
}

TEST_F(WindowStateTest, ACopyTakesWhatTheOldPlaceHoldsInItsFormAndLeavesTheRest) {
    MemorySettingsStore old;
    ASSERT_TRUE(old.Open("MainDlg"));
    auto& from = old.Sections()["MainDlg"];
    from["Placement"].bytes = Ints({44, 0, 1, -1, -1, -1, -1, 20, 30, 620, 530});
    from["Sort"].bytes = Ints({0, 1});
    from["Columns"].bytes = Ints({1, 2}); // another size: not taken
    Section()["Columns"].bytes = Ints({7, 8, 9});
    Section()["Sort"].bytes = Ints({2, 0});
    store.ClearLog();
    EXPECT_TRUE(view::CopyStoredValues(old, store));
    EXPECT_EQ((std::vector<std::string>{"WriteBinary Placement", "WriteBinary Sort"}), store.Log());
    EXPECT_EQ(from["Placement"].bytes, Section()["Placement"].bytes);
    EXPECT_EQ(Ints({0, 1}), Section()["Sort"].bytes);
    EXPECT_EQ(Ints({7, 8, 9}), Section()["Columns"].bytes);
    EXPECT_EQ(0u, Section().count("ColOrder"));
}

TEST(DpiScaling, PixelsScaleRoundedBetweenAnyTwoDpisAndStayForNone) {
    const struct {
        int32_t pixels, from, to, scaled;
    } cases[] = {
        {110, 96, 144, 165}, {165, 144, 96, 110}, {75, 96, 120, 94}, // 93.75
        {70, 96, 120, 88},                                           // 87.5 rounds up
        {-10, 96, 144, -15}, {0, 96, 192, 0},     {240, 96, 96, 240},
        {240, 0, 144, 240},  {240, 96, -1, 240},  {INT32_MAX, 96, 960, INT32_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.scaled, view::ScaleBetweenDpis(c.pixels, c.from, c.to))
            << c.pixels << " from " << c.from << " to " << c.to;
    }
}

TEST(DpiScaling, TheDefaultPlacementGrowsFromItsCornerByTheScreensScale) {
    const WindowPlacementRecord at96 = Placement(1, {6, 6, 478, 379}); // 472 x 373
    const struct {
        int32_t dpi;
        const char* normal;
    } cases[] = {{96, "6,6,478,379"},  {144, "6,6,714,566"}, {120, "6,6,596,472"},
                 {192, "6,6,950,752"}, {0, "6,6,478,379"},   {100000, "6,6,478,379"}};
    for (const auto& c : cases) {
        const WindowPlacementRecord r = view::ScalePlacementForDpi(at96, c.dpi);
        EXPECT_EQ(c.normal, Rect(r.normal)) << c.dpi;
        EXPECT_EQ(at96.length, r.length);
        EXPECT_EQ(at96.showCmd, r.showCmd);
        EXPECT_EQ(at96.minX, r.minX);
        EXPECT_EQ(at96.maxY, r.maxY);
    }
}

TEST_F(WindowStateTest, WidthsStoredAtAnotherDpiAreScaledToTheScreensAndKeptWithTheirs) {
    names.widthsDpi = "ColumnsDpi";
    Section()["Columns"].bytes = Ints({110, 70, 240});
    Section()["ColumnsDpi"] = {MemorySettingsStore::Kind::Binary, Ints({96})};
    view::ListState state = current;
    state.widthsDpi = 144;
    view::LoadListState(store, names, defaults, state);
    EXPECT_EQ((std::vector<int32_t>{165, 105, 360}), state.widths);

    // Saved at 144 and read at 144 again: as they were.
    store.ClearLog();
    EXPECT_TRUE(view::SaveWindowState(store, names, Placement(1, {6, 6, 700, 500}), state));
    EXPECT_EQ((std::vector<std::string>{"WriteBinary Placement", "WriteIntArray Columns",
                                        "ReadInt ColumnsDpi", "WriteInt ColumnsDpi",
                                        "WriteIntArray ColOrder", "WriteBinary Sort"}),
              store.Log());
    EXPECT_EQ(Ints({144}), Section()["ColumnsDpi"].bytes);
    EXPECT_EQ(Ints({165, 105, 360}), Section()["Columns"].bytes) << "the widths' own form";
    view::ListState again = current;
    again.widthsDpi = 144;
    view::LoadListState(store, names, defaults, again);
    EXPECT_EQ(state.widths, again.widths);
    // And back at 96 DPI.
    view::ListState back = current;
    view::LoadListState(store, names, defaults, back);
    EXPECT_EQ((std::vector<int32_t>{110, 70, 240}), back.widths);
}

TEST_F(WindowStateTest, WidthsWithoutAUsableDpiOrWithoutWidthsAreNotScaled) {
    names.widthsDpi = "ColumnsDpi";
    const std::string noValue = "none";
    const struct {
        const char* what;
        std::string widths; // noValue: none kept
        std::string dpi;
        std::vector<int32_t> shown; // at 144 DPI
    } cases[] = {
        {"widths of an older version, without a DPI",
         Ints({50, 60, 2000}),
         noValue,
         {50, 60, 2000}},
        {"a DPI beyond any screen", Ints({50, 60, 2000}), Ints({100000}), {50, 60, 2000}},
        {"a DPI of nothing", Ints({50, 60, 2000}), Ints({0}), {50, 60, 2000}},
        {"a DPI of another form", Ints({50, 60, 2000}), std::string("\x60"), {50, 60, 2000}},
        {"a DPI without widths: the list's own", noValue, Ints({96}), {110, 70, 240}},
        {"scaled past the widest: the widest", Ints({50, 60, 3000}), Ints({96}), {75, 90, 4000}},
        {"damage is not scaled but replaced", Ints({-4, 60, 5000}), Ints({96}), {100, 90, 200}},
    };
    for (const auto& c : cases) {
        Section().clear();
        if (c.widths != noValue) {
            Section()["Columns"].bytes = c.widths;
        }
        if (c.dpi != noValue) {
            Section()["ColumnsDpi"].bytes = c.dpi;
        }
        view::ListState state = current;
        state.widthsDpi = 144;
        view::LoadListState(store, names, defaults, state);
        EXPECT_EQ(c.shown, state.widths) << c.what;
    }
}

TEST_F(WindowStateTest, ACopyTakesTheWidthsDpiWithTheWidths) {
    names.widthsDpi = "ColumnsDpi";
    MemorySettingsStore old;
    ASSERT_TRUE(old.Open("MainDlg"));
    old.Sections()["MainDlg"]["Columns"].bytes = Ints({1, 2, 3});
    old.Sections()["MainDlg"]["ColumnsDpi"].bytes = Ints({120});
    EXPECT_TRUE(view::CopyStoredValues(old, store));
    EXPECT_EQ(Ints({120}), Section()["ColumnsDpi"].bytes);
}

// Two copies open at once, the real store behind one that writes only what a run
// changed: the widths and their DPI stay a pair, whichever copy stored them.
TEST_F(WindowStateTest, WidthsAndTheirDpiStayAPairWhenAnotherCopyStoresMeanwhile) {
    names.widthsDpi = "ColumnsDpi";
    for (bool changedHere : {false, true}) {
        SCOPED_TRACE(changedHere ? "widths changed here" : "closed unchanged");
        Section().clear();
        Section()["Columns"].bytes = Ints({110, 70, 240});
        Section()["ColumnsDpi"].bytes = Ints({96});
        ChangeTrackingStore tracked(store);
        ASSERT_TRUE(tracked.Open("MainDlg"));
        view::ListState here = current;
        view::LoadListState(tracked, names, defaults, here);
        // The other copy, at 144 DPI, stores its widths.
        Section()["Columns"].bytes = Ints({150, 105, 360});
        Section()["ColumnsDpi"].bytes = Ints({144});
        if (changedHere) {
            here.widths[0] = 120;
        }
        EXPECT_TRUE(view::SaveWindowState(tracked, names, Placement(1, {6, 6, 478, 379}), here));
        EXPECT_EQ(changedHere ? Ints({120, 70, 240}) : Ints({150, 105, 360}),
                  Section()["Columns"].bytes);
        EXPECT_EQ(changedHere ? Ints({96}) : Ints({144}), Section()["ColumnsDpi"].bytes);
    }
}

// A store that holds no DPI yet (a new portable file, or widths of an older version)
// gets the one the widths showed at, also when this run did not change them; one
// that holds another run's DPI keeps it.
TEST_F(WindowStateTest, AStoreWithoutADpiGetsTheOneTheWidthsShowedAt) {
    names.widthsDpi = "ColumnsDpi";
    view::ListState here = current;
    here.widthsDpi = 144;
    here.storedWidths = here.widths;
    EXPECT_TRUE(view::SaveWindowState(store, names, Placement(1, {6, 6, 478, 379}), here));
    EXPECT_EQ(Ints({110, 70, 240}), Section()["Columns"].bytes);
    EXPECT_EQ(Ints({144}), Section()["ColumnsDpi"].bytes);

    Section()["ColumnsDpi"].bytes = Ints({120});
    EXPECT_TRUE(view::SaveWindowState(store, names, Placement(1, {6, 6, 478, 379}), here));
    EXPECT_EQ(Ints({120}), Section()["ColumnsDpi"].bytes);
}

} // namespace

namespace {

// A list that gained a column keeps the widths an older version stored for fewer.
TEST_F(WindowStateTest, WidthsOfAnOlderVersionWithFewerColumnsAreReadAndCopied) {
    names.olderWidthCount = 2;
    Section()["Columns"].bytes = Ints({130, 75});
    view::ListState state = current;
    view::LoadListState(store, names, defaults, state);
    EXPECT_EQ((std::vector<int32_t>{130, 75, 200}), state.widths) << "the new one at its default";

    // A copy takes each older form as it stands, down to the fewest a version kept.
    for (const auto& stored : {Ints({1, 2, 3, 4, 5, 6, 7}), Ints({1, 2, 3, 4, 5, 6}),
                               Ints({1, 2, 3, 4, 5}), Ints({1, 2, 3, 4})}) {
        MemorySettingsStore copy;
        ASSERT_TRUE(copy.Open("MainDlg"));
        Section()["TreeColumns"].bytes = stored;
        EXPECT_TRUE(view::CopyStoredValues(store, copy));
        EXPECT_EQ(stored.size() > 16 ? stored : "",
                  copy.Sections()["MainDlg"]["TreeColumns"].bytes);
    }

    // Stored in the current form, that one counts.
    Section()["Columns"].bytes = Ints({1, 2, 3});
    view::LoadListState(store, names, defaults, state);
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3}), state.widths);
    // Without the older count nothing of another length is read.
    names.olderWidthCount = 0;
    Section()["Columns"].bytes = Ints({130, 75});
    view::ListState plain = current;
    view::LoadListState(store, names, defaults, plain);
    EXPECT_EQ(current.widths, plain.widths);
}

// Two versions back: a list of four columns reads what the versions of two and of three
// stored, the longer first.
TEST_F(WindowStateTest, EveryOlderFormBetweenTheFewestAndTheCurrentCounts) {
    names.olderWidthCount = 2;
    const std::vector<int32_t> fourDefaults = {110, 70, 200, 90};
    for (const auto& stored : {Ints({130, 75, 210}), Ints({130, 75})}) {
        Section()["Columns"].bytes = stored;
        view::ListState state = current;
        state.widths = {1, 1, 1, 1};
        view::LoadListState(store, names, fourDefaults, state);
        const std::vector<int32_t> expected = stored.size() == 12
                                                  ? std::vector<int32_t>{130, 75, 210, 90}
                                                  : std::vector<int32_t>{130, 75, 200, 90};
        EXPECT_EQ(expected, state.widths) << stored.size();
    }
    Section()["Columns"].bytes = Ints({5});
    view::ListState state = current;
    state.widths = {1, 1, 1, 1};
    view::LoadListState(store, names, fourDefaults, state);
    EXPECT_EQ((std::vector<int32_t>{1, 1, 1, 1}), state.widths) << "fewer than any version kept";
}

} // namespace
