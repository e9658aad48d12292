// Dates as text.
#include "sizes/date_text.h"

#include "text/language.h"

namespace {

// `value` with at least `width` digits, zeros in front; negative values never come here
// but for an offset, whose sign the caller writes.
void AppendDigits(std::string& out, int value, int width) {
    char digits[12];
    int n = 0;
    unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0 && n < 11);
    for (int pad = n; pad < width; ++pad) {
        out += '0';
    }
    while (n > 0) {
        out += digits[--n];
    }
}

} // namespace

std::string GermanDate(int year, int month, int day) {
    std::string text;
    AppendDigits(text, day, 2);
    text += '.';
    AppendDigits(text, month, 2);
    text += '.';
    AppendDigits(text, year, 4);
    return text;
}

std::string IsoDate(int year, int month, int day) {
    std::string text;
    AppendDigits(text, year, 4);
    text += '-';
    AppendDigits(text, month, 2);
    text += '-';
    AppendDigits(text, day, 2);
    return text;
}

std::string GermanDateTime(const platform::LocalDateTime& time) {
    std::string text = GermanDate(time.year, time.month, time.day);
    text += ' ';
    AppendDigits(text, time.hour, 2);
    text += ':';
    AppendDigits(text, time.minute, 2);
    return text;
}

std::string IsoDateTime(const platform::LocalDateTime& time) {
    std::string text = IsoDate(time.year, time.month, time.day);
    text += 'T';
    AppendDigits(text, time.hour, 2);
    text += ':';
    AppendDigits(text, time.minute, 2);
    text += ':';
    AppendDigits(text, time.second, 2);
    const int offset = time.offsetMinutes;
    text += offset < 0 ? '-' : '+';
    const int magnitude = offset < 0 ? -offset : offset;
    AppendDigits(text, magnitude / 60, 2);
    text += ':';
    AppendDigits(text, magnitude % 60, 2);
    return text;
}

std::string GermanChangeText(int64_t unixSeconds) {
    platform::LocalDateTime local;
    return unixSeconds != 0 && platform::ToLocalDateTime(unixSeconds, local) ? GermanDateTime(local)
                                                                             : std::string();
}

std::string IsoChangeText(int64_t unixSeconds) {
    platform::LocalDateTime local;
    return unixSeconds != 0 && platform::ToLocalDateTime(unixSeconds, local) ? IsoDateTime(local)
                                                                             : std::string();
}

std::string DateText(int year, int month, int day) {
    return UserLanguage() == Language::English ? IsoDate(year, month, day)
                                               : GermanDate(year, month, day);
}

std::string DateTimeText(const platform::LocalDateTime& time) {
    if (UserLanguage() != Language::English) {
        return GermanDateTime(time);
    }
    std::string text = IsoDate(time.year, time.month, time.day);
    text += ' ';
    AppendDigits(text, time.hour, 2);
    text += ':';
    AppendDigits(text, time.minute, 2);
    return text;
}

std::string ChangeTimeText(int64_t unixSeconds) {
    platform::LocalDateTime local;
    return unixSeconds != 0 && platform::ToLocalDateTime(unixSeconds, local) ? DateTimeText(local)
                                                                             : std::string();
}
