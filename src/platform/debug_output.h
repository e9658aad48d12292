// The debugger output channel: where trace lines go. On Windows every line goes to
// OutputDebugStringA; elsewhere there is no such channel and lines go nowhere. Tools
// and tests may additionally capture them.
#pragma once

namespace platform {

// Sends one finished line (or any text) to the channel, unchanged.
void DebugOutput(const char* text);

// Called with every text sent to the channel while set; null removes it. Set and
// removed on one thread while no other thread writes trace lines (tests, tools).
using DebugOutputHook = void (*)(const char* text, void* context);
void SetDebugOutputHook(DebugOutputHook hook, void* context);

} // namespace platform
