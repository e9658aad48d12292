// The size text: exact with thousands separators, or compact in units of 1024 with one
// decimal rounded half up. The unit is chosen before rounding, so a count just below a
// unit step may read "1024,0" of the lower unit; that is how it has always read.
#include "sizes/size_text.h"
#include "sizes/big_int.h"

namespace {

struct Unit {
    CBigInt divisor;
    const char* text;
};

// The ladder and the factors, built once: every painted size cell runs through here.
struct Ladder {
    Unit units[4] = {
        {CBigInt::Tebibyte(), " TB"},
        {CBigInt::Gibibyte(), " GB"},
        {CBigInt::Mebibyte(), " MB"},
        {CBigInt::Kibibyte(), " kB"},
    };
    CBigInt hundred = CBigInt(100);
    CBigInt minusFive = CBigInt(-5);
    CBigInt ten = CBigInt(10);
    CBigInt one = CBigInt(1);
};

const Ladder& TheLadder() {
    static const Ladder ladder;
    return ladder;
}

} // namespace

std::string CBigInt::ToSizeText(char separator, bool compact) const {
    if (IsZero()) {
        return compact ? "0 Bytes" : "0";
    }
    if (!compact) {
        return ToGroupedText(separator, false);
    }
    const Ladder& ladder = TheLadder();
    for (const Unit& unit : ladder.units) {
        if (Compare(*this, unit.divisor) < 0) {
            continue;
        }
        CBigInt tenths = Multiply(ladder.hundred);
        tenths = tenths.Divide(unit.divisor);
        tenths = tenths.Subtract(ladder.minusFive);
        tenths = tenths.Divide(ladder.ten);
        std::string text = tenths.ToText(10, false);
        const char last = text.back();
        text.back() = separator;
        text += last;
        text += unit.text;
        return text;
    }
    const bool one = Compare(*this, ladder.one) == 0;
    return ToText(10, false) + (one ? " Byte" : " Bytes");
}

namespace {

// Digits of `value`, with `separator` between groups of three when it is not 0.
std::string Digits(uint64_t value, char separator) {
    char buffer[32];
    char* p = buffer + sizeof buffer;
    int inGroup = 0;
    do {
        if (separator && inGroup == 3) {
            *--p = separator;
            inGroup = 0;
        }
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
        ++inGroup;
    } while (value != 0);
    return std::string(p, buffer + sizeof buffer);
}

} // namespace

// The same text as CBigInt::ToSizeText of the count, in 64-bit arithmetic: the report
// formats every row and the list every painted cell. floor(count * 100 / unit) is
// taken as quotient * 100 + remainder * 100 / unit, which cannot overflow, since the
// remainder is below the unit (at most 2^40).
std::string FormatSize(uint64_t count, SizeStyle style) {
    const bool compact = style == SizeStyle::Compact;
    if (count == 0) {
        return compact ? "0 Bytes" : "0";
    }
    if (!compact) {
        return Digits(count, '.');
    }
    static const struct {
        int shift;
        const char* text;
    } kUnits[] = {{40, " TB"}, {30, " GB"}, {20, " MB"}, {10, " kB"}};
    for (const auto& unit : kUnits) {
        const uint64_t divisor = uint64_t{1} << unit.shift;
        if (count < divisor) {
            continue;
        }
        const uint64_t hundredths =
            (count >> unit.shift) * 100 + ((count & (divisor - 1)) * 100 >> unit.shift);
        std::string text = Digits((hundredths + 5) / 10, 0);
        const char last = text.back();
        text.back() = ',';
        text += last;
        text += unit.text;
        return text;
    }
    return Digits(count, 0) + (count == 1 ? " Byte" : " Bytes");
}
