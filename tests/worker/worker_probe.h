// Helpers shared by the worker tests: a sink that records what a job posts and can hold
// the job's thread inside a post, a clock moved by hand, thread starters that fail,
// count or hold the new thread, waiting on another thread and counting the process's
// threads.
#pragma once

#include "worker/job.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace workertest {

using Clock = std::chrono::steady_clock;

struct SentMessage {
    platform::WindowHandle window;
    uint32_t message;
    uintptr_t wParam;
};

class RecordingSink : public worker::MessageSink {
public:
    explicit RecordingSink(platform::PostResult answer = platform::PostResult::Posted)
        : m_answer(answer) {}
    platform::PostResult Post(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                              intptr_t lParam) override;

    // The first post with `wParam` waits inside Post until Release.
    void HoldFirst(uintptr_t wParam);
    bool WaitUntilHolding();
    void Release();

    std::vector<SentMessage> Posts();
    size_t Count();
    size_t Count(uintptr_t wParam);
    bool WaitForPosts(size_t count);

private:
    const platform::PostResult m_answer;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<SentMessage> m_posts;
    bool m_bHold = false;
    uintptr_t m_nHoldKind = 0;
    bool m_bHolding = false;
    bool m_bReleased = false;
};

// A window handle that no window has; only the sink looks at it.
platform::WindowHandle FakeWindow();

// A clock that stands still until a test moves it.
extern std::atomic<uint64_t> g_now;
uint64_t FakeClock();

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

// Thread starters for SetThreadStarter: one that always fails, one that starts the
// thread and counts how often it was asked, and one whose thread waits while
// g_holdThreads is set before it runs what it was started for.
bool FailingStarter(platform::Thread&, platform::ThreadFunction, void*);
bool CountingStarter(platform::Thread& thread, platform::ThreadFunction function, void* argument);
bool HoldingStarter(platform::Thread& thread, platform::ThreadFunction function, void* argument);
extern std::atomic<int> g_startedThreads;
extern std::atomic<bool> g_holdThreads;

} // namespace workertest
