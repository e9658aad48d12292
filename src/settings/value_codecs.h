// The text and byte forms in which settings are stored: digits, hexadecimal blocks,
// comma-separated number lists, decimal numbers by the C library's atoi rule (with a
// defined result for numbers too large for 32 bits) and little-endian integers.
// Everything here is pure and locale-independent, so a file written on one machine
// reads the same on any other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// 0-9 give '0'-'9', 10-35 give 'A'-'Z'; any other value gives '0'.
char DigitChar(int value);

// '0'-'9' give 0-9, ASCII letters of either case give 10-35; anything else gives 0.
int DigitValue(char c);

// Two upper-case hexadecimal digits per byte, high nibble first, no separators.
std::string HexEncode(const void* bytes, size_t length);

// Decodes up to min(length, text.size() / 2) bytes into `dest`, two hexadecimal digits
// (either case) per byte. The first pair that is not two hexadecimal digits stops the
// decoding; bytes from there on keep what they held. Returns the bytes written.
size_t HexDecode(void* dest, std::string_view text, size_t length);

// The decimal value of `text` by the atoi rule: leading white space skipped, one
// optional sign, digits up to the first non-digit, no digits give 0. Where atoi's
// result would be undefined because the number does not fit 32 bits, the result is
// clamped to INT32_MIN or INT32_MAX (as the Windows C library's atoi and strtol do).
int32_t TextToInt(std::string_view text);

// Base 10 with '-' for negative values, independent of any locale.
std::string IntToText(int32_t value);

// The values in base 10 joined by ", "; no values give empty text.
std::string IntListToText(const int32_t* values, size_t count);

// Cuts `text` into tokens at every ',', '.' and ':' (runs of separators count as one,
// empty tokens are skipped) and stores TextToInt of each into dest[0], dest[1], ...,
// stopping after `count` numbers. Returns how many were stored; the rest of `dest`
// keeps what it held.
size_t TextToIntList(int32_t* dest, std::string_view text, size_t count);

// A 32-bit two's complement integer as 4 bytes, least significant first, and back.
void StoreLittleEndian32(int32_t value, unsigned char* bytes);
int32_t LoadLittleEndian32(const unsigned char* bytes);
