// The local time of day from the C library's reentrant conversion.
#include "platform/clock.h"

#include <ctime>

namespace platform {

TimeOfDay LocalTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    TimeOfDay time;
    if (localtime_r(&now, &local) != nullptr) {
        time.hour = local.tm_hour;
        time.minute = local.tm_min;
        time.second = local.tm_sec;
    }
    return time;
}

CalendarDay LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    CalendarDay today;
    if (localtime_r(&now, &local) != nullptr) {
        today.year = local.tm_year + 1900;
        today.month = local.tm_mon + 1;
        today.day = local.tm_mday;
    }
    return today;
}

} // namespace platform
