// A mailbox's history: the first scan of each day, kept as the report's own JSON in a
// folder of its own, so that "foldtally-report --compare" reads any entry as it is.
// The folders live with the user's settings (local application data, or beside
// foldtally.ini in a portable copy), never beside the mail. Every mailbox has one
// sub-folder, named from its path so that no path can reach outside the history.
#pragma once

#include "history/history_days.h"
#include "mailbox/folder_catalogue.h"
#include "report/earlier_report.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace history {

// The format this program files its entries in; an entry of a later one is passed over.
constexpr uint64_t kHistoryFormat = 1;

// The folder of every mailbox's history, with a final separator: "Verlauf" beside the
// settings file in a portable copy (`programFolder`), else "Foldtally\Verlauf" in
// `localAppData`. Empty when that folder is unknown.
std::string HistoryRoot(const std::string& localAppData, const std::string& programFolder,
                        bool portable);

// The history folder of a program at `modulePath`: beside its foldtally.ini when that
// file is there (a portable copy), else in the user's local application data.
std::string HistoryRootForProgram(const std::string& modulePath);

// The sub-folder's name for `mailboxDir`: its last part in small letters, reduced to
// letters, digits, '-' and '_' (at most 32), a '-' and 16 hex digits of a hash of the whole path
// folded to one case, without a final separator. Spellings that differ only in case or in a final
// separator share it, as Windows treats them as one folder.
std::string MailboxFolderName(std::string_view mailboxDir);

// Whether two mailbox paths name the same folder by the rule of MailboxFolderName.
bool SameMailbox(std::string_view a, std::string_view b);

// The JSON an entry holds: the report of `catalogue` in the scan's order, marked with
// kHistoryFormat. Directories end with a separator; `newmailDir` empty without new mail.
std::string HistoryJson(const FolderCatalogue& catalogue, const std::string& mailboxDir,
                        const std::string& newmailDir, const std::string& scanTime);

enum class WriteOutcome {
    kWritten,   // today's entry is there now, and older ones were thinned
    kHaveToday, // an entry of today was there: the first scan of the day counts
    kLaterDay,  // an entry after today was there: the clock went back; nothing written
    kFailed,    // the folder or the file could not be written
};

class MailboxHistory {
public:
    // `root` as HistoryRoot gives it; `mailboxDir` the full path of the mailbox. No file
    // is ever written into `protectedDirs` (the mailbox, the new-mail folder and, outside
    // a portable copy, the program's folder) or below.
    MailboxHistory(const std::string& root, std::string mailboxDir,
                   std::vector<std::string> protectedDirs = {});

    // The mailbox's own folder, with a final separator.
    const std::string& Folder() const { return m_strFolder; }

    // The days that have an entry, by file name alone, ascending.
    std::vector<CalendarDay> Days() const;

    // Files `json` as the entry of `today` unless that day or a later one has one
    // already, then removes the days thinning no longer keeps.
    WriteOutcome WriteDay(const CalendarDay& today, std::string_view json) const;

    // The entry to compare with for `reference`: the newest day at or before it whose
    // file is an entry of this mailbox in a known format. Others are passed over with a
    // trace line. False (`earlier` empty) when there is none.
    bool Load(const CalendarDay& reference, report::EarlierReport& earlier,
              CalendarDay& used) const;

    // As Load, and the path of the entry used.
    bool Find(const CalendarDay& reference, report::EarlierReport& earlier, CalendarDay& used,
              std::string& path) const;

    // Removes every entry and then the folder; false when an entry stayed.
    bool Clear() const;

private:
    std::string DayPath(const CalendarDay& day) const { return m_strFolder + DayFileName(day); }
    // The days by file name, ascending; false when the folder cannot be read.
    bool ListDays(std::vector<CalendarDay>& days) const;
    void Thin(const CalendarDay& today) const;

    std::string m_strMailboxDir;
    std::string m_strFolder;
    std::vector<std::string> m_protectedDirs;
};

} // namespace history
