// The local time of day and dates as the system keeps them.
#include "platform/clock.h"

#include <windows.h>

#include <cstdint>

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

namespace {

uint64_t Ticks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

bool ToLocalDateTime(int64_t unixSeconds, LocalDateTime& local) {
    constexpr int64_t kSecondsTo1970 = 11644473600;
    if (unixSeconds < 0 || unixSeconds > INT64_MAX / 10000000 - kSecondsTo1970) {
        return false;
    }
    const uint64_t ticks = static_cast<uint64_t>(unixSeconds + kSecondsTo1970) * 10000000u;
    FILETIME utcTime = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc = {};
    SYSTEMTIME there = {};
    FILETIME localTime = {};
    // The zone's rule for that date, where FileTimeToLocalFileTime would take today's.
    if (!::FileTimeToSystemTime(&utcTime, &utc) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &there) ||
        !::SystemTimeToFileTime(&there, &localTime)) {
        return false;
    }
    local.year = there.wYear;
    local.month = there.wMonth;
    local.day = there.wDay;
    local.hour = there.wHour;
    local.minute = there.wMinute;
    local.second = there.wSecond;
    const int64_t difference = static_cast<int64_t>(Ticks(localTime) - Ticks(utcTime));
    local.offsetMinutes = static_cast<int>(difference / 600000000);
    return true;
}

} // namespace platform
