// Hexadecimal text to bytes, by the settings store's rule for binary values.
#include "view/hex_text.h"

#include <cstring>

namespace view {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

size_t HexTextDecode(uint8_t* dest, const char* text, size_t count) {
    const size_t pairs = std::strlen(text) / 2;
    const size_t limit = pairs < count ? pairs : count;
    for (size_t i = 0; i < limit; ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return i;
        }
        dest[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return limit;
}

} // namespace view
