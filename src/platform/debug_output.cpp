// The platform-independent half of the debugger channel: the capture hook. The
// platform half is DebugOutputToPlatform.
#include "platform/debug_output.h"

namespace platform {

void DebugOutputToPlatform(const char* text);

namespace {
DebugOutputHook g_hook = nullptr;
void* g_hookContext = nullptr;
} // namespace

void DebugOutput(const char* text) {
    DebugOutputToPlatform(text);
    if (g_hook) {
        g_hook(text, g_hookContext);
    }
}

void SetDebugOutputHook(DebugOutputHook hook, void* context) {
    g_hook = hook;
    g_hookContext = context;
}

} // namespace platform
