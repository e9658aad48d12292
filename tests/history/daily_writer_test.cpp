// The window's writer of the history: the first scan of each day per mailbox, on a
// thread, and a history that cannot be written turned off for the rest of the run; and
// its reader, which hands the entry it read on its thread over once.
#include "history/daily_writer.h"
#include "history/reference_loader.h"

#include "history/history_store.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using history::CalendarDay;
using history::DailyHistoryWriter;
using testsupport::TempDir;

SharedScanResult ScanOf(const std::string& mailboxDir, uint64_t size) {
    auto result = std::make_shared<ScanResult>();
    result->request.mailboxDir = mailboxDir;
    result->catalogue = fixtures::CatalogueOf({fixtures::Record("A.PMM", "\\", "Eingang", size)});
    return result;
}

// The size of "A.PMM" in the entry filed for `day`, or -1 when there is none of that day.
int64_t FiledSize(const history::MailboxHistory& history, const CalendarDay& day) {
    report::EarlierReport earlier;
    CalendarDay used;
    if (!history.Load(day, earlier, used) || history::DayNumber(used) != history::DayNumber(day)) {
        return -1;
    }
    return earlier.RowCount() == 1 ? static_cast<int64_t>(earlier.Size(0)) : -2;
}

class DailyWriterTest : public ::testing::Test {
protected:
    TempDir m_settings;
    TempDir m_mailbox;
    TempDir m_otherMailbox;
    history::HistoryPlace m_place{history::HistoryRoot(m_settings.Path(), "", false), {}};
    history::MailboxHistory m_history{m_place.root, m_mailbox.Path()};
};

TEST_F(DailyWriterTest, OnlyTheFirstScanOfADayPerMailboxIsFiled) {
    const CalendarDay monday{2026, 12, 7};
    const CalendarDay tuesday{2026, 12, 8};
    DailyHistoryWriter writer;
    EXPECT_TRUE(writer.AfterScan(ScanOf(m_mailbox.Path(), 10), m_place, monday, "t"));
    writer.Wait();
    EXPECT_FALSE(writer.AfterScan(ScanOf(m_mailbox.Path(), 11), m_place, monday, "t"));
    EXPECT_TRUE(writer.AfterScan(ScanOf(m_otherMailbox.Path(), 12), m_place, monday, "t"));
    writer.Wait();
    EXPECT_TRUE(writer.AfterScan(ScanOf(m_mailbox.Path(), 13), m_place, tuesday, "t"));
    writer.Wait();
    EXPECT_EQ(FiledSize(m_history, monday), 10);
    EXPECT_EQ(FiledSize(m_history, tuesday), 13);
    EXPECT_EQ(FiledSize(history::MailboxHistory(m_place.root, m_otherMailbox.Path()), monday), 12);
    EXPECT_FALSE(writer.IsOff());
}

TEST_F(DailyWriterTest, TheEntryOfAnotherRunThatDayIsKept) {
    const CalendarDay day{2026, 12, 7};
    {
        DailyHistoryWriter earlierRun;
        ASSERT_TRUE(earlierRun.AfterScan(ScanOf(m_mailbox.Path(), 10), m_place, day, "t"));
    }
    DailyHistoryWriter writer;
    writer.AfterScan(ScanOf(m_mailbox.Path(), 20), m_place, day, "t");
    writer.Wait();
    EXPECT_EQ(FiledSize(m_history, day), 10);
    EXPECT_FALSE(writer.IsOff());
}

TEST_F(DailyWriterTest, AHistoryThatCannotBeWrittenIsOffForTheRun) {
    ASSERT_TRUE(testsupport::WriteFile(m_settings / "Foldtally", "in the way"));
    testsupport::TraceCapture trace;
    DailyHistoryWriter writer;
    EXPECT_TRUE(writer.AfterScan(ScanOf(m_mailbox.Path(), 10), m_place, {2026, 12, 7}, "t"));
    writer.Wait();
    EXPECT_TRUE(writer.IsOff());
    ASSERT_TRUE(testsupport::RemoveFile(m_settings / "Foldtally"));
    EXPECT_FALSE(writer.AfterScan(ScanOf(m_mailbox.Path(), 11), m_place, {2026, 12, 8}, "t"));
    writer.Wait();
    EXPECT_TRUE(m_history.Days().empty());
    ASSERT_FALSE(trace.Lines().empty());
    EXPECT_NE(trace.Lines().back().find("[Verlauf]"), std::string::npos);
}

TEST_F(DailyWriterTest, NothingIsFiledWithoutAScanOrAMailbox) {
    DailyHistoryWriter writer;
    const CalendarDay day{2026, 12, 7};
    EXPECT_FALSE(writer.AfterScan(nullptr, m_place, day, "t"));
    EXPECT_FALSE(writer.AfterScan(ScanOf("", 1), m_place, day, "t"));
    writer.Wait();
    EXPECT_FALSE(writer.IsOff());
    EXPECT_TRUE(m_history.Days().empty());
}

TEST_F(DailyWriterTest, WithoutAPlaceTheHistoryIsOffForTheRun) {
    testsupport::TraceCapture trace;
    DailyHistoryWriter writer;
    EXPECT_FALSE(writer.AfterScan(ScanOf(m_mailbox.Path(), 1), {"", {}}, {2026, 12, 7}, "t"));
    EXPECT_TRUE(writer.IsOff());
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_NE(trace.Lines()[0].find("[Verlauf]"), std::string::npos);
    EXPECT_FALSE(writer.AfterScan(ScanOf(m_mailbox.Path(), 1), m_place, {2026, 12, 8}, "t"));
    EXPECT_EQ(trace.Lines().size(), 1u) << "told once";
    writer.Wait();
    EXPECT_TRUE(m_history.Days().empty());
}

TEST_F(DailyWriterTest, TheEntryReadOnTheLoadersThreadIsTakenOnce) {
    const CalendarDay monday{2026, 12, 7};
    DailyHistoryWriter writer;
    ASSERT_TRUE(writer.AfterScan(ScanOf(m_mailbox.Path(), 10), m_place, monday, "t"));
    writer.Wait();
    history::ReferenceLoader loader;
    loader.Start(m_place, m_mailbox.Path(), {2026, 12, 8});
    EXPECT_TRUE(loader.IsLoading(m_history.Folder(), {2026, 12, 8}));
    EXPECT_FALSE(loader.IsLoading(m_history.Folder(), monday));
    loader.Wait();
    history::ReferenceLoader::Loaded loaded = loader.Take();
    ASSERT_TRUE(loaded.ended);
    EXPECT_EQ(loaded.outcome, history::FindOutcome::kFound);
    EXPECT_EQ(loaded.folder, m_history.Folder());
    EXPECT_EQ(history::DayNumber(loaded.used), history::DayNumber(monday));
    EXPECT_EQ(loaded.entry.TotalSize(), 10u);
    EXPECT_FALSE(loader.Take().ended);
    EXPECT_FALSE(loader.IsBusy());
}

} // namespace
