// The reference day and the changes against it; the matching of rows is the report's
// own (report::CompareRows), so the window and --compare never disagree.
#include "history/change_since.h"

#include "history/history_store.h"
#include "settings/settings_store.h"
#include "text/language.h"
#include "view/stored_values.h"

namespace history {

namespace {

bool AllDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

constexpr int64_t kMaxSinceDays = 36500;

// The choices that count back from today: how far, the stored text, the words in German
// and in English.
struct SinceBack {
    ChangeSince since;
    int64_t days;
    const char* stored;
    const char* german;
    const char* english;
};
constexpr SinceBack kSinceBack[] = {
    {ChangeSince::kYesterday, 1, "1", "seit gestern", "since yesterday"},
    {ChangeSince::kWeek, 7, "7", "seit einer Woche", "since a week ago"},
    {ChangeSince::kMonth, 30, "30", "seit einem Monat", "since a month ago"}};

// Null for a chosen day.
const SinceBack* BackOf(ChangeSince since) {
    for (const SinceBack& back : kSinceBack) {
        if (back.since == since) {
            return &back;
        }
    }
    return nullptr;
}

} // namespace

std::string EncodeChangeReference(const ChangeReference& reference) {
    const SinceBack* back = BackOf(reference.since);
    return back ? back->stored : DayFileName(reference.day).substr(0, 10);
}

bool DecodeChangeReference(std::string_view text, ChangeReference& reference) {
    for (const SinceBack& back : kSinceBack) {
        if (text == back.stored) {
            reference = ChangeReference{back.since, CalendarDay()};
            return true;
        }
    }
    CalendarDay day;
    if (text.size() == 10 && text[4] == '-' && ParseDay(text, day)) {
        reference = ChangeReference{ChangeSince::kDay, day};
        return true;
    }
    return false;
}

bool LoadChangeReference(SettingsStore& store, ChangeReference& reference) {
    return DecodeChangeReference(store.ReadString(stored_names::kChangeSince, std::string()),
                                 reference);
}

bool SaveChangeReference(SettingsStore& store, const ChangeReference& reference) {
    return store.WriteString(stored_names::kChangeSince, EncodeChangeReference(reference));
}

CalendarDay ReferenceDay(const ChangeReference& reference, const CalendarDay& today) {
    const SinceBack* back = BackOf(reference.since);
    return back ? DayFromNumber(DayNumber(today) - back->days) : reference.day;
}

std::string ChangeReferenceText(const ChangeReference& reference) {
    const SinceBack* back = BackOf(reference.since);
    const bool english = UserLanguage() == Language::English;
    if (back != nullptr) {
        return english ? back->english : back->german;
    }
    return (english ? "since " : "seit ") + DayText(reference.day);
}

bool ParseSince(std::string_view text, const CalendarDay& today, CalendarDay& day,
                std::string& error) {
    if (text.size() >= 2 && (text.back() == 'd' || text.back() == 'D') &&
        AllDigits(text.substr(0, text.size() - 1))) {
        const std::string_view digits = text.substr(0, text.size() - 1);
        int64_t days = 0;
        for (char c : digits) {
            days = days * 10 + (c - '0');
            if (days > kMaxSinceDays) {
                break;
            }
        }
        if (days >= 1 && days <= kMaxSinceDays) {
            day = DayFromNumber(DayNumber(today) - days);
            return true;
        }
    } else if (ParseDay(text, day)) {
        return true;
    }
    error = "Der Wert \"" + std::string(text) +
            "\" f\xFCr --since ist weder eine Zahl von Tagen (\"7d\") noch ein Tag "
            "(\"2026-12-01\").";
    return false;
}

void FolderChanges::Compare(const std::vector<FolderRecord>& rows, uint64_t total,
                            const report::EarlierReport& earlier) {
    report::CompareRows(rows, total, earlier, m_compared);
    m_nCurrentRows = rows.size();
    m_removed.assign(m_compared.removed.size(), FolderRecord());
    for (size_t i = 0; i < m_removed.size(); ++i) {
        m_compared.Row(m_nCurrentRows + i, m_removed[i]);
    }
    m_compared.current = nullptr;
    m_compared.earlier = nullptr;
    m_bCompared = true;
}

void FolderChanges::Clear() {
    m_compared = report::ComparedRows();
    m_removed.clear();
    m_nCurrentRows = 0;
    m_bCompared = false;
}

view::FolderChangeSet FolderChanges::ChangeSet() const {
    view::FolderChangeSet set;
    if (m_bCompared) {
        set.changes = m_compared.changes;
        set.removed = m_removed;
        // The rows' sum, not the totals': an earlier new-mail row not shown now is no loss.
        for (const RowChange& change : set.changes) {
            set.total = AddChanges(set.total, change.bytes);
        }
    }
    return set;
}

bool ReferenceEntry::Holds(const MailboxHistory& history, const ChangeReference& reference,
                           const CalendarDay& today) const {
    return m_bRead && m_strFolder == history.Folder() &&
           DayNumber(ReferenceDay(reference, today)) == DayNumber(m_asked);
}

void ReferenceEntry::Put(const std::string& folder, const CalendarDay& asked, bool found,
                         report::EarlierReport entry, const CalendarDay& used) {
    m_entry = found ? std::move(entry) : report::EarlierReport();
    m_bFound = found;
    m_used = used;
    m_strFolder = folder;
    m_asked = asked;
    m_bRead = true;
}

const report::EarlierReport* ReferenceEntry::Get(const MailboxHistory& history,
                                                 const ChangeReference& reference,
                                                 const CalendarDay& today, CalendarDay& used) {
    if (!Holds(history, reference, today)) {
        const CalendarDay asked = ReferenceDay(reference, today);
        report::EarlierReport entry;
        CalendarDay day;
        const bool found = history.Load(asked, entry, day);
        Put(history.Folder(), asked, found, std::move(entry), day);
    }
    used = m_used;
    return m_bFound ? &m_entry : nullptr;
}

bool CompareWithHistory(ReferenceEntry& entry, const MailboxHistory& history,
                        const ChangeReference& reference, const CalendarDay& today,
                        const std::vector<FolderRecord>& rows, uint64_t total,
                        FolderChanges& changes, CalendarDay& used) {
    changes.Clear();
    const report::EarlierReport* earlier = entry.Get(history, reference, today, used);
    if (earlier == nullptr) {
        return false;
    }
    changes.Compare(rows, total, *earlier);
    return true;
}

} // namespace history
