// AllUsersReader: the overview window's reading of every user's mailbox on a thread of
// its own. The thread plans the rows (reads "PMAIL.USR" and lists the root, which a
// list of any size can make long), reports the plan, then reads the users' folders
// side by side and reports each row once it is complete, by a message posted to the
// window, so the first users show before the last are read. The window takes the plan
// and the finished rows on its own thread; a row reported is never changed afterwards.
#pragma once

#include "mailbox/all_users_scan.h"
#include "worker/job.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace worker {

// What the window's status line shows of a running read.
struct AllUsersProgress {
    bool running = false;
    uint32_t mailboxesRead = 0;
    uint32_t mailboxesTotal = 0;
    uint32_t filesRead = 0;
};

class AllUsersReader {
public:
    // The second parameter of the posted message: what happened.
    static constexpr uintptr_t kEnded = 0;    // the read has ended; TakeEnd joins it
    static constexpr uintptr_t kRowsRead = 1; // rows are waiting in TakeReadRows
    static constexpr uintptr_t kPlanned = 2;  // the plan is made; TakePlan hands it over

    // What TakePlan hands over.
    enum class Plan { kNone, kPlanned, kNoList };

    explicit AllUsersReader(MessageSink& sink = WindowMessageSink()) : m_job(sink) {}
    AllUsersReader(const AllUsersReader&) = delete;
    AllUsersReader& operator=(const AllUsersReader&) = delete;

    // Where the reports go, as (message, kRowsRead, kPlanned or kEnded, 0).
    void SetTarget(platform::WindowHandle window, uint32_t message) {
        m_job.SetTarget(window, message);
    }
    // How many mailboxes are read at once; the control and the report are the reader's.
    void SetThreading(const AllUsersThreading& threading) { m_threading = threading; }

    // For tests: called on the reading thread after each row is reported, so a test
    // can hold the read between two users.
    void SetAfterRow(void (*hook)(void* context), void* context) {
        m_pfnAfterRow = hook;
        m_pAfterRowContext = context;
    }

    // Reads the planned rows of `result` (which the window shows meanwhile, touching
    // only what the plan wrote until a row is reported). A read still running is
    // stopped first. Without a thread to spare the rows are read here and have all been
    // reported when this returns.
    void Start(std::shared_ptr<AllUsersResult> result);
    // The same for `result` holding only the root: the rows are planned on the thread
    // first. The window must not look at `result` until TakePlan says it is planned.
    void PlanAndStart(std::shared_ptr<AllUsersResult> result);
    // Cancels a running read: it stops at the next folder file of every mailbox. False
    // when none ran.
    bool Cancel();
    // Cancels and waits for the thread; nothing is posted afterwards.
    void Stop() { m_job.Stop(); }
    // After kPlanned: kPlanned once the rows are planned, kNoList when the root holds
    // no "PMAIL.USR" or it cannot be read (the read then ends without a row); kNone
    // before, after a cancelled plan and once taken.
    Plan TakePlan();
    // The indexes of the rows completed since the last call, in the order they ended.
    std::vector<size_t> TakeReadRows();
    // After kEnded: joins the thread. True when the read had ended and was not taken
    // yet; `cancelled` says whether it was stopped before its last row.
    bool TakeEnd(bool& cancelled);

    // A read was started and its end is not taken yet.
    bool IsBusy() const { return m_job.IsBusy(); }
    AllUsersProgress GetProgress() const;

private:
    static void OnRowDone(size_t index, void* context);
    void Begin(std::shared_ptr<AllUsersResult> result, bool plan);
    void ReadHere();
    // Plans the rows on the reading thread; false when nothing is left to read.
    bool PlanHere();

    AllUsersThreading m_threading;
    void (*m_pfnAfterRow)(void* context) = nullptr;
    void* m_pAfterRowContext = nullptr;

    std::shared_ptr<AllUsersResult> m_pResult;
    std::string m_strRoot; // to plan; empty for rows planned already
    std::mutex m_mutex;    // guards m_plan and m_readRows
    Plan m_plan = Plan::kNone;
    std::vector<size_t> m_readRows;
    Job m_job; // last: its thread is gone before the fields above
};

} // namespace worker
