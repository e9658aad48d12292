// The program's Windows-1252 texts reach the screen in the system's code page: the same
// letters where the code page has them, never the other letter that the same byte means
// there.
#include "platform/text.h"
#include "platform/text_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

const char kText[] = "<Datei ist keine g\xFCltige PMM-Datei.>";

TEST(SystemTextTest, LettersKeepTheirMeaningInAnotherCodePage) {
    EXPECT_EQ(kText, platform::Windows1252ToCodePage(kText, 1252));
    // Code page 850 has the letter, at another byte.
    EXPECT_EQ("<Datei ist keine g\x81ltige PMM-Datei.>",
              platform::Windows1252ToCodePage(kText, 850));
    // Code page 1251 lacks it; byte 0xFC would be a Cyrillic letter there.
    const std::string cyrillic = platform::Windows1252ToCodePage(kText, 1251);
    EXPECT_EQ(std::string::npos, cyrillic.find('\xFC')) << cyrillic;
    EXPECT_EQ(0u, cyrillic.find("<Datei ist keine g"));
    EXPECT_EQ("", platform::Windows1252ToCodePage("", 850));
}

} // namespace
