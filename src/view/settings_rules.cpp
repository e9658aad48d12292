// The settings dialog's rules for directories and seconds.
#include "view/settings_rules.h"

#include "settings/program_settings.h"

namespace view {

namespace {

// The characters the C library's isspace accepts in the "C" locale, fixed here so the
// result never depends on the process's locale.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

bool IsAcceptableDirectory(const std::string& text) {
    if (text.size() < 3) {
        return false;
    }
    const bool network = text[0] == '\\' && text[1] == '\\';
    const bool drive = text[1] == ':';
    return network || drive;
}

bool AcceptDirectory(const std::string& text, std::string& directory) {
    if (!IsAcceptableDirectory(text)) {
        return false;
    }
    directory = text;
    if (directory.back() != '\\') {
        directory += '\\';
    }
    return true;
}

int32_t ReadLeadingInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate toward the range's end in 64 bits and stop growing once past it.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude < limit) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
    }
    if (magnitude > limit) {
        magnitude = limit;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int32_t RefreshRateToRemember(const std::string& fieldText) {
    int32_t seconds = ProgramSettings::kDefaultAutoRefreshRate;
    AcceptRefreshRate(fieldText, seconds);
    return seconds;
}

bool AcceptRefreshRate(const std::string& fieldText, int32_t& seconds) {
    const int32_t value = ReadLeadingInteger(fieldText);
    if (value < 1) {
        return false;
    }
    seconds = value;
    return true;
}

} // namespace view
