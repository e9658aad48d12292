// The worker thread's loop and the bounded start and stop of PeriodicWorker. Every
// word both threads touch is a single atomic; the user-interface thread only ever
// polls, it never blocks on the worker (except in Shutdown, where it must).
#include "worker/periodic_worker.h"

#include <limits>

namespace worker {

namespace {
constexpr unsigned kExitNormal = 0;
constexpr unsigned kExitNotStarted = 255;
} // namespace

PeriodicWorker::~PeriodicWorker() {
    Shutdown();
}

void PeriodicWorker::SetInterval(uint32_t milliseconds, bool fireNow) {
    // A zero interval would tick at every step without pause: take the default instead.
    const uint32_t interval = milliseconds != 0 ? milliseconds : kDefaultInterval;
    m_nInterval.store(interval);
    if (interval < m_nStep.load()) {
        m_nStep.store(interval);
    }
    if (fireNow) {
        m_nElapsed.store(interval);
    }
}

void PeriodicWorker::SetWaits(uint32_t count, uint32_t pauseMilliseconds) {
    m_nWaitCount = count;
    m_nWaitPause = pauseMilliseconds != 0 ? pauseMilliseconds : 1;
}

PeriodicWorker::Result PeriodicWorker::Start(bool fireNow) {
    if (fireNow) {
        m_nElapsed.store(m_nInterval.load());
    }
    ReleaseEndedThread();
    int32_t expected = Idle;
    if (!m_nState.compare_exchange_strong(expected, Starting)) {
        return Ok;
    }
    if (!m_pfnStartThread(m_thread, ThreadMain, this)) {
        // Back to idle: a later Start may try again, and Stop has no thread to wait for.
        m_nState.store(Idle);
        return NoThread;
    }
    uint32_t waits = 0;
    while (m_nState.load() == Starting && waits < m_nWaitCount) {
        platform::SleepMilliseconds(m_nWaitPause);
        ++waits;
    }
    switch (m_nState.load()) {
    case Running:
        return Ok;
    case Starting:
        return TimedOut;
    default:
        return EndedWhileStarting;
    }
}

PeriodicWorker::Result PeriodicWorker::Stop() {
    int32_t state = m_nState.load();
    for (;;) {
        if (state == Idle) {
            ReleaseEndedThread();
            return Ok;
        }
        if (state == StopRequested) {
            // Asked before and not ended yet: wait for it again rather than report an
            // end that has not happened.
            break;
        }
        // Only from starting or running: the thread may make the worker idle meanwhile,
        // and a stop request must never be written over an ended worker.
        if (m_nState.compare_exchange_weak(state, StopRequested)) {
            OnStopRequest();
            break;
        }
    }
    uint32_t waits = 0;
    while (m_nState.load() != Idle && waits < m_nWaitCount) {
        platform::SleepMilliseconds(m_nWaitPause);
        ++waits;
    }
    if (m_nState.load() != Idle) {
        return TimedOut;
    }
    ReleaseEndedThread();
    return Ok;
}

void PeriodicWorker::Shutdown() {
    // Whether the thread ended in time or not, the join below waits for it.
    static_cast<void>(Stop());
    m_thread.Join();
}

void PeriodicWorker::ReleaseEndedThread() {
    // The thread makes the worker idle as its very last access to it, so joining now
    // waits at most for its return.
    if (m_thread.IsStarted() && m_nState.load() == Idle) {
        m_thread.Join();
    }
}

bool PeriodicWorker::StartPlatformThread(platform::Thread& thread,
                                         platform::ThreadFunction function, void* argument) {
    return thread.Start(function, argument);
}

unsigned PeriodicWorker::ThreadMain(void* argument) {
    PeriodicWorker* self = static_cast<PeriodicWorker*>(argument);
    try {
        return self->Run();
    } catch (...) {
        // Nothing may unwind out of the thread; the worker just ends.
        self->m_nState.store(Idle);
        return kExitNotStarted;
    }
}

unsigned PeriodicWorker::Run() {
    if (!OnStart()) {
        m_nState.store(Idle);
        return kExitNotStarted;
    }
    // A Stop that came while we were starting stays in force: never overwrite it.
    int32_t expected = Starting;
    if (m_nState.compare_exchange_strong(expected, Running)) {
        RunLoop();
    }
    OnStop();
    m_nState.store(Idle);
    return kExitNormal;
}

void PeriodicWorker::RunLoop() {
    do {
        if (m_nElapsed.load() >= m_nInterval.load()) {
            m_nElapsed.store(0);
            if (!OnTick()) {
                m_nState.store(StopRequested);
            }
        }
        if (m_nState.load() == StopRequested) {
            break;
        }
        const uint32_t step = m_nStep.load();
        platform::SleepMilliseconds(step);
        // Saturating, so a fire-now mark set during the sleep cannot wrap to a small value.
        uint32_t elapsed = m_nElapsed.load();
        uint32_t next;
        do {
            next = elapsed > std::numeric_limits<uint32_t>::max() - step
                       ? std::numeric_limits<uint32_t>::max()
                       : elapsed + step;
        } while (!m_nElapsed.compare_exchange_weak(elapsed, next));
    } while (m_nState.load() != StopRequested);
}

} // namespace worker
