// The history's calendar: day numbers against a plain day-by-day count, the names of its
// files, typed days, and which days thinning keeps over years of daily scans.
#include "history/history_days.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using history::CalendarDay;
using history::DayFromNumber;
using history::DayNumber;

bool operator==(const CalendarDay& a, const CalendarDay& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

// The next day by the rules a calendar on the wall follows, written independently of
// the era arithmetic under test.
CalendarDay NextDay(CalendarDay day) {
    const bool leap = (day.year % 4 == 0 && day.year % 100 != 0) || day.year % 400 == 0;
    const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (++day.day > lengths[day.month - 1]) {
        day.day = 1;
        if (++day.month > 12) {
            day.month = 1;
            ++day.year;
        }
    }
    return day;
}

TEST(HistoryDaysTest, DayNumbersCountEveryDayFrom1600To2400) {
    CalendarDay day{1600, 1, 1};
    int64_t number = DayNumber(day);
    EXPECT_EQ(DayNumber(CalendarDay{1970, 1, 1}), 0);
    EXPECT_EQ(DayNumber(CalendarDay{1969, 12, 31}), -1);
    while (day.year < 2400) {
        ASSERT_TRUE(history::IsRealDay(day)) << day.year << "-" << day.month << "-" << day.day;
        ASSERT_TRUE(DayFromNumber(number) == day) << number;
        day = NextDay(day);
        ++number;
        ASSERT_EQ(DayNumber(day), number) << day.year << "-" << day.month << "-" << day.day;
    }
}

TEST(HistoryDaysTest, OnlyDaysThatExistAreReal) {
    const struct {
        CalendarDay day;
        bool real;
    } cases[] = {
        {{2024, 2, 29}, true},  {{2023, 2, 29}, false}, {{1900, 2, 29}, false},
        {{2000, 2, 29}, true},  {{2026, 4, 31}, false}, {{2026, 12, 31}, true},
        {{2026, 13, 1}, false}, {{2026, 0, 1}, false},  {{2026, 1, 0}, false},
        {{0, 1, 1}, false},     {{9999, 12, 31}, true}, {{10000, 1, 1}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(history::IsRealDay(c.day), c.real)
            << c.day.year << "-" << c.day.month << "-" << c.day.day;
    }
}

TEST(HistoryDaysTest, FileNamesNameOneRealDayEach) {
    EXPECT_EQ(history::DayFileName(CalendarDay{2026, 3, 7}), "2026-03-07.json");
    EXPECT_EQ(history::DayFileName(CalendarDay{987, 12, 31}), "0987-12-31.json");
    const struct {
        const char* name;
        bool accepted;
        CalendarDay day;
    } cases[] = {
        {"2026-12-09.json", true, {2026, 12, 9}},
        {"2026-12-09.JSON", true, {2026, 12, 9}},
        {"2024-02-29.json", true, {2024, 2, 29}},
        {"2026-02-29.json", false, {}},
        {"2026-12-9.json", false, {}},
        {"2026-12-09.json.1.tmp", false, {}},
        {"2026-12-09.jso", false, {}},
        {"2026-12-09xjson", false, {}},
        {"2026_12_09.json", false, {}},
        {"+026-12-09.json", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        CalendarDay day{1, 2, 3};
        EXPECT_EQ(history::DayOfFileName(c.name, day), c.accepted) << c.name;
        EXPECT_TRUE(day == (c.accepted ? c.day : CalendarDay{1, 2, 3})) << c.name;
    }
}

TEST(HistoryDaysTest, TypedDaysTakeBothFormsAndNothingElse) {
    const struct {
        const char* text;
        bool accepted;
        CalendarDay day;
    } cases[] = {
        {"2026-12-01", true, {2026, 12, 1}},
        {"01.12.2026", true, {2026, 12, 1}},
        {"29.02.2024", true, {2024, 2, 29}},
        {"29.02.2026", false, {}},
        {"1.12.2026", false, {}},
        {"2026-12-1", false, {}},
        {"2026.12.01", false, {}},
        {"01-12-2026", false, {}},
        {"2026-12-01 ", false, {}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        CalendarDay day{1, 2, 3};
        EXPECT_EQ(history::ParseDay(c.text, day), c.accepted) << c.text;
        EXPECT_TRUE(day == (c.accepted ? c.day : CalendarDay{1, 2, 3})) << c.text;
    }
    EXPECT_EQ(history::GermanDay(CalendarDay{2026, 12, 9}), "09.12.2026");
}

// Four years of a scan every day, thinned after each as the store does: afterwards the
// last 60 days are all there, before them the first of each month back to three years
// ago, and nothing older.
TEST(HistoryDaysTest, ThinningOverYearsKeepsDailyThenMonthlyThenNothing) {
    const int64_t first = DayNumber(CalendarDay{2022, 1, 15});
    const int64_t today = DayNumber(CalendarDay{2026, 3, 10});
    std::set<int64_t> kept;
    for (int64_t day = first; day <= today; ++day) {
        kept.insert(day);
        const std::vector<int64_t> days(kept.begin(), kept.end());
        for (int64_t gone : history::DaysToThin(days, day)) {
            ASSERT_EQ(kept.erase(gone), 1u);
        }
    }
    std::set<int64_t> expected;
    for (int64_t day = today - 59; day <= today; ++day) {
        expected.insert(day);
    }
    for (int64_t day = DayNumber(CalendarDay{2023, 3, 10}); day < today - 59; ++day) {
        if (DayFromNumber(day).day == 1) {
            expected.insert(day);
        }
    }
    EXPECT_EQ(kept, expected);
}

TEST(HistoryDaysTest, ThinningKeepsTheFirstDayAMonthHasAndDaysAfterToday) {
    const int64_t today = DayNumber(CalendarDay{2026, 12, 9});
    const int64_t mar3 = DayNumber(CalendarDay{2026, 3, 3});
    const int64_t mar20 = DayNumber(CalendarDay{2026, 3, 20});
    const int64_t apr30 = DayNumber(CalendarDay{2026, 4, 30});
    const int64_t oct11 = today - 59; // the oldest day still kept daily
    const int64_t oct10 = today - 60; // alone in the part of its month that aged
    const int64_t future = today + 3;
    const int64_t tooOld = DayNumber(CalendarDay{2023, 12, 8});
    const int64_t justOldEnough = DayNumber(CalendarDay{2023, 12, 9});
    const std::vector<int64_t> thinned = history::DaysToThin(
        {future, oct11, oct10, apr30, mar20, mar3, tooOld, justOldEnough}, today);
    EXPECT_EQ(thinned, (std::vector<int64_t>{tooOld, mar20}));
}

TEST(HistoryDaysTest, ThreeYearsBeforeALeapDayEndOnTheLastOfFebruary) {
    const int64_t today = DayNumber(CalendarDay{2028, 2, 29});
    const int64_t feb28 = DayNumber(CalendarDay{2025, 2, 28});
    const int64_t feb27 = DayNumber(CalendarDay{2025, 2, 27});
    EXPECT_EQ(history::DaysToThin({feb27, feb28}, today), std::vector<int64_t>{feb27});
}

} // namespace
