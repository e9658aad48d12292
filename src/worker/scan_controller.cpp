// The scan thread's body and the queue of at most one running and one waiting scan.
// The window's thread starts a scan only after the previous thread is joined, so the
// request, control and result of one scan are never shared with a second thread.
#include "worker/scan_controller.h"

#include <utility>

namespace worker {

ScanController::ScanController(MessageSink& sink, Clock clock)
    : m_pSink(&sink), m_pfnClock(clock) {}

ScanController::~ScanController() {
    Shutdown();
}

void ScanController::SetTarget(platform::WindowHandle window, uint32_t message) {
    m_hTarget = window;
    m_nMessage = message;
}

ScanController::Answer ScanController::Request(const ScanRequest& request, Cause cause) {
    if (m_bShutDown) {
        return Answer::kDropped;
    }
    if (cause == Cause::kAutomatic && (IsBusy() || AutomaticDelay() != 0)) {
        // The running or waiting scan answers it; and a scan that takes longer than the
        // interval must not be followed by the next one without pause.
        return Answer::kDropped;
    }
    if (!m_bActive) {
        Start(request, cause);
        return Answer::kStarted;
    }
    if (cause == Cause::kRestart) {
        // Even a scan that has just ended read the old view or settings.
        m_control.Cancel();
        m_bDiscard = true;
    }
    m_pending = request;
    m_pendingCause = cause;
    return Answer::kWaiting;
}

uint32_t ScanController::AutomaticDelay() const {
    if (!m_lastEnded) {
        return 0;
    }
    const uint64_t since = m_pfnClock() - *m_lastEnded;
    return since >= m_nAutomaticInterval ? 0 : static_cast<uint32_t>(m_nAutomaticInterval - since);
}

bool ScanController::Cancel() {
    const bool waited = m_pending.has_value();
    m_pending.reset();
    if (m_bActive && !m_bEnded.load(std::memory_order_acquire)) {
        m_control.Cancel();
        return true;
    }
    return waited;
}

ScanController::Completion ScanController::TakeCompletion() {
    Completion completion;
    if (!m_bActive || !m_bEnded.load(std::memory_order_acquire)) {
        return completion;
    }
    // The thread has posted as its last step: this waits at most for its return.
    m_thread.Join();
    m_bActive = false;
    m_lastEnded = m_pfnClock();
    completion.ended = true;
    if (!m_bDiscard) {
        completion.result = std::move(m_result);
    }
    m_result.reset();
    completion.cause = m_runningCause;
    if (m_pending && !m_bShutDown) {
        const ScanRequest next = std::move(*m_pending);
        m_pending.reset();
        Start(next, m_pendingCause);
    }
    return completion;
}

ScanProgress ScanController::GetProgress() const {
    ScanProgress progress;
    progress.running = m_bActive && !m_bEnded.load(std::memory_order_acquire);
    if (m_bActive) {
        progress.filesRead = m_control.filesRead.load(std::memory_order_relaxed);
        progress.filesTotal = m_control.filesTotal.load(std::memory_order_relaxed);
        progress.elapsedMs = m_pfnClock() - m_nStartedAt;
    }
    return progress;
}

void ScanController::Shutdown() {
    m_bShutDown = true;
    m_pending.reset();
    m_control.Cancel();
    m_thread.Join();
}

void ScanController::Start(const ScanRequest& request, Cause cause) {
    m_running = request;
    m_runningCause = cause;
    m_result.reset();
    m_bDiscard = false;
    m_control.cancelled.store(false);
    m_control.filesRead.store(0);
    m_control.filesTotal.store(0);
    m_bEnded.store(false);
    m_bActive = true;
    m_nStartedAt = m_pfnClock();
    if (!m_pfnStartThread(m_thread, &ThreadMain, this)) {
        // No thread to spare: the window waits as it always did, but gets its rows.
        RunScanHere();
    }
}

bool ScanController::StartPlatformThread(platform::Thread& thread,
                                         platform::ThreadFunction function, void* argument) {
    return thread.Start(function, argument);
}

unsigned ScanController::ThreadMain(void* argument) {
    static_cast<ScanController*>(argument)->RunScanHere();
    return 0;
}

void ScanController::RunScanHere() {
    ScanThreading threading = m_threading;
    threading.control = &m_control;
    SharedScanResult result;
    try {
        result = RunScan(m_running, threading);
    } catch (...) {
        // Out of memory for the rows: the window keeps what it shows.
        result.reset();
    }
    m_result = std::move(result);
    m_bEnded.store(true, std::memory_order_release);
    // Last: once the window has the message it may join and start the next scan.
    m_pSink->Post(m_hTarget, m_nMessage, 0, 0);
}

} // namespace worker
