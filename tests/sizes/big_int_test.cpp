// The big integer: the stored form after every operation, the edge cases the size text
// depends on, and every operation against the compiler's wide integers with seeded
// random operands.
#include "sizes/big_int.h"
#include "wide_reference.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using wideref::FromBig;
using wideref::kMaxBits;
using wideref::RandomValues;
using wideref::Text;
using wideref::ToBig;
using wideref::Wide;

constexpr int kRounds = 4000;

Wide ValueOf(const CBigInt& big) {
    Wide v = 0;
    EXPECT_TRUE(FromBig(big, v));
    return v;
}

CBigInt FromBytes(std::initializer_list<unsigned char> bytes, int sign) {
    CBigInt value;
    value.Assign(bytes.begin(), static_cast<int32_t>(bytes.size()), sign);
    return value;
}

TEST(BigIntTest, ConstructionAndAssignReadMagnitudeAndSign) {
    struct Case {
        CBigInt value;
        const char* text;
    } cases[] = {
        {CBigInt(), "0"},
        {CBigInt(0), "0"},
        {CBigInt(-1), "-1"},
        {CBigInt(INT32_MAX), "2147483647"},
        {CBigInt(INT32_MIN), "-2147483648"},
        {FromBytes({0xFF, 0xFF, 0xFF, 0xFF}, 1), "4294967295"},
        {FromBytes({0x01, 0x00, 0x00, 0x00}, -1), "-1"},
        {FromBytes({0x00, 0x00}, -1), "0"},
        {FromBytes({}, -1), "0"},
        {FromBytes({0x07}, 5), "7"},
        {FromBytes({0x00, 0x01}, 1), "256"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, c.value.ToText(10, false));
        Wide v;
        EXPECT_TRUE(FromBig(c.value, v)) << c.text;
    }
}

TEST(BigIntTest, AssignOfZeroBytesLeavesNoBufferAndPositiveSign) {
    CBigInt value = FromBytes({0x00, 0x00, 0x00}, -1);
    EXPECT_EQ(0, value.GetLength());
    EXPECT_EQ(1, value.GetSign());
    value.Assign(nullptr, 4, -1);
    EXPECT_EQ(0, value.GetLength());
    EXPECT_EQ(1, value.GetSign());
}

TEST(BigIntTest, ConstantsArePowersOf1024AndFreshEachTime) {
    EXPECT_EQ("1024", CBigInt::Kibibyte().ToText(10, false));
    EXPECT_EQ("1048576", CBigInt::Mebibyte().ToText(10, false));
    EXPECT_EQ("1073741824", CBigInt::Gibibyte().ToText(10, false));
    EXPECT_EQ("1099511627776", CBigInt::Tebibyte().ToText(10, false));
    CBigInt changed = CBigInt::Kibibyte();
    changed.ShiftLeft(3);
    EXPECT_EQ("1024", CBigInt::Kibibyte().ToText(10, false));
}

TEST(BigIntTest, CopiesAreDeepAndSelfAssignmentChangesNothing) {
    CBigInt original(123456);
    CBigInt copy(original);
    copy.ShiftLeft(8);
    EXPECT_EQ("123456", original.ToText(10, false));
    CBigInt assigned;
    assigned = original;
    original.ShiftRight(100);
    EXPECT_EQ("123456", assigned.ToText(10, false));
    CBigInt& alias = assigned;
    assigned = alias;
    EXPECT_EQ("123456", assigned.ToText(10, false));
    CBigInt moved(std::move(copy));
    EXPECT_EQ("31604736", moved.ToText(10, false));
}

TEST(BigIntTest, EdgeCasesOfTextSignAndDivision) {
    EXPECT_EQ("0", CBigInt(0).ToText(10, true));
    EXPECT_EQ("-5", CBigInt(-5).ToText(10, false));
    EXPECT_EQ("-5", CBigInt(-5).ToText(10, true));
    EXPECT_EQ("+5", CBigInt(5).ToText(10, true));
    EXPECT_EQ("FF", CBigInt(255).ToText(16, false));
    EXPECT_EQ("Z", CBigInt(35).ToText(36, false));
    EXPECT_EQ("3", CBigInt(7).Divide(2).ToText(10, false));
    EXPECT_EQ("-3", CBigInt(-7).Divide(2).ToText(10, false));
    EXPECT_EQ("-3", CBigInt(7).Divide(-2).ToText(10, false));
    EXPECT_EQ("3", CBigInt(-7).Divide(-2).ToText(10, false));
    EXPECT_EQ("0", CBigInt(2).Divide(7).ToText(10, false));
    EXPECT_EQ(1, CBigInt(-2).Divide(7).GetSign()) << "a negative zero survived";
    EXPECT_EQ(1, CBigInt::Compare(1, -1));
    EXPECT_EQ(-1, CBigInt::Compare(-2, -1));
    EXPECT_EQ(0, CBigInt::Compare(0, CBigInt(0).Negate()));
}

TEST(BigIntTest, ZeroResultsArePositiveAndWithoutDigits) {
    const CBigInt results[] = {
        CBigInt(77).Subtract(77), CBigInt(-77).Subtract(-77), CBigInt(0).Negate(),
        CBigInt(-5).Multiply(0),  CBigInt(0).Multiply(-5),    CBigInt(-3).Divide(4),
    };
    for (const CBigInt& r : results) {
        EXPECT_EQ(0, r.GetLength());
        EXPECT_EQ(1, r.GetSign());
    }
}

TEST(BigIntTest, DivisionByZeroThrowsThePlainInt42) {
    const CBigInt dividends[] = {CBigInt(0), CBigInt(1), CBigInt(-9), CBigInt::Tebibyte()};
    for (const CBigInt& dividend : dividends) {
        int thrown = 0;
        try {
            dividend.Divide(CBigInt(0));
        } catch (int value) {
            thrown = value;
        }
        EXPECT_EQ(42, thrown) << dividend.ToText(10, false);
    }
}

TEST(BigIntTest, ShiftsByZeroOrLessChangeNothingAndPastTheTopGiveZero) {
    CBigInt value(0x12345);
    value.ShiftLeft(0);
    value.ShiftRight(0);
    value.ShiftLeft(-3);
    value.ShiftRight(-3);
    EXPECT_EQ("12345", value.ToText(16, false));
    value.ShiftRight(8 * value.GetLength());
    EXPECT_EQ(0, value.GetLength());
    CBigInt negative(-0x100);
    negative.ShiftRight(9);
    EXPECT_EQ(0, negative.GetLength());
    EXPECT_EQ(1, negative.GetSign());
    CBigInt zero;
    zero.ShiftLeft(1000);
    EXPECT_EQ(0, zero.GetLength());
}

TEST(BigIntTest, ShiftLeftGrowsBeyondAnyFixedWidth) {
    CBigInt value(-3);
    value.ShiftLeft(1000);
    EXPECT_EQ("-11" + std::string(1000, '0'), value.ToText(2, false));
    EXPECT_EQ(126, value.GetLength());
    value.ShiftRight(999);
    EXPECT_EQ("-6", value.ToText(10, false));
}

TEST(BigIntTest, ToTextRefusesBasesThatCannotFinish) {
    for (int base : {-10, -1, 0, 1, 37, 256}) {
        EXPECT_EQ("", CBigInt(12345).ToText(base, false)) << base;
    }
}

TEST(BigIntTest, GroupedTextSeparatesThousandsFromTheRight) {
    struct Case {
        int32_t value;
        char separator;
        bool forceSign;
        const char* text;
    } cases[] = {
        {0, '.', true, "0"},
        {999, '.', false, "999"},
        {1000, '.', false, "1.000"},
        {1234567, '.', false, "1.234.567"},
        {-1234, '.', false, "-1.234"},
        {123456, ',', true, "+123,456"},
        {-100000, '\'', true, "-100'000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, CBigInt(c.value).ToGroupedText(c.separator, c.forceSign));
    }
}

TEST(BigIntPropertyTest, SubtractCompareAndNegateMatchTheReference) {
    RandomValues random(20240601);
    for (int round = 0; round < kRounds; ++round) {
        const Wide a = random.Next(kMaxBits - 1);
        const Wide b = round % 10 == 0 ? a : random.Next(kMaxBits - 1);
        const CBigInt ba = ToBig(a);
        const CBigInt bb = ToBig(b);
        EXPECT_EQ(a - b, ValueOf(ba.Subtract(bb)));
        EXPECT_EQ(a + b, ValueOf(ba.Subtract(bb.Negate())));
        EXPECT_EQ(-a, ValueOf(ba.Negate()));
        EXPECT_EQ(a < b ? -1 : (a > b ? 1 : 0), CBigInt::Compare(ba, bb));
        EXPECT_EQ(a, ValueOf(ba)) << "an operand changed";
        EXPECT_EQ(b, ValueOf(bb)) << "an operand changed";
    }
}

TEST(BigIntPropertyTest, MultiplyMatchesTheReference) {
    RandomValues random(77);
    for (int round = 0; round < kRounds; ++round) {
        const Wide a = random.Next(kMaxBits / 2);
        const Wide b = random.Next(kMaxBits / 2);
        EXPECT_EQ(a * b, ValueOf(ToBig(a).Multiply(ToBig(b))));
    }
}

TEST(BigIntPropertyTest, DivideTruncatesTowardZeroAndLeavesARemainderSmallerThanTheDivisor) {
    RandomValues random(4242);
    for (int round = 0; round < kRounds; ++round) {
        const Wide a = random.Next(kMaxBits);
        Wide b = random.Next(round % 2 ? kMaxBits : 12);
        if (b == 0) {
            b = 1 + static_cast<Wide>(random.Raw() % 255);
        }
        const CBigInt ba = ToBig(a);
        const CBigInt bb = ToBig(b);
        const CBigInt q = ba.Divide(bb);
        const CBigInt r = ba.Subtract(bb.Multiply(q));
        EXPECT_EQ(a / b, ValueOf(q)) << Text(a, 10, false) << " / " << Text(b, 10, false);
        EXPECT_EQ(a % b, ValueOf(r));
        EXPECT_EQ(0, CBigInt::Compare(ba, bb.Multiply(q).Subtract(r.Negate())));
        EXPECT_TRUE(wideref::Magnitude(ValueOf(r)) < wideref::Magnitude(b));
        EXPECT_TRUE(ValueOf(r) == 0 || (ValueOf(r) < 0) == (a < 0));
    }
}

TEST(BigIntPropertyTest, ShiftsMoveTheMagnitudeAndKeepTheSign) {
    RandomValues random(99);
    for (int round = 0; round < kRounds; ++round) {
        const Wide a = random.Next(kMaxBits / 2);
        const int n = static_cast<int>(random.Raw() % (kMaxBits / 2 + 1));
        CBigInt left = ToBig(a);
        left.ShiftLeft(n);
        const Wide moved = Wide(wideref::Magnitude(a) << n);
        EXPECT_EQ(a < 0 ? -moved : moved, ValueOf(left));
        const Wide wide = random.Next(kMaxBits);
        const int m = static_cast<int>(random.Raw() % (kMaxBits + 8));
        CBigInt right = ToBig(wide);
        right.ShiftRight(m);
        const wideref::UWide shifted = m >= wideref::kBytes * 8 ? 0 : wideref::Magnitude(wide) >> m;
        EXPECT_EQ(wide < 0 ? -Wide(shifted) : Wide(shifted), ValueOf(right));
    }
}

TEST(BigIntPropertyTest, TextInEveryBaseMatchesTheReference) {
    RandomValues random(1234);
    for (int round = 0; round < kRounds; ++round) {
        const Wide a = random.Next(kMaxBits);
        const int base = 2 + static_cast<int>(random.Raw() % 35);
        const bool forceSign = random.Raw() & 1;
        EXPECT_EQ(Text(a, base, forceSign), ToBig(a).ToText(base, forceSign));
    }
}

} // namespace
