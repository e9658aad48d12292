// Threads and sleeping for the few places that work off the user-interface thread (the
// auto-refresh worker, the scan's helpers that read folder headers). A thread is always
// joined by its owner, never detached, so nothing it touches can be freed while it still
// runs.
#pragma once

#include "text/language.h"

#include <cstdint>

#ifndef _WIN32
#include <pthread.h>
#endif

namespace platform {

// What a thread runs; the result becomes the thread's exit code.
using ThreadFunction = unsigned (*)(void* argument);

// One thread of normal priority and default stack size, started at once. The owner
// waits for its end with Join; the destructor joins a thread that is still owned.
class Thread {
public:
    Thread() = default;
    ~Thread() { Join(); }
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts `function(argument)`, in the LanguageScope of the starting thread when it is
    // in one: the helpers of a scan name what failed in the scan's language. False when
    // the platform could not create the thread, or when this object still owns an
    // unjoined thread.
    bool Start(ThreadFunction function, void* argument);
    // True from a successful Start until Join.
    bool IsStarted() const { return m_bStarted; }
    // Waits until the thread has ended and releases it. Returns its exit code, 0 when
    // there was no thread.
    unsigned Join();

    // Runs the stored function; only the platform's entry point on the new thread calls it.
    static unsigned RunForPlatform(Thread* self);

private:
    // Creates the platform's thread, which calls RunForPlatform(this); false when it
    // could not be created.
    bool CreatePlatformThread();

    ThreadFunction m_pfnFunction = nullptr;
    void* m_pArgument = nullptr;
    int m_nScopeLanguage = language_detail::kNoScope;
    bool m_bStarted = false;
#ifdef _WIN32
    void* m_hThread = nullptr;
#else
    pthread_t m_thread{};
#endif
};

// The number of processors the machine offers to this process; at least 1.
unsigned ProcessorCount();

// Suspends the calling thread for about `milliseconds` (at least that long, unless the
// platform wakes it early, which callers tolerate).
void SleepMilliseconds(uint32_t milliseconds);

} // namespace platform
