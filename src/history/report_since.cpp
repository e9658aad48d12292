// --since resolved against the history; the entry found is read once more by the run,
// as any file given to --compare is.
#include "history/report_since.h"

#include "diag/trace.h"
#include "history/change_since.h"
#include "history/history_store.h"
#include "platform/files.h"

namespace history {

SinceOutcome ResolveSince(report::ReportOptions& options, const std::string& historyRoot,
                          const CalendarDay& today, std::string& error,
                          std::vector<std::string> protectedDirs) {
    if (options.since.empty()) {
        return SinceOutcome::kNotAsked;
    }
    CalendarDay reference;
    if (!ParseSince(options.since, today, reference, error)) {
        return SinceOutcome::kBadValue;
    }
    if (!options.newmailDir.empty()) {
        protectedDirs.push_back(platform::FullPath(options.newmailDir));
    }
    const MailboxHistory history(historyRoot, platform::FullPath(options.mailboxDir),
                                 std::move(protectedDirs));
    report::EarlierReport earlier;
    CalendarDay used;
    std::string path;
    const FindOutcome found =
        historyRoot.empty() ? FindOutcome::kNone : history.Find(reference, earlier, used, path);
    if (found == FindOutcome::kRefused) {
        error = FormatText("Der Verlauf des Postfachs \"%s\" wird nicht gelesen: Sein Ordner "
                           "\"%s\" ist eine Verkn\xFCpfung oder liegt in einem Ordner, in den "
                           "das Programm nicht schreibt.",
                           options.mailboxDir.c_str(), history.Folder().c_str());
        return SinceOutcome::kRefused;
    }
    if (found != FindOutcome::kFound) {
        error = FormatText("Der Verlauf des Postfachs \"%s\" hat keinen Eintrag vom %s oder "
                           "davor.",
                           options.mailboxDir.c_str(), GermanDay(reference).c_str());
        return SinceOutcome::kNoEntry;
    }
    options.compareFile = path;
    return SinceOutcome::kResolved;
}

} // namespace history
