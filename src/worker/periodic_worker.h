// PeriodicWorker: the automatic refresh's one clock. A thread of its own posts the
// window's refresh request once its interval has passed since the last scan ended: the
// scans hold it while they run, so a slow share is not read without pause, and the
// window needs no timer of its own. It looks at the clock in short steps, so a stop is
// noticed within one step and a new interval counts from the next. Started and stopped
// from the window's thread with bounded waits: a thread that does not start or end in
// time is reported, not waited for.
#pragma once

#include "platform/clock.h"
#include "worker/job.h"

#include <atomic>
#include <cstdint>

namespace worker {

class PeriodicWorker {
public:
    enum State : int32_t { Idle = 0, Starting = 1, Running = 2, StopRequested = 3 };
    enum Result : int { Ok, NoThread, TimedOut };

    static constexpr uint32_t kStep = 100;
    static constexpr uint32_t kDefaultInterval = 1000;

    explicit PeriodicWorker(MessageSink& sink = WindowMessageSink(),
                            Clock clock = &platform::MonotonicMilliseconds)
        : m_pfnClock(clock), m_job(sink) {}

    // The time between requests, from the next step on. 0 means the default of 1000 ms,
    // so the worker never posts without pause.
    void SetInterval(uint32_t milliseconds);
    uint32_t GetInterval() const { return m_nInterval.load(); }
    // While held (a scan runs) nothing is posted; released, the next request is due one
    // interval later.
    void Hold(bool held);

    // Starts the thread that posts (message, 0, 0) to `window`, unless the worker is not
    // idle (then it changes nothing and returns Ok); the first request is due one
    // interval later. Waits up to waitCount pauses for the thread to run. Ok: running;
    // NoThread: no thread could be created (the worker is idle again); TimedOut: still
    // starting after all waits.
    [[nodiscard]] Result Start(platform::WindowHandle window, uint32_t message);
    // Asks the thread to end and waits up to waitCount pauses for it. Ok: there was no
    // thread, or it has ended; TimedOut: it has not ended in time (the worker stays in
    // StopRequested until it does, and a later Stop waits for it again).
    [[nodiscard]] Result Stop();
    // StopRequested from a Stop until the thread has ended.
    int32_t GetState() const;

    // For tests: how the thread is created, and how long Start and Stop wait (count ×
    // pause in milliseconds).
    void SetThreadStarter(Job::ThreadStarter starter) { m_job.SetThreadStarter(starter); }
    void SetWaits(uint32_t count, uint32_t pauseMilliseconds);

private:
    void Loop();
    // Pauses while `busy()` holds, at most waitCount times.
    template <typename Busy> void WaitWhile(Busy busy) const;

    Clock m_pfnClock;
    // Shared with the thread; each a lock-free word.
    std::atomic<int32_t> m_nState{Idle};
    std::atomic<uint32_t> m_nInterval{kDefaultInterval};
    std::atomic<uint64_t> m_nFrom{0}; // the time the interval counts from
    std::atomic<bool> m_bHeld{false};
    static_assert(std::atomic<uint64_t>::is_always_lock_free, "the clock word must be lock-free");
    // The window's thread only.
    uint32_t m_nWaitCount = 10;
    uint32_t m_nWaitPause = 100;
    Job m_job; // last: its thread is gone before the words above
};

} // namespace worker
