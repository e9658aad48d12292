// The texts of report_texts.h, picked by the language of the moment.
#include "report/report_texts.h"

#include "text/language.h"

namespace report {

namespace {

struct Texts {
    const char* german;
    const char* english;
};

const Texts kTexts[] = {
#define FT_REPORT_TEXT(id, german, english) {german, english},
    FT_REPORT_TEXTS(FT_REPORT_TEXT)
#undef FT_REPORT_TEXT
};

} // namespace

const char* Say(Phrase phrase) {
    const Texts& texts = kTexts[static_cast<int>(phrase)];
    return UserLanguage() == Language::English ? texts.english : texts.german;
}

} // namespace report
