// The characters of Windows-1252, the program's 8-bit text, as Unicode, for the forms
// that leave the program as UTF-8 (the report, the treemap's SVG).
#pragma once

#include <cstdint>
#include <string>

namespace text {

// Unicode code points of the bytes 0x80..0x9F. The five bytes the code page leaves
// undefined become the C1 controls of the same number, as Windows converts them.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr uint32_t UnicodeOfWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
}

// The C0 controls, DEL and the five undefined bytes: what no line of text and no XML
// document should carry.
constexpr bool IsWindows1252Control(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
           byte == 0x90 || byte == 0x9D;
}

// The UTF-8 bytes of a code point of the Basic Multilingual Plane (all Windows-1252
// gives) into `bytes`; returns their count.
constexpr int Utf8OfCodePoint(uint32_t code, char* bytes) {
    if (code < 0x80) {
        bytes[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | (code >> 6));
        bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    bytes[0] = static_cast<char>(0xE0 | (code >> 12));
    bytes[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | (code & 0x3F));
    return 3;
}

} // namespace text
