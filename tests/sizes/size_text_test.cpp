// The size text: the table of counts every user sees, the unit boundaries, counts of
// 4 GiB and more, and random 64-bit counts against a reference in wide arithmetic.
#include "sizes/big_int.h"
#include "sizes/size_text.h"
#include "wide_reference.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(FormatSizeTest, RendersTheKnownCountsInBothForms) {
    struct Case {
        uint64_t count;
        const char* compact;
        const char* exact;
    } cases[] = {
        {0, "0 Bytes", "0"},
        {1, "1 Byte", "1"},
        {2, "2 Bytes", "2"},
        {999, "999 Bytes", "999"},
        {1000, "1000 Bytes", "1.000"},
        {1023, "1023 Bytes", "1.023"},
        {1024, "1,0 kB", "1.024"},
        {1075, "1,0 kB", "1.075"},
        {1076, "1,1 kB", "1.076"},
        {1536, "1,5 kB", "1.536"},
        {1048575, "1024,0 kB", "1.048.575"},
        {1048576, "1,0 MB", "1.048.576"},
        {123456789, "117,7 MB", "123.456.789"},
        {1073741823, "1024,0 MB", "1.073.741.823"},
        {1073741824, "1,0 GB", "1.073.741.824"},
        {4294967295u, "4,0 GB", "4.294.967.295"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.compact, FormatSize(c.count, SizeStyle::Compact)) << c.count;
        EXPECT_EQ(c.exact, FormatSize(c.count, SizeStyle::Exact)) << c.count;
    }
}

TEST(FormatSizeTest, CountsOf4GiBAndMoreShowTheirTrueSize) {
    struct Case {
        uint64_t count;
        const char* compact;
        const char* exact;
    } cases[] = {
        {4294967296ull, "4,0 GB", "4.294.967.296"},
        {5ull << 30, "5,0 GB", "5.368.709.120"},
        {6ull << 30, "6,0 GB", "6.442.450.944"},
        {(1ull << 40) - 1, "1024,0 GB", "1.099.511.627.775"},
        {1ull << 40, "1,0 TB", "1.099.511.627.776"},
        {UINT64_MAX, "16777216,0 TB", "18.446.744.073.709.551.615"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.compact, FormatSize(c.count, SizeStyle::Compact)) << c.count;
        EXPECT_EQ(c.exact, FormatSize(c.count, SizeStyle::Exact)) << c.count;
    }
}

TEST(FormatSizeTest, ZeroAndOneKeepTheirWordsInEveryForm) {
    EXPECT_EQ("0", CBigInt().ToSizeText(',', false));
    EXPECT_EQ("0 Bytes", CBigInt().ToSizeText('.', true));
    EXPECT_EQ("1 Byte", CBigInt(1).ToSizeText(',', true));
    EXPECT_EQ("1,5 kB", CBigInt(1536).ToSizeText(',', true));
    EXPECT_EQ("1.5 kB", CBigInt(1536).ToSizeText('.', true));
}

#ifdef __SIZEOF_INT128__
// Rounded half up to tenths of the unit chosen before rounding, in 128-bit arithmetic.
std::string ReferenceCompact(uint64_t count) {
    static const char* const units[] = {" TB", " GB", " MB", " kB"};
    for (int i = 0; i < 4; ++i) {
        const int shift = 40 - 10 * i;
        if (count >= (1ull << shift)) {
            const unsigned __int128 tenths =
                ((static_cast<unsigned __int128>(count) * 100 >> shift) + 5) / 10;
            const std::string digits = wideref::Text(static_cast<__int128>(tenths), 10, false);
            return digits.substr(0, digits.size() - 1) + "," + digits.back() + units[i];
        }
    }
    return std::to_string(count) + (count == 1 ? " Byte" : " Bytes");
}

std::string ReferenceExact(uint64_t count) {
    const std::string digits = std::to_string(count);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text.push_back('.');
        }
        text.push_back(digits[i]);
    }
    return text;
}

TEST(FormatSizePropertyTest, RandomCountsMatchTheWideReference) {
    std::mt19937_64 random(5150);
    for (int round = 0; round < 20000; ++round) {
        const uint64_t count = random() >> (random() % 64);
        if (count == 0) {
            continue;
        }
        EXPECT_EQ(ReferenceCompact(count), FormatSize(count, SizeStyle::Compact)) << count;
        EXPECT_EQ(ReferenceExact(count), FormatSize(count, SizeStyle::Exact)) << count;
    }
}
#endif

} // namespace

namespace {

// FormatSize computes in 64 bits; the big integer's own size text is the rule it keeps.
TEST(FormatSizePropertyTest, SixtyFourBitPathGivesTheBigIntegersText) {
    const auto bigText = [](uint64_t count, bool compact) {
        unsigned char bytes[8];
        for (int i = 0; i < 8; ++i) {
            bytes[i] = static_cast<unsigned char>(count >> (8 * i));
        }
        CBigInt value;
        value.Assign(bytes, 8, 1);
        return compact ? value.ToSizeText(',', true) : value.ToSizeText('.', false);
    };
    std::vector<uint64_t> counts = {0, 1, UINT64_MAX, UINT64_MAX - 1};
    for (int shift = 1; shift < 64; ++shift) {
        const uint64_t step = uint64_t{1} << shift;
        for (uint64_t d = 0; d < 3; ++d) {
            counts.push_back(step - d);
            counts.push_back(step + d);
            counts.push_back(step / 20 * 21 - d); // near a rounding edge of the tenths
        }
    }
    std::mt19937_64 random(4711);
    for (int i = 0; i < 20000; ++i) {
        counts.push_back(random() >> (random() % 64));
    }
    for (uint64_t count : counts) {
        ASSERT_EQ(bigText(count, true), FormatSize(count, SizeStyle::Compact)) << count;
        ASSERT_EQ(bigText(count, false), FormatSize(count, SizeStyle::Exact)) << count;
    }
}

} // namespace

TEST(ParseSizeTextTest, ReadsWhatAPersonTypes) {
    const struct {
        const char* text;
        uint64_t bytes;
    } cases[] = {
        {"", 0},
        {"  ", 0},
        {"500", 500},
        {"10 MB", 10u << 20},
        {"10mb", 10u << 20},
        {" 2 K ", 2048},
        {"1,5 GB", 3u << 29},
        {"1.5 GB", 3u << 29},
        {"1.234.567", 1234567},
        {"1.234,5 kB", 1234 * 1024 + 512},
        {"0,5 Bytes", 0},
        {"0,0009765625 MB", 1024}, // exact: no rounding of the fraction up or down
        {"0,00097656 MB", 1023},   // just below a kilobyte: the fraction of a byte goes
        {"16 TB", uint64_t{16} << 40},
        {"18446744073709551615", ~uint64_t{0}},
    };
    for (const auto& c : cases) {
        uint64_t bytes = 7;
        EXPECT_TRUE(ParseSizeText(c.text, &bytes)) << c.text;
        EXPECT_EQ(c.bytes, bytes) << c.text;
    }
}

TEST(ParseSizeTextTest, RefusesWhatIsNoSizeOrDoesNotFit) {
    for (const char* text : {"MB", "-5", "5 XB", "1,5,5", "1,2.345", ".5", "5 M B",
                             "18446744073709551616", "16777216 TB", "1\t0", "1e6"}) {
        uint64_t bytes = 7;
        EXPECT_FALSE(ParseSizeText(text, &bytes)) << text;
        EXPECT_EQ(7u, bytes) << text;
    }
    uint64_t bytes = 7;
    EXPECT_FALSE(ParseSizeText(std::string(10000, '1'), &bytes));
}
