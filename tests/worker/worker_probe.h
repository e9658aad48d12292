// A PeriodicWorker for tests that counts what its thread does and can be held inside
// OnStart or OnTick, plus small helpers for waiting on another thread and counting the
// process's threads. The probe outlives the worker, so a test can look at what
// happened after the worker is gone.
#pragma once

#include "worker/periodic_worker.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace workertest {

using Clock = std::chrono::steady_clock;

struct Probe {
    std::atomic<int> starts{0};
    std::atomic<int> ticks{0};
    std::atomic<int> stops{0};
    std::atomic<int> stopRequests{0};
    std::atomic<int32_t> stateAtStopRequest{-1};
    std::atomic<bool> startResult{true};
    std::atomic<bool> holdStart{false}; // OnStart waits while set
    std::atomic<bool> holdTick{false};  // OnTick waits while set
    std::atomic<int> lastTick{0};       // OnTick returns false at this tick (0: never)
    std::atomic<int> ticksReturned{0};

    std::vector<Clock::time_point> TickTimes();
    void RecordTick();

private:
    std::mutex m_mutex;
    std::vector<Clock::time_point> m_tickTimes;
};

class ProbeWorker : public worker::PeriodicWorker {
public:
    explicit ProbeWorker(Probe& probe) : m_probe(probe) {}
    ~ProbeWorker() override { Shutdown(); }

protected:
    bool OnTick() override;
    bool OnStart() override;
    void OnStop() override { ++m_probe.stops; }
    void OnStopRequest() override;

private:
    Probe& m_probe;
};

// Lets go of a held OnStart or OnTick when it goes out of scope, so that a failed
// assertion cannot leave a held thread for the worker's destructor to wait for forever.
// Declared after the worker, so it runs before the worker's destructor.
class ReleaseOnExit {
public:
    explicit ReleaseOnExit(Probe& probe) : m_probe(probe) {}
    ~ReleaseOnExit() {
        m_probe.holdStart = false;
        m_probe.holdTick = false;
    }
    ReleaseOnExit(const ReleaseOnExit&) = delete;
    ReleaseOnExit& operator=(const ReleaseOnExit&) = delete;

private:
    Probe& m_probe;
};

// Polls `condition` every few milliseconds until it holds or `timeoutMs` passed.
template <typename Condition> bool WaitUntil(Condition condition, int timeoutMs = 5000) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Threads of this process as the operating system sees them.
int CountProcessThreads();
// The same, after one thread has been started and joined, so that helper threads a
// runtime starts with the first thread of the process (ThreadSanitizer's) are counted.
int CountThreadsBeforeTest();

// Thread starters for PeriodicWorker::SetThreadStarter: one that always fails, and one
// that starts the thread and counts how often it was asked.
bool FailingStarter(platform::Thread&, platform::ThreadFunction, void*);
bool CountingStarter(platform::Thread& thread, platform::ThreadFunction function, void* argument);
extern std::atomic<int> g_startedThreads;

} // namespace workertest
