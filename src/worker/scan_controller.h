// ScanController: a window's scans, each on a thread of its own, so the window paints,
// scrolls and answers keys while thousands of folder files are read. At most one scan
// runs and at most one waits; the ended scan's result reaches the window once, by a
// message posted to it, and the window takes it on its own thread. All members are
// called on the window's thread; the scan thread touches only its request, its control
// and its result.
#pragma once

#include "mailbox/scan_result.h"
#include "platform/clock.h"
#include "platform/thread.h"
#include "platform/window_message.h"
#include "worker/message_posting_worker.h"

#include <atomic>
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

    using Clock = uint64_t (*)();
    using ThreadStarter = bool (*)(platform::Thread& thread, platform::ThreadFunction function,
                                   void* argument);

    explicit ScanController(MessageSink& sink = WindowMessageSink(),
                            Clock clock = &platform::MonotonicMilliseconds);
    ~ScanController();
    ScanController(const ScanController&) = delete;
    ScanController& operator=(const ScanController&) = delete;

    // Where the end of each scan is posted, as (message, 0, 0).
    void SetTarget(platform::WindowHandle window, uint32_t message);
    // How the scans spread their reading; the control is always the controller's own.
    void SetThreading(const ScanThreading& threading) { m_threading = threading; }
    // For tests: how the scan's thread is created.
    void SetThreadStarter(ThreadStarter starter) { m_pfnStartThread = starter; }
    // The time an automatic request waits after the end of the last scan.
    void SetAutomaticInterval(uint32_t milliseconds) { m_nAutomaticInterval = milliseconds; }

    // Asks for a scan of `request`. With nothing running it starts at once. While one
    // runs, a user's request waits (replacing one that waited), a restart cancels the
    // running scan and waits, and an automatic request is dropped, as it is before the
    // interval has passed since the last scan ended. A scan whose thread cannot be
    // started runs on the calling thread and has ended when this returns.
    Answer Request(const ScanRequest& request, Cause cause);
    // Milliseconds until an automatic request would be taken; 0 when it would be now.
    uint32_t AutomaticDelay() const;

    // Cancels the running scan and drops the waiting one; false when there was neither.
    bool Cancel();
    // Takes the ended scan, if there is one, and starts the one that waited. Called on
    // the posted message; a second call for the same scan finds nothing.
    Completion TakeCompletion();

    ScanProgress GetProgress() const;
    // A scan runs (or has ended and not been taken) or waits.
    bool IsBusy() const { return m_bActive || m_pending.has_value(); }

    // Cancels, drops the waiting scan and waits for the running one, which stops at its
    // next file; no scan starts afterwards.
    void Shutdown();

private:
    static unsigned ThreadMain(void* argument);
    static bool StartPlatformThread(platform::Thread& thread, platform::ThreadFunction function,
                                    void* argument);
    void Start(const ScanRequest& request, Cause cause);
    void RunScanHere();

    MessageSink* m_pSink;
    Clock m_pfnClock;
    ThreadStarter m_pfnStartThread = &StartPlatformThread;
    platform::WindowHandle m_hTarget = nullptr;
    uint32_t m_nMessage = 0;
    ScanThreading m_threading;
    uint32_t m_nAutomaticInterval = 0;

    // The window's thread only.
    bool m_bActive = false; // a scan was started and is not taken yet
    bool m_bShutDown = false;
    bool m_bDiscard = false; // the running scan reads what is no longer asked for
    std::optional<ScanRequest> m_pending;
    Cause m_pendingCause = Cause::kUser;
    Cause m_runningCause = Cause::kUser;
    uint64_t m_nStartedAt = 0;
    std::optional<uint64_t> m_lastEnded;

    // Written by the scan's thread before it ends, read after the join.
    ScanRequest m_running;
    SharedScanResult m_result;
    std::atomic<bool> m_bEnded{false};
    ScanControl m_control;
    platform::Thread m_thread;
};

} // namespace worker
