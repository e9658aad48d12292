// The window's side of the history: after a finished scan, the first of the day for its
// mailbox is filed on a thread of its own, so the user never waits for the disk. A
// history that cannot be written is turned off for the rest of the run with one trace
// line; the window goes on as if there were none. One that is refused (a link, or in a
// protected folder) is turned off too, and the window is told so by a message.
#pragma once

#include "history/history_days.h"
#include "mailbox/scan_result.h"
#include "worker/job.h"

#include <atomic>
#include <string>
#include <vector>

namespace history {

// Where a scan's entry goes: the history root (HistoryRoot) and the folders nothing may
// be written into.
struct HistoryPlace {
    std::string root;
    std::vector<std::string> protectedDirs;
};

class DailyHistoryWriter {
public:
    DailyHistoryWriter() = default;
    DailyHistoryWriter(const DailyHistoryWriter&) = delete;
    DailyHistoryWriter& operator=(const DailyHistoryWriter&) = delete;

    // Where a refused history is told, as (message, 0, 0), from the writer's thread.
    void SetTarget(platform::WindowHandle window, uint32_t message) {
        m_job.SetTarget(window, message);
    }

    // After a finished scan: when this run has not yet filed `today` for the scan's
    // mailbox, starts writing its entry (stamped `scanTime`, ISO 8601) on a thread and
    // returns true. False when it was filed already, when the history is off, and while
    // an earlier write still runs (that scan is then the day's first). A place without
    // a root (none known, or not to be written) turns the history off.
    bool AfterScan(const SharedScanResult& result, const HistoryPlace& place,
                   const CalendarDay& today, const std::string& scanTime);

    // Waits for a write that runs.
    void Wait();

    // Whether a write failed or was refused, which turns the history off for the run.
    bool IsOff() const { return m_bOff.load(); }
    // Whether it was refused.
    bool IsRefused() const { return m_bRefused.load(); }

private:
    // Writes the entry on the writer's thread; true when it was refused.
    bool Write();

    std::atomic<bool> m_bOff{false};
    std::atomic<bool> m_bRefused{false};
    // What the thread works on; set before it starts, read only by it until it ends.
    SharedScanResult m_result;
    HistoryPlace m_place;
    CalendarDay m_day;
    std::string m_strScanTime;
    // What this run has filed: the mailbox and the day of the last entry started.
    std::string m_strLastMailbox;
    int64_t m_nLastDay = 0;
    bool m_bFiledAny = false;
    worker::Job m_job; // last: its thread is gone before the fields above
};

} // namespace history
