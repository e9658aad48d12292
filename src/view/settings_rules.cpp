// The settings dialog's rules for directories and seconds.
#include "view/settings_rules.h"

#include "settings/program_settings.h"
#include "settings/value_codecs.h"

namespace view {

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

int32_t RefreshRateToRemember(const std::string& fieldText) {
    int32_t seconds = ProgramSettings::kDefaultAutoRefreshRate;
    // A text that is no number of seconds leaves the default to be remembered.
    static_cast<void>(AcceptRefreshRate(fieldText, seconds));
    return seconds;
}

bool AcceptRefreshRate(const std::string& fieldText, int32_t& seconds) {
    const int32_t value = TextToInt(fieldText);
    if (value < 1) {
        return false;
    }
    seconds = value;
    return true;
}

} // namespace view
