// Day numbers after the well-known civil-from-days conversion: eras of 400 years, March
// as the first month so that a leap day ends its year.
#include "history/history_days.h"

#include "sizes/date_text.h"

#include <algorithm>
#include <utility>

namespace history {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Exactly `count` digits at `text[at]`; false for anything else.
bool Digits(std::string_view text, size_t at, size_t count, int& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool IsoDay(std::string_view text, CalendarDay& day) {
    return text.size() == 10 && text[4] == '-' && text[7] == '-' && Digits(text, 0, 4, day.year) &&
           Digits(text, 5, 2, day.month) && Digits(text, 8, 2, day.day);
}

bool DottedDay(std::string_view text, CalendarDay& day) {
    return text.size() == 10 && text[2] == '.' && text[5] == '.' && Digits(text, 0, 2, day.day) &&
           Digits(text, 3, 2, day.month) && Digits(text, 6, 4, day.year);
}

// The same day `years` earlier; 29 February becomes 28 February in a common year.
int64_t YearsBefore(int64_t number, int years) {
    CalendarDay day = DayFromNumber(number);
    day.year -= years;
    day.day = std::min(day.day, DaysInMonth(day.year, day.month));
    return DayNumber(day);
}

} // namespace

int64_t DayNumber(const CalendarDay& day) {
    const int64_t y = day.year - (day.month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t month = day.month > 2 ? day.month - 3 : day.month + 9;
    const int64_t dayOfYear = (153 * month + 2) / 5 + day.day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDay DayFromNumber(int64_t number) {
    const int64_t z = number + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    CalendarDay day;
    day.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    day.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    day.year = static_cast<int>(yearOfEra + era * 400 + (day.month <= 2 ? 1 : 0));
    return day;
}

bool IsRealDay(const CalendarDay& day) {
    return day.year >= 1 && day.year <= 9999 && day.month >= 1 && day.month <= 12 && day.day >= 1 &&
           day.day <= DaysInMonth(day.year, day.month);
}

std::string DayFileName(const CalendarDay& day) {
    return IsoDate(day.year, day.month, day.day) + ".json";
}

bool DayOfFileName(std::string_view name, CalendarDay& day) {
    CalendarDay parsed;
    if (name.size() != 15 || !IsoDay(name.substr(0, 10), parsed) || !IsRealDay(parsed)) {
        return false;
    }
    std::string suffix(name.substr(10));
    for (char& c : suffix) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (suffix != ".json") {
        return false;
    }
    day = parsed;
    return true;
}

std::string GermanDay(const CalendarDay& day) {
    return GermanDate(day.year, day.month, day.day);
}

std::string DayText(const CalendarDay& day) {
    return DateText(day.year, day.month, day.day);
}

bool ParseDay(std::string_view text, CalendarDay& day) {
    CalendarDay parsed;
    if (!(IsoDay(text, parsed) || DottedDay(text, parsed)) || !IsRealDay(parsed)) {
        return false;
    }
    day = parsed;
    return true;
}

std::vector<int64_t> DaysToThin(const std::vector<int64_t>& days, int64_t today) {
    std::vector<int64_t> sorted(days);
    std::sort(sorted.begin(), sorted.end());
    const int64_t oldestKept = YearsBefore(today, kMonthlyYears);
    std::vector<int64_t> removed;
    std::pair<int, int> keptMonth(0, 0);
    for (const int64_t number : sorted) {
        if (today - number < kDailyDays) {
            continue; // daily, or after today
        }
        if (number < oldestKept) {
            removed.push_back(number);
            continue;
        }
        const CalendarDay day = DayFromNumber(number);
        const std::pair<int, int> month(day.year, day.month);
        if (month == keptMonth) {
            removed.push_back(number);
        } else {
            keptMonth = month;
        }
    }
    return removed;
}

} // namespace history
