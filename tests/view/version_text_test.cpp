// The About box's texts from a version resource: the version line, the choice of the
// translation, the string-table path and the text of a string value.
#include "view/version_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct VersionCase {
    uint16_t major, minor, revision, build;
    const char* text;
};

TEST(VersionTextTest, VersionTextShowsLetterAndBuildOnlyWhenNonzero) {
    const VersionCase cases[] = {
        {1, 2, 3, 4, "v1.02c Build 0004"},
        {3, 0, 0, 255, "v3.00 Build 00FF"},
        {4, 5, 0, 0, "v4.05"},
        {1, 0, 0, 0, "v1.00"},
        {2, 10, 0, 0, "v2.10"},
        {1, 2, 1, 0, "v1.02a"},
        {1, 2, 26, 0, "v1.02z"},
        {0, 0, 0, 1, "v0.00 Build 0001"},
        {12, 345, 0, 0xABCD, "v12.345 Build ABCD"},
        {65535, 65535, 0, 65535, "v65535.65535 Build FFFF"},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, view::FormatVersionText({c.major, c.minor, c.revision, c.build}));
    }
}

TEST(VersionTextTest, EveryRevisionFromOneToTwentySixIsItsLetter) {
    for (uint16_t revision = 1; revision <= 26; ++revision) {
        const std::string text = view::FormatVersionText({1, 0, revision, 0});
        ASSERT_EQ(6u, text.size());
        EXPECT_EQ(static_cast<char>('a' + revision - 1), text.back()) << revision;
    }
}

TEST(VersionTextTest, FixedVersionHalvesSplitHighWordFirst) {
    const view::FileVersion v = view::SplitFileVersion(0x00010002u, 0x00030004u);
    EXPECT_EQ(1, v.major);
    EXPECT_EQ(2, v.minor);
    EXPECT_EQ(3, v.revision);
    EXPECT_EQ(4, v.build);
    const view::FileVersion w = view::SplitFileVersion(0xFFFE0001u, 0x8000FFFFu);
    EXPECT_EQ(0xFFFE, w.major);
    EXPECT_EQ(0x0001, w.minor);
    EXPECT_EQ(0x8000, w.revision);
    EXPECT_EQ(0xFFFF, w.build);
}

TEST(VersionTextTest, VersionLineWrapsTheProductNameEvenWhenMissing) {
    EXPECT_EQ("v1.00 (P)", view::FormatVersionLine("v1.00", "P"));
    EXPECT_EQ("v1.02c Build 0004 (Foldtally)",
              view::FormatVersionLine("v1.02c Build 0004", "Foldtally"));
    EXPECT_EQ("v4.05 ()", view::FormatVersionLine("v4.05", ""));
    EXPECT_EQ(" ()", view::FormatVersionLine("", ""));
}

TEST(VersionTextTest, PrefixNamesLanguageAndCodePageInUpperCaseHex) {
    EXPECT_EQ("\\StringFileInfo\\040704B0\\", view::StringTablePrefix({0x0407, 0x04B0}));
    EXPECT_EQ("\\StringFileInfo\\000004B0\\", view::StringTablePrefix(view::kDefaultTranslation));
    EXPECT_EQ("\\StringFileInfo\\040904E4\\", view::StringTablePrefix({0x0409, 0x04E4}));
    EXPECT_EQ("\\StringFileInfo\\ABCDEF01\\", view::StringTablePrefix({0xABCD, 0xEF01}));
}

struct ChoiceCase {
    const char* what;
    size_t length;
    int index;
    uint16_t language;
    uint16_t codePage;
};

TEST(VersionTextTest, TranslationIndexBeyondTheTableFallsBackToTheFirst) {
    // Three pairs, little-endian: 0407/04B0, 0409/04E4, 040C/04E4.
    const unsigned char table[] = {0x07, 0x04, 0xB0, 0x04, 0x09, 0x04, 0xE4,
                                   0x04, 0x0C, 0x04, 0xE4, 0x04, 0xEE, 0xEE};
    const ChoiceCase cases[] = {
        {"first", 12, 0, 0x0407, 0x04B0},      {"second", 12, 1, 0x0409, 0x04E4},
        {"third", 12, 2, 0x040C, 0x04E4},      {"beyond", 12, 3, 0x0407, 0x04B0},
        {"negative", 12, -1, 0x0407, 0x04B0},  {"partial pair ignored", 14, 3, 0x0407, 0x04B0},
        {"one pair", 4, 1, 0x0407, 0x04B0},    {"only part of a pair", 3, 0, 0x0000, 0x04B0},
        {"empty table", 0, 0, 0x0000, 0x04B0},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.what);
        const view::Translation t = view::ChooseTranslation(table, c.length, c.index);
        EXPECT_EQ(c.language, t.language);
        EXPECT_EQ(c.codePage, t.codePage);
    }
    const view::Translation none = view::ChooseTranslation(nullptr, 12, 0);
    EXPECT_EQ(0x0000, none.language);
    EXPECT_EQ(0x04B0, none.codePage);
}

TEST(VersionTextTest, StringValueEndsAtItsFirstNul) {
    const char data[] = "Foldtally\0rest";
    EXPECT_EQ("Foldtally", view::VersionStringValue(data, sizeof data));
    EXPECT_EQ("Fold", view::VersionStringValue(data, 4));
    EXPECT_EQ("", view::VersionStringValue(data, 0));
    EXPECT_EQ("", view::VersionStringValue(nullptr, 10));
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ("abc", view::VersionStringValue(unterminated, 3));
}

} // namespace
