// POSIX builds have no windows: every post finds no window and posts nothing.
#include "platform/window_message.h"

namespace platform {

PostResult PostMessageIfWindowExists(WindowHandle, uint32_t, uintptr_t, intptr_t) {
    return PostResult::NoWindow;
}

} // namespace platform
