// Terminals on POSIX systems take UTF-8 as it comes: nothing to switch.
#include "platform/console.h"

#include <unistd.h>

namespace platform {
Utf8ConsoleScope::Utf8ConsoleScope() = default;
Utf8ConsoleScope::~Utf8ConsoleScope() = default;

bool IsTerminal(StandardStream stream) {
    return isatty(stream == StandardStream::kOutput ? STDOUT_FILENO : STDERR_FILENO) != 0;
}

void KeepLineEnds(StandardStream) {}
} // namespace platform
