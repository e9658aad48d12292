// Trace output: formatting into a growable string, then the debugger channel or the
// calling thread's buffer.
#include "diag/trace.h"

#include "platform/debug_output.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

namespace {

// The innermost TraceBuffer of this thread, or null: each thread has its own, so a
// helper thread never touches the channel, its hook or another thread's lines.
thread_local std::vector<std::string>* t_pBuffer = nullptr;

std::string FormatV(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

} // namespace

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

void Trace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    if (t_pBuffer) {
        t_pBuffer->push_back(std::move(text));
        return;
    }
    platform::DebugOutput(text.c_str());
}

void TraceText(const std::string& text) {
    if (t_pBuffer) {
        t_pBuffer->push_back(text);
        return;
    }
    platform::DebugOutput(text.c_str());
}

TraceBuffer::TraceBuffer(std::vector<std::string>& lines) : m_pPrevious(t_pBuffer) {
    t_pBuffer = &lines;
}

TraceBuffer::~TraceBuffer() {
    t_pBuffer = m_pPrevious;
}
