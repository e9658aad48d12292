// Threads on POSIX systems: pthreads, joined by the owner; sleeping by nanosleep.
#include "platform/thread.h"

#include <cerrno>
#include <cstdint>
#include <ctime>

#include <unistd.h>

namespace platform {

namespace {
void* Trampoline(void* argument) {
    Thread* thread = static_cast<Thread*>(argument);
    return reinterpret_cast<void*>(static_cast<uintptr_t>(Thread::RunForPlatform(thread)));
}
} // namespace

bool Thread::CreatePlatformThread() {
    return pthread_create(&m_thread, nullptr, Trampoline, this) == 0;
}

unsigned Thread::Join() {
    if (!m_bStarted) {
        return 0;
    }
    void* result = nullptr;
    pthread_join(m_thread, &result);
    m_bStarted = false;
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(result));
}

unsigned ProcessorCount() {
    const long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<unsigned>(count) : 1u;
}

void SleepMilliseconds(uint32_t milliseconds) {
    timespec remaining{static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1000000L};
    // A signal may cut the sleep short; sleep the rest so callers get the time they asked for.
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

} // namespace platform
