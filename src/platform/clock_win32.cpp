// The local time of day as the system keeps it, dates, and the tick count that never wraps.
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

uint64_t MonotonicMilliseconds() {
    return ::GetTickCount64();
}

uint64_t MonotonicMicroseconds() {
    LARGE_INTEGER frequency = {};
    LARGE_INTEGER now = {};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    const uint64_t ticks = static_cast<uint64_t>(now.QuadPart);
    const uint64_t perSecond = static_cast<uint64_t>(frequency.QuadPart);
    if (perSecond == 0) {
        return ::GetTickCount64() * 1000u;
    }
    // In two steps, so the product cannot overflow however long the machine runs.
    return ticks / perSecond * 1000000u + ticks % perSecond * 1000000u / perSecond;
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
