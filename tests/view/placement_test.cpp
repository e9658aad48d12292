// The 44-byte placement record: the built-in default and the byte layout.
#include "view/placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

TEST(PlacementTest, DefaultIsANormalWindowOf472By373At6And6) {
    uint8_t bytes[view::kPlacementSize];
    std::memset(bytes, 0xAA, sizeof bytes);
    view::DefaultPlacementBytes(bytes);
    const view::WindowPlacementRecord r = view::DecodePlacement(bytes);
    EXPECT_EQ(44u, r.length);
    EXPECT_EQ(0u, r.flags);
    EXPECT_EQ(1u, r.showCmd);
    EXPECT_EQ(-1, r.minX);
    EXPECT_EQ(-1, r.minY);
    EXPECT_EQ(-1, r.maxX);
    EXPECT_EQ(-1, r.maxY);
    EXPECT_EQ(6, r.normal.left);
    EXPECT_EQ(6, r.normal.top);
    EXPECT_EQ(472, r.normal.right - r.normal.left);
    EXPECT_EQ(373, r.normal.bottom - r.normal.top);
}

TEST(PlacementTest, DefaultTextHasTwoDigitsPerByteOfTheRecord) {
    EXPECT_EQ(2 * view::kPlacementSize, std::strlen(view::kDefaultPlacementText));
}

TEST(PlacementTest, FieldsSitLittleEndianInRecordOrder) {
    view::WindowPlacementRecord r;
    r.length = 44;
    r.flags = 0x01020304;
    r.showCmd = 3;
    r.minX = -2;
    r.minY = INT_MIN;
    r.maxX = INT_MAX;
    r.maxY = 0x11223344;
    r.normal = {-100, 200, 300, 0x7F000000};
    uint8_t bytes[view::kPlacementSize];
    view::EncodePlacement(r, bytes);
    const uint8_t expected[view::kPlacementSize] = {
        0x2C, 0,    0,    0, 0x04, 0x03, 0x02, 0x01, 3,    0,    0,    0,    0xFE, 0xFF, 0xFF,
        0xFF, 0,    0,    0, 0x80, 0xFF, 0xFF, 0xFF, 0x7F, 0x44, 0x33, 0x22, 0x11, 0x9C, 0xFF,
        0xFF, 0xFF, 0xC8, 0, 0,    0,    0x2C, 0x01, 0,    0,    0,    0,    0,    0x7F};
    EXPECT_EQ(0, std::memcmp(expected, bytes, sizeof bytes));

    const view::WindowPlacementRecord back = view::DecodePlacement(bytes);
    EXPECT_EQ(r.flags, back.flags);
    EXPECT_EQ(r.minX, back.minX);
    EXPECT_EQ(r.minY, back.minY);
    EXPECT_EQ(r.maxX, back.maxX);
    EXPECT_EQ(r.maxY, back.maxY);
    EXPECT_EQ(r.normal.left, back.normal.left);
    EXPECT_EQ(r.normal.bottom, back.normal.bottom);
}

} // namespace
