// Job: one piece of work a window hands to a thread of its own (a scan, the overview's
// reading of every mailbox, the history's writing and reading, the automatic refresh's
// clock), so that the window paints and answers keys meanwhile. The window starts it,
// may cancel it, and takes its end on its own thread once the job's message arrives;
// only then is the thread joined, which by then waits at most for its return. A job
// still running when its owner goes is cancelled and waited for: no thread outlives
// what it works on.
#pragma once

#include "mailbox/scan_control.h"
#include "platform/thread.h"
#include "platform/window_message.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace worker {

// Where a job's messages go: the platform's window queues, or a recorder in tests.
// Called on the job's thread.
class MessageSink {
public:
    virtual platform::PostResult Post(platform::WindowHandle window, uint32_t message,
                                      uintptr_t wParam, intptr_t lParam) = 0;

protected:
    ~MessageSink() = default;
};

// The platform's sink: posts only to a window that still exists.
MessageSink& WindowMessageSink();

// Milliseconds that never go back; tests put a clock of their own in its place.
using Clock = uint64_t (*)();

class Job {
public:
    // Creates the job's thread; tests replace it to see a creation fail or to hold a
    // thread before it runs.
    using ThreadStarter = bool (*)(platform::Thread& thread, platform::ThreadFunction function,
                                   void* argument);
    // The work, on the job's thread; true when the window is to be told of its end.
    using Body = std::function<bool()>;
    // What Start does when no thread can be created.
    enum class IfNoThread { kRunHere, kFail };

    explicit Job(MessageSink& sink = WindowMessageSink()) : m_pSink(&sink) {}
    ~Job() { Stop(); }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    // Where Post and the end go, as (message, wParam, lParam); the end as (message, 0, 0).
    // Set while no thread runs: the thread reads them.
    void SetTarget(platform::WindowHandle window, uint32_t message) {
        m_hTarget = window;
        m_nMessage = message;
    }
    void SetThreadStarter(ThreadStarter starter) { m_pfnStartThread = starter; }

    // Starts `body` on a thread of its own once the thread of the job before has ended
    // (its owner cancels it first if it must not wait), with the control's mark and
    // counts at 0. Without a thread to spare, kRunHere runs the body here, so that it has
    // ended when this returns, and kFail runs nothing and returns false.
    bool Start(Body body, IfNoThread ifNoThread);
    // Cancels the running job: its body sees the control's mark. False when none runs.
    bool Cancel();
    // After the end's message: joins the ended job. False when none has ended, or its
    // end was taken already.
    bool TakeEnd();
    // Cancels and waits for the thread; the job is no longer busy afterwards.
    void Stop();
    // Waits for the thread's end without cancelling it.
    void Wait() { m_thread.Join(); }

    // Started, and its end not yet taken.
    bool IsBusy() const { return m_bActive; }
    // Started, and its body has not yet returned.
    bool IsRunning() const { return m_bActive && !m_bEnded.load(std::memory_order_acquire); }
    // The cancel mark and the counts the body shares with the window.
    ScanControl& Control() { return m_control; }
    const ScanControl& Control() const { return m_control; }

    // From the body: tells the window something without waiting for it.
    void Post(uintptr_t wParam) const { m_pSink->Post(m_hTarget, m_nMessage, wParam, 0); }

private:
    static unsigned ThreadMain(void* self);
    static bool StartPlatformThread(platform::Thread& thread, platform::ThreadFunction function,
                                    void* argument);
    void Run();

    MessageSink* m_pSink;
    platform::WindowHandle m_hTarget = nullptr;
    uint32_t m_nMessage = 0;
    ThreadStarter m_pfnStartThread = &StartPlatformThread;
    bool m_bActive = false; // the owner's thread only
    Body m_body;
    ScanControl m_control;
    std::atomic<bool> m_bEnded{false};
    platform::Thread m_thread;
};

} // namespace worker
