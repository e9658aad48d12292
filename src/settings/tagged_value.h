// How the stores in front of a real store (ChangeTrackingStore, MemoryOverlayStore) keep
// a value in memory: a kind letter, then its bytes as the registry would hold them, so
// that a value read or written with another operation is another value even with the
// same bytes; and the key under which a section's value is found in any letter case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tagged {

const char kString = 's';
const char kBool = 'b';
const char kInt = 'i';
const char kIntArray = 'a';
const char kBinary = 'x';

// `kind`, then `length` bytes.
std::string Tagged(char kind, const void* bytes, size_t length);
// `kind`, then each number as four little-endian bytes.
std::string IntsValue(char kind, const int32_t* values, size_t count);
std::string BoolValue(bool b);
std::string IntValue(int32_t i);
// The `index`th number of a value made by IntsValue.
int32_t IntAt(const std::string& value, size_t index);

// Registry and INI names ignore ASCII letter case.
std::string Folded(const std::string& text);
std::string FoldedKey(const std::string& section, const std::string& name);

} // namespace tagged
