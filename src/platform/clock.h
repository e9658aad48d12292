// The local time of day, for the moment a scan was made, the local date, for the day a
// history entry belongs to, the local date and time of a file's last write with the
// offset from UTC it had then, and a steady clock for the time between scans. Seconds
// are enough: the windows show "Stand: HH:MM:SS", and the command-line report takes
// its own time stamp.
#pragma once

#include <cstdint>

namespace platform {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Now, in the machine's local time.
TimeOfDay LocalTimeOfDay();

// Milliseconds from an arbitrary start that never goes back, whatever the clock of the
// day does: how long ago the last scan ended.
uint64_t MonotonicMilliseconds();
// The same clock in microseconds, fine enough to time one open of a file.
uint64_t MonotonicMicroseconds();

// A day of the calendar: year, month 1-12, day 1-31.
struct CalendarDay {
    int year = 1970;
    int month = 1;
    int day = 1;
};

// Today, in the machine's local time: the day a history entry is filed under.
CalendarDay LocalToday();

struct LocalDateTime {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int offsetMinutes = 0; // local time minus UTC at that moment (summer time included)
};

// `unixSeconds` (since 1970-01-01 UTC) in the machine's local time and the time zone's
// rule for that date, not today's. False when the platform cannot convert it.
[[nodiscard]] bool ToLocalDateTime(int64_t unixSeconds, LocalDateTime& local);

} // namespace platform
