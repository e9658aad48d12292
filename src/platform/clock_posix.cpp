// The local time of day from the C library's reentrant conversion, dates and the steady clock.
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

uint64_t MonotonicMilliseconds() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000u +
           static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

uint64_t MonotonicMicroseconds() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000u +
           static_cast<uint64_t>(now.tv_nsec) / 1000u;
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
