// The queue of at most one running and one waiting scan, and the scan's body.
#include "worker/scan_controller.h"

#include <utility>

namespace worker {

ScanController::Answer ScanController::Request(const ScanRequest& request, Cause cause) {
    if (m_bShutDown || (cause == Cause::kAutomatic && IsBusy())) {
        // The running or waiting scan answers an automatic request.
        return Answer::kDropped;
    }
    if (!m_job.IsBusy()) {
        Start(request, cause);
        return Answer::kStarted;
    }
    if (cause == Cause::kRestart) {
        // Even a scan that has just ended read the old view or settings.
        m_job.Control().Cancel();
        m_bDiscard = true;
    }
    m_pending = request;
    m_pendingCause = cause;
    return Answer::kWaiting;
}

bool ScanController::Cancel() {
    const bool waited = m_pending.has_value();
    m_pending.reset();
    return m_job.Cancel() || waited;
}

ScanController::Completion ScanController::TakeCompletion() {
    Completion completion;
    if (!m_job.TakeEnd()) {
        return completion;
    }
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
    } else if (m_pRefresh != nullptr) {
        m_pRefresh->Hold(false);
    }
    return completion;
}

ScanProgress ScanController::GetProgress() const {
    ScanProgress progress;
    progress.running = m_job.IsRunning();
    if (m_job.IsBusy()) {
        progress.filesRead = m_job.Control().filesRead.load(std::memory_order_relaxed);
        progress.filesTotal = m_job.Control().filesTotal.load(std::memory_order_relaxed);
        progress.elapsedMs = m_pfnClock() - m_nStartedAt;
    }
    return progress;
}

void ScanController::Shutdown() {
    m_bShutDown = true;
    m_pending.reset();
    m_job.Stop();
}

void ScanController::Start(const ScanRequest& request, Cause cause) {
    m_running = request;
    m_runningCause = cause;
    m_result.reset();
    m_bDiscard = false;
    m_nStartedAt = m_pfnClock();
    if (m_pRefresh != nullptr) {
        m_pRefresh->Hold(true);
    }
    // Without a thread to spare the window waits as it always did, but gets its rows.
    // Out of memory for the rows leaves no result: the window keeps what it shows.
    static_cast<void>(m_job.Start(
        [this] {
            ScanThreading threading = m_threading;
            threading.control = &m_job.Control();
            m_result = RunScan(m_running, threading);
            return true;
        },
        Job::IfNoThread::kRunHere));
}

} // namespace worker
