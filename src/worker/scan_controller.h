// ScanController: a window's scans, each on a thread of its own, so the window paints,
// scrolls and answers keys while thousands of folder files are read. At most one scan
// runs and at most one waits; the ended scan's result reaches the window once, by a
// message posted to it, and the window takes it on its own thread. All members are
// called on the window's thread; the scan thread touches only its request, its control
// and its result.
#pragma once

#include "mailbox/scan_result.h"
#include "platform/clock.h"
#include "worker/job.h"
#include "worker/periodic_worker.h"

#include <cstdint>
#include <optional>

namespace worker {

// What a window shows of the running scan.
struct ScanProgress {
    bool running = false;
    uint32_t filesRead = 0;
    uint32_t filesTotal = 0; // 0 while the directory is being listed
    uint64_t elapsedMs = 0;  // since the running scan started
};

class ScanController {
public:
    // Who asks: the user (a key, a menu, the start), a change of what the scan reads (a
    // view switch, new settings), or the automatic refresh.
    enum class Cause { kUser, kRestart, kAutomatic };
    enum class Answer { kStarted, kWaiting, kDropped };

    // What TakeCompletion hands over.
    struct Completion {
        bool ended = false;      // a scan had ended and is now taken
        SharedScanResult result; // null when it was cancelled
        Cause cause = Cause::kUser;
    };

    explicit ScanController(MessageSink& sink = WindowMessageSink(),
                            Clock clock = &platform::MonotonicMilliseconds)
        : m_pfnClock(clock), m_job(sink) {}
    ScanController(const ScanController&) = delete;
    ScanController& operator=(const ScanController&) = delete;

    // Where the end of each scan is posted, as (message, 0, 0).
    void SetTarget(platform::WindowHandle window, uint32_t message) {
        m_job.SetTarget(window, message);
    }
    // How the scans spread their reading; the control is always the controller's own.
    void SetThreading(const ScanThreading& threading) { m_threading = threading; }
    // For tests: how the scan's thread is created.
    void SetThreadStarter(Job::ThreadStarter starter) { m_job.SetThreadStarter(starter); }
    // The automatic refresh's clock, held from the start of a scan until the last one
    // is taken, so that its interval counts from the end of the last scan.
    void SetAutomaticRefresh(PeriodicWorker* refresh) { m_pRefresh = refresh; }

    // Asks for a scan of `request`. With nothing running it starts at once. While one
    // runs, a user's request waits (replacing one that waited), a restart cancels the
    // running scan and waits, and an automatic request is dropped. A scan whose thread
    // cannot be started runs on the calling thread and has ended when this returns.
    Answer Request(const ScanRequest& request, Cause cause);

    // Cancels the running scan and drops the waiting one; false when there was neither.
    bool Cancel();
    // Takes the ended scan, if there is one, and starts the one that waited. Called on
    // the posted message; a second call for the same scan finds nothing.
    Completion TakeCompletion();

    ScanProgress GetProgress() const;
    // A scan runs (or has ended and not been taken) or waits.
    bool IsBusy() const { return m_job.IsBusy() || m_pending.has_value(); }

    // Cancels, drops the waiting scan and waits for the running one, which stops at its
    // next file; no scan starts afterwards.
    void Shutdown();

private:
    void Start(const ScanRequest& request, Cause cause);

    Clock m_pfnClock;
    ScanThreading m_threading;
    PeriodicWorker* m_pRefresh = nullptr;

    // The window's thread only.
    bool m_bShutDown = false;
    bool m_bDiscard = false; // the running scan reads what is no longer asked for
    std::optional<ScanRequest> m_pending;
    Cause m_pendingCause = Cause::kUser;
    Cause m_runningCause = Cause::kUser;
    uint64_t m_nStartedAt = 0;

    // Read by the scan's thread, and its result, written before it ends.
    ScanRequest m_running;
    SharedScanResult m_result;
    Job m_job; // last: its thread is gone before the fields above
};

} // namespace worker
