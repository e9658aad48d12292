// The change since a chosen day: the reference days, the stored choice, --since values,
// and each file's and branch's change against an entry, new and removed files included.
#include "history/change_since.h"

#include "history/history_store.h"
#include "mailbox_fixtures.h"
#include "memory_store.h"
#include "report/report_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fixtures::Record;
using history::CalendarDay;
using history::ChangeReference;
using history::ChangeSince;

const CalendarDay kChangeToday{2026, 3, 2};

std::string Day(const CalendarDay& day) {
    return history::DayFileName(day).substr(0, 10);
}

TEST(ChangeSinceTest, EachChoiceNamesItsDayAndItsText) {
    const struct {
        ChangeReference reference;
        const char* day;
        const char* text;
        const char* english;
        const char* stored;
    } cases[] = {
        {{ChangeSince::kYesterday, {}}, "2026-03-01", "seit gestern", "since yesterday", "1"},
        {{ChangeSince::kWeek, {}}, "2026-02-23", "seit einer Woche", "since a week ago", "7"},
        {{ChangeSince::kMonth, {}}, "2026-01-31", "seit einem Monat", "since a month ago", "30"},
        {{ChangeSince::kDay, {2025, 12, 24}},
         "2025-12-24",
         "seit 24.12.2025",
         "since 2025-12-24",
         "2025-12-24"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Day(history::ReferenceDay(c.reference, kChangeToday)), c.day) << c.text;
        EXPECT_EQ(history::ChangeReferenceText(c.reference), c.text);
        {
            testsupport::LanguageForTest english(Language::English);
            EXPECT_EQ(history::ChangeReferenceText(c.reference), c.english);
        }
        EXPECT_EQ(history::EncodeChangeReference(c.reference), c.stored) << c.text;
        ChangeReference decoded{ChangeSince::kYesterday, {1, 1, 1}};
        ASSERT_TRUE(history::DecodeChangeReference(c.stored, decoded)) << c.stored;
        EXPECT_EQ(Day(history::ReferenceDay(decoded, kChangeToday)), c.day) << c.stored;
    }
}

TEST(ChangeSinceTest, AStoredChoiceThatIsNoneLeavesTheCurrentOne) {
    for (const char* stored : {"", "0", "2", "07", "30 ", "-7", "24.12.2025", "2025-02-30",
                               "2025-12-24x", "seit gestern"}) {
        ChangeReference reference{ChangeSince::kMonth, {}};
        EXPECT_FALSE(history::DecodeChangeReference(stored, reference)) << stored;
        EXPECT_EQ(reference.since, ChangeSince::kMonth) << stored;
    }
}

TEST(ChangeSinceTest, SinceTakesDaysBackOrADay) {
    const struct {
        const char* value;
        const char* day; // nullptr: refused
    } cases[] = {
        {"7d", "2026-02-23"},
        {"30d", "2026-01-31"},
        {"1D", "2026-03-01"},
        {"365d", "2025-03-02"},
        {"2026-01-15", "2026-01-15"},
        {"15.01.2026", "2026-01-15"},
        {"0d", nullptr},
        {"d", nullptr},
        {"7", nullptr},
        {"-7d", nullptr},
        {"7 d", nullptr},
        {"36501d", nullptr},
        {"99999999999999999999d", nullptr},
        {"2026-02-30", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        CalendarDay day{1, 1, 1};
        std::string error;
        const bool ok = history::ParseSince(c.value, kChangeToday, day, error);
        EXPECT_EQ(ok, c.day != nullptr) << c.value;
        if (c.day) {
            EXPECT_EQ(Day(day), c.day) << c.value;
            EXPECT_TRUE(error.empty()) << c.value;
        } else {
            EXPECT_NE(error.find(std::string("\"") + c.value + "\""), std::string::npos) << error;
        }
    }
}

// The entry and the scan of one mailbox: one folder grew, one shrank, one is new, one
// is gone, across two branches.
class FolderChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_earlier.Add("GREW.PMM", "\\Archiv\\", "2019", 1000);
        m_earlier.Add("SHRANK.PMM", "\\Archiv\\2019\\", "Jan", 500);
        m_earlier.Add("GONE.MBX", "\\Archiv\\", "2018", 300);
        m_earlier.Add("SAME.PMM", "\\", "Eingang", 42);
        m_rows = {Record("grew.pmm", "\\Archiv\\", "2019", 1500),
                  Record("SHRANK.PMM", "\\Archiv\\2019\\", "Jan", 100),
                  Record("NEW.PMM", "\\Archiv\\", "2020", 70),
                  Record("SAME.PMM", "\\", "Eingang", 42)};
        m_changes.Compare(m_rows, 1712, m_earlier);
    }

    report::EarlierReport m_earlier;
    std::vector<FolderRecord> m_rows;
    history::FolderChanges m_changes;
};

TEST_F(FolderChangesTest, EachFileShowsItsChangeAsTheReportDoes) {
    ASSERT_TRUE(m_changes.HasReference());
    const struct {
        RowChange::Kind kind;
        const char* digits;
    } expected[] = {{RowChange::kChanged, "500"},
                    {RowChange::kChanged, "-400"},
                    {RowChange::kNew, "70"},
                    {RowChange::kChanged, "0"}};
    for (size_t i = 0; i < m_rows.size(); ++i) {
        EXPECT_EQ(m_changes.ChangeOf(i).kind, expected[i].kind) << i;
        EXPECT_EQ(ChangeDigits(m_changes.ChangeOf(i).bytes), expected[i].digits) << i;
    }
    ASSERT_EQ(m_changes.RemovedCount(), 1u);
    EXPECT_EQ(m_changes.Removed(0).fileName, "GONE.MBX");
    EXPECT_EQ(m_changes.RemovedChange(0).kind, RowChange::kRemoved);
    EXPECT_EQ(ChangeDigits(m_changes.RemovedChange(0).bytes), "-300");
    EXPECT_EQ(ChangeDigits(m_changes.TotalChange()), "-130");
    EXPECT_EQ(ChangeText(m_changes.ChangeOf(2), false), "neu");
    EXPECT_EQ(ChangeText(m_changes.RemovedChange(0), false), "entfernt");
}

TEST_F(FolderChangesTest, TheListsTakeEveryChangeAndTheGoneFilesInTheReportsOrder) {
    const view::FolderChangeSet set = m_changes.ChangeSet();
    ASSERT_EQ(set.changes.size(), m_rows.size() + 1);
    ASSERT_EQ(set.removed.size(), 1u);
    EXPECT_EQ(set.removed[0].fileName, "GONE.MBX");
    EXPECT_EQ(set.removed[0].folderPath + set.removed[0].folderName, "\\Archiv\\2018");
    EXPECT_EQ(set.changes[1].bytes, ChangeBetween(100, 500));
    EXPECT_EQ(set.changes[4].kind, RowChange::kRemoved);
    EXPECT_EQ(ChangeDigits(set.total), "-130") << "500 - 400 + 70 + 0 - 300";
}

TEST_F(FolderChangesTest, ClearingDropsTheComparison) {
    m_changes.Clear();
    EXPECT_FALSE(m_changes.HasReference());
    EXPECT_EQ(m_changes.RemovedCount(), 0u);
    EXPECT_TRUE(m_changes.ChangeSet().changes.empty());
}

// The window's way to its change: the entry for the chosen day from the history.
TEST(ChangeSinceTest, TheChangeIsMeasuredAgainstTheHistorysEntryForTheChosenDay) {
    testsupport::TempDir settings;
    testsupport::TempDir mailbox;
    const history::MailboxHistory history(history::HistoryRoot(settings.Path(), "", false),
                                          mailbox.Path());
    const CalendarDay weekAgo{2026, 2, 23};
    for (const auto& [day, size] : {std::pair<CalendarDay, uint64_t>{{2026, 2, 20}, 100},
                                    {weekAgo, 400},
                                    {{2026, 3, 1}, 900}}) {
        const FolderCatalogue then = fixtures::CatalogueOf({Record("A.PMM", "\\", "A", size)});
        ASSERT_EQ(history.WriteDay(day, history::HistoryJson(then, mailbox.Path(), "", "t")),
                  history::WriteOutcome::kWritten);
    }
    const std::vector<FolderRecord> now = {Record("A.PMM", "\\", "A", 1000)};
    const struct {
        ChangeReference reference;
        const char* used;
        const char* change;
    } cases[] = {
        {{ChangeSince::kYesterday, {}}, "2026-03-01", "100"},
        {{ChangeSince::kWeek, {}}, "2026-02-23", "600"},
        {{ChangeSince::kDay, {2026, 2, 22}}, "2026-02-20", "900"},
    };
    history::ReferenceEntry entry;
    for (const auto& c : cases) {
        history::FolderChanges changes;
        CalendarDay used;
        ASSERT_TRUE(history::CompareWithHistory(entry, history, c.reference, kChangeToday, now,
                                                1000, changes, used))
            << c.used;
        EXPECT_EQ(Day(used), c.used);
        EXPECT_EQ(ChangeDigits(changes.ChangeOf(0).bytes), c.change) << c.used;
    }
    history::FolderChanges changes;
    changes.Compare(now, 1000, report::EarlierReport());
    CalendarDay used;
    EXPECT_FALSE(history::CompareWithHistory(entry, history, {ChangeSince::kMonth, {}},
                                             kChangeToday, now, 1000, changes, used));
    EXPECT_FALSE(changes.HasReference());
}

// A refresh every few seconds must not read the history's file each time; a new day,
// another mailbox or a cleared history must.
TEST(ChangeSinceTest, TheEntryIsReadOncePerDayAskedAndAgainAfterForget) {
    testsupport::TempDir settings;
    testsupport::TempDir mailbox;
    testsupport::TempDir other;
    const std::string root = history::HistoryRoot(settings.Path(), "", false);
    const history::MailboxHistory history(root, mailbox.Path());
    const history::MailboxHistory otherHistory(root, other.Path());
    const auto write = [&](const history::MailboxHistory& h, const CalendarDay& day,
                           uint64_t size) {
        const FolderCatalogue then = fixtures::CatalogueOf({Record("A.PMM", "\\", "A", size)});
        const std::string dir = &h == &history ? mailbox.Path() : other.Path();
        ASSERT_EQ(h.WriteDay(day, history::HistoryJson(then, dir, "", "t")),
                  history::WriteOutcome::kWritten);
    };
    write(history, {2026, 2, 28}, 100);
    write(otherHistory, {2026, 2, 28}, 300);
    const ChangeReference yesterday{ChangeSince::kYesterday, {}};
    history::ReferenceEntry entry;
    CalendarDay used;
    const report::EarlierReport* read = entry.Get(history, yesterday, kChangeToday, used);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->TotalSize(), 100u);

    // Gone from the disk, the entry is still the one read.
    ASSERT_EQ(history.Clear(), history::ClearOutcome::kCleared);
    read = entry.Get(history, yesterday, kChangeToday, used);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->TotalSize(), 100u);
    EXPECT_EQ(Day(used), "2026-02-28");

    read = entry.Get(otherHistory, yesterday, kChangeToday, used);
    ASSERT_NE(read, nullptr) << "another mailbox reads its own";
    EXPECT_EQ(read->TotalSize(), 300u);

    EXPECT_EQ(entry.Get(history, yesterday, kChangeToday, used), nullptr)
        << "the mailbox asked again after another reads again";
    write(history, {2026, 2, 28}, 200);
    EXPECT_EQ(entry.Get(history, yesterday, kChangeToday, used), nullptr) << "kept: not found";
    entry.Forget();
    read = entry.Get(history, yesterday, kChangeToday, used);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->TotalSize(), 200u);

    write(history, {2026, 3, 1}, 700);
    read = entry.Get(history, yesterday, {2026, 3, 3}, used);
    ASSERT_NE(read, nullptr) << "a new day reads the entry of its own yesterday";
    EXPECT_EQ(read->TotalSize(), 700u);
}

} // namespace

namespace {

TEST(ChangeSinceTest, TheChoiceIsKeptUnderItsOwnNameAndAStrangeValueIsIgnored) {
    MemorySettingsStore store;
    ASSERT_TRUE(store.Open("MainDlg"));
    ChangeReference reference{ChangeSince::kDay, {2025, 12, 24}};
    ASSERT_TRUE(history::SaveChangeReference(store, reference));
    EXPECT_EQ(store.ReadString("ChangeSince", ""), "2025-12-24");
    ChangeReference loaded{ChangeSince::kWeek, {}};
    EXPECT_TRUE(history::LoadChangeReference(store, loaded));
    EXPECT_EQ(loaded.since, ChangeSince::kDay);
    EXPECT_EQ(Day(loaded.day), "2025-12-24");
    ASSERT_TRUE(store.WriteString("ChangeSince", "fortnight"));
    ChangeReference kept{ChangeSince::kMonth, {}};
    EXPECT_FALSE(history::LoadChangeReference(store, kept));
    EXPECT_EQ(kept.since, ChangeSince::kMonth);
}

} // namespace
