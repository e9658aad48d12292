// The INI text forms of settings values and their decoding with fallback to defaults.
#include "settings/ini_values.h"

#include "settings/value_codecs.h"

#include <cstring>

std::string IniBoolText(bool value) {
    return value ? "1" : "0";
}

std::string IniIntText(int32_t value) {
    return IntToText(value);
}

std::string IniIntArrayText(const int32_t* values, size_t count) {
    return IntListToText(values, count);
}

std::string IniBinaryText(const void* bytes, size_t length) {
    return HexEncode(bytes, length);
}

bool IniTextToBool(std::string_view stored, bool def) {
    return stored.empty() ? def : TextToInt(stored) != 0;
}

int32_t IniTextToInt(std::string_view stored, int32_t def) {
    return stored.empty() ? def : TextToInt(stored);
}

void IniTextToIntArray(std::string_view stored, std::string_view defaultText, size_t count,
                       int32_t* dest) {
    if (TextToIntList(dest, stored, count) < count) {
        TextToIntList(dest, defaultText, count);
    }
}

void IniTextToBinary(std::string_view stored, size_t length, const void* def, void* dest) {
    if (stored.size() / 2 == length) {
        HexDecode(dest, stored, length);
    } else if (def != dest && length != 0) {
        std::memmove(dest, def, length);
    }
}
