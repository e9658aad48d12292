// The job's thread and the platform's message sink. A job starts only after the thread
// before it is joined, so the body, the control and what the body leaves are never
// shared with a second thread.
#include "worker/job.h"

#include <utility>

namespace worker {

namespace {
class PlatformSink : public MessageSink {
public:
    platform::PostResult Post(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                              intptr_t lParam) override {
        return platform::PostMessageIfWindowExists(window, message, wParam, lParam);
    }
};
} // namespace

MessageSink& WindowMessageSink() {
    static PlatformSink sink;
    return sink;
}

bool Job::Start(Body body, IfNoThread ifNoThread) {
    m_thread.Join();
    m_body = std::move(body);
    m_control.cancelled.store(false);
    m_control.filesTotal.store(0);
    m_control.filesRead.store(0);
    m_control.helpers.store(0);
    m_control.mailboxesTotal.store(0);
    m_control.mailboxesRead.store(0);
    m_bEnded.store(false);
    m_bActive = true;
    if (m_pfnStartThread(m_thread, &ThreadMain, this)) {
        return true;
    }
    if (ifNoThread == IfNoThread::kRunHere) {
        Run();
        return true;
    }
    m_bActive = false;
    return false;
}

bool Job::Cancel() {
    if (!IsRunning()) {
        return false;
    }
    m_control.Cancel();
    return true;
}

bool Job::TakeEnd() {
    if (!m_bActive || !m_bEnded.load(std::memory_order_acquire)) {
        return false;
    }
    m_thread.Join();
    m_bActive = false;
    return true;
}

void Job::Stop() {
    static_cast<void>(Cancel());
    m_thread.Join();
    m_bActive = false;
}

bool Job::StartPlatformThread(platform::Thread& thread, platform::ThreadFunction function,
                              void* argument) {
    return thread.Start(function, argument);
}

unsigned Job::ThreadMain(void* self) {
    static_cast<Job*>(self)->Run();
    return 0;
}

void Job::Run() {
    bool tell = true;
    try {
        tell = m_body();
    } catch (...) {
        // Nothing may unwind out of the thread. Out of memory, as a rule: what the body
        // left so far stands, the rest counts as cancelled.
        m_control.Cancel();
    }
    m_bEnded.store(true, std::memory_order_release);
    // Last: once the window has the message it may join and start the next job.
    if (tell) {
        Post(0);
    }
}

} // namespace worker
