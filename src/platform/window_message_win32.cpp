// Windows: IsWindow before PostMessageA, so a handle whose window is gone gets nothing.
// The window may still vanish between the two calls; PostMessageA then fails, which
// is reported the same way the caller treats any lost request: it is simply not queued.
#include "platform/window_message.h"

#include <windows.h>

namespace platform {

PostResult PostMessageIfWindowExists(WindowHandle window, uint32_t message, uintptr_t wParam,
                                     intptr_t lParam) {
    HWND hwnd = static_cast<HWND>(window);
    if (hwnd == nullptr || !IsWindow(hwnd)) {
        return PostResult::NoWindow;
    }
    if (!PostMessageA(hwnd, message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam))) {
        return IsWindow(hwnd) ? PostResult::Failed : PostResult::NoWindow;
    }
    return PostResult::Posted;
}

} // namespace platform
