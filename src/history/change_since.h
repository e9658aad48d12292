// The change since a day the user picks: which day "seit gestern", "seit einer Woche",
// "seit einem Monat" or a chosen day of the history mean, how that choice is stored, and
// each folder file's and each tree branch's change against the entry of that day, with
// new and removed files as the report's --compare shows them.
#pragma once

#include "history/history_days.h"
#include "mailbox/folder_record.h"
#include "report/earlier_report.h"
#include "view/folder_rows.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SettingsStore;

namespace history {

enum class ChangeSince { kYesterday, kWeek, kMonth, kDay };

struct ChangeReference {
    ChangeSince since = ChangeSince::kWeek;
    CalendarDay day; // for kDay only
};

// The stored forms: "1", "7", "30" (days back) and a day as "2026-12-01".
std::string EncodeChangeReference(const ChangeReference& reference);
// False, `reference` untouched, for any other text.
bool DecodeChangeReference(std::string_view text, ChangeReference& reference);

// The choice as the store keeps it under stored_names::kChangeSince (the store open on the main
// window's section). False, `reference` as it was, for a missing or unknown value.
bool LoadChangeReference(SettingsStore& store, ChangeReference& reference);
[[nodiscard]] bool SaveChangeReference(SettingsStore& store, const ChangeReference& reference);

// The day whose entry the change is measured against: 1, 7 or 30 days before `today`,
// or the chosen day.
CalendarDay ReferenceDay(const ChangeReference& reference, const CalendarDay& today);

// The choice as the window names it: "seit gestern", "seit einer Woche", "seit einem
// Monat", "seit 01.12.2026".
std::string ChangeReferenceText(const ChangeReference& reference);

// The value of --since: "7d" (any number of days from 1 to 36500 and a 'd'), or a day
// as ParseDay takes it. False with the German reason in `error` otherwise.
bool ParseSince(std::string_view text, const CalendarDay& today, CalendarDay& day,
                std::string& error);

// The folder files of one scan against the entry of a day: a change per current row,
// the files gone since, and the change of the whole.
class FolderChanges {
public:
    // `rows` must outlive the object's use of them; `earlier` is read only here.
    void Compare(const std::vector<FolderRecord>& rows, uint64_t total,
                 const report::EarlierReport& earlier);
    void Clear();

    // Whether a comparison is held.
    bool HasReference() const { return m_bCompared; }
    // The change of row `row` of the rows compared: kChanged or kNew.
    const RowChange& ChangeOf(size_t row) const { return m_compared.changes[row]; }
    // The files of the entry that the scan no longer has, each with its change (kRemoved).
    size_t RemovedCount() const { return m_removed.size(); }
    const FolderRecord& Removed(size_t i) const { return m_removed[i]; }
    const RowChange& RemovedChange(size_t i) const {
        return m_compared.changes[m_nCurrentRows + i];
    }
    ByteChange TotalChange() const { return m_compared.totalChange; }

    // The comparison as the lists take it, with the sum of its rows' changes; empty
    // without one.
    view::FolderChangeSet ChangeSet() const;

private:
    report::ComparedRows m_compared;
    std::vector<FolderRecord> m_removed; // the earlier report is not kept: its rows are
    size_t m_nCurrentRows = 0;
    bool m_bCompared = false;
};

class MailboxHistory;

// The entry a window compares its scans with, read from the history once for as long
// as the day it stands for stays the same: an automatic refresh every few seconds reads
// no file, and the day after midnight reads the next one.
class ReferenceEntry {
public:
    // The entry of `history` for `reference` on `today` (the newest on or before its
    // day); null when the history has none. `used` is then its day.
    const report::EarlierReport* Get(const MailboxHistory& history,
                                     const ChangeReference& reference, const CalendarDay& today,
                                     CalendarDay& used);
    // The next Get reads the history again: it was cleared or written to.
    void Forget() { m_bRead = false; }
    // Whether Get would answer from what it holds, without reading the history.
    bool Holds(const MailboxHistory& history, const ChangeReference& reference,
               const CalendarDay& today) const;
    // Holds `entry` (when `found`; else none) as what the history of `folder` gives for
    // the day `asked`, read elsewhere: a window reads it on a thread of its own.
    void Put(const std::string& folder, const CalendarDay& asked, bool found,
             report::EarlierReport entry, const CalendarDay& used);

private:
    bool m_bRead = false;
    bool m_bFound = false;
    std::string m_strFolder; // the history's folder the entry was read from
    CalendarDay m_asked;
    CalendarDay m_used;
    report::EarlierReport m_entry;
};

// The change a window shows: `rows` (total `total`) against the entry `entry` gives for
// `history`, `reference` and `today`. False, `changes` cleared, when the history has
// none; else `used` is the entry's day.
bool CompareWithHistory(ReferenceEntry& entry, const MailboxHistory& history,
                        const ChangeReference& reference, const CalendarDay& today,
                        const std::vector<FolderRecord>& rows, uint64_t total,
                        FolderChanges& changes, CalendarDay& used);

} // namespace history
