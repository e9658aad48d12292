// The folder list's kept place after a refill, type-ahead matching and timing, and the
// default column widths for the screen's DPI.
#include "view/list_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Rows sorted by name; the old first row was `old`.
int Kept(const std::vector<std::string>& rows, const std::string& old) {
    return view::FindKeptRow(
        static_cast<int>(rows.size()), [&](int i) { return rows[i] == old; },
        [&](int i) { return rows[i] > old; });
}

TEST(ListRulesTest, KeptRowIsTheSameRowElseTheNextInSortOrderElseTheLast) {
    const std::vector<std::string> rows = {"b", "d", "f", "h"};
    EXPECT_EQ(2, Kept(rows, "f"));
    EXPECT_EQ(0, Kept(rows, "b"));
    EXPECT_EQ(3, Kept(rows, "h"));
    EXPECT_EQ(2, Kept(rows, "e")) << "gone: the row that now stands in its place";
    EXPECT_EQ(0, Kept(rows, "a"));
    EXPECT_EQ(3, Kept(rows, "z")) << "gone from the end: the last row";
    EXPECT_EQ(-1, Kept({}, "a"));
    // The same row wins even where an earlier row already sorts after the old one (a
    // row whose sort key changed, such as a folder that grew).
    EXPECT_EQ(1, view::FindKeptRow(
                     3, [](int i) { return i == 1; }, [](int) { return true; }));
}

TEST(ListRulesTest, PrefixMatchIgnoresCaseOfGermanLettersToo) {
    EXPECT_TRUE(view::StartsWithIgnoringCase("Entwürfe", "ent"));
    EXPECT_TRUE(view::StartsWithIgnoringCase("\xD6"
                                             "ffentlich",
                                             "\xF6"
                                             "f")); // Ö / ö
    EXPECT_TRUE(view::StartsWithIgnoringCase("abc", ""));
    EXPECT_FALSE(view::StartsWithIgnoringCase("ab", "abc"));
    EXPECT_FALSE(view::StartsWithIgnoringCase("\xD7", "\xF7")) << "× and ÷ are no letters";
    EXPECT_FALSE(view::StartsWithIgnoringCase("[", "{"));

    const std::vector<std::string> rows = {"Archiv", "Entwürfe", "Gesendet", "gelöscht"};
    auto find = [&](const std::string& prefix) {
        return view::FindPrefixRow(
            static_cast<int>(rows.size()), [&](int i) { return rows[i]; }, prefix);
    };
    EXPECT_EQ(2, find("g")) << "the first match in the list's order";
    EXPECT_EQ(3, find("GEL"));
    EXPECT_EQ(-1, find("x"));
    EXPECT_EQ(-1, find(""));
}

TEST(ListRulesTest, TypedLettersExtendWithinThePauseAndStartAnewAfterIt) {
    view::TypeAhead typed;
    EXPECT_EQ("g", typed.Add('g', 5000));
    EXPECT_EQ("ge", typed.Add('e', 5000 + view::TypeAhead::kPauseMs));
    EXPECT_EQ("s", typed.Add('s', 5001 + 2 * view::TypeAhead::kPauseMs));
    typed.Reset();
    EXPECT_EQ("a", typed.Add('a', 5001 + 2 * view::TypeAhead::kPauseMs));
    // Across the wrap of the millisecond clock.
    view::TypeAhead wrapping;
    wrapping.Add('a', 0xFFFFFF00u);
    EXPECT_EQ("ab", wrapping.Add('b', 0x00000010u));
}

TEST(ListRulesTest, DefaultWidthsScaleWithDpiAndFitTheirText) {
    EXPECT_EQ(110, view::ScaleForDpi(110, 96));
    EXPECT_EQ(165, view::ScaleForDpi(110, 144));
    EXPECT_EQ(105, view::ScaleForDpi(70, 144));
    EXPECT_EQ(300, view::ScaleForDpi(240, 120));
    EXPECT_EQ(88, view::ScaleForDpi(70, 120)) << "87.5 rounds up";
    EXPECT_EQ(70, view::ScaleForDpi(70, 0));
    EXPECT_EQ(70, view::ScaleForDpi(70, -5));

    EXPECT_EQ(70, view::FitColumnWidth(70, 40, 6));
    EXPECT_EQ(83, view::FitColumnWidth(70, 71, 6));
    EXPECT_EQ(70, view::FitColumnWidth(70, 58, 6)) << "exactly fitting needs nothing more";
}

} // namespace
