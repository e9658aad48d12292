// The reading thread of the overview. The plan and each finished row are marked under
// a lock before their message is posted, so the window that takes them sees them
// complete; the end is posted last, after which the thread touches nothing of the reader.
#include "worker/all_users_reader.h"

#include <utility>

namespace worker {

AllUsersReader::AllUsersReader(MessageSink& sink) : m_pSink(&sink) {}

AllUsersReader::~AllUsersReader() {
    Stop();
}

void AllUsersReader::SetTarget(platform::WindowHandle window, uint32_t message) {
    m_hTarget = window;
    m_nMessage = message;
}

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
    m_control.cancelled.store(false);
    m_control.filesRead.store(0);
    m_control.filesTotal.store(0);
    m_control.mailboxesRead.store(0);
    m_control.mailboxesTotal.store(0);
    m_bEnded.store(false);
    m_bActive = true;
    if (!m_thread.Start(&ThreadMain, this)) {
        ReadHere();
    }
}

bool AllUsersReader::Cancel() {
    if (!m_bActive || m_bEnded.load(std::memory_order_acquire)) {
        return false;
    }
    m_control.Cancel();
    return true;
}

void AllUsersReader::Stop() {
    m_control.Cancel();
    m_thread.Join();
    m_bActive = false;
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
    if (!m_bActive || !m_bEnded.load(std::memory_order_acquire)) {
        return false;
    }
    m_thread.Join();
    m_bActive = false;
    cancelled = m_control.IsCancelled();
    return true;
}

AllUsersProgress AllUsersReader::GetProgress() const {
    AllUsersProgress progress;
    progress.running = m_bActive && !m_bEnded.load(std::memory_order_acquire);
    if (m_bActive) {
        progress.mailboxesRead = m_control.mailboxesRead.load(std::memory_order_relaxed);
        progress.mailboxesTotal = m_control.mailboxesTotal.load(std::memory_order_relaxed);
        progress.filesRead = m_control.filesRead.load(std::memory_order_relaxed);
    }
    return progress;
}

unsigned AllUsersReader::ThreadMain(void* argument) {
    static_cast<AllUsersReader*>(argument)->ReadHere();
    return 0;
}

void AllUsersReader::OnRowDone(size_t index, void* context) {
    AllUsersReader* self = static_cast<AllUsersReader*>(context);
    {
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_readRows.push_back(index);
    }
    self->m_pSink->Post(self->m_hTarget, self->m_nMessage, kRowsRead, 0);
    if (self->m_pfnAfterRow != nullptr) {
        self->m_pfnAfterRow(self->m_pAfterRowContext);
    }
}

bool AllUsersReader::PlanHere() {
    const bool listed = PlanAllUsers(m_strRoot, *m_pResult, &m_control);
    if (m_control.IsCancelled()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_plan = listed ? Plan::kPlanned : Plan::kNoList;
    }
    m_pSink->Post(m_hTarget, m_nMessage, kPlanned, 0);
    return listed;
}

void AllUsersReader::ReadHere() {
    AllUsersThreading threading = m_threading;
    threading.control = &m_control;
    threading.rowDone = &OnRowDone;
    threading.rowDoneContext = this;
    try {
        if (m_strRoot.empty() || PlanHere()) {
            ScanPlannedUsers(*m_pResult, threading);
        }
    } catch (...) {
        // Out of memory for the plan or a mailbox's rows: what was reported so far
        // stays, the rest shows no figures, as after a cancel.
        m_control.Cancel();
    }
    m_bEnded.store(true, std::memory_order_release);
    m_pSink->Post(m_hTarget, m_nMessage, kEnded, 0);
}

} // namespace worker
