// The 44-byte window placement record that the main window keeps as "Placement": the
// platform's WINDOWPLACEMENT, little-endian, and its built-in default. Portable so the
// byte layout is tested on every platform.
#pragma once

#include "view/layout.h"

#include <cstddef>
#include <cstdint>

namespace view {

constexpr size_t kPlacementSize = 44;

// The default record as 88 upper-case hexadecimal digits, the INI store's text form: a normal
// window of 472 x 373 pixels at (6, 6) of the work area, minimized and maximized positions left to
// the platform.
extern const char kDefaultPlacementText[];

struct WindowPlacementRecord {
    uint32_t length = 0;
    uint32_t flags = 0;
    uint32_t showCmd = 0;
    int32_t minX = 0;
    int32_t minY = 0;
    int32_t maxX = 0;
    int32_t maxY = 0;
    PixelRect normal;
};

void EncodePlacement(const WindowPlacementRecord& record, uint8_t bytes[kPlacementSize]);
WindowPlacementRecord DecodePlacement(const uint8_t bytes[kPlacementSize]);

// Fills `bytes` with the default record decoded from kDefaultPlacementText.
void DefaultPlacementBytes(uint8_t bytes[kPlacementSize]);

} // namespace view
