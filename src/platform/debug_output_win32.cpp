// Trace lines go to the debugger (DebugView, or WINEDEBUG=+debugstr under Wine).
#include <windows.h>

namespace platform {
void DebugOutputToPlatform(const char* text) {
    OutputDebugStringA(text);
}
} // namespace platform
