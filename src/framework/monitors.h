// The work areas of every monitor, in the coordinates a window placement's normal
// rectangle uses (workspace coordinates: relative to the primary monitor's work area),
// so a stored placement can be checked against the screens there are now.
#pragma once

#include "view/layout.h"

#include <vector>

std::vector<view::PixelRect> MonitorWorkAreas();
