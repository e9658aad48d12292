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
