#include "view/row_filter.h"

#include <gtest/gtest.h>

namespace view {
namespace {

TEST(RowFilterTest, EveryWordMustBeFoundAndNoExcludedOne) {
    RowFilter filter;
    filter.SetWords(" arch\t19  -kunden - ");
    const struct {
        const char* name;
        const char* path;
        bool passes;
    } rows[] = {
        {"2019", "\\Archiv\\", true},          // words in different texts
        {"ARCHIV 2019", "", true},             // case folded
        {"2019", "\\Archiv\\Kunden\\", false}, // excluded word in the path
        {"2018", "\\Archiv\\", false},         // one word missing
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.passes, filter.Passes({row.name, row.path}, 0)) << row.name << row.path;
    }
}

TEST(RowFilterTest, FoldsWindows1252LettersAsTheTypeAheadDoes) {
    RowFilter filter;
    filter.SetWords("\xD6"
                    "ffentlich"); // "Öffentlich" typed with a capital umlaut
    EXPECT_TRUE(filter.PassesWords({"\xF6"
                                    "ffentliche Ordner"}));
    EXPECT_FALSE(filter.PassesWords({"Offentlich"}));
}

TEST(RowFilterTest, TheMinimumSizeCountsWithTheWordsAndAloneMakesItNonEmpty) {
    RowFilter filter;
    EXPECT_TRUE(filter.IsEmpty());
    filter.SetMinimumSize(100);
    EXPECT_FALSE(filter.IsEmpty());
    EXPECT_TRUE(filter.Passes({"a"}, 100));
    EXPECT_FALSE(filter.Passes({"a"}, 99));
    filter.SetWords("b");
    EXPECT_FALSE(filter.Passes({"a"}, 100));
}

TEST(RowFilterTest, WordsAddUpToTheMostAndAFilterOverItIsRefusedWhole) {
    RowFilter filter;
    ASSERT_TRUE(filter.SetWords("a"));
    ASSERT_TRUE(filter.AddWords("b -c", true)); // every word of --exclude is left out
    EXPECT_FALSE(filter.PassesWords({"ab"}));
    EXPECT_FALSE(filter.PassesWords({"ac"}));
    EXPECT_TRUE(filter.PassesWords({"ad"}));
    std::string many;
    for (size_t i = 0; i < RowFilter::kMostWords; ++i) {
        many += "w" + std::to_string(i) + " w" + std::to_string(i) + " ";
    }
    EXPECT_TRUE(filter.SetWords(many)); // repeated words count once
    EXPECT_FALSE(filter.AddWords("one-more", false));
    EXPECT_FALSE(filter.SetWords(many + " x"));
    // The refused words changed nothing: all the earlier ones are still asked for.
    EXPECT_TRUE(filter.PassesWords({many}));
    EXPECT_FALSE(filter.PassesWords({"w0 w1"}));
}

} // namespace
} // namespace view
