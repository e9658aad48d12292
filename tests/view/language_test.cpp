#include "text/language.h"

#include <gtest/gtest.h>

TEST(LanguageTest, TheWindowsFollowTheStoredChoiceElseTheInterfaceLanguage) {
    // German for every German variant: Germany, Switzerland, Austria, Luxembourg.
    for (uint16_t id : {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407}) {
        EXPECT_EQ(ChosenLanguage(LanguageChoice::Automatic, id), Language::German) << id;
    }
    for (uint16_t id : {0x0409, 0x0809, 0x040C, 0x0413, 0x0000}) {
        EXPECT_EQ(ChosenLanguage(LanguageChoice::Automatic, id), Language::English) << id;
    }
    EXPECT_EQ(ChosenLanguage(LanguageChoice::English, 0x0407), Language::English);
    EXPECT_EQ(ChosenLanguage(LanguageChoice::German, 0x0409), Language::German);
    // A value this version does not know is automatic, not German or English.
    for (int32_t stored : {0, -1, 3, 255, INT32_MIN}) {
        EXPECT_EQ(LanguageChoiceFromStored(stored), LanguageChoice::Automatic) << stored;
    }
    EXPECT_EQ(LanguageChoiceFromStored(2), LanguageChoice::English);
}

TEST(LanguageTest, TheReportToolReadsTheLocaleVariablesInTheirOrder) {
    const Language none = Language::English;
    EXPECT_EQ(LanguageFromLocaleVariables("de_DE.UTF-8", "en_US", "en_US", none), Language::German);
    EXPECT_EQ(LanguageFromLocaleVariables("", "de_AT@euro", "en_US", none), Language::German);
    EXPECT_EQ(LanguageFromLocaleVariables(nullptr, nullptr, "de", none), Language::German);
    // The first one set decides, even against a German one after it.
    EXPECT_EQ(LanguageFromLocaleVariables("C.UTF-8", "de_DE", "de_DE", none), Language::English);
    // "de" must be the whole language part.
    EXPECT_EQ(LanguageFromLocaleVariables(nullptr, nullptr, "dex_XX", none), Language::English);
    EXPECT_EQ(LanguageFromLocaleVariables("", "", "", Language::German), Language::German);
}
