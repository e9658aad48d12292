// What the INI backend makes of the texts it reads and writes: the stored text forms of
// booleans, integers, integer lists and byte blocks, and the rules by which a text read
// back becomes a value or falls back to the caller's default. Kept apart from the
// profile-file calls so the whole read path runs (and is fuzzed) on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The longest value an INI read delivers: the profile read's buffer of 1024 bytes less
// its terminator.
constexpr size_t kIniMaxValueLength = 1023;

// Stored forms: "1"/"0", decimal, ", "-joined decimals, upper-case hexadecimal.
std::string IniBoolText(bool value);
std::string IniIntText(int32_t value);
std::string IniIntArrayText(const int32_t* values, size_t count);
std::string IniBinaryText(const void* bytes, size_t length);

// Booleans and integers are read with an empty default: empty text means "not stored"
// and gives `def`; any other text is its TextToInt value (non-zero for true).
bool IniTextToBool(std::string_view stored, bool def);
int32_t IniTextToInt(std::string_view stored, int32_t def);

// `stored` is what the read returned with IniIntArrayText(def) as its default, passed
// here as `defaultText` (made before `dest` is touched, since `def` may be `dest`).
// When `stored` holds fewer than `count` numbers, the default text is decoded over it.
void IniTextToIntArray(std::string_view stored, std::string_view defaultText, size_t count,
                       int32_t* dest);

// `stored` is what the read returned with IniBinaryText(def) as its default. A text of
// 2*length or 2*length+1 characters is hex-decoded into `dest` (a bad digit pair stops
// the decoding and leaves the bytes from there on as they were); any other length
// copies `def` into `dest`. `def` and `dest` may be the same block.
void IniTextToBinary(std::string_view stored, size_t length, const void* def, void* dest);
