// CBigInt: a small arbitrary-precision integer in sign and magnitude, base 256. Byte
// counts become text through it, because the intermediate values of the size text
// (count x 100, comparisons with 2^40) do not fit the count's own width.
#pragma once

#include <cstdint>
#include <string>

class CBigInt {
public:
    CBigInt() = default;
    CBigInt(int32_t value); // NOLINT: implicit like the built-in integers it stands for
    CBigInt(const CBigInt& other);
    CBigInt(CBigInt&& other) noexcept;
    CBigInt& operator=(const CBigInt& other);
    CBigInt& operator=(CBigInt&& other) noexcept;
    virtual ~CBigInt();

    // Takes `length` bytes, least significant first, and the sign (-1 negative, anything
    // else positive). A negative or zero length gives zero.
    void Assign(const unsigned char* bytes, int32_t length, int32_t sign);

    static CBigInt Kibibyte();
    static CBigInt Mebibyte();
    static CBigInt Gibibyte();
    static CBigInt Tebibyte();

    // -1, 0 or +1 by signed order.
    static int Compare(const CBigInt& a, const CBigInt& b);

    CBigInt Negate() const;
    CBigInt Subtract(const CBigInt& b) const;
    CBigInt Multiply(const CBigInt& b) const;
    // Truncated toward zero, remainder dropped. A zero divisor throws the plain int 42:
    // every divisor of the program is a nonzero constant, so this never happens in use.
    CBigInt Divide(const CBigInt& b) const;

    // In place on the magnitude; n <= 0 changes nothing.
    void ShiftLeft(int32_t n);
    void ShiftRight(int32_t n);

    // Digits in `base` (2..36; digits above 9 are 'A'...), '-' before a negative value,
    // '+' before a positive one when forceSign is set; zero is "0" without a sign. Any
    // other base gives the empty text, since base 1 could never finish.
    std::string ToText(int base, bool forceSign) const;
    // Decimal digits with `separator` between groups of three from the right.
    std::string ToGroupedText(char separator, bool forceSign) const;
    // The size text: grouped digits, or (compact) a 1024-based unit with one decimal
    // after `separator` ("117,7 MB"); zero is "0", compact "0 Bytes".
    std::string ToSizeText(char separator, bool compact) const;

    // Read access for checks of the stored form.
    int32_t GetLength() const { return m_nLength; }
    int32_t GetSign() const { return m_nSign; }
    unsigned char GetDigit(int32_t index) const { return m_pDigits[index]; }

private:
    void Resize(int32_t n);
    void FixZeroSign();
    void Swap(CBigInt& other) noexcept;
    bool IsZero() const { return m_nLength == 0; }

    unsigned char* m_pDigits = nullptr;
    int32_t m_nLength = 0;
    int32_t m_nSign = 1;
};
