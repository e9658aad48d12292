// The loader's thread: one MailboxHistory::Find with the loader's cancel mark, then the
// message. The next load starts only after the thread before it is joined, so the job
// and the result of one load are never shared with a second thread.
#include "history/reference_loader.h"

#include <utility>

namespace history {

ReferenceLoader::~ReferenceLoader() {
    Cancel();
    Wait();
}

void ReferenceLoader::SetTarget(platform::WindowHandle window, uint32_t message) {
    m_hTarget = window;
    m_nMessage = message;
}

void ReferenceLoader::Start(const HistoryPlace& place, const std::string& mailboxDir,
                            const CalendarDay& asked) {
    Cancel();
    Wait();
    m_place = place;
    m_strMailboxDir = mailboxDir;
    m_strFolder = MailboxHistory(place.root, mailboxDir).Folder();
    m_asked = asked;
    m_loaded = Loaded();
    m_bCancel.store(false);
    m_bEnded.store(false);
    m_bActive = true;
    if (!m_thread.Start(&ReferenceLoader::Run, this)) {
        RunHere();
    }
}

bool ReferenceLoader::IsLoading(const std::string& folder, const CalendarDay& asked) const {
    return m_bActive && !m_bCancel.load() && folder == m_strFolder &&
           DayNumber(asked) == DayNumber(m_asked);
}

bool ReferenceLoader::Cancel() {
    const bool running = m_bActive && !m_bEnded.load(std::memory_order_acquire);
    m_bCancel.store(true);
    return running;
}

ReferenceLoader::Loaded ReferenceLoader::Take() {
    if (!m_bActive || !m_bEnded.load(std::memory_order_acquire)) {
        return Loaded();
    }
    Wait();
    m_bActive = false;
    Loaded loaded = std::move(m_loaded);
    loaded.ended = true;
    m_loaded = Loaded();
    return loaded;
}

unsigned ReferenceLoader::Run(void* self) {
    static_cast<ReferenceLoader*>(self)->RunHere();
    return 0;
}

void ReferenceLoader::RunHere() {
    const MailboxHistory history(m_place.root, m_strMailboxDir, m_place.protectedDirs);
    std::string path;
    try {
        m_loaded.outcome = history.Find(m_asked, m_loaded.entry, m_loaded.used, path, &m_bCancel);
    } catch (...) {
        // Out of memory for the entry's rows: no entry to compare with.
        m_loaded.entry.Clear();
        m_loaded.outcome = FindOutcome::kNone;
    }
    m_loaded.folder = m_strFolder;
    m_loaded.asked = m_asked;
    m_bEnded.store(true, std::memory_order_release);
    // Last: once the window has the message it may join and start the next load.
    if (m_hTarget) {
        platform::PostMessageIfWindowExists(m_hTarget, m_nMessage, 0, 0);
    }
}

} // namespace history
