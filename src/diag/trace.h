// Diagnostic trace lines for the developer, never shown to the user. Formats follow one
// convention: "[place] ", "WARNUNG: " for problems, the text, a line feed.
#pragma once

#include <string>

// Formats printf-style, without a length limit, and writes the text unchanged to the
// debugger output channel. Every call writes exactly one output.
void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// printf-style formatting into a string of any length; the one place that sizes the
// buffer, so no caller can overrun one.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
