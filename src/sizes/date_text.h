// The text of a file's last change: in the user's language for the windows ("09.12.2026
// 14:03", "2026-12-09 14:03"), ISO 8601 with the offset from UTC for the report's machine
// formats. Written by our own
// digits, never by a locale-dependent printf.
#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <string>

// "DD.MM.YYYY" and "YYYY-MM-DD" of a day of the calendar (month 1-12, day 1-31).
std::string GermanDate(int year, int month, int day);
std::string IsoDate(int year, int month, int day);

// "DD.MM.YYYY HH:MM".
std::string GermanDateTime(const platform::LocalDateTime& time);
// "YYYY-MM-DDTHH:MM:SS+HH:MM" ("Z" is never used: a reader sees the local hour).
std::string IsoDateTime(const platform::LocalDateTime& time);

// The same for a time in seconds since 1970-01-01 UTC, in the machine's local time;
// empty for 0 (unknown) or a time the platform cannot convert.
std::string GermanChangeText(int64_t unixSeconds);
std::string IsoChangeText(int64_t unixSeconds);

// What the user reads, as UserLanguage() says: German "09.12.2026" and
// "09.12.2026 14:03", English "2026-12-09" and "2026-12-09 14:03" (the order that reads
// the same in every English-speaking country).
std::string DateText(int year, int month, int day);
std::string DateTimeText(const platform::LocalDateTime& time);
std::string ChangeTimeText(int64_t unixSeconds);
