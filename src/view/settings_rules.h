// What the settings dialog accepts from its edit fields, free of any window: the form a
// typed directory must have and the backslash it is stored with, and how the seconds
// field is read (with the settings codecs' atoi rule, TextToInt). The dialog only moves text
// between its controls and these rules.
#pragma once

#include <cstdint>
#include <string>

namespace view {

// A typed directory is acceptable when it has at least 3 characters and begins with two
// backslashes (a network path) or has a colon as its second character (a drive path).
// Nothing else is checked: not the characters after the first two, not whether the
// directory exists.
bool IsAcceptableDirectory(const std::string& text);

// For an acceptable `text`: `directory` becomes the text with one backslash appended
// unless it already ends in one, and the result is true. Otherwise false, and
// `directory` keeps its previous value.
[[nodiscard]] bool AcceptDirectory(const std::string& text, std::string& directory);

// The refresh interval in seconds that the dialog remembers when automatic refresh is
// switched off: what the field holds when that is at least 1, else the default of 10.
int32_t RefreshRateToRemember(const std::string& fieldText);

// The interval to take on OK while automatic refresh is on: true with `seconds` set
// when the field reads as at least 1; false (and `seconds` unchanged) otherwise.
[[nodiscard]] bool AcceptRefreshRate(const std::string& fieldText, int32_t& seconds);

} // namespace view
