// foldtally-report --since: the option's rules beside --compare, and a run that compares
// with the mailbox's history as --compare does with a file.
#include "history/history_store.h"

#include "folder_links.h"
#include "mailbox_fixtures.h"
#include "report/report.h"
#include "report_tool/report_since.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using history::CalendarDay;
using report::SinceOutcome;
using testsupport::TempDir;

const CalendarDay kReportToday{2026, 12, 9};

bool Parse(std::vector<const char*> args, report::ReportOptions& options, std::string& error) {
    return report::ParseReportOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(ReportSinceTest, SinceStandsBesideCompareNeverWithIt) {
    report::ReportOptions options;
    std::string error;
    EXPECT_TRUE(Parse({"--mailbox", "m", "--since", "7d", "--sort", "change"}, options, error))
        << error;
    EXPECT_EQ(options.since, "7d");
    EXPECT_TRUE(options.compareFile.empty());
    const struct {
        std::vector<const char*> args;
        const char* error;
    } refused[] = {
        {{"--mailbox", "m", "--since", "7d", "--compare", "x.json"},
         "--compare und --since schlie\xDF"
         "en einander aus."},
        {{"--mailbox", "m", "--since", "7d", "--tree"}, "--tree nimmt kein --since."},
        {{"--mailbox", "m", "--since", "7d", "--format", "excel"},
         "--format excel schreibt, was das Fenster exportiert, ohne --compare."},
        {{"--mailbox", "m", "--since"}, "Nach --since fehlt der Wert."},
        {{"--mailbox", "m", "--since="}, "Nach --since fehlt der Wert."},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(Parse(c.args, options, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

class ReportSinceRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::WriteFile(
            m_mailbox / "GROWS.PMM", fixtures::PmmHeader("Projekte", "1") + std::string(872, 'x')));
        ASSERT_TRUE(testsupport::WriteFile(m_mailbox / "NEW.PMM", fixtures::PmmHeader("Neu", "2")));
        m_options.mailboxDir = m_mailbox.Path();
        m_options.resolvePaths = false;
        m_options.exactSizes = true;
    }
    // An entry of `day` in which GROWS.PMM had 500 bytes and OLD.PMM was still there.
    void FileEntry(const CalendarDay& day) {
        const FolderCatalogue then =
            fixtures::CatalogueOf({fixtures::Record("GROWS.PMM", "", "Projekte", 500),
                                   fixtures::Record("OLD.PMM", "", "Alt", 64)});
        const history::MailboxHistory history(m_root, m_mailbox.Path());
        ASSERT_EQ(history.WriteDay(day, history::HistoryJson(then, m_mailbox.Path(), "", "x")),
                  history::WriteOutcome::kWritten);
    }

    TempDir m_mailbox;
    TempDir m_settings;
    std::string m_root = history::HistoryRoot(m_settings.Path(), "", false);
    report::ReportOptions m_options;
};

TEST_F(ReportSinceRunTest, WithoutSinceNothingChanges) {
    std::string error;
    EXPECT_EQ(report::ResolveSince(m_options, m_root, kReportToday, error),
              SinceOutcome::kNotAsked);
    EXPECT_TRUE(m_options.compareFile.empty());
}

TEST_F(ReportSinceRunTest, TheEntryOfTheDayIsComparedAsAnEarlierReport) {
    FileEntry(CalendarDay{2026, 12, 1});
    m_options.since = "7d";
    std::string error;
    ASSERT_EQ(report::ResolveSince(m_options, m_root, kReportToday, error), SinceOutcome::kResolved)
        << error;
    std::string out;
    std::string err;
    ASSERT_EQ(report::RunReport(m_options, out, err), report::kExitOk) << err;
    EXPECT_NE(out.find("GROWS.PMM"), std::string::npos) << out;
    EXPECT_NE(out.find("+500"), std::string::npos) << out; // 1000 bytes now
    EXPECT_NE(out.find("neu"), std::string::npos) << out;
    EXPECT_NE(out.find("entfernt"), std::string::npos) << out;
    EXPECT_NE(out.find("\xC3\x84nderung seit 01.12.2026: +564 Bytes\n"), std::string::npos) << out;
    m_options.format = report::ReportFormat::kJson;
    ASSERT_EQ(report::RunReport(m_options, out, err), report::kExitOk) << err;
    EXPECT_NE(out.find("\"sinceDay\":\"2026-12-01\""), std::string::npos) << out;
}

TEST_F(ReportSinceRunTest, ADayWithoutAnEntryOnOrBeforeItIsRefused) {
    FileEntry(CalendarDay{2026, 12, 5});
    const struct {
        const char* since;
        SinceOutcome outcome;
        const char* inError;
    } cases[] = {
        {"7d", SinceOutcome::kNoEntry, "02.12.2026"},
        {"2026-12-04", SinceOutcome::kNoEntry, "04.12.2026"},
        {"2026-12-05", SinceOutcome::kResolved, nullptr},
        {"1d", SinceOutcome::kResolved, nullptr},
        {"eine Woche", SinceOutcome::kBadValue, "\"eine Woche\""},
    };
    for (const auto& c : cases) {
        report::ReportOptions options = m_options;
        options.since = c.since;
        std::string error;
        EXPECT_EQ(report::ResolveSince(options, m_root, kReportToday, error), c.outcome) << c.since;
        if (c.inError) {
            EXPECT_NE(error.find(c.inError), std::string::npos) << error;
            EXPECT_TRUE(options.compareFile.empty()) << c.since;
        } else {
            EXPECT_FALSE(options.compareFile.empty()) << c.since;
        }
    }
}

TEST_F(ReportSinceRunTest, AnotherMailboxHasNoHistoryOfItsOwn) {
    FileEntry(CalendarDay{2026, 12, 1});
    TempDir other;
    m_options.mailboxDir = other.Path();
    m_options.since = "7d";
    std::string error;
    EXPECT_EQ(report::ResolveSince(m_options, m_root, kReportToday, error), SinceOutcome::kNoEntry);
}

// The history's folder a link to the mailbox holding an entry: refused with its reason,
// not read.
TEST_F(ReportSinceRunTest, AHistoryFolderThatIsALinkIsRefusedWithItsReason) {
    FileEntry(CalendarDay{2026, 12, 1});
    const history::MailboxHistory history(m_root, m_mailbox.Path());
    ASSERT_TRUE(
        testsupport::WriteFile(m_mailbox / "2026-12-01.json",
                               testsupport::ReadFile(history.Folder() + "2026-12-01.json")));
    ASSERT_EQ(history.Clear(), history::ClearOutcome::kCleared);
    std::string link = history.Folder();
    link.pop_back();
    if (!testsupport::MakeFolderLink(link, m_mailbox.Path())) {
        GTEST_SKIP() << "this system does not let the test make a folder link";
    }
    m_options.since = "7d";
    std::string error;
    EXPECT_EQ(report::ResolveSince(m_options, m_root, kReportToday, error), SinceOutcome::kRefused);
    EXPECT_NE(error.find(history.Folder()), std::string::npos) << error;
    EXPECT_TRUE(m_options.compareFile.empty());
}

} // namespace
