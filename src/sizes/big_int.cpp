// CBigInt arithmetic. The operations work on trimmed magnitudes (little-endian byte
// vectors without zero bytes at the top, or one machine word when they fit) and build a
// fresh value from the result, so operands are never changed. Division is binary long
// division with byte-wide and word-wide fast paths: the results are those of
// bit-by-bit restoring division, only sooner.
#include "sizes/big_int.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace {

using Mag = std::vector<unsigned char>;

// The error value of a division by zero; thrown as a plain int by design.
constexpr int kDivisionError = 42;

void Trim(Mag& m) {
    while (!m.empty() && m.back() == 0) {
        m.pop_back();
    }
}

int CompareMag(const Mag& a, const Mag& b) {
    if (a.size() != b.size()) {
        return a.size() > b.size() ? 1 : -1;
    }
    for (size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i]) {
            return a[i] > b[i] ? 1 : -1;
        }
    }
    return 0;
}

Mag AddMag(const Mag& a, const Mag& b) {
    const Mag& longer = a.size() >= b.size() ? a : b;
    const Mag& shorter = a.size() >= b.size() ? b : a;
    Mag sum(longer.size() + 1, 0);
    unsigned carry = 0;
    for (size_t i = 0; i < longer.size(); ++i) {
        const unsigned s = longer[i] + (i < shorter.size() ? shorter[i] : 0u) + carry;
        sum[i] = static_cast<unsigned char>(s & 0xFF);
        carry = s >> 8;
    }
    sum[longer.size()] = static_cast<unsigned char>(carry);
    Trim(sum);
    return sum;
}

// a -= b in place, for a >= b.
void SubtractInPlace(Mag& a, const Mag& b) {
    unsigned borrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const unsigned sub = (i < b.size() ? b[i] : 0u) + borrow;
        borrow = a[i] < sub ? 1u : 0u;
        a[i] = static_cast<unsigned char>((a[i] + 256u - sub) & 0xFF);
    }
    Trim(a);
}

Mag MultiplyMag(const Mag& a, const Mag& b) {
    if (a.empty() || b.empty()) {
        return Mag();
    }
    Mag product(a.size() + b.size(), 0);
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned carry = 0;
        for (size_t j = 0; j < b.size(); ++j) {
            const unsigned t = product[i + j] + static_cast<unsigned>(a[i]) * b[j] + carry;
            product[i + j] = static_cast<unsigned char>(t & 0xFF);
            carry = t >> 8;
        }
        product[i + b.size()] = static_cast<unsigned char>(carry);
    }
    Trim(product);
    return product;
}

// Quotient in place of `value`, remainder returned; divisor 1..255.
unsigned ShortDivideInPlace(Mag& value, unsigned divisor) {
    unsigned remainder = 0;
    for (size_t i = value.size(); i-- > 0;) {
        const unsigned current = (remainder << 8) | value[i];
        value[i] = static_cast<unsigned char>(current / divisor);
        remainder = current % divisor;
    }
    Trim(value);
    return remainder;
}

// Quotient and remainder of magnitudes; a zero divisor throws the division error.
void DivModMag(const Mag& dividend, const Mag& divisor, Mag& quotient, Mag& remainder) {
    if (divisor.empty()) {
        throw kDivisionError;
    }
    if (divisor.size() == 1) {
        quotient = dividend;
        const unsigned r = ShortDivideInPlace(quotient, divisor[0]);
        remainder.assign(r ? 1 : 0, static_cast<unsigned char>(r));
        return;
    }
    quotient.assign(dividend.size(), 0);
    remainder.clear();
    remainder.reserve(divisor.size() + 1);
    for (size_t i = dividend.size(); i-- > 0;) {
        for (int bit = 7; bit >= 0; --bit) {
            unsigned carry = (dividend[i] >> bit) & 1u;
            for (unsigned char& byte : remainder) {
                const unsigned v = (static_cast<unsigned>(byte) << 1) | carry;
                byte = static_cast<unsigned char>(v & 0xFF);
                carry = v >> 8;
            }
            if (carry) {
                remainder.push_back(1);
            }
            if (CompareMag(remainder, divisor) >= 0) {
                SubtractInPlace(remainder, divisor);
                quotient[i] = static_cast<unsigned char>(quotient[i] | (1u << bit));
            }
        }
    }
    Trim(quotient);
}

int32_t CheckedLength(size_t n) {
    if (n > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        throw std::bad_alloc();
    }
    return static_cast<int32_t>(n);
}

} // namespace

CBigInt::CBigInt(int32_t value) {
    const uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(magnitude & 0xFF),
        static_cast<unsigned char>((magnitude >> 8) & 0xFF),
        static_cast<unsigned char>((magnitude >> 16) & 0xFF),
        static_cast<unsigned char>((magnitude >> 24) & 0xFF),
    };
    Assign(bytes, 4, value < 0 ? -1 : 1);
}

CBigInt::CBigInt(const CBigInt& other) {
    Assign(other.m_pDigits, other.m_nLength, other.m_nSign);
}

CBigInt::CBigInt(CBigInt&& other) noexcept {
    Swap(other);
}

CBigInt& CBigInt::operator=(const CBigInt& other) {
    if (this != &other) {
        CBigInt copy(other);
        Swap(copy);
    }
    return *this;
}

CBigInt& CBigInt::operator=(CBigInt&& other) noexcept {
    if (this != &other) {
        CBigInt taken(std::move(other));
        Swap(taken);
    }
    return *this;
}

CBigInt::~CBigInt() {
    delete[] m_pDigits;
}

void CBigInt::Swap(CBigInt& other) noexcept {
    std::swap(m_pDigits, other.m_pDigits);
    std::swap(m_nLength, other.m_nLength);
    std::swap(m_nSign, other.m_nSign);
}

void CBigInt::Assign(const unsigned char* bytes, int32_t length, int32_t sign) {
    if (!bytes || length < 0) {
        length = 0;
    }
    while (length > 0 && bytes[length - 1] == 0) {
        --length;
    }
    unsigned char* digits = nullptr;
    if (length > 0) {
        digits = new unsigned char[static_cast<size_t>(length)];
        std::memcpy(digits, bytes, static_cast<size_t>(length));
    }
    delete[] m_pDigits;
    m_pDigits = digits;
    m_nLength = length;
    m_nSign = sign == -1 ? -1 : 1;
    FixZeroSign();
}

void CBigInt::Resize(int32_t n) {
    if (n == m_nLength) {
        return;
    }
    if (n <= 0) {
        delete[] m_pDigits;
        m_pDigits = nullptr;
        m_nLength = 0;
        m_nSign = 1;
        return;
    }
    unsigned char* digits = new unsigned char[static_cast<size_t>(n)]();
    if (m_nLength > 0) {
        std::memcpy(digits, m_pDigits, static_cast<size_t>(std::min(m_nLength, n)));
    }
    delete[] m_pDigits;
    m_pDigits = digits;
    m_nLength = n;
}

void CBigInt::FixZeroSign() {
    if (m_nLength == 0) {
        m_nSign = 1;
    }
}

namespace {

Mag MagOf(const unsigned char* digits, int32_t length) {
    return length > 0 ? Mag(digits, digits + length) : Mag();
}

CBigInt Make(const Mag& magnitude, int32_t sign) {
    CBigInt result;
    result.Assign(magnitude.data(), CheckedLength(magnitude.size()), sign);
    return result;
}

// Magnitudes of up to eight bytes (every byte count and what the size text makes of
// it) are computed in one machine word; wider ones byte by byte. Both give the same
// results; the word is only quicker, and the size text runs for every cell painted.
bool ToWord(const unsigned char* digits, int32_t length, uint64_t& word) {
    if (length > 8) {
        return false;
    }
    word = 0;
    for (int32_t i = length; i-- > 0;) {
        word = (word << 8) | digits[i];
    }
    return true;
}

CBigInt FromWord(uint64_t word, int32_t sign) {
    unsigned char bytes[8];
    for (unsigned char& b : bytes) {
        b = static_cast<unsigned char>(word & 0xFF);
        word >>= 8;
    }
    CBigInt result;
    result.Assign(bytes, 8, sign);
    return result;
}

// Digits of a word in `base`, least significant first.
void AppendWordDigits(uint64_t word, unsigned base, std::string& text) {
    do {
        const unsigned r = static_cast<unsigned>(word % base);
        text.push_back(static_cast<char>(r + 48 + (r > 9 ? 7 : 0)));
        word /= base;
    } while (word != 0);
}

// The magnitude's digits in `base`, the least significant first.
std::string ReversedDigits(const unsigned char* digits, int32_t length, unsigned base) {
    std::string text;
    uint64_t word = 0;
    if (ToWord(digits, length, word)) {
        AppendWordDigits(word, base, text);
        return text;
    }
    Mag work = MagOf(digits, length);
    while (!work.empty()) {
        const unsigned r = ShortDivideInPlace(work, base);
        text.push_back(static_cast<char>(r + 48 + (r > 9 ? 7 : 0)));
    }
    return text;
}

// `reversed`, the digits as ReversedDigits gives them, with the sign and turned round.
std::string Signed(std::string reversed, int32_t sign, bool forceSign) {
    if (sign < 0) {
        reversed.push_back('-');
    } else if (forceSign) {
        reversed.push_back('+');
    }
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

CBigInt FromImage(const unsigned char* image, int32_t length) {
    CBigInt result;
    result.Assign(image, length, 1);
    return result;
}

} // namespace

CBigInt CBigInt::Kibibyte() {
    static const unsigned char image[] = {0x00, 0x04};
    return FromImage(image, sizeof image);
}

CBigInt CBigInt::Mebibyte() {
    static const unsigned char image[] = {0x00, 0x00, 0x10};
    return FromImage(image, sizeof image);
}

CBigInt CBigInt::Gibibyte() {
    static const unsigned char image[] = {0x00, 0x00, 0x00, 0x40};
    return FromImage(image, sizeof image);
}

CBigInt CBigInt::Tebibyte() {
    static const unsigned char image[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
    return FromImage(image, sizeof image);
}

int CBigInt::Compare(const CBigInt& a, const CBigInt& b) {
    if (a.m_nSign != b.m_nSign) {
        return a.m_nSign > 0 ? 1 : -1;
    }
    // Both are normalised, so the longer magnitude is the greater; no copies needed.
    int order = 0;
    if (a.m_nLength != b.m_nLength) {
        order = a.m_nLength > b.m_nLength ? 1 : -1;
    } else {
        for (int32_t i = a.m_nLength; i-- > 0 && order == 0;) {
            if (a.m_pDigits[i] != b.m_pDigits[i]) {
                order = a.m_pDigits[i] > b.m_pDigits[i] ? 1 : -1;
            }
        }
    }
    return order * a.m_nSign;
}

CBigInt CBigInt::Negate() const {
    CBigInt result(*this);
    result.m_nSign = -result.m_nSign;
    result.FixZeroSign();
    return result;
}

CBigInt CBigInt::Subtract(const CBigInt& b) const {
    uint64_t wa = 0;
    uint64_t wb = 0;
    if (ToWord(m_pDigits, m_nLength, wa) && ToWord(b.m_pDigits, b.m_nLength, wb)) {
        if (m_nSign != b.m_nSign) {
            if (wa + wb >= wa) { // no carry out of the word
                return FromWord(wa + wb, m_nSign);
            }
        } else {
            return wa >= wb ? FromWord(wa - wb, m_nSign) : FromWord(wb - wa, -m_nSign);
        }
    }
    const Mag ma = MagOf(m_pDigits, m_nLength);
    const Mag mb = MagOf(b.m_pDigits, b.m_nLength);
    if (m_nSign != b.m_nSign) {
        return Make(AddMag(ma, mb), m_nSign);
    }
    const int order = CompareMag(ma, mb);
    if (order == 0) {
        return CBigInt();
    }
    Mag difference = order > 0 ? ma : mb;
    SubtractInPlace(difference, order > 0 ? mb : ma);
    return Make(difference, order > 0 ? m_nSign : -m_nSign);
}

CBigInt CBigInt::Multiply(const CBigInt& b) const {
    uint64_t wa = 0;
    uint64_t wb = 0;
    if (ToWord(m_pDigits, m_nLength, wa) && ToWord(b.m_pDigits, b.m_nLength, wb) &&
        (wa == 0 || wb <= UINT64_MAX / wa)) {
        return FromWord(wa * wb, m_nSign * b.m_nSign);
    }
    return Make(MultiplyMag(MagOf(m_pDigits, m_nLength), MagOf(b.m_pDigits, b.m_nLength)),
                m_nSign * b.m_nSign);
}

CBigInt CBigInt::Divide(const CBigInt& b) const {
    uint64_t wa = 0;
    uint64_t wb = 0;
    if (ToWord(m_pDigits, m_nLength, wa) && ToWord(b.m_pDigits, b.m_nLength, wb)) {
        if (wb == 0) {
            throw kDivisionError;
        }
        return FromWord(wa / wb, m_nSign * b.m_nSign);
    }
    Mag quotient;
    Mag remainder;
    DivModMag(MagOf(m_pDigits, m_nLength), MagOf(b.m_pDigits, b.m_nLength), quotient, remainder);
    return Make(quotient, m_nSign * b.m_nSign);
}

void CBigInt::ShiftLeft(int32_t n) {
    if (n <= 0 || IsZero()) {
        return;
    }
    const size_t bytes = static_cast<size_t>(n) / 8;
    const unsigned bits = static_cast<unsigned>(n) % 8;
    Mag shifted(bytes + static_cast<size_t>(m_nLength) + 1, 0);
    unsigned carry = 0;
    for (int32_t i = 0; i < m_nLength; ++i) {
        const unsigned v = (static_cast<unsigned>(m_pDigits[i]) << bits) | carry;
        shifted[bytes + static_cast<size_t>(i)] = static_cast<unsigned char>(v & 0xFF);
        carry = v >> 8;
    }
    shifted[bytes + static_cast<size_t>(m_nLength)] = static_cast<unsigned char>(carry);
    Trim(shifted);
    Assign(shifted.data(), CheckedLength(shifted.size()), m_nSign);
}

void CBigInt::ShiftRight(int32_t n) {
    if (n <= 0 || IsZero()) {
        return;
    }
    const int32_t bytes = n / 8;
    const unsigned bits = static_cast<unsigned>(n) % 8;
    if (bytes >= m_nLength) {
        Resize(0);
        return;
    }
    Mag shifted(static_cast<size_t>(m_nLength - bytes), 0);
    for (size_t i = 0; i < shifted.size(); ++i) {
        const unsigned low = m_pDigits[static_cast<size_t>(bytes) + i];
        const unsigned high = static_cast<size_t>(bytes) + i + 1 < static_cast<size_t>(m_nLength)
                                  ? m_pDigits[static_cast<size_t>(bytes) + i + 1]
                                  : 0u;
        shifted[i] = static_cast<unsigned char>(((low >> bits) | (high << (8 - bits))) & 0xFF);
    }
    Trim(shifted);
    Assign(shifted.data(), CheckedLength(shifted.size()), m_nSign);
}

std::string CBigInt::ToText(int base, bool forceSign) const {
    if (base < 2 || base > 36) {
        return std::string();
    }
    if (IsZero()) {
        return "0";
    }
    return Signed(ReversedDigits(m_pDigits, m_nLength, static_cast<unsigned>(base)), m_nSign,
                  forceSign);
}

std::string CBigInt::ToGroupedText(char separator, bool forceSign) const {
    if (IsZero()) {
        return "0";
    }
    const std::string digits = ReversedDigits(m_pDigits, m_nLength, 10);
    std::string text;
    for (size_t index = 0; index < digits.size(); ++index) {
        if (index > 0 && index % 3 == 0) {
            text.push_back(separator);
        }
        text.push_back(digits[index]);
    }
    return Signed(std::move(text), m_nSign, forceSign);
}
