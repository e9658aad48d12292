// The entry a window compares its scans with, read on a thread of its own: a history of
// many, large or damaged entries never holds up the window, and Cancel stops the reading
// at its next piece of a file. One load at a time; its end is posted to the window, which
// takes the entry on its own thread. All members but the thread's body are called on the
// window's thread.
#pragma once

#include "history/daily_writer.h"
#include "history/history_store.h"
#include "worker/job.h"

#include <cstdint>
#include <string>

namespace history {

class ReferenceLoader {
public:
    ReferenceLoader() = default;
    ReferenceLoader(const ReferenceLoader&) = delete;
    ReferenceLoader& operator=(const ReferenceLoader&) = delete;

    // Where the end of each load is posted, as (message, 0, 0).
    void SetTarget(platform::WindowHandle window, uint32_t message) {
        m_job.SetTarget(window, message);
    }

    // Starts reading the entry of `mailboxDir`'s history in `place` for the day `asked`
    // (the newest on or before it); a load that runs is cancelled and waited for first. A
    // load whose thread cannot be started runs here and has ended when this returns.
    void Start(const HistoryPlace& place, const std::string& mailboxDir, const CalendarDay& asked);
    // Whether a load for the history folder `folder` and the day `asked` runs or waits to
    // be taken.
    bool IsLoading(const std::string& folder, const CalendarDay& asked) const;
    bool IsBusy() const { return m_job.IsBusy(); }
    // Stops the running load at its next piece of a file; false when none runs. A load
    // that has ended is no longer the one asked for either.
    bool Cancel();
    // Waits for the running load's end.
    void Wait() { m_job.Wait(); }

    struct Loaded {
        bool ended = false; // a load had ended and is now taken
        FindOutcome outcome = FindOutcome::kNone;
        std::string folder; // the history folder it read
        CalendarDay asked;
        CalendarDay used; // the entry's day when found
        report::EarlierReport entry;
    };
    // Takes the ended load, if there is one; called on the posted message.
    Loaded Take();

private:
    void RunHere();

    // What the thread reads, set before it starts, and what it leaves, read after the join.
    HistoryPlace m_place;
    std::string m_strMailboxDir;
    std::string m_strFolder;
    CalendarDay m_asked;
    Loaded m_loaded;
    worker::Job m_job; // last: its thread is gone before the fields above
};

} // namespace history
