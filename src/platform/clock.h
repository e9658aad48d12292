// The local time of day, for the moment a scan was made. Seconds are enough: the windows
// show "Stand: HH:MM:SS", and the command-line report takes its own time stamp.
#pragma once

namespace platform {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Now, in the machine's local time.
TimeOfDay LocalTimeOfDay();

} // namespace platform
