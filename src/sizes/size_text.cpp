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

std::string FormatSize(uint64_t count, SizeStyle style) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<unsigned char>((count >> (8 * i)) & 0xFF);
    }
    CBigInt value;
    value.Assign(bytes, 8, 1);
    return style == SizeStyle::Compact ? value.ToSizeText(',', true) : value.ToSizeText('.', false);
}
