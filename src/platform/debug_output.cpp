// The platform-independent half of the debugger channel: the capture hook and the
// mirror to standard error. The platform half is DebugOutputToPlatform.
#include "platform/debug_output.h"

#include <cstdio>

namespace platform {

void DebugOutputToPlatform(const char* text);

namespace {
DebugOutputHook g_hook = nullptr;
void* g_hookContext = nullptr;
bool g_toStderr = false;
} // namespace

void DebugOutput(const char* text) {
    DebugOutputToPlatform(text);
    if (g_toStderr) {
        std::fputs(text, stderr);
    }
    if (g_hook) {
        g_hook(text, g_hookContext);
    }
}

void SetDebugOutputHook(DebugOutputHook hook, void* context) {
    g_hook = hook;
    g_hookContext = context;
}

void SetDebugOutputToStderr(bool on) {
    g_toStderr = on;
}

} // namespace platform
