// The reading thread of the overview. The plan and each finished row are marked under
// a lock before their message is posted, so the window that takes them sees them
// complete; the end is posted last, after which the thread touches nothing of the reader.
#include "worker/all_users_reader.h"

#include <utility>

namespace worker {

void AllUsersReader::Start(std::shared_ptr<AllUsersResult> result) {
    Begin(std::move(result), false);
}

void AllUsersReader::PlanAndStart(std::shared_ptr<AllUsersResult> result) {
    Begin(std::move(result), true);
}

void AllUsersReader::Begin(std::shared_ptr<AllUsersResult> result, bool plan) {
    Stop();
    m_pResult = std::move(result);
    m_strRoot = plan ? m_pResult->root : std::string();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_plan = Plan::kNone;
        m_readRows.clear();
    }
    // Out of memory for the plan or a mailbox's rows ends the read as cancelled: what was
    // reported so far stays, the rest shows no figures.
    static_cast<void>(m_job.Start(
        [this] {
            ReadHere();
            return true;
        },
        Job::IfNoThread::kRunHere));
}

bool AllUsersReader::Cancel() {
    return m_job.Cancel();
}

AllUsersReader::Plan AllUsersReader::TakePlan() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_plan, Plan::kNone);
}

std::vector<size_t> AllUsersReader::TakeReadRows() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_readRows, std::vector<size_t>());
}

bool AllUsersReader::TakeEnd(bool& cancelled) {
    cancelled = false;
    if (!m_job.TakeEnd()) {
        return false;
    }
    cancelled = m_job.Control().IsCancelled();
    return true;
}

AllUsersProgress AllUsersReader::GetProgress() const {
    AllUsersProgress progress;
    progress.running = m_job.IsRunning();
    if (m_job.IsBusy()) {
        const ScanControl& control = m_job.Control();
        progress.mailboxesRead = control.mailboxesRead.load(std::memory_order_relaxed);
        progress.mailboxesTotal = control.mailboxesTotal.load(std::memory_order_relaxed);
        progress.filesRead = control.filesRead.load(std::memory_order_relaxed);
    }
    return progress;
}

void AllUsersReader::OnRowDone(size_t index, void* context) {
    AllUsersReader* self = static_cast<AllUsersReader*>(context);
    {
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_readRows.push_back(index);
    }
    self->m_job.Post(kRowsRead);
    if (self->m_pfnAfterRow != nullptr) {
        self->m_pfnAfterRow(self->m_pAfterRowContext);
    }
}

bool AllUsersReader::PlanHere() {
    const bool listed = PlanAllUsers(m_strRoot, *m_pResult, &m_job.Control());
    if (m_job.Control().IsCancelled()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_plan = listed ? Plan::kPlanned : Plan::kNoList;
    }
    m_job.Post(kPlanned);
    return listed;
}

void AllUsersReader::ReadHere() {
    AllUsersThreading threading = m_threading;
    threading.control = &m_job.Control();
    threading.rowDone = &OnRowDone;
    threading.rowDoneContext = this;
    if (m_strRoot.empty() || PlanHere()) {
        ScanPlannedUsers(*m_pResult, threading);
    }
}

} // namespace worker
