// MessagePostingWorker: the auto-refresh worker. At each interval it posts one message
// to a window, if that window still exists, and never touches the window otherwise; the
// window's own thread does the work the message asks for.
#pragma once

#include "platform/window_message.h"
#include "worker/periodic_worker.h"

#include <cstdint>

namespace worker {

// The main dialog's private refresh request (the first application message plus one),
// posted with both parameters 0.
constexpr uint32_t kRefreshRequestMessage = 0x0401;

// Where the worker's messages go: the platform's window queues, or a recorder in tests.
// Called on the worker thread.
class MessageSink {
public:
    virtual platform::PostResult Post(platform::WindowHandle window, uint32_t message,
                                      uintptr_t wParam, intptr_t lParam) = 0;

protected:
    ~MessageSink() = default;
};

// The platform's sink: posts only to a window that still exists.
MessageSink& WindowMessageSink();

class MessagePostingWorker : public PeriodicWorker {
public:
    MessagePostingWorker() : MessagePostingWorker(WindowMessageSink()) {}
    explicit MessagePostingWorker(MessageSink& sink) : m_pSink(&sink) {}
    ~MessagePostingWorker() override;

    // Stores the target window, the message and its second parameter, then Start. A
    // worker that is not idle keeps posting what it posted before: its thread reads
    // these values, so they change only while there is no thread.
    [[nodiscard]] Result StartPosting(platform::WindowHandle target, uint32_t message, bool fireNow,
                                      intptr_t parameter);

protected:
    // Posts (message, 0, parameter) if the target still exists; a window that is gone
    // gets nothing and the worker runs on until stopped.
    bool OnTick() override;

private:
    MessageSink* m_pSink;
    platform::WindowHandle m_hTarget = nullptr;
    uint32_t m_nMessage = 0;
    intptr_t m_nParameter = 0;
};

} // namespace worker
