// The local time of day, for the moment a scan was made, and the local date, for the
// day a history entry belongs to. Seconds are enough: the windows show
// "Stand: HH:MM:SS", and the command-line report takes its own time stamp.
#pragma once

namespace platform {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Now, in the machine's local time.
TimeOfDay LocalTimeOfDay();

// A day of the calendar: year, month 1-12, day 1-31.
struct CalendarDay {
    int year = 1970;
    int month = 1;
    int day = 1;
};

// Today, in the machine's local time: the day a history entry is filed under.
CalendarDay LocalToday();

} // namespace platform
