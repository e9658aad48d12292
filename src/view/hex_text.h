// The one place where the UI's built-in binary defaults meet the settings store's
// hexadecimal text form: the default placement is written as the INI store writes
// binary values, and decoded by the same rule.
#pragma once

#include <cstddef>
#include <cstdint>

namespace view {

// Decodes up to `count` bytes from pairs of hexadecimal digits; the first pair that is
// not two hexadecimal digits stops. Returns the bytes written; the rest keep their value.
size_t HexTextDecode(uint8_t* dest, const char* text, size_t count);

} // namespace view
