// The stored text and byte forms of settings, written out by hand so that no locale,
// no undefined overflow and no unterminated buffer can change what a value reads as.
#include "settings/value_codecs.h"

#include <cstring>

namespace {

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsAsciiDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
// White space as isspace() sees it in the "C" locale, which is what atoi skips.
bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsListSeparator(char c) {
    return c == ',' || c == '.' || c == ':';
}

} // namespace

char DigitChar(int value) {
    if (value >= 0 && value <= 9) {
        return static_cast<char>('0' + value);
    }
    if (value >= 10 && value <= 35) {
        return static_cast<char>('A' + (value - 10));
    }
    return '0';
}

int DigitValue(char c) {
    if (IsAsciiDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    return 0;
}

std::string HexEncode(const void* bytes, size_t length) {
    const unsigned char* in = static_cast<const unsigned char*>(bytes);
    std::string text;
    text.reserve(2 * length);
    for (size_t i = 0; i < length; ++i) {
        text += DigitChar(in[i] >> 4);
        text += DigitChar(in[i] & 15);
    }
    return text;
}

size_t HexDecode(void* dest, std::string_view text, size_t length) {
    unsigned char* out = static_cast<unsigned char*>(dest);
    const size_t pairs = text.size() / 2 < length ? text.size() / 2 : length;
    for (size_t i = 0; i < pairs; ++i) {
        const char high = text[2 * i];
        const char low = text[2 * i + 1];
        if (!IsHexDigit(high) || !IsHexDigit(low)) {
            return i;
        }
        out[i] = static_cast<unsigned char>(DigitValue(high) * 16 + (DigitValue(low) & 15));
    }
    return pairs;
}

int32_t TextToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Magnitudes beyond 2^31 all clamp alike, so the sum stops growing there and can
    // never overflow however many digits follow.
    constexpr int64_t kLimit = int64_t{1} << 31;
    int64_t magnitude = 0;
    for (; i < text.size() && IsAsciiDigit(text[i]); ++i) {
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        return magnitude >= kLimit ? INT32_MIN : static_cast<int32_t>(-magnitude);
    }
    return magnitude >= kLimit ? INT32_MAX : static_cast<int32_t>(magnitude);
}

std::string IntToText(int32_t value) {
    // The magnitude as unsigned, so INT32_MIN has one too.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : value;
    char digits[12];
    size_t pos = sizeof digits;
    do {
        digits[--pos] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) {
        digits[--pos] = '-';
    }
    return std::string(digits + pos, sizeof digits - pos);
}

std::string IntListToText(const int32_t* values, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i != 0) {
            text += ", ";
        }
        text += IntToText(values[i]);
    }
    return text;
}

size_t TextToIntList(int32_t* dest, std::string_view text, size_t count) {
    size_t stored = 0;
    size_t pos = 0;
    while (stored < count && pos < text.size()) {
        while (pos < text.size() && IsListSeparator(text[pos])) {
            ++pos;
        }
        size_t end = pos;
        while (end < text.size() && !IsListSeparator(text[end])) {
            ++end;
        }
        if (end > pos) {
            dest[stored++] = TextToInt(text.substr(pos, end - pos));
        }
        pos = end;
    }
    return stored;
}

void StoreLittleEndian32(int32_t value, unsigned char* bytes) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
    }
}

int32_t LoadLittleEndian32(const unsigned char* bytes) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    }
    int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
