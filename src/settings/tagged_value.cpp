// Values of the stores in front of a real store, in memory.
#include "settings/tagged_value.h"

#include "settings/value_codecs.h"
#include "text/ascii_case.h"

namespace tagged {

std::string Tagged(char kind, const void* bytes, size_t length) {
    std::string value(1, kind);
    value.append(static_cast<const char*>(bytes), length);
    return value;
}

std::string IntsValue(char kind, const int32_t* values, size_t count) {
    std::string value(1, kind);
    for (size_t i = 0; i < count; ++i) {
        unsigned char bytes[4];
        StoreLittleEndian32(values[i], bytes);
        value.append(reinterpret_cast<const char*>(bytes), 4);
    }
    return value;
}

std::string BoolValue(bool b) {
    return std::string(1, kBool) + (b ? '\1' : '\0');
}

std::string IntValue(int32_t i) {
    return IntsValue(kInt, &i, 1);
}

int32_t IntAt(const std::string& value, size_t index) {
    return LoadLittleEndian32(reinterpret_cast<const unsigned char*>(value.data()) + 1 + 4 * index);
}

std::string Folded(const std::string& text) {
    std::string folded;
    folded.reserve(text.size());
    for (char c : text) {
        folded += text::FoldAscii(c);
    }
    return folded;
}

std::string FoldedKey(const std::string& section, const std::string& name) {
    return Folded(section) + '\n' + Folded(name);
}

} // namespace tagged
