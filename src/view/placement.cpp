// The window placement record: field order and byte order as the platform's
// WINDOWPLACEMENT on a little-endian machine, whatever machine runs this code.
#include "view/placement.h"

#include "settings/value_codecs.h"

namespace view {

const char kDefaultPlacementText[] =
    "2C0000000000000001000000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF0600000006000000DE0100007B010000";

namespace {

void PutU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint32_t GetU32(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= static_cast<uint32_t>(at[i]) << (8 * i);
    }
    return value;
}

void PutI32(uint8_t* at, int32_t value) {
    PutU32(at, static_cast<uint32_t>(value));
}

// Two's complement read back without relying on implementation-defined conversion.
int32_t GetI32(const uint8_t* at) {
    const uint32_t raw = GetU32(at);
    if (raw <= static_cast<uint32_t>(INT32_MAX)) {
        return static_cast<int32_t>(raw);
    }
    return static_cast<int32_t>(raw - 0x80000000u) + INT32_MIN;
}

} // namespace

void EncodePlacement(const WindowPlacementRecord& record, uint8_t bytes[kPlacementSize]) {
    PutU32(bytes + 0, record.length);
    PutU32(bytes + 4, record.flags);
    PutU32(bytes + 8, record.showCmd);
    PutI32(bytes + 12, record.minX);
    PutI32(bytes + 16, record.minY);
    PutI32(bytes + 20, record.maxX);
    PutI32(bytes + 24, record.maxY);
    PutI32(bytes + 28, record.normal.left);
    PutI32(bytes + 32, record.normal.top);
    PutI32(bytes + 36, record.normal.right);
    PutI32(bytes + 40, record.normal.bottom);
}

WindowPlacementRecord DecodePlacement(const uint8_t bytes[kPlacementSize]) {
    WindowPlacementRecord record;
    record.length = GetU32(bytes + 0);
    record.flags = GetU32(bytes + 4);
    record.showCmd = GetU32(bytes + 8);
    record.minX = GetI32(bytes + 12);
    record.minY = GetI32(bytes + 16);
    record.maxX = GetI32(bytes + 20);
    record.maxY = GetI32(bytes + 24);
    record.normal.left = GetI32(bytes + 28);
    record.normal.top = GetI32(bytes + 32);
    record.normal.right = GetI32(bytes + 36);
    record.normal.bottom = GetI32(bytes + 40);
    return record;
}

void DefaultPlacementBytes(uint8_t bytes[kPlacementSize]) {
    HexDecode(bytes, kDefaultPlacementText, kPlacementSize);
}

} // namespace view
