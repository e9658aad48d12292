// The size text: exact with thousands separators, or compact in units of 1024 with one
// decimal rounded half up. The unit is chosen before rounding, so a count just below a
// unit step may read "1024,0" of the lower unit; that is how it has always read.
#include "sizes/big_int.h"

namespace {

struct Unit {
    CBigInt (*divisor)();
    const char* text;
};

const Unit kUnits[] = {
    {&CBigInt::Tebibyte, " TB"},
    {&CBigInt::Gibibyte, " GB"},
    {&CBigInt::Mebibyte, " MB"},
    {&CBigInt::Kibibyte, " kB"},
};

} // namespace

std::string CBigInt::ToSizeText(char separator, bool compact) const {
    if (IsZero()) {
        return compact ? "0 Bytes" : "0";
    }
    if (!compact) {
        return ToGroupedText(separator, false);
    }
    for (const Unit& unit : kUnits) {
        const CBigInt divisor = unit.divisor();
        if (Compare(*this, divisor) < 0) {
            continue;
        }
        CBigInt tenths = Multiply(CBigInt(100));
        tenths = tenths.Divide(divisor);
        tenths = tenths.Subtract(CBigInt(-5));
        tenths = tenths.Divide(CBigInt(10));
        std::string digits = tenths.ToText(10, false);
        const char last = digits.back();
        digits.pop_back();
        return digits + separator + last + unit.text;
    }
    const bool one = Compare(*this, CBigInt(1)) == 0;
    return ToText(10, false) + (one ? " Byte" : " Bytes");
}

std::string FormatSize(uint64_t count, bool compact) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<unsigned char>((count >> (8 * i)) & 0xFF);
    }
    CBigInt value;
    value.Assign(bytes, 8, 1);
    return compact ? value.ToSizeText(',', true) : value.ToSizeText('.', false);
}
