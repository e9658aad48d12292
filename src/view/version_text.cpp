// Version line, translation choice and string-table path of the About box.
#include "view/version_text.h"

#include <cstdio>
#include <cstring>

namespace view {

FileVersion SplitFileVersion(uint32_t versionMs, uint32_t versionLs) {
    FileVersion v;
    v.major = static_cast<uint16_t>(versionMs >> 16);
    v.minor = static_cast<uint16_t>(versionMs & 0xFFFFu);
    v.revision = static_cast<uint16_t>(versionLs >> 16);
    v.build = static_cast<uint16_t>(versionLs & 0xFFFFu);
    return v;
}

std::string FormatVersionText(const FileVersion& version) {
    // Large enough for "v65535.65535" + one letter + " Build FFFF" and the NUL.
    char text[40];
    std::snprintf(text, sizeof text, "v%d.%02d", version.major, version.minor);
    std::string result = text;
    if (version.revision != 0) {
        // The letter is the character of that code, as the "%c" format would print it.
        result += static_cast<char>(static_cast<unsigned char>(version.revision + 96));
    }
    if (version.build != 0) {
        std::snprintf(text, sizeof text, " Build %04X", version.build);
        result += text;
    }
    return result;
}

std::string FormatVersionLine(const std::string& versionText, const std::string& productName) {
    return versionText + " (" + productName + ")";
}

Translation ChooseTranslation(const void* table, size_t lengthBytes, int index) {
    if (table == nullptr) {
        return kDefaultTranslation;
    }
    const size_t count = lengthBytes / 4;
    if (count == 0) {
        return kDefaultTranslation;
    }
    const size_t chosen =
        index >= 0 && static_cast<size_t>(index) < count ? static_cast<size_t>(index) : 0;
    const unsigned char* pair = static_cast<const unsigned char*>(table) + chosen * 4;
    Translation t;
    t.language = static_cast<uint16_t>(pair[0] | (pair[1] << 8));
    t.codePage = static_cast<uint16_t>(pair[2] | (pair[3] << 8));
    return t;
}

std::string StringTablePrefix(const Translation& translation) {
    char text[32];
    std::snprintf(text, sizeof text, "\\StringFileInfo\\%04X%04X\\", translation.language,
                  translation.codePage);
    return text;
}

std::string VersionStringValue(const char* data, size_t length) {
    if (data == nullptr) {
        return std::string();
    }
    const void* nul = std::memchr(data, '\0', length);
    return std::string(data, nul != nullptr ? static_cast<const char*>(nul) - data : length);
}

} // namespace view
