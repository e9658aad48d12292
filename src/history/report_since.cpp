// --since resolved against the history; the entry found is read once more by the run,
// as any file given to --compare is.
#include "history/report_since.h"

#include "diag/trace.h"
#include "history/change_since.h"
#include "history/history_store.h"
#include "platform/files.h"

namespace history {

SinceOutcome ResolveSince(report::ReportOptions& options, const std::string& historyRoot,
                          const CalendarDay& today, std::string& error) {
    if (options.since.empty()) {
        return SinceOutcome::kNotAsked;
    }
    CalendarDay reference;
    if (!ParseSince(options.since, today, reference, error)) {
        return SinceOutcome::kBadValue;
    }
    const MailboxHistory history(historyRoot, platform::FullPath(options.mailboxDir));
    report::EarlierReport earlier;
    CalendarDay used;
    std::string path;
    if (historyRoot.empty() || !history.Find(reference, earlier, used, path)) {
        error = FormatText("Der Verlauf des Postfachs \"%s\" hat keinen Eintrag vom %s oder "
                           "davor.",
                           options.mailboxDir.c_str(), GermanDay(reference).c_str());
        return SinceOutcome::kNoEntry;
    }
    options.compareFile = path;
    return SinceOutcome::kResolved;
}

} // namespace history
