// The texts the About box makes from a module's version resource, free of the
// platform's version functions: the version line from the fixed file version, the
// choice of the string table's translation and its path inside the resource, and the
// text of one string value as the platform hands it over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace view {

// The four parts of a fixed file version.
struct FileVersion {
    uint16_t major = 0;
    uint16_t minor = 0;
    uint16_t revision = 0;
    uint16_t build = 0;
};

// The parts from the two 32-bit halves of the fixed file information: major and minor
// from the most significant half, revision and build from the least significant, the
// high 16 bits first in each.
FileVersion SplitFileVersion(uint32_t versionMs, uint32_t versionLs);

// "v%d.%02d" from major and minor; a nonzero revision appends the character with the
// code revision + 96 (1 is 'a', 26 is 'z'); a nonzero build appends " Build %04X".
// 1.2.3.4 reads "v1.02c Build 0004", 3.0.0.255 "v3.00 Build 00FF", 4.5.0.0 "v4.05".
std::string FormatVersionText(const FileVersion& version);

// The About box's version line: the version text, " (", the product name, ")".
std::string FormatVersionLine(const std::string& versionText, const std::string& productName);

// A language and code page of a version resource's string tables.
struct Translation {
    uint16_t language = 0;
    uint16_t codePage = 0;
};

// What a module without a translation table is read with: language 0, code page 1200.
constexpr Translation kDefaultTranslation = {0x0000, 0x04B0};

// The translation to read strings with, from the raw bytes of "\VarFileInfo\Translation"
// (pairs of 16-bit little-endian language and code page, 4 bytes a pair; `table` null
// when the query failed). Pair `index` when there is one, else the first pair, else
// the default.
Translation ChooseTranslation(const void* table, size_t lengthBytes, int index);

// The path of a translation's string table inside the resource, with its closing
// backslash: "\StringFileInfo\" and language and code page as "%04X%04X", e.g.
// "\StringFileInfo\040704B0\".
std::string StringTablePrefix(const Translation& translation);

// The text of a string value: the `length` bytes the platform returned, ending at the
// first NUL among them. Empty for a null `data`.
std::string VersionStringValue(const char* data, size_t length);

} // namespace view
