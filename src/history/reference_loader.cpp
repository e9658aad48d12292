// The loader's thread: one MailboxHistory::Find with the job's cancel mark, then the
// job's message.
#include "history/reference_loader.h"

#include <utility>

namespace history {

void ReferenceLoader::Start(const HistoryPlace& place, const std::string& mailboxDir,
                            const CalendarDay& asked) {
    Cancel();
    Wait();
    m_place = place;
    m_strMailboxDir = mailboxDir;
    m_strFolder = MailboxHistory(place.root, mailboxDir).Folder();
    m_asked = asked;
    m_loaded = Loaded();
    static_cast<void>(m_job.Start(
        [this] {
            RunHere();
            return true;
        },
        worker::Job::IfNoThread::kRunHere));
}

bool ReferenceLoader::IsLoading(const std::string& folder, const CalendarDay& asked) const {
    return m_job.IsBusy() && !m_job.Control().IsCancelled() && folder == m_strFolder &&
           DayNumber(asked) == DayNumber(m_asked);
}

bool ReferenceLoader::Cancel() {
    const bool running = m_job.IsRunning();
    m_job.Control().Cancel();
    return running;
}

ReferenceLoader::Loaded ReferenceLoader::Take() {
    if (!m_job.TakeEnd()) {
        return Loaded();
    }
    Loaded loaded = std::move(m_loaded);
    loaded.ended = true;
    m_loaded = Loaded();
    return loaded;
}

void ReferenceLoader::RunHere() {
    const MailboxHistory history(m_place.root, m_strMailboxDir, m_place.protectedDirs);
    std::string path;
    try {
        m_loaded.outcome =
            history.Find(m_asked, m_loaded.entry, m_loaded.used, path, &m_job.Control().cancelled);
    } catch (...) {
        // Out of memory for the entry's rows: no entry to compare with.
        m_loaded.entry.Clear();
        m_loaded.outcome = FindOutcome::kNone;
    }
    m_loaded.folder = m_strFolder;
    m_loaded.asked = m_asked;
}

} // namespace history
