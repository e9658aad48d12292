// The user's texts in English beside the German ones: the marks of sizes, changes and
// shares, the order of a date, and which mark groups digits when a size is read back.
#include "sizes/byte_change.h"
#include "sizes/date_text.h"
#include "sizes/size_text.h"
#include "tree/tree_text.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(EnglishTextTest, SizesChangesSharesAndDatesTakeTheEnglishForms) {
    const testsupport::LanguageForTest english(Language::English);
    EXPECT_EQ("1,234,567", FormatSize(1234567, SizeStyle::Exact));
    EXPECT_EQ("117.7 MB", FormatSize(123456789, SizeStyle::Compact));
    EXPECT_EQ("1 byte", FormatSize(1, SizeStyle::Compact));
    EXPECT_EQ("0 bytes", FormatSize(0, SizeStyle::Compact));
    EXPECT_EQ("-1.5 kB", ChangeText({RowChange::kChanged, {true, 1536}}, false));
    EXPECT_EQ("new", ChangeText({RowChange::kNew, {false, 5}}, false));
    EXPECT_EQ("removed", ChangeText({RowChange::kRemoved, {true, 5}}, true));
    EXPECT_EQ("34.5%", tree::FormatShare(345));
    platform::LocalDateTime time;
    time.year = 2026, time.month = 12, time.day = 9, time.hour = 14, time.minute = 3;
    EXPECT_EQ("2026-12-09 14:03", DateTimeText(time));
    EXPECT_EQ("2026-12-09", DateText(2026, 12, 9));
}

TEST(EnglishTextTest, EachLanguageGroupsDigitsWithItsOwnMark) {
    const struct {
        const char* text;
        bool german; // read at all
        uint64_t inGerman;
        bool english;
        uint64_t inEnglish;
    } cases[] = {
        {"1,234", true, 1, true, 1234},
        {"1.234", true, 1234, true, 1},
        {"1,234,567 bytes", false, 0, true, 1234567},
        {"1.234.567", true, 1234567, false, 0},
        {"1.5 GB", true, 3ull << 29, true, 3ull << 29},
        {"1,5 kB", true, 1536, true, 1536},
    };
    for (const auto& c : cases) {
        uint64_t count = 0;
        EXPECT_EQ(c.german, ParseSizeText(c.text, &count) && count == c.inGerman) << c.text;
        const testsupport::LanguageForTest english(Language::English);
        EXPECT_EQ(c.english, ParseSizeText(c.text, &count) && count == c.inEnglish) << c.text;
    }
}

} // namespace
