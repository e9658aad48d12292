// PeriodicWorker: a thread that calls a virtual action at a fixed interval, started and
// stopped from the user-interface thread with bounded waits. It keeps time by sleeping
// in short steps, so a stop request is noticed within one step and an interval change
// takes effect at the next step without restarting the thread.
#pragma once

#include "platform/thread.h"

#include <atomic>
#include <cstdint>

namespace worker {

class PeriodicWorker {
public:
    enum State : int32_t { Idle = 0, Starting = 1, Running = 2, StopRequested = 3 };
    enum Result : int { Ok = 0, NoThread = 1, EndedWhileStarting = 2, TimedOut = 3 };

    static constexpr uint32_t kDefaultStep = 100;
    static constexpr uint32_t kDefaultInterval = 1000;
    static constexpr uint32_t kDefaultWaitCount = 10;
    static constexpr uint32_t kDefaultWaitPause = 100;

    // Creates the worker's thread; tests replace it to see a creation fail.
    using ThreadStarter = bool (*)(platform::Thread& thread, platform::ThreadFunction function,
                                   void* argument);

    PeriodicWorker() = default;
    PeriodicWorker(const PeriodicWorker&) = delete;
    PeriodicWorker& operator=(const PeriodicWorker&) = delete;

    // Sets the time between ticks; a running worker uses it from its next step on. The
    // step shrinks to a shorter interval and never grows back. With `fireNow` the next
    // tick is due at once. An interval of 0 means the default of 1000 ms, so the worker
    // never ticks without pause.
    void SetInterval(uint32_t milliseconds, bool fireNow);

    // Starts the thread unless the worker is not idle (then it changes nothing but the
    // fire-now mark and returns Ok). Waits up to waitCount pauses for the thread to run.
    // Ok: running (or was not idle); NoThread: no thread could be created (the worker is
    // idle again); EndedWhileStarting: the thread ended or was asked to stop before it
    // ran; TimedOut: still starting after all waits.
    [[nodiscard]] Result Start(bool fireNow);

    int32_t GetState() const { return m_nState.load(); }
    uint32_t GetStep() const { return m_nStep.load(); }
    uint32_t GetInterval() const { return m_nInterval.load(); }

    // For tests: how threads are created, and how long Start and Stop wait (count ×
    // pause in milliseconds; both are used only by the thread that calls them).
    void SetThreadStarter(ThreadStarter starter) { m_pfnStartThread = starter; }
    void SetWaits(uint32_t count, uint32_t pauseMilliseconds);

    // The virtual operations, in slot order.
protected:
    // The periodic action, on the worker thread; false ends the thread.
    virtual bool OnTick() = 0;
    // First thing on the worker thread; false ends the thread before it runs.
    virtual bool OnStart() { return true; }
    // Last thing on the worker thread when it ran.
    virtual void OnStop() {}
    // On the thread that called Stop, right after the stop request was made.
    virtual void OnStopRequest() {}

public:
    // Stops the worker. A subclass that overrides OnTick must call Shutdown in its own
    // destructor: once its part is destroyed the thread must not call into it any more.
    virtual ~PeriodicWorker();

    // Asks the thread to end and waits up to waitCount pauses for it. Ok: there was no
    // thread, or it has ended; TimedOut: it has not ended in time (the worker stays in
    // StopRequested until it does, and a later Stop waits for it again).
    [[nodiscard]] virtual Result Stop();

protected:
    // Stop, and if Stop gave up waiting, wait for the thread without a bound: the
    // object is about to go away and the thread must not outlive it.
    void Shutdown();

private:
    static unsigned ThreadMain(void* argument);
    static bool StartPlatformThread(platform::Thread& thread, platform::ThreadFunction function,
                                    void* argument);
    unsigned Run();
    void RunLoop();
    // Joins a thread that has already announced its end by making the worker idle.
    void ReleaseEndedThread();

    // The four words shared with the worker thread; each is one lock-free 32-bit value.
    std::atomic<int32_t> m_nState{Idle};
    std::atomic<uint32_t> m_nElapsed{0};
    std::atomic<uint32_t> m_nStep{kDefaultStep};
    std::atomic<uint32_t> m_nInterval{kDefaultInterval};
    static_assert(std::atomic<int32_t>::is_always_lock_free, "state must be lock-free");
    static_assert(std::atomic<uint32_t>::is_always_lock_free, "timing words must be lock-free");

    // Used only by the thread that calls Start and Stop.
    uint32_t m_nWaitCount = kDefaultWaitCount;
    uint32_t m_nWaitPause = kDefaultWaitPause;
    ThreadStarter m_pfnStartThread = StartPlatformThread;
    platform::Thread m_thread;
};

} // namespace worker
