// The part of a thread that is the same on every platform: what Start checks and keeps
// before the platform creates the thread, and the call the new thread makes.
#include "platform/thread.h"

namespace platform {

unsigned Thread::RunForPlatform(Thread* self) {
    return self->m_pfnFunction(self->m_pArgument);
}

bool Thread::Start(ThreadFunction function, void* argument) {
    if (m_bStarted || function == nullptr) {
        return false;
    }
    m_pfnFunction = function;
    m_pArgument = argument;
    if (!CreatePlatformThread()) {
        return false;
    }
    m_bStarted = true;
    return true;
}

} // namespace platform
