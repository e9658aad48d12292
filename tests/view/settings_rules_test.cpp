// The settings dialog's input rules: which typed directories are taken and how they are
// stored, and how the seconds field reads, with the C library's atoi as the reference
// wherever atoi is defined.
#include "view/settings_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace {

struct DirectoryCase {
    const char* typed;
    bool accepted;
    const char* stored; // what the target holds afterwards
};

TEST(SettingsRulesTest, TypedDirectoriesAreTakenWithOneFinalBackslash) {
    const DirectoryCase cases[] = {
        {"C:\\MAIL", true, "C:\\MAIL\\"},
        {"C:\\MAIL\\", true, "C:\\MAIL\\"},
        {"\\\\SERVER\\MAIL", true, "\\\\SERVER\\MAIL\\"},
        {"\\\\SERVER\\MAIL\\", true, "\\\\SERVER\\MAIL\\"},
        {"C:X", true, "C:X\\"},
        {"C:\\", true, "C:\\"},
        {"\\\\S", true, "\\\\S\\"},
        {"\\\\\\", true, "\\\\\\"},
        // Only the first two characters are looked at, nothing after them.
        {"1:?*<>", true, "1:?*<>\\"},
        {"C:\\MAIL\\\\", true, "C:\\MAIL\\\\"},
        {"C:", false, "(previous)"},
        {"\\\\", false, "(previous)"},
        {"", false, "(previous)"},
        {"X", false, "(previous)"},
        {"MAIL\\DIR", false, "(previous)"},
        {"\\MAIL", false, "(previous)"},
        {":C\\MAIL", false, "(previous)"},
        {"CC:\\MAIL", false, "(previous)"},
        {" C:\\MAIL", false, "(previous)"},
        {"/\\SERVER", false, "(previous)"},
    };
    for (const DirectoryCase& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string target = "(previous)";
        EXPECT_EQ(c.accepted, view::IsAcceptableDirectory(c.typed));
        EXPECT_EQ(c.accepted, view::AcceptDirectory(c.typed, target));
        EXPECT_EQ(c.stored, target);
    }
}

TEST(SettingsRulesTest, ALongestTypedDirectoryKeepsEveryCharacter) {
    const std::string typed = "C:" + std::string(258, 'A');
    std::string target;
    ASSERT_TRUE(view::AcceptDirectory(typed, target));
    EXPECT_EQ(typed + "\\", target);
}

TEST(SettingsRulesTest, SecondsReadAsAtoiReadsThem) {
    const char* texts[] = {"",     "0",          "00",          "000",     "1",   "10",    "45",
                           "999",  "007",        "12ab",        "ab12",    " 5",  "\t\n7", "+8",
                           "-3",   "- 3",        "+",           "-",       "--1", "4 5",   "1e3",
                           "0x10", "2147483647", "-2147483648", "  +0042x"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(std::atoi(text), view::ReadLeadingInteger(text));
    }
}

TEST(SettingsRulesTest, SecondsBeyondTheIntegerRangeStopAtItsEnd) {
    EXPECT_EQ(INT32_MAX, view::ReadLeadingInteger("2147483648"));
    EXPECT_EQ(INT32_MAX, view::ReadLeadingInteger("99999999999999999999999999999"));
    EXPECT_EQ(INT32_MIN, view::ReadLeadingInteger("-2147483649"));
    EXPECT_EQ(INT32_MIN, view::ReadLeadingInteger("-99999999999999999999999999999"));
    EXPECT_EQ(INT32_MAX, view::ReadLeadingInteger(std::string(5000, '9')));
}

TEST(SettingsRulesTest, SecondsMatchTheLibraryReadingClampedToTheIntegerRange) {
    // A seeded walk over short texts of blanks, signs, digits and other characters; the
    // reference is the library's 64-bit reading, which saturates instead of overflowing.
    const char alphabet[] = " \t+-0123456789x9";
    unsigned seed = 2024;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        seed = seed * 1103515245u + 12345u;
        const size_t length = (seed >> 16) % 24;
        for (size_t i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
        }
        const long long wide = std::strtoll(text.c_str(), nullptr, 10);
        const int32_t expected = static_cast<int32_t>(
            wide > INT32_MAX ? INT32_MAX : (wide < INT32_MIN ? INT32_MIN : wide));
        ASSERT_EQ(expected, view::ReadLeadingInteger(text)) << "'" << text << "'";
    }
}

struct RateCase {
    const char* field;
    int32_t remembered; // when automatic refresh is switched off
    bool acceptedOnOk;
};

TEST(SettingsRulesTest, RememberedRateIsTheFieldWhenPositiveElseTen) {
    const RateCase cases[] = {
        {"45", 45, true},  {"1", 1, true},    {"999", 999, true}, {"007", 7, true},
        {"0", 10, false},  {"00", 10, false}, {"000", 10, false}, {"", 10, false},
        {"-5", 10, false}, {"x", 10, false},  {"3x", 3, true},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(c.remembered, view::RefreshRateToRemember(c.field));
        int32_t seconds = -77;
        EXPECT_EQ(c.acceptedOnOk, view::AcceptRefreshRate(c.field, seconds));
        EXPECT_EQ(c.acceptedOnOk ? c.remembered : -77, seconds);
    }
}

} // namespace
