// Terminals on POSIX systems take UTF-8 as it comes: nothing to switch.
#include "platform/console.h"

namespace platform {
Utf8ConsoleScope::Utf8ConsoleScope() = default;
Utf8ConsoleScope::~Utf8ConsoleScope() = default;
} // namespace platform
