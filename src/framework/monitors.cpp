// Monitors listed by the platform, each with its work area.
#include "framework/monitors.h"

#include <windows.h>

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM context) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(monitor, &info)) {
        reinterpret_cast<std::vector<RECT>*>(context)->push_back(info.rcWork);
    }
    return TRUE;
}

} // namespace

std::vector<view::PixelRect> MonitorWorkAreas() {
    std::vector<RECT> screens;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&screens));
    RECT primary = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &primary, 0);
    std::vector<view::PixelRect> areas;
    for (const RECT& r : screens) {
        areas.push_back({r.left - primary.left, r.top - primary.top, r.right - primary.left,
                         r.bottom - primary.top});
    }
    return areas;
}
