// A mailbox's history: the first scan of each day, kept as the report's own JSON in a
// folder of its own, so that "foldtally-report --compare" reads any entry as it is.
// The folders live with the user's settings (local application data, or beside
// foldtally.ini in a portable copy), never beside the mail. Every mailbox has one
// sub-folder, named from its path so that no path can reach outside the history.
#pragma once

#include "history/history_days.h"
#include "mailbox/folder_catalogue.h"
#include "platform/own_folder.h"
#include "report/earlier_report.h"

#include <atomic>
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

// The folders of a program at `modulePath` that no history may be or lie in: its help
// pages ("foldtally-hilfe") and, unless it is a portable copy, its own folder.
std::vector<std::string> ProgramFolders(const std::string& modulePath);

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

// Whether `file`, read from its start, begins as an entry of this program's history: a
// report whose members before its rows name the history format. Only a bounded head is
// read, so a large file costs no more than a small one.
bool HasHistoryMarker(platform::ReadOnlyFile& file);

// The search for an entry gives up, with a trace line, after passing over this many
// unusable entries, or after reading this many bytes of them: damaged entries of 64 MiB
// each must not keep the reader busy for minutes.
constexpr size_t kMaxPassedOverEntries = 32;
constexpr uint64_t kMaxPassedOverBytes = 128ull << 20;
// An entry dated later than today by more than this says nothing of a clock set back:
// it is passed over, and the day's entry is filed all the same.
constexpr int64_t kMaxClockBackDays = 366;

enum class WriteOutcome {
    kWritten,   // today's entry is there now, and older ones were thinned
    kHaveToday, // an entry of today was there: the first scan of the day counts
    kLaterDay,  // an entry of this mailbox after today was there: the clock went back
    kRefused,   // the folder is a link or lies in a protected folder; nothing written
    kFailed,    // the folder or the file could not be written
};

enum class FindOutcome { kFound, kNone, kRefused, kCancelled };

enum class ClearOutcome {
    kCleared,    // every entry is gone; files the history did not write stay
    kIncomplete, // an entry could not be removed
    kRefused,    // the folder is a link or lies in a protected folder; nothing removed
};

class MailboxHistory {
public:
    // `root` as HistoryRoot gives it; `mailboxDir` the full path of the mailbox. The
    // mailbox's folder and the history folder ("Verlauf") above it are never links, and
    // never are or lie in the mailbox, the root of the installation it belongs to (every
    // user's mailbox) or `protectedDirs` (the new-mail folder, the help folder and,
    // outside a portable copy, the program's folder), as the file system says what a
    // folder is; otherwise the history is refused and left untouched, with a trace line.
    MailboxHistory(const std::string& root, std::string mailboxDir,
                   std::vector<std::string> protectedDirs = {});

    // The mailbox's own folder, with a final separator.
    const std::string& Folder() const { return m_strFolder; }

    // The days that have an entry, by file name alone, ascending.
    std::vector<CalendarDay> Days() const;

    // Files `json` as the entry of `today` unless that day has one already or an entry
    // of this mailbox dated after it (within kMaxClockBackDays) shows the clock went
    // back, then removes the entries thinning no longer keeps.
    WriteOutcome WriteDay(const CalendarDay& today, std::string_view json) const;

    // The entry to compare with for `reference`: the newest day at or before it whose
    // file is an entry of this mailbox in a known format. Others are passed over with a
    // trace line, within the bounds above. False (`earlier` empty) when there is none.
    bool Load(const CalendarDay& reference, report::EarlierReport& earlier,
              CalendarDay& used) const;

    // As Load, with the path of the entry used; `cancel`, when given and set, stops the
    // reading at its next piece of a file.
    FindOutcome Find(const CalendarDay& reference, report::EarlierReport& earlier,
                     CalendarDay& used, std::string& path,
                     const std::atomic<bool>* cancel = nullptr) const;

    // Removes every entry the history wrote (its name and its marker) and then the
    // folder when nothing else is in it.
    ClearOutcome Clear() const;

private:
    std::string DayPath(const CalendarDay& day) const { return m_strFolder + DayFileName(day); }
    // Entries passed over so far by one search.
    struct PassedOver {
        size_t entries = 0;
        uint64_t bytes = 0;
        bool Exhausted() const;
    };
    enum class EntryRead { kUsable, kPassedOver, kCancelled };

    // The mailbox's folder below the root, opened with its days listed.
    struct OpenFolder;
    std::vector<std::string> Protected() const;
    // The days by file name, ascending; false when the folder cannot be read.
    static bool ListDays(const platform::OwnFolder& folder, std::vector<CalendarDay>& days);
    // Reads the entry of `day` into `earlier` when it is a usable one of this mailbox.
    EntryRead ReadEntry(const platform::OwnFolder& folder, const CalendarDay& day,
                        report::EarlierReport& earlier, PassedOver& passed,
                        const std::atomic<bool>* cancel) const;
    // The newest usable entry among `days` (ascending) from `newest` down to `oldest`.
    FindOutcome Search(const platform::OwnFolder& folder, const std::vector<CalendarDay>& days,
                       int64_t oldest, int64_t newest, report::EarlierReport& earlier,
                       CalendarDay& used, const std::atomic<bool>* cancel) const;
    void Thin(const platform::OwnFolder& folder, const CalendarDay& today) const;

    std::string m_strMailboxDir;
    std::string m_strBase;     // the folder above the history folder
    std::string m_strRootName; // the history folder, "Verlauf"
    std::string m_strName;     // the mailbox's folder in it
    std::string m_strFolder;
    std::vector<std::string> m_protectedDirs;
};

} // namespace history
