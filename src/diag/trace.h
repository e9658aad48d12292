// Diagnostic trace lines for the developer, never shown to the user. Formats follow one
// convention: "[place] ", "WARNUNG: " for problems, the text, a line feed.
#pragma once

#include <string>
#include <vector>

// Formats printf-style, without a length limit, and writes the text unchanged to the
// debugger output channel. Every call writes exactly one output.
void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Writes an already formatted text as one output, as Trace would have written it.
void TraceText(const std::string& text);

// While one lives, the trace output of the thread that made it is kept in `lines`, one
// string per output, instead of being written. The scan's helper threads keep each
// file's lines so that the scan can write them afterwards in the order one thread would
// have written them. Scopes nest on a thread; the innermost keeps the lines.
class TraceBuffer {
public:
    explicit TraceBuffer(std::vector<std::string>& lines);
    ~TraceBuffer();
    TraceBuffer(const TraceBuffer&) = delete;
    TraceBuffer& operator=(const TraceBuffer&) = delete;

private:
    std::vector<std::string>* m_pPrevious;
};

// printf-style formatting into a string of any length; the one place that sizes the
// buffer, so no caller can overrun one.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
