// The portable placement record and the platform's WINDOWPLACEMENT, field by field: the
// main window and the folder tree window keep their placement in the same form.
#pragma once

#include "view/placement.h"

#include <windows.h>

inline WINDOWPLACEMENT ToWindowPlacement(const view::WindowPlacementRecord& r) {
    WINDOWPLACEMENT wp = {};
    wp.length = r.length;
    wp.flags = r.flags;
    wp.showCmd = r.showCmd;
    wp.ptMinPosition = {r.minX, r.minY};
    wp.ptMaxPosition = {r.maxX, r.maxY};
    wp.rcNormalPosition = {r.normal.left, r.normal.top, r.normal.right, r.normal.bottom};
    return wp;
}

inline view::WindowPlacementRecord FromWindowPlacement(const WINDOWPLACEMENT& wp) {
    view::WindowPlacementRecord r;
    r.length = wp.length;
    r.flags = wp.flags;
    r.showCmd = wp.showCmd;
    r.minX = wp.ptMinPosition.x;
    r.minY = wp.ptMinPosition.y;
    r.maxX = wp.ptMaxPosition.x;
    r.maxY = wp.ptMaxPosition.y;
    r.normal = {wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                wp.rcNormalPosition.bottom};
    return r;
}
