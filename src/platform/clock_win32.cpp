// The local time of day as the system keeps it; the tick count that never wraps.
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

} // namespace platform
