// Fuzzes the texts the INI backend reads back: HexDecode, TextToIntList, the atoi rule
// and the decoding of every INI value type with its fallback to the default. Beyond
// the sanitizers it checks what must hold for any input: nothing is written past the
// count asked for, bytes after a stop keep their contents, numbers agree with a wide
// reference, and what is decoded encodes back to the text it came from.
#include "settings/ini_values.h"
#include "settings/value_codecs.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr unsigned char kPoison = 0xA5;
constexpr int32_t kPoisonInt = -1234567;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

int32_t Reference(std::string_view text) {
    const std::string copy(text); // c_str() ends at the first NUL, as TextToInt does
    const long long value = std::strtoll(copy.c_str(), nullptr, 10);
    return value < INT32_MIN   ? INT32_MIN
           : value > INT32_MAX ? INT32_MAX
                               : static_cast<int32_t>(value);
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void FuzzHexDecode(std::string_view text, size_t length) {
    std::vector<unsigned char> dest(length, kPoison);
    const size_t written = HexDecode(dest.data(), text, length);
    Check(written <= length && written <= text.size() / 2);
    for (size_t i = written; i < length; ++i) {
        Check(dest[i] == kPoison);
    }
    const std::string again = HexEncode(dest.data(), written);
    for (size_t i = 0; i < again.size(); ++i) {
        Check(again[i] == Upper(text[i]));
    }
}

void FuzzIntList(std::string_view text, size_t count) {
    std::vector<int32_t> dest(count, kPoisonInt);
    const size_t stored = TextToIntList(dest.data(), text, count);
    Check(stored <= count);
    for (size_t i = stored; i < count; ++i) {
        Check(dest[i] == kPoisonInt);
    }
    std::vector<int32_t> back(stored + 1, kPoisonInt);
    const std::string text2 = IntListToText(dest.data(), stored);
    Check(TextToIntList(back.data(), text2, stored) == stored);
    Check(std::equal(dest.begin(), dest.begin() + stored, back.begin()));
    Check(back[stored] == kPoisonInt);
}

// What IniSettingsStore does with a value once the profile read delivered it, cut as
// that read cuts it.
void FuzzIniReadPath(std::string_view value, size_t count, const uint8_t* defBytes) {
    const std::string_view stored = value.substr(0, kIniMaxValueLength);

    Check(IniTextToBool(stored, true) == (stored.empty() || TextToInt(stored) != 0));
    Check(IniTextToInt(stored, 99) == (stored.empty() ? 99 : Reference(stored)));

    std::vector<int32_t> def(count);
    for (size_t i = 0; i < count; ++i) {
        def[i] = static_cast<int32_t>(defBytes[i % 8] * 0x01010101u);
    }
    std::vector<int32_t> ints(count, kPoisonInt);
    const std::string defaultText = IniIntArrayText(def.data(), count);
    IniTextToIntArray(stored, defaultText, count, ints.data());
    std::vector<int32_t> direct(count, kPoisonInt);
    if (TextToIntList(direct.data(), stored, count) < count) {
        Check(ints == def);
    } else {
        Check(ints == direct);
    }
    IniTextToIntArray(stored, defaultText, count, def.data()); // default as destination

    std::vector<unsigned char> defBlock(defBytes, defBytes + 8);
    defBlock.resize(count, 0x5A);
    std::vector<unsigned char> block(count, kPoison);
    IniTextToBinary(stored, count, defBlock.data(), block.data());
    if (stored.size() / 2 != count) {
        Check(block == defBlock);
    }
    IniTextToBinary(stored, count, defBlock.data(), defBlock.data());
}

} // namespace

// Layout: byte 0 picks the count (0-63), bytes 1-8 make defaults, the rest is the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9) {
        return 0;
    }
    const size_t count = data[0] % 64;
    const std::string_view text(reinterpret_cast<const char*>(data + 9), size - 9);

    Check(TextToInt(text) == Reference(text));
    FuzzHexDecode(text, count);
    FuzzHexDecode(text, text.size() / 2);
    FuzzIntList(text, count);
    FuzzIniReadPath(text, count, data + 1);
    return 0;
}
