// --since of foldtally-report: the value turned into the history entry that --compare
// then reads, as if its path had been given.
#pragma once

#include "history/history_days.h"
#include "report/report_options.h"

#include <string>
#include <vector>

namespace report {

enum class SinceOutcome {
    kNotAsked, // no --since: the options are as they were
    kResolved, // options.compareFile is the entry to compare with, options.sinceText
               // and sinceDay name its day
    kBadValue, // the value is no number of days and no day
    kNoEntry,  // the mailbox's history has no usable entry on or before that day
    kRefused,  // the history's folder is a link or lies in a protected folder
};

// Resolves options.since against the history of options.mailboxDir below `historyRoot`
// on `today`; for every outcome but kNotAsked and kResolved, `error` is the German reason
// (Windows-1252). The history is never read from the new-mail folder or `protectedDirs`
// (ProgramFolders).
SinceOutcome ResolveSince(ReportOptions& options, const std::string& historyRoot,
                          const history::CalendarDay& today, std::string& error,
                          std::vector<std::string> protectedDirs = {});

} // namespace report
