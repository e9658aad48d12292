// Windows-1252 to the active code page, through UTF-16.
#include "platform/text.h"

#include "platform/text_win32.h"

#include <windows.h>

namespace platform {

std::string Windows1252ToCodePage(const std::string& text, unsigned codePage) {
    const UINT kWindows1252 = 1252;
    if (text.empty() || codePage == kWindows1252) {
        return text;
    }
    const int length = static_cast<int>(text.size());
    const int wide = ::MultiByteToWideChar(kWindows1252, 0, text.data(), length, nullptr, 0);
    if (wide <= 0) {
        return text;
    }
    std::wstring utf16(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(kWindows1252, 0, text.data(), length, &utf16[0], wide);
    const int narrow =
        ::WideCharToMultiByte(codePage, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) {
        return text;
    }
    std::string converted(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(codePage, 0, utf16.data(), wide, &converted[0], narrow, nullptr, nullptr);
    return converted;
}

std::string SystemText(const std::string& text) {
    return Windows1252ToCodePage(text, ::GetACP());
}

} // namespace platform
