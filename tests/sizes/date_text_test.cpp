// The texts of a last change: the German and the ISO form with every field padded, the
// offset's sign and minutes, and the local time of a moment under a zone with summer
// time, taken by that date's rule.
#include "sizes/date_text.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

platform::LocalDateTime At(int year, int month, int day, int hour, int minute, int second,
                           int offset) {
    platform::LocalDateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.offsetMinutes = offset;
    return t;
}

TEST(DateTextTest, BothFormsPadEveryFieldAndTheIsoFormCarriesTheOffset) {
    const struct {
        platform::LocalDateTime time;
        const char* german;
        const char* iso;
    } cases[] = {
        {At(2026, 12, 9, 14, 3, 5, 60), "09.12.2026 14:03", "2026-12-09T14:03:05+01:00"},
        {At(2026, 7, 1, 0, 0, 0, 120), "01.07.2026 00:00", "2026-07-01T00:00:00+02:00"},
        {At(1999, 1, 31, 23, 59, 59, 0), "31.01.1999 23:59", "1999-01-31T23:59:59+00:00"},
        {At(2026, 3, 2, 9, 7, 1, -210), "02.03.2026 09:07", "2026-03-02T09:07:01-03:30"},
        {At(2030, 10, 10, 10, 10, 10, 345), "10.10.2030 10:10", "2030-10-10T10:10:10+05:45"},
        {At(987, 1, 1, 1, 1, 1, -720), "01.01.0987 01:01", "0987-01-01T01:01:01-12:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.german, GermanDateTime(c.time));
        EXPECT_EQ(c.iso, IsoDateTime(c.time));
    }
}

TEST(DateTextTest, AnUnknownTimeHasNoText) {
    EXPECT_EQ("", GermanChangeText(0));
    EXPECT_EQ("", IsoChangeText(0));
}

#ifndef _WIN32
using testsupport::ZoneScope;

TEST(DateTextTest, ATimeTakesTheOffsetItsOwnDateHadNotTodays) {
    const ZoneScope berlin("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ("09.12.2026 14:03", GermanChangeText(1796821380)); // 13:03 UTC, winter
    EXPECT_EQ("2026-12-09T14:03:00+01:00", IsoChangeText(1796821380));
    EXPECT_EQ("2026-07-01T14:00:00+02:00", IsoChangeText(1782907200)); // 12:00 UTC, summer
    // The hour the clocks go back comes twice; each moment keeps its own offset.
    EXPECT_EQ("2026-10-25T02:30:00+02:00", IsoChangeText(1792888200));
    EXPECT_EQ("2026-10-25T02:30:00+01:00", IsoChangeText(1792891800));
}
#endif

} // namespace
