// The stored text and byte forms: digits, hexadecimal blocks, number lists, the atoi
// rule with its clamping, and little-endian integers. Output buffers are poisoned
// before each call so a codec that writes too much or too little is caught.
#include "settings/value_codecs.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

using testsupport::kPoison;
constexpr int32_t kPoisonInt = -123456789;

bool IsAsciiAlnum(int c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// What a correct atoi with clamping gives: strtoll (64-bit) clamped to 32 bits. strtoll
// itself saturates beyond 64 bits, so the clamp covers numbers of any length.
int32_t ClampedReference(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value < INT32_MIN) {
        return INT32_MIN;
    }
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

TEST(DigitCodecTest, DigitCharCoversThirtySixDigitsAndZeroElsewhere) {
    const std::pair<int, char> cases[] = {{0, '0'},  {9, '9'},       {10, 'A'},     {15, 'F'},
                                          {35, 'Z'}, {36, '0'},      {-1, '0'},     {255, '0'},
                                          {16, 'G'}, {INT_MIN, '0'}, {INT_MAX, '0'}};
    for (const auto& [value, digit] : cases) {
        EXPECT_EQ(digit, DigitChar(value)) << value;
    }
}

TEST(DigitCodecTest, DigitValueInvertsDigitCharInEitherCaseAndIsZeroForEverythingElse) {
    for (int v = 0; v < 36; ++v) {
        const char upper = DigitChar(v);
        EXPECT_EQ(v, DigitValue(upper)) << v;
        if (v >= 10) {
            EXPECT_EQ(v, DigitValue(static_cast<char>(upper - 'A' + 'a'))) << v;
        }
    }
    for (int c = 0; c < 256; ++c) {
        if (!IsAsciiAlnum(c)) {
            EXPECT_EQ(0, DigitValue(static_cast<char>(c))) << c;
        }
    }
}

TEST(HexCodecTest, EncodesTwoUpperCaseDigitsPerByte) {
    const unsigned char bytes[] = {0x2C, 0x00, 0xFF, 0xab, 0x09};
    EXPECT_EQ("2C00", HexEncode(bytes, 2));
    EXPECT_EQ("2C00FFAB09", HexEncode(bytes, sizeof bytes));
    EXPECT_EQ("", HexEncode(bytes, 0));
    EXPECT_EQ("", HexEncode(nullptr, 0));
}

TEST(HexCodecTest, EveryByteSurvivesTheRoundTrip) {
    std::vector<unsigned char> all(256);
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<unsigned char>(i);
    }
    const std::string text = HexEncode(all.data(), all.size());
    ASSERT_EQ(512u, text.size());
    std::vector<unsigned char> back(258, kPoison);
    EXPECT_EQ(256u, HexDecode(back.data(), text, 256));
    EXPECT_TRUE(std::equal(all.begin(), all.end(), back.begin()));
    EXPECT_EQ(kPoison, back[256]);
    EXPECT_EQ(kPoison, back[257]);
}

struct HexDecodeCase {
    const char* text;
    size_t length;
    size_t written;
    std::vector<int> expected; // the whole destination of 6 bytes afterwards; -1: poison
};

TEST(HexCodecTest, DecodeStopsAtTheShorterOfTextAndLengthAndAtTheFirstBadPair) {
    const int P = -1;
    const HexDecodeCase cases[] = {
        {"0a0B", 2, 2, {0x0A, 0x0B, P, P, P, P}}, // either case
        {"010203", 2, 2, {1, 2, P, P, P, P}},     // length limits
        {"01020", 4, 2, {1, 2, P, P, P, P}},      // odd tail ignored
        {"01G203", 3, 1, {1, P, P, P, P, P}},     // bad first digit of a pair
        {"010G03", 3, 1, {1, P, P, P, P, P}},     // bad second digit
        {"zz0102", 3, 0, {P, P, P, P, P, P}},     // letters beyond F are no hex
        {" 10102", 3, 0, {P, P, P, P, P, P}},     // no blanks
        {"-1", 1, 0, {P, P, P, P, P, P}},         // no signs
        {"", 6, 0, {P, P, P, P, P, P}},           // nothing to decode
        {"FFFF", 0, 0, {P, P, P, P, P, P}},       // nothing wanted
        {"\xC4\xD6"
         "01",
         2,
         0,
         {P, P, P, P, P, P}}, // 8-bit letters are no digits
    };
    for (const HexDecodeCase& c : cases) {
        SCOPED_TRACE(c.text);
        unsigned char dest[6];
        std::memset(dest, kPoison, sizeof dest);
        EXPECT_EQ(c.written, HexDecode(dest, c.text, c.length));
        for (size_t i = 0; i < sizeof dest; ++i) {
            EXPECT_EQ(c.expected[i] < 0 ? kPoison : c.expected[i], dest[i]) << "byte " << i;
        }
    }
}

TEST(HexCodecTest, EightyNineDigitsDecodeFortyFourBytes) {
    std::string text;
    for (int i = 0; i < 44; ++i) {
        const unsigned char b = static_cast<unsigned char>(i * 7 + 1);
        text += HexEncode(&b, 1);
    }
    text += '7';
    ASSERT_EQ(89u, text.size());
    unsigned char dest[45];
    std::memset(dest, kPoison, sizeof dest);
    EXPECT_EQ(44u, HexDecode(dest, text, 44));
    for (int i = 0; i < 44; ++i) {
        EXPECT_EQ(static_cast<unsigned char>(i * 7 + 1), dest[i]) << i;
    }
    EXPECT_EQ(kPoison, dest[44]);
}

struct AtoiCase {
    const char* text;
    int32_t value;
};

TEST(TextToIntTest, FollowsTheAtoiRuleAndClampsNumbersBeyondThirtyTwoBits) {
    const AtoiCase cases[] = {
        {"0", 0},
        {"42", 42},
        {"-42", -42},
        {"+42", 42},
        {" \t\n\v\f\r17", 17},
        {"17abc", 17},
        {"1 2", 1},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"+-1", 0},
        {"- 1", 0},
        {"0x1F", 0},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", INT32_MAX},
        {"-2147483649", INT32_MIN},
        {"99999999999999999999999999999999999999999", INT32_MAX},
        {"-99999999999999999999999999999999999999999", INT32_MIN},
        {"0000000000000000000000000000000000000000012", 12},
        {"4294967296", INT32_MAX}, // would wrap to 0 in 32-bit arithmetic
        {"\xA0"
         "5",
         0}, // a no-break space is no white space for atoi
    };
    for (const AtoiCase& c : cases) {
        EXPECT_EQ(c.value, TextToInt(c.text)) << '"' << c.text << '"';
        // The C libraries disagree on what an 8-bit byte is, so only ASCII is compared.
        if (static_cast<unsigned char>(c.text[0]) < 0x80) {
            EXPECT_EQ(ClampedReference(c.text), TextToInt(c.text)) << '"' << c.text << '"';
        }
    }
}

TEST(TextToIntTest, StopsAtTheEndOfTheViewNotAtATerminator) {
    const std::string text = "12345";
    EXPECT_EQ(123, TextToInt(std::string_view(text).substr(0, 3)));
    EXPECT_EQ(12, TextToInt(std::string_view("12\0"
                                             "34",
                                             5)));
}

// Random texts built from the pieces atoi cares about. In range the result equals the
// C library's atoi; for any length it equals the clamped 64-bit reference.
TEST(TextToIntTest, AgreesWithAtoiInRangeAndWithTheClampedReferenceEverywhere) {
    std::mt19937 rng(20240517);
    const char* const pieces[] = {" ", "\t", "+", "-", "0", "1", "5", "9", "x", ",", ".", ":"};
    int inRange = 0;
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        const int blanks = rng() % 3;
        for (int i = 0; i < blanks; ++i) {
            text += pieces[rng() % 2];
        }
        if (rng() % 2 != 0) {
            text += pieces[2 + rng() % 2];
        }
        const int digits = rng() % 14;
        for (int i = 0; i < digits; ++i) {
            text += static_cast<char>('0' + rng() % 10);
        }
        const int tail = rng() % 3;
        for (int i = 0; i < tail; ++i) {
            text += pieces[rng() % 12];
        }
        SCOPED_TRACE(text);
        const long long wide = std::strtoll(text.c_str(), nullptr, 10);
        if (wide >= INT32_MIN && wide <= INT32_MAX) {
            ++inRange;
            ASSERT_EQ(std::atoi(text.c_str()), TextToInt(text));
        }
        ASSERT_EQ(ClampedReference(text), TextToInt(text));
    }
    EXPECT_GT(inRange, 10000); // the generator really exercises the in-range case
}

TEST(IntToTextTest, WritesEveryThirtyTwoBitValueInBaseTenAndReadsBack) {
    const AtoiCase cases[] = {{"0", 0},
                              {"-1", -1},
                              {"20", 20},
                              {"2147483647", INT32_MAX},
                              {"-2147483648", INT32_MIN},
                              {"1000000", 1000000}};
    for (const AtoiCase& c : cases) {
        EXPECT_EQ(c.text, IntToText(c.value));
    }
    std::mt19937 rng(7);
    for (int n = 0; n < 10000; ++n) {
        const int32_t value = static_cast<int32_t>(rng());
        ASSERT_EQ(std::to_string(value), IntToText(value));
        ASSERT_EQ(value, TextToInt(IntToText(value)));
    }
}

TEST(IntListTest, JoinsWithCommaAndOneBlank) {
    const int32_t values[] = {-1, 20, INT32_MIN};
    EXPECT_EQ("-1, 20", IntListToText(values, 2));
    EXPECT_EQ("-1, 20, -2147483648", IntListToText(values, 3));
    EXPECT_EQ("-1", IntListToText(values, 1));
    EXPECT_EQ("", IntListToText(values, 0));
}

struct ListCase {
    const char* text;
    size_t count;
    size_t stored;
    std::vector<int32_t> expected; // the whole destination of 4 afterwards
};

TEST(IntListTest, SplitsAtCommasPointsAndColonsAndStopsAfterCount) {
    const int32_t P = kPoisonInt;
    const ListCase cases[] = {
        {"4, 0, 1", 3, 3, {4, 0, 1, P}},
        {"4.0:1", 3, 3, {4, 0, 1, P}},
        {"4, 0", 3, 2, {4, 0, P, P}},
        {",,4,.:,5::", 3, 2, {4, 5, P, P}},
        {"1, 2, 3, 4", 3, 3, {1, 2, 3, P}},
        {"a, 5, -7x", 3, 3, {0, 5, -7, P}},
        {"4, ,5", 3, 3, {4, 0, 5, P}}, // a blank token is a token and reads as 0
        {"", 3, 0, {P, P, P, P}},
        {",.:", 3, 0, {P, P, P, P}},
        {"1, 2", 0, 0, {P, P, P, P}},
        {"99999999999, -99999999999", 2, 2, {INT32_MAX, INT32_MIN, P, P}},
        {"1;2", 2, 1, {1, P, P, P}}, // a semicolon separates nothing
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.text);
        int32_t dest[4] = {P, P, P, P};
        EXPECT_EQ(c.stored, TextToIntList(dest, c.text, c.count));
        EXPECT_EQ(c.expected, std::vector<int32_t>(dest, dest + 4));
    }
}

TEST(IntListTest, ListsSurviveTheRoundTrip) {
    std::mt19937 rng(99);
    for (int n = 0; n < 2000; ++n) {
        std::vector<int32_t> values(1 + rng() % 8);
        for (int32_t& v : values) {
            v = static_cast<int32_t>(rng());
        }
        std::vector<int32_t> back(values.size() + 1, kPoisonInt);
        const std::string text = IntListToText(values.data(), values.size());
        ASSERT_EQ(values.size(), TextToIntList(back.data(), text, values.size())) << text;
        ASSERT_TRUE(std::equal(values.begin(), values.end(), back.begin())) << text;
        ASSERT_EQ(kPoisonInt, back.back());
    }
}

TEST(LittleEndianTest, StoresLeastSignificantByteFirst) {
    const std::pair<int32_t, std::vector<unsigned char>> cases[] = {
        {0x01020304, {0x04, 0x03, 0x02, 0x01}},
        {-2, {0xFE, 0xFF, 0xFF, 0xFF}},
        {INT32_MIN, {0x00, 0x00, 0x00, 0x80}},
        {10, {0x0A, 0x00, 0x00, 0x00}},
    };
    for (const auto& [value, bytes] : cases) {
        unsigned char out[5];
        std::memset(out, kPoison, sizeof out);
        StoreLittleEndian32(value, out);
        EXPECT_EQ(bytes, std::vector<unsigned char>(out, out + 4)) << value;
        EXPECT_EQ(kPoison, out[4]);
        EXPECT_EQ(value, LoadLittleEndian32(bytes.data()));
    }
}

} // namespace
