// Posting a message to a window from any thread. The auto-refresh worker holds only a
// window handle, which may outlive its window; it asks the platform whether the window
// still exists before it posts, and never waits for the window to handle the message.
#pragma once

#include <cstdint>

namespace platform {

// A window handle as the portable core sees it (an HWND on Windows); the core never
// looks inside it.
using WindowHandle = void*;

enum class PostResult {
    Posted,   // the message is in the window's queue
    NoWindow, // no such window (any more): nothing was posted
    Failed,   // the window exists but the message could not be queued
};

// Posts (message, wParam, lParam) to `window` without waiting if it still exists.
// Where there are no windows (POSIX builds) this posts nothing and says NoWindow.
PostResult PostMessageIfWindowExists(WindowHandle window, uint32_t message, uintptr_t wParam,
                                     intptr_t lParam);

} // namespace platform
