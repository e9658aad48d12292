// One thread per day at most: the JSON of ten thousand folders takes a few
// milliseconds to make and one write to file, never on the user-interface thread.
#include "history/daily_writer.h"

#include "diag/trace.h"
#include "history/history_store.h"

namespace history {

bool DailyHistoryWriter::AfterScan(const SharedScanResult& result, const HistoryPlace& place,
                                   const CalendarDay& today, const std::string& scanTime) {
    if (!result || IsOff() || result->request.mailboxDir.empty()) {
        return false;
    }
    if (place.root.empty()) {
        Trace("[Verlauf] WARNUNG: Kein Ort f\xFCr den Verlauf; ohne Verlauf bis zum Ende "
              "dieses Programmlaufs.\n");
        m_bOff = true;
        return false;
    }
    const int64_t day = DayNumber(today);
    if (m_bFiledAny && day == m_nLastDay &&
        SameMailbox(m_strLastMailbox, result->request.mailboxDir)) {
        return false;
    }
    if (m_job.IsRunning()) {
        return false;
    }
    Wait(); // a thread that has ended is joined before the next starts
    m_result = result;
    m_place = place;
    m_day = today;
    m_strScanTime = scanTime;
    if (!m_job.Start([this] { return Write(); }, worker::Job::IfNoThread::kFail)) {
        m_result.reset();
        return false;
    }
    m_strLastMailbox = result->request.mailboxDir;
    m_nLastDay = day;
    m_bFiledAny = true;
    return true;
}

void DailyHistoryWriter::Wait() {
    m_job.Wait();
    m_result.reset();
}

bool DailyHistoryWriter::Write() {
    const ScanResult& scan = *m_result;
    WriteOutcome outcome = WriteOutcome::kFailed;
    try {
        const MailboxHistory history(m_place.root, scan.request.mailboxDir, m_place.protectedDirs);
        outcome = history.WriteDay(
            m_day,
            HistoryJson(scan.catalogue, scan.request.mailboxDir,
                        scan.request.includeNewMail ? scan.request.newmailDir : "", m_strScanTime));
    } catch (...) {
        // Out of memory for the entry: as a write that failed, not one that was refused.
    }
    if (outcome == WriteOutcome::kFailed || outcome == WriteOutcome::kRefused) {
        Trace("[Verlauf] WARNUNG: Ohne Verlauf bis zum Ende dieses Programmlaufs.\n");
        m_bRefused = outcome == WriteOutcome::kRefused;
        m_bOff = true;
    }
    return m_bRefused.load();
}

} // namespace history
