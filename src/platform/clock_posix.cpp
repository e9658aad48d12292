// The local time of day and dates from the C library's reentrant conversion.
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

bool ToLocalDateTime(int64_t unixSeconds, LocalDateTime& local) {
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm tm = {};
    if (static_cast<int64_t>(t) != unixSeconds || localtime_r(&t, &tm) == nullptr) {
        return false;
    }
    local.year = tm.tm_year + 1900;
    local.month = tm.tm_mon + 1;
    local.day = tm.tm_mday;
    local.hour = tm.tm_hour;
    local.minute = tm.tm_min;
    local.second = tm.tm_sec;
    local.offsetMinutes = static_cast<int>(tm.tm_gmtoff / 60);
    return true;
}

} // namespace platform
