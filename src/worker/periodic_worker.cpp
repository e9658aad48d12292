// The clock's thread and the bounded start and stop. Every word both threads touch is a
// single atomic; the window's thread only ever polls, it never blocks on the thread but
// when the thread has announced its end.
#include "worker/periodic_worker.h"

#include <algorithm>

namespace worker {

void PeriodicWorker::SetInterval(uint32_t milliseconds) {
    m_nInterval.store(milliseconds != 0 ? milliseconds : kDefaultInterval);
}

void PeriodicWorker::Hold(bool held) {
    if (!held && m_bHeld.load()) {
        // Before the release: a thread that sees it released sees from when it counts.
        m_nFrom.store(m_pfnClock());
    }
    m_bHeld.store(held);
}

void PeriodicWorker::SetWaits(uint32_t count, uint32_t pauseMilliseconds) {
    m_nWaitCount = count;
    m_nWaitPause = pauseMilliseconds != 0 ? pauseMilliseconds : 1;
}

int32_t PeriodicWorker::GetState() const {
    const int32_t state = m_nState.load();
    return state != Idle && m_job.Control().IsCancelled() ? StopRequested : state;
}

template <typename Busy> void PeriodicWorker::WaitWhile(Busy busy) const {
    for (uint32_t waits = 0; busy() && waits < m_nWaitCount; ++waits) {
        platform::SleepMilliseconds(m_nWaitPause);
    }
}

PeriodicWorker::Result PeriodicWorker::Start(platform::WindowHandle window, uint32_t message) {
    int32_t expected = Idle;
    if (!m_nState.compare_exchange_strong(expected, Starting)) {
        return Ok;
    }
    m_job.Wait(); // an ended thread, which made the worker idle as its last step
    m_job.SetTarget(window, message);
    m_nFrom.store(m_pfnClock());
    const bool started = m_job.Start(
        [this] {
            // A stop that came while starting is the job's cancel mark: the loop ends at once.
            m_nState.store(Running);
            Loop();
            m_nState.store(Idle);
            return false;
        },
        Job::IfNoThread::kFail);
    if (!started) {
        // Back to idle: a later Start may try again, and Stop has no thread to wait for.
        m_nState.store(Idle);
        return NoThread;
    }
    WaitWhile([this] { return m_nState.load() == Starting; });
    return m_nState.load() == Starting ? TimedOut : Ok;
}

PeriodicWorker::Result PeriodicWorker::Stop() {
    static_cast<void>(m_job.Cancel());
    WaitWhile([this] { return m_nState.load() != Idle; });
    if (m_nState.load() != Idle) {
        return TimedOut;
    }
    m_job.Wait();
    return Ok;
}

void PeriodicWorker::Loop() {
    while (!m_job.Control().IsCancelled()) {
        const uint64_t now = m_pfnClock();
        const bool held = m_bHeld.load();
        uint64_t from = m_nFrom.load();
        // A release meanwhile moves `from`, perhaps past `now`: the exchange then fails.
        if (!held && from + m_nInterval.load() <= now &&
            m_nFrom.compare_exchange_strong(from, now)) {
            m_job.Post(0);
        }
        platform::SleepMilliseconds(std::min(kStep, m_nInterval.load()));
    }
}

} // namespace worker
