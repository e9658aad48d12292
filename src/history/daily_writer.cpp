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
    if (m_bRunning.load()) {
        return false;
    }
    Wait(); // a thread that has ended is joined before the next starts
    m_result = result;
    m_place = place;
    m_day = today;
    m_strScanTime = scanTime;
    m_bRunning = true;
    if (!m_thread.Start(&DailyHistoryWriter::Run, this)) {
        m_bRunning = false;
        m_result.reset();
        return false;
    }
    m_strLastMailbox = result->request.mailboxDir;
    m_nLastDay = day;
    m_bFiledAny = true;
    return true;
}

void DailyHistoryWriter::Wait() {
    m_thread.Join();
    m_result.reset();
}

unsigned DailyHistoryWriter::Run(void* argument) {
    auto* self = static_cast<DailyHistoryWriter*>(argument);
    const ScanResult& scan = *self->m_result;
    const MailboxHistory history(self->m_place.root, scan.request.mailboxDir,
                                 self->m_place.protectedDirs);
    const std::string json = HistoryJson(
        scan.catalogue, scan.request.mailboxDir,
        scan.request.includeNewMail ? scan.request.newmailDir : std::string(), self->m_strScanTime);
    const WriteOutcome outcome = history.WriteDay(self->m_day, json);
    if (outcome == WriteOutcome::kFailed || outcome == WriteOutcome::kRefused) {
        Trace("[Verlauf] WARNUNG: Ohne Verlauf bis zum Ende dieses Programmlaufs.\n");
        self->m_bRefused = outcome == WriteOutcome::kRefused;
        self->m_bOff = true;
    }
    self->m_bRunning = false;
    if (self->m_bRefused.load() && self->m_hTarget) {
        platform::PostMessageIfWindowExists(self->m_hTarget, self->m_nMessage, 0, 0);
    }
    return 0;
}

} // namespace history
