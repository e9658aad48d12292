// The local time of day as the system keeps it.
#include "platform/clock.h"

#include <windows.h>

namespace platform {

TimeOfDay LocalTimeOfDay() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    TimeOfDay time;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    return time;
}

CalendarDay LocalToday() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    CalendarDay today;
    today.year = now.wYear;
    today.month = now.wMonth;
    today.day = now.wDay;
    return today;
}

} // namespace platform
