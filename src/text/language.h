// The language the program speaks to its user: German or English. Chosen once per
// process, before any text is made: the windows take the stored choice or the user's
// Windows interface language, the report tool its --lang option or the locale
// variables. Stored values, history files and the machine forms (JSON, TSV) never
// depend on it.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

enum class Language : uint8_t { German, English };

namespace language_detail {
inline std::atomic<Language> g_userLanguage{Language::German};
// The language of a LanguageScope on this thread; kNoScope outside any.
constexpr int kNoScope = -1;
inline thread_local int t_scopeLanguage = kNoScope;
} // namespace language_detail

// The language of every text made for the user in this process: sizes, dates, the
// failure texts of folders, the report's words. Set once at start, before any thread
// reads it; German until then, as the program always spoke.
inline void SetUserLanguage(Language language) {
    language_detail::g_userLanguage.store(language, std::memory_order_relaxed);
}
inline Language UserLanguage() {
    const int scoped = language_detail::t_scopeLanguage;
    return scoped != language_detail::kNoScope
               ? static_cast<Language>(scoped)
               : language_detail::g_userLanguage.load(std::memory_order_relaxed);
}

// While it lives, the texts this thread makes are in `language`, whatever the process
// speaks: the report's machine forms (JSON, TSV, CSV) keep their German words for the
// scripts that read them. Other threads keep the process's language.
class LanguageScope {
public:
    explicit LanguageScope(Language language) : m_previous(language_detail::t_scopeLanguage) {
        language_detail::t_scopeLanguage = static_cast<int>(language);
    }
    ~LanguageScope() { language_detail::t_scopeLanguage = m_previous; }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    int m_previous;
};

// The stored choice "Language": what the menu "Extras > Sprache / Language" offers.
// Anything else read back (an older or newer version's value, a hand edit) means
// automatic.
enum class LanguageChoice : int32_t { Automatic = 0, German = 1, English = 2 };

constexpr LanguageChoice LanguageChoiceFromStored(int32_t stored) {
    return stored == 1   ? LanguageChoice::German
           : stored == 2 ? LanguageChoice::English
                         : LanguageChoice::Automatic;
}

// German for every German variant of a Windows language id (its primary language is
// LANG_GERMAN, 0x07), English for every other.
constexpr Language LanguageForWindowsId(uint16_t langId) {
    return (langId & 0x3FF) == 0x07 ? Language::German : Language::English;
}

constexpr Language ChosenLanguage(LanguageChoice choice, uint16_t uiLangId) {
    switch (choice) {
    case LanguageChoice::German:
        return Language::German;
    case LanguageChoice::English:
        return Language::English;
    case LanguageChoice::Automatic:
        break;
    }
    return LanguageForWindowsId(uiLangId);
}

// "de" or "en", as the report tool's --lang takes them; false for anything else.
constexpr bool ParseLanguageName(std::string_view name, Language* language) {
    if (name == "de") {
        *language = Language::German;
        return true;
    }
    if (name == "en") {
        *language = Language::English;
        return true;
    }
    return false;
}

// The language of POSIX locale variables, looked at in their order of precedence
// (LC_ALL, then LC_MESSAGES, then LANG; null or empty is not set): German for a name
// that starts with "de" ("de", "de_DE.UTF-8", "de_AT@euro"), English for any other.
// `none` when no variable is set.
constexpr Language LanguageFromLocaleVariables(const char* lcAll, const char* lcMessages,
                                               const char* lang, Language none) {
    for (const char* name : {lcAll, lcMessages, lang}) {
        if (name != nullptr && name[0] != '\0') {
            const std::string_view text(name);
            const bool german =
                text.substr(0, 2) == "de" && (text.size() == 2 || text[2] == '_' ||
                                              text[2] == '.' || text[2] == '@' || text[2] == '-');
            return german ? Language::German : Language::English;
        }
    }
    return none;
}
