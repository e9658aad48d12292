// A wide-integer reference for the big integer tests: conversion both ways and the text
// of a value in any base, computed with the compiler's own arithmetic. 128 bits where
// the compiler has them (g++ on x86-64); the 32-bit Windows compiler has none, so there
// the same tests run on 64 bits with narrower operands.
#pragma once

#include "sizes/big_int.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace wideref {

#ifdef __SIZEOF_INT128__
using Wide = __int128;
using UWide = unsigned __int128;
#else
using Wide = long long;
using UWide = unsigned long long;
#endif
constexpr int kBytes = static_cast<int>(sizeof(UWide));
// Widest magnitude whose negation and doubling still fit the signed reference type.
constexpr int kMaxBits = kBytes * 8 - 2;

inline UWide Magnitude(Wide v) {
    return v < 0 ? UWide(0) - UWide(v) : UWide(v);
}

inline CBigInt ToBig(Wide v) {
    unsigned char bytes[kBytes];
    UWide m = Magnitude(v);
    for (unsigned char& b : bytes) {
        b = static_cast<unsigned char>(m & 0xFF);
        m >>= 8;
    }
    CBigInt result;
    result.Assign(bytes, kBytes, v < 0 ? -1 : 1);
    return result;
}

// Checks the stored form (top byte nonzero, zero is +1 without digits) and returns the
// value; values as wide as the reference type's sign bit are outside its range.
inline ::testing::AssertionResult FromBig(const CBigInt& big, Wide& out) {
    if (big.GetSign() != 1 && big.GetSign() != -1) {
        return ::testing::AssertionFailure() << "sign " << big.GetSign();
    }
    if (big.GetLength() == 0) {
        out = 0;
        return big.GetSign() == 1 ? ::testing::AssertionSuccess()
                                  : ::testing::AssertionFailure() << "negative zero";
    }
    if (big.GetDigit(big.GetLength() - 1) == 0) {
        return ::testing::AssertionFailure() << "top byte is zero";
    }
    if (big.GetLength() > kBytes ||
        (big.GetLength() == kBytes && big.GetDigit(kBytes - 1) >= 0x80)) {
        return ::testing::AssertionFailure() << "wider than the reference";
    }
    UWide m = 0;
    for (int i = big.GetLength(); i-- > 0;) {
        m = (m << 8) | big.GetDigit(i);
    }
    out = big.GetSign() < 0 ? -Wide(m) : Wide(m);
    return ::testing::AssertionSuccess();
}

inline std::string Text(Wide v, int base, bool forceSign) {
    if (v == 0) {
        return "0";
    }
    std::string digits;
    for (UWide m = Magnitude(v); m != 0; m /= base) {
        const int r = static_cast<int>(m % base);
        digits.push_back(static_cast<char>(r < 10 ? '0' + r : 'A' + r - 10));
    }
    if (v < 0) {
        digits.push_back('-');
    } else if (forceSign) {
        digits.push_back('+');
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

// Values of every width from 0 to `maxBits` bits, either sign: small values and the
// byte boundaries come up as often as wide ones.
class RandomValues {
public:
    explicit RandomValues(uint64_t seed) : m_engine(seed) {}

    Wide Next(int maxBits) {
        const int bits = static_cast<int>(m_engine() % static_cast<uint64_t>(maxBits + 1));
        UWide m = 0;
        for (int i = 0; i < kBytes / 8; ++i) {
            m = (m << 32 << 32) | m_engine();
        }
        m = bits == 0 ? 0 : m >> (kBytes * 8 - bits);
        const Wide v = Wide(m);
        return (m_engine() & 1) ? -v : v;
    }
    uint64_t Raw() { return m_engine(); }

private:
    std::mt19937_64 m_engine;
};

} // namespace wideref
