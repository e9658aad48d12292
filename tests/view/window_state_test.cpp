// One rule set for every window's stored state: a placement made fit for the screens
// there are, the columns' widths, order and sort read over what the list shows, and
// the values written back in their names, forms and order.
#include "memory_store.h"
#include "view/window_state.h"

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

std::string Ints(std::initializer_list<int32_t> values) {
    std::string bytes;
    for (int32_t v : values) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
        }
    }
    return bytes;
}

const std::vector<PixelRect> kTwoScreens = {{0, 0, 1280, 984}, {1280, 0, 2560, 1024}};

TEST(FitPlacement, AWindowOnAnyScreenStaysWhereItWas) {
    for (const PixelRect& r : {PixelRect{6, 6, 478, 379}, PixelRect{1300, 50, 1900, 600},
                               PixelRect{1000, 100, 1600, 500}, PixelRect{-300, -20, 10, 300}}) {
        EXPECT_EQ(Rect(r), Rect(view::FitPlacement(Placement(1, r), {}, kTwoScreens).normal));
    }
}

TEST(FitPlacement, AWindowOffEveryScreenComesOntoTheNearestWorkArea) {
    const struct {
        PixelRect stored;
        const char* fitted;
    } cases[] = {
        {{3000, 100, 3400, 400}, "2160,100,2560,400"},  // right of the second screen
        {{-900, 200, -400, 500}, "0,200,500,500"},      // left of the first
        {{100, 2000, 500, 2300}, "100,684,500,984"},    // below the first, onto its work area
        {{-5000, -5000, -4000, -4000}, "0,0,1000,984"}, // and shrunk to its height
        {{4000, 0, 9000, 3000}, "1280,0,2560,1024"},    // larger than the screen: shrunk to it
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
    EXPECT_TRUE(view::CopyWindowState(old, store, names, 3));
    EXPECT_EQ((std::vector<std::string>{"WriteBinary Placement", "WriteBinary Sort"}), store.Log());
    EXPECT_EQ(from["Placement"].bytes, Section()["Placement"].bytes);
    EXPECT_EQ(Ints({0, 1}), Section()["Sort"].bytes);
    EXPECT_EQ(Ints({7, 8, 9}), Section()["Columns"].bytes);
    EXPECT_EQ(0u, Section().count("ColOrder"));
}

} // namespace
