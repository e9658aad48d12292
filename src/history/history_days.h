// The calendar of a mailbox's history: day numbers, the names its files carry, the days
// a user types, and which days are kept as they age (every day for 60 days, then the
// first of each month for three years).
#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace history {

using platform::CalendarDay;

// Days since 1970-01-01 (negative before) of the proleptic Gregorian calendar.
int64_t DayNumber(const CalendarDay& day);
CalendarDay DayFromNumber(int64_t number);
// Whether the day exists: month 1-12, the day within its month, year 1-9999.
bool IsRealDay(const CalendarDay& day);

// The name of a day's file, "2026-12-09.json".
std::string DayFileName(const CalendarDay& day);
// The day of such a name; false for any other name (the day must exist, the case of
// ".json" does not matter, as on Windows).
bool DayOfFileName(std::string_view name, CalendarDay& day);

// A day as the window shows it, "09.12.2026".
std::string GermanDay(const CalendarDay& day);
// The day in the user's language ("09.12.2026", "2026-12-09").
std::string DayText(const CalendarDay& day);
// A day typed by a user, "2026-12-09" or "09.12.2026"; false (day untouched) for
// anything else or a day that does not exist.
bool ParseDay(std::string_view text, CalendarDay& day);

// Every day is kept while it is younger than this many days.
constexpr int64_t kDailyDays = 60;
// Older days keep the first of their month until they are this many years old.
constexpr int kMonthlyYears = 3;

// The days of `days` (day numbers, any order, no twins) that thinning removes on
// `today`: those older than kDailyDays that are not the first kept day of their
// month, and those older than kMonthlyYears years. Days after `today` (the clock was
// set back) stay. Ascending.
std::vector<int64_t> DaysToThin(const std::vector<int64_t>& days, int64_t today);

} // namespace history
