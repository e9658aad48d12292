// The INI read path without the profile file: the stored text forms and how a text read
// back becomes a value or falls back to the caller's default. Destinations are poisoned
// so that what a decoder leaves alone is visible.
#include "settings/ini_values.h"
#include "settings/value_codecs.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using testsupport::kPoison;

TEST(IniValuesTest, StoredFormsAreOneZeroDecimalListsAndUpperCaseHex) {
    EXPECT_EQ("1", IniBoolText(true));
    EXPECT_EQ("0", IniBoolText(false));
    EXPECT_EQ("-2147483648", IniIntText(INT32_MIN));
    EXPECT_EQ("10", IniIntText(10));
    const int32_t list[] = {-1, 20, 300};
    EXPECT_EQ("-1, 20, 300", IniIntArrayText(list, 3));
    const unsigned char bytes[] = {0x2C, 0x00, 0xbe, 0xef};
    EXPECT_EQ("2C00BEEF", IniBinaryText(bytes, 4));
}

TEST(IniValuesTest, EmptyTextMeansNotStoredAndAnythingElseIsItsAtoiValue) {
    struct Case {
        const char* text;
        bool boolean;    // with default true
        int32_t integer; // with default 77
    };
    const Case cases[] = {
        {"", true, 77},
        {"0", false, 0},
        {"1", true, 1},
        {"-1", true, -1},
        {"  12 apples", true, 12},
        {"abc", false, 0},
        {"0x10", false, 0},
        {"99999999999", true, INT32_MAX},
        {" ", false, 0},
        {"-99999999999", true, INT32_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.boolean, IniTextToBool(c.text, true));
        EXPECT_EQ(c.integer, IniTextToInt(c.text, 77));
    }
    EXPECT_FALSE(IniTextToBool("", false));
    EXPECT_EQ(-5, IniTextToInt("", -5));
}

struct ArrayCase {
    const char* stored;
    std::vector<int32_t> expected;
};

TEST(IniValuesTest, IntArrayFallsBackToTheDefaultWhenNumbersAreMissing) {
    const int32_t def[] = {100, 200, 300};
    const std::string defaultText = IniIntArrayText(def, 3);
    const ArrayCase cases[] = {
        {"4, 0, 1", {4, 0, 1}}, {"4.0:1", {4, 0, 1}},       {"4, 0", {100, 200, 300}},
        {"", {100, 200, 300}},  {"7, 8, 9, 10", {7, 8, 9}}, {"x, y, z", {0, 0, 0}},
    };
    for (const ArrayCase& c : cases) {
        SCOPED_TRACE(c.stored);
        int32_t dest[4] = {-9, -9, -9, -9};
        IniTextToIntArray(c.stored, defaultText, 3, dest);
        EXPECT_EQ(c.expected, std::vector<int32_t>(dest, dest + 3));
        EXPECT_EQ(-9, dest[3]);
    }
}

TEST(IniValuesTest, IntArrayMayDecodeIntoItsOwnDefault) {
    int32_t values[] = {5, 6, 7};
    const std::string defaultText = IniIntArrayText(values, 3);
    IniTextToIntArray("1, 2", defaultText, 3, values);
    EXPECT_EQ((std::vector<int32_t>{5, 6, 7}), std::vector<int32_t>(values, values + 3));
    IniTextToIntArray("1:2:3", defaultText, 3, values);
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3}), std::vector<int32_t>(values, values + 3));
}

std::vector<unsigned char> Pattern(size_t length, int seed) {
    std::vector<unsigned char> bytes(length);
    for (size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<unsigned char>(seed + 31 * i);
    }
    return bytes;
}

TEST(IniValuesTest, BinaryDecodesWhenHalfTheLengthMatchesAndCopiesTheDefaultOtherwise) {
    const std::vector<unsigned char> stored = Pattern(45, 3);
    const std::vector<unsigned char> def = Pattern(44, 100);
    const std::string text88 = HexEncode(stored.data(), 44);
    struct Case {
        std::string text;
        bool decoded;
    };
    const Case cases[] = {
        {text88, true},
        {text88 + "F", true},                  // 89 digits: 89 / 2 = 44
        {text88.substr(0, 87), false},         // 43 bytes and a half
        {text88.substr(0, 86), false},         // 43 bytes
        {HexEncode(stored.data(), 45), false}, // 45 bytes
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        std::vector<unsigned char> dest(45, kPoison);
        IniTextToBinary(c.text, 44, def.data(), dest.data());
        const std::vector<unsigned char>& want = c.decoded ? stored : def;
        EXPECT_TRUE(std::equal(dest.begin(), dest.begin() + 44, want.begin()));
        EXPECT_EQ(kPoison, dest[44]);
    }
}

TEST(IniValuesTest, BinaryWithABadEleventhPairKeepsBytesTenToFortyThree) {
    const std::vector<unsigned char> stored = Pattern(44, 3);
    std::string text = HexEncode(stored.data(), 44);
    text[20] = 'X';
    text[21] = '0';
    const std::vector<unsigned char> def = Pattern(44, 100);
    std::vector<unsigned char> dest(44, kPoison);
    IniTextToBinary(text, 44, def.data(), dest.data());
    EXPECT_TRUE(std::equal(dest.begin(), dest.begin() + 10, stored.begin()));
    for (size_t i = 10; i < 44; ++i) {
        EXPECT_EQ(kPoison, dest[i]) << i;
    }
}

TEST(IniValuesTest, BinaryOfTheWrongLengthLeavesItsOwnDefaultAlone) {
    std::vector<unsigned char> block = Pattern(8, 1);
    const std::vector<unsigned char> before = block;
    IniTextToBinary("0102", 8, block.data(), block.data());
    EXPECT_EQ(before, block);
    IniTextToBinary("", 0, block.data(), block.data());
    EXPECT_EQ(before, block);
    IniTextToBinary("0102", 0, nullptr, block.data()); // an empty default may be null
    EXPECT_EQ(before, block);
}

} // namespace
