// The posting action of the auto-refresh worker and the platform's message sink.
#include "worker/message_posting_worker.h"

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

MessagePostingWorker::~MessagePostingWorker() {
    // Before this part is gone: the thread calls OnTick, which reads the fields below.
    Shutdown();
}

PeriodicWorker::Result MessagePostingWorker::StartPosting(platform::WindowHandle target,
                                                          uint32_t message, bool fireNow,
                                                          intptr_t parameter) {
    if (GetState() == Idle) {
        m_hTarget = target;
        m_nMessage = message;
        m_nParameter = parameter;
    }
    return Start(fireNow);
}

bool MessagePostingWorker::OnTick() {
    m_pSink->Post(m_hTarget, m_nMessage, 0, m_nParameter);
    return true;
}

} // namespace worker
