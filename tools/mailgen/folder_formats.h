// The bytes of the mail client's files as the generator writes them: the fixed-size
// headers of .PMM folders and .PMG companions and the lines of "hierarch.pm". Written
// from the file formats alone, so tests of the reader can build any file by hand.
#pragma once

#include <cstdint>
#include <string>

namespace mailgen {

constexpr size_t kPmmHeaderSize = 128;
constexpr size_t kPmmNameOffset = 0;
constexpr size_t kPmmNameField = 64;
constexpr size_t kPmmIdOffset = 86;
constexpr size_t kPmmIdField = 42;

constexpr size_t kPmgHeaderSize = 90;
constexpr size_t kPmgNameOffset = 0;
constexpr size_t kPmgNameField = 58;
constexpr size_t kPmgIdOffset = 58;
constexpr size_t kPmgIdField = 32;

// 128 bytes: the name at 0, the identifier at 86, each cut to its field and ended by a
// zero byte when shorter; the unread bytes 64..85 hold `filler`, never zero, so a
// reader that looks in the wrong place sees text, not an empty field.
std::string PmmHeader(const std::string& name, const std::string& id, char filler = '\x5A');

// 90 bytes: the name at 0 (58-byte field), the identifier at 58 (32-byte field).
std::string PmgHeader(const std::string& name, const std::string& id);

// A text field of "hierarch.pm" in double quotes, with '"' and '\' escaped by '\'.
std::string QuoteField(const std::string& value);

// One line `type,number,"id","parentId","name"` without its line end.
std::string HierarchyLine(int type, int number, const std::string& id, const std::string& parentId,
                          const std::string& name);

} // namespace mailgen
