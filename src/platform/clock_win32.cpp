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

} // namespace platform
