// --since resolved against the history; the entry found is read once more by the run,
// as any file given to --compare is.
#include "report_tool/report_since.h"

#include "diag/trace.h"
#include "history/change_since.h"
#include "history/history_store.h"
#include "platform/files.h"
#include "report/report_texts.h"
#include "sizes/date_text.h"
#include "text/language.h"

namespace report {

SinceOutcome ResolveSince(ReportOptions& options, const std::string& historyRoot,
                          const history::CalendarDay& today, std::string& error,
                          std::vector<std::string> protectedDirs) {
    if (options.since.empty()) {
        return SinceOutcome::kNotAsked;
    }
    history::CalendarDay reference;
    if (!history::ParseSince(options.since, today, reference, error)) {
        error = FormatText(Say(Phrase::kBadSince), options.since.c_str());
        return SinceOutcome::kBadValue;
    }
    if (!options.newmailDir.empty()) {
        protectedDirs.push_back(platform::FullPath(options.newmailDir));
    }
    const history::MailboxHistory store(historyRoot, platform::FullPath(options.mailboxDir),
                                        std::move(protectedDirs));
    EarlierReport earlier;
    history::CalendarDay used;
    std::string path;
    const history::FindOutcome found = historyRoot.empty()
                                           ? history::FindOutcome::kNone
                                           : store.Find(reference, earlier, used, path);
    if (found == history::FindOutcome::kRefused) {
        error = FormatText(Say(Phrase::kHistoryRefused), options.mailboxDir.c_str(),
                           store.Folder().c_str());
        return SinceOutcome::kRefused;
    }
    if (found != history::FindOutcome::kFound) {
        error = FormatText(Say(Phrase::kNoHistoryEntry), options.mailboxDir.c_str(),
                           DateText(reference.year, reference.month, reference.day).c_str());
        return SinceOutcome::kNoEntry;
    }
    options.compareFile = path;
    // The entry's own day, which may lie before the one asked for: that is the day the
    // change is measured from.
    options.sinceText = UserLanguage() == Language::English
                            ? "since " + DateText(used.year, used.month, used.day)
                            : history::ChangeReferenceText({history::ChangeSince::kDay, used});
    const std::string fileName = history::DayFileName(used);
    options.sinceDay = fileName.substr(0, fileName.find('.'));
    return SinceOutcome::kResolved;
}

} // namespace report
