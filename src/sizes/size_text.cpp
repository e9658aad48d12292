// The size text: exact with thousands separators, or compact in units of 1024 with one
// decimal rounded half up. The unit is chosen before rounding, so a count just below a
// unit step may read "1024,0" of the lower unit; that is how it has always read.
#include "sizes/size_text.h"
#include "sizes/big_int.h"
#include "text/language.h"

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
    const bool english = UserLanguage() == Language::English;
    if (count == 0) {
        return compact ? (english ? "0 bytes" : "0 Bytes") : "0";
    }
    if (!compact) {
        return Digits(count, english ? ',' : '.');
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
        text.back() = english ? '.' : ',';
        text += last;
        text += unit.text;
        return text;
    }
    if (english) {
        return Digits(count, 0) + (count == 1 ? " byte" : " bytes");
    }
    return Digits(count, 0) + (count == 1 ? " Byte" : " Bytes");
}

namespace {

// The power of 1024 that `unit` (folded to lower case) stands for, or -1.
int UnitPower(std::string_view unit) {
    static const struct {
        const char* text;
        int power;
    } kUnits[] = {{"", 0},    {"b", 0}, {"byte", 0}, {"bytes", 0}, {"k", 1}, {"kb", 1},
                  {"kib", 1}, {"m", 2}, {"mb", 2},   {"mib", 2},   {"g", 3}, {"gb", 3},
                  {"gib", 3}, {"t", 4}, {"tb", 4},   {"tib", 4}};
    for (const auto& known : kUnits) {
        if (unit == known.text) {
            return known.power;
        }
    }
    return -1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Longer than any size a person types: such a text is refused before it is read.
constexpr size_t kLongestSizeText = 64;

// Whether the mark at `mark` separates groups of three digits: three digits follow, and
// after them another group separator, the decimal mark or the end of the number.
bool IsGroupMark(std::string_view number, size_t mark) {
    for (size_t i = mark + 1; i <= mark + 3; ++i) {
        if (i >= number.size() || !IsDigit(number[i])) {
            return false;
        }
    }
    return mark + 4 == number.size() || number[mark + 4] == '.' || number[mark + 4] == ',';
}

} // namespace

bool ParseSizeText(std::string_view text, uint64_t* count) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        *count = 0;
        return true;
    }
    text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
    if (text.size() > kLongestSizeText) {
        return false;
    }
    size_t end = 0;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == '.' || text[end] == ',')) {
        ++end;
    }
    const std::string_view number = text.substr(0, end);
    std::string unit;
    for (char c : text.substr(end)) {
        if (c != ' ' || !unit.empty()) {
            unit += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    const int power = UnitPower(unit);
    if (number.empty() || !IsDigit(number[0]) || power < 0) {
        return false;
    }
    // German groups with "." ("1.234.567"), English with "," ("1,234,567"); the other
    // mark, and the group mark where no group of three follows, is the decimal one.
    const char groupMark = UserLanguage() == Language::English ? ',' : '.';
    const uint64_t kMax = ~static_cast<uint64_t>(0);
    uint64_t whole = 0;
    std::string fraction;
    bool inFraction = false;
    for (size_t i = 0; i < number.size(); ++i) {
        const char c = number[i];
        if (!IsDigit(c)) {
            if (inFraction || (c == groupMark && IsGroupMark(number, i))) {
                if (inFraction) {
                    return false;
                }
                continue;
            }
            inFraction = true;
        } else if (inFraction) {
            fraction += c;
        } else if (whole > (kMax - static_cast<unsigned>(c - '0')) / 10) {
            return false;
        } else {
            whole = whole * 10 + static_cast<unsigned>(c - '0');
        }
    }
    const int shift = 10 * power;
    if (shift > 0 && whole > (kMax >> shift)) {
        return false;
    }
    // The first `shift` binary digits of the fraction, by doubling its decimal digits:
    // exact, so "0,5 kB" is 512 bytes and no fraction of a byte rounds up.
    uint64_t fractionBytes = 0;
    for (int bit = 0; bit < shift; ++bit) {
        int carry = 0;
        for (size_t j = fraction.size(); j-- > 0;) {
            const int doubled = (fraction[j] - '0') * 2 + carry;
            fraction[j] = static_cast<char>('0' + doubled % 10);
            carry = doubled / 10;
        }
        fractionBytes = fractionBytes * 2 + static_cast<uint64_t>(carry);
    }
    const uint64_t wholeBytes = whole << shift;
    if (fractionBytes > kMax - wholeBytes) {
        return false;
    }
    *count = wholeBytes + fractionBytes;
    return true;
}
