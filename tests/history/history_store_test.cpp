// A mailbox's history on disk: the place, one entry a day, thinning as days pass, a
// clock set back, and entries that are damaged, of another mailbox or of a later
// format, which are passed over with a trace line, within a bound; a history folder
// that is a link is left alone, and only the history's own entries are ever deleted.
#include "history/history_store.h"

#include "folder_links.h"
#include "mailbox_fixtures.h"
#include "platform/files.h"
#include "platform/local_folders.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fixtures::CatalogueOf;
using fixtures::Record;
using history::CalendarDay;
using history::MailboxHistory;
using history::WriteOutcome;
using testsupport::TempDir;

const CalendarDay kToday{2026, 12, 9};

CalendarDay DaysBefore(const CalendarDay& day, int64_t days) {
    return history::DayFromNumber(history::DayNumber(day) - days);
}

// The days of `days` as "YYYY-MM-DD" lines, for readable failures.
std::string DayList(const std::vector<CalendarDay>& days) {
    std::string text;
    for (const CalendarDay& day : days) {
        text += history::DayFileName(day).substr(0, 10) + "\n";
    }
    return text;
}

bool HasLineContaining(const testsupport::TraceCapture& trace, const std::string& part) {
    for (const std::string& line : trace.Lines()) {
        if (line.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

class HistoryStoreTest : public ::testing::Test {
protected:
    // An entry of this fixture's mailbox with one folder of `size` bytes.
    std::string Entry(uint64_t size, const std::string& mailbox = std::string()) const {
        const FolderCatalogue catalogue =
            CatalogueOf({Record("A.PMM", "\\", "Eingang", size), Record("B.PMM", "\\", "Alt", 7)});
        return history::HistoryJson(catalogue, mailbox.empty() ? m_mailbox : mailbox, "",
                                    "2026-12-09T10:00:00Z");
    }
    MailboxHistory History() const {
        return MailboxHistory(history::HistoryRoot(m_appData.Path(), "", false), m_mailbox);
    }
    // The size of "A.PMM" in the entry the history gives for `reference`, or -1.
    int64_t SizeFor(const CalendarDay& reference, CalendarDay* used = nullptr) const {
        report::EarlierReport earlier;
        CalendarDay day;
        if (!History().Load(reference, earlier, day)) {
            EXPECT_EQ(earlier.RowCount(), 0u);
            return -1;
        }
        if (used) {
            *used = day;
        }
        for (size_t i = 0; i < earlier.RowCount(); ++i) {
            if (earlier.FileName(i) == "A.PMM") {
                return static_cast<int64_t>(earlier.Size(i));
            }
        }
        return -2;
    }

    TempDir m_appData;
    TempDir m_mailboxDir;
    std::string m_mailbox = m_mailboxDir.Path();
};

TEST_F(HistoryStoreTest, HistoriesLiveWithTheSettingsInAFolderPerMailbox) {
    const std::string sep = testsupport::Separator();
    EXPECT_EQ(history::HistoryRoot("L" + sep, "P" + sep, false),
              "L" + sep + "Foldtally" + sep + "Verlauf" + sep);
    EXPECT_EQ(history::HistoryRoot("L", "P" + sep, true), "P" + sep + "Verlauf" + sep);
    EXPECT_EQ(history::HistoryRoot("", "P" + sep, false), "");
    EXPECT_EQ(history::HistoryRoot("L" + sep, "", true), "");
    const std::string folder = History().Folder();
    EXPECT_EQ(folder.rfind(history::HistoryRoot(m_appData.Path(), "", false), 0), 0u) << folder;
    EXPECT_EQ(folder.find(m_mailbox), std::string::npos) << folder;
}

TEST_F(HistoryStoreTest, AProgramWithItsSettingsFileBesideItKeepsTheHistoryThere) {
    TempDir program;
    const std::string sep = testsupport::Separator();
    const std::string module = program / "foldtally-report.exe";
    const std::string local =
        history::HistoryRoot(platform::LocalAppDataFolder(), program.Path(), false);
    EXPECT_EQ(history::HistoryRootForProgram(module), local);
    ASSERT_TRUE(testsupport::MakeDirectory(program / "foldtally.ini")); // a folder is no file
    EXPECT_EQ(history::HistoryRootForProgram(module), local);
    TempDir portable;
    ASSERT_TRUE(testsupport::WriteFile(portable / "foldtally.ini", "[MainDlg]\n"));
    EXPECT_EQ(history::HistoryRootForProgram(portable / "foldtally-report.exe"),
              portable.Path() + "Verlauf" + sep);
}

TEST_F(HistoryStoreTest, AMailboxFolderNameIsSafeAndTheSameForEverySpellingOfOnePath) {
    const std::string a = history::MailboxFolderName("C:\\PMAIL\\MAIL\\ADMIN\\");
    EXPECT_EQ(a.substr(0, 6), "admin-");
    EXPECT_EQ(a.size(), 6u + 16u);
    EXPECT_EQ(history::MailboxFolderName("c:/pmail/mail/admin"), a);
    EXPECT_EQ(history::MailboxFolderName("C:\\PMAIL\\MAIL\\ADMIN\\\\"), a);
    EXPECT_NE(history::MailboxFolderName("C:\\PMAIL\\MAIL\\ADMIN2\\"), a);
    EXPECT_NE(history::MailboxFolderName("D:\\PMAIL\\MAIL\\ADMIN\\"), a);
    EXPECT_TRUE(history::SameMailbox("C:\\PMAIL\\MAIL\\ADMIN\\", "c:/pmail/mail/admin"));
    EXPECT_FALSE(history::SameMailbox("C:\\PMAIL\\MAIL\\ADMIN\\", "C:\\PMAIL\\MAIL\\"));
    // Whatever the path, the name is one plain component that cannot climb out.
    for (const char* path :
         {"..", "C:\\Mail\\..\\", "/", "\\\\server\\share\\con\\", "C:\\Post f\xFCr Max:$\\",
          "C:\\*?\"<>|\\", "C:\\AVeryLongFolderNameThatGoesOnAndOnAndOnForever\\"}) {
        const std::string name = history::MailboxFolderName(path);
        EXPECT_LE(name.size(), 32u + 17u) << path;
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                         "0123456789-_"),
                  std::string::npos)
            << path << " -> " << name;
        EXPECT_NE(name.find_first_not_of("-_"), std::string::npos) << path;
    }
}

TEST_F(HistoryStoreTest, TheFirstScanOfADayIsKeptAndLaterOnesThatDayAreNot) {
    const MailboxHistory history = History();
    EXPECT_TRUE(history.Days().empty());
    EXPECT_EQ(history.WriteDay(kToday, Entry(100)), WriteOutcome::kWritten);
    EXPECT_EQ(history.WriteDay(kToday, Entry(200)), WriteOutcome::kHaveToday);
    EXPECT_EQ(DayList(history.Days()), "2026-12-09\n");
    EXPECT_EQ(SizeFor(kToday), 100);
    EXPECT_EQ(history.WriteDay(DaysBefore(kToday, -1), Entry(300)), WriteOutcome::kWritten);
    EXPECT_EQ(DayList(history.Days()), "2026-12-09\n2026-12-10\n");
}

TEST_F(HistoryStoreTest, AClockSetBackNeverOverwritesALaterDay) {
    const MailboxHistory history = History();
    ASSERT_EQ(history.WriteDay(kToday, Entry(100)), WriteOutcome::kWritten);
    testsupport::TraceCapture trace;
    EXPECT_EQ(history.WriteDay(DaysBefore(kToday, 2), Entry(50)), WriteOutcome::kLaterDay);
    EXPECT_EQ(DayList(history.Days()), "2026-12-09\n");
    EXPECT_EQ(SizeFor(kToday), 100);
    EXPECT_TRUE(HasLineContaining(trace, "09.12.2026")) << trace.Lines().size();
}

TEST_F(HistoryStoreTest, WritingADayThinsTheOlderOnes) {
    const MailboxHistory history = History();
    // Entries as a user who scanned on these days left them.
    const std::vector<CalendarDay> old = {DaysBefore(kToday, 2),    DaysBefore(kToday, 59),
                                          CalendarDay{2026, 3, 3},  CalendarDay{2026, 3, 20},
                                          CalendarDay{2023, 12, 8}, CalendarDay{2023, 12, 9}};
    ASSERT_TRUE(platform::MakeFolders(history.Folder()));
    for (const CalendarDay& day : old) {
        ASSERT_TRUE(testsupport::WriteFile(history.Folder() + history::DayFileName(day), Entry(1)));
    }
    ASSERT_TRUE(testsupport::WriteFile(history.Folder() + "notes.txt", "mine"));
    EXPECT_EQ(history.WriteDay(kToday, Entry(100)), WriteOutcome::kWritten);
    EXPECT_EQ(DayList(history.Days()),
              "2023-12-09\n2026-03-03\n2026-10-11\n2026-12-07\n2026-12-09\n");
    EXPECT_EQ(testsupport::ReadFile(history.Folder() + "notes.txt"), "mine");
}

TEST_F(HistoryStoreTest, TheReferenceIsTheNewestEntryOnOrBeforeItsDay) {
    const MailboxHistory history = History();
    ASSERT_EQ(history.WriteDay(DaysBefore(kToday, 10), Entry(10)), WriteOutcome::kWritten);
    ASSERT_EQ(history.WriteDay(DaysBefore(kToday, 3), Entry(3)), WriteOutcome::kWritten);
    ASSERT_EQ(history.WriteDay(kToday, Entry(0)), WriteOutcome::kWritten);
    CalendarDay used;
    EXPECT_EQ(SizeFor(DaysBefore(kToday, 1), &used), 3);
    EXPECT_EQ(history::GermanDay(used), "06.12.2026");
    EXPECT_EQ(SizeFor(DaysBefore(kToday, 3)), 3);
    EXPECT_EQ(SizeFor(DaysBefore(kToday, 4)), 10);
    EXPECT_EQ(SizeFor(DaysBefore(kToday, 11)), -1);
}

// Each kind of unusable entry, put in place of the newer of two entries: the reference
// falls back to the older one, with a trace line naming the file.
TEST_F(HistoryStoreTest, UnusableEntriesArePassedOverWithATraceLine) {
    const std::string other = m_appData.Path() + "andere" + testsupport::Separator();
    std::string future = Entry(3);
    future.replace(future.find("\"historyFormat\":1"), 17, "\"historyFormat\":2");
    std::string plain = Entry(3);
    plain.replace(plain.find(",\"historyFormat\":1"), 18, "");
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"damaged", Entry(3).substr(0, 40)}, {"empty", ""},
        {"not JSON", "\x01\x02garbage"},     {"another mailbox", Entry(3, other)},
        {"a later format", future},          {"a plain report", plain},
    };
    for (const auto& c : cases) {
        TempDir appData;
        const MailboxHistory history(history::HistoryRoot(appData.Path(), "", false), m_mailbox);
        ASSERT_EQ(history.WriteDay(DaysBefore(kToday, 9), Entry(9)), WriteOutcome::kWritten);
        const CalendarDay newer = DaysBefore(kToday, 2);
        ASSERT_TRUE(
            testsupport::WriteFile(history.Folder() + history::DayFileName(newer), c.bytes));
        testsupport::TraceCapture trace;
        report::EarlierReport earlier;
        CalendarDay used;
        ASSERT_TRUE(history.Load(kToday, earlier, used)) << c.what;
        EXPECT_EQ(history::DayNumber(used), history::DayNumber(DaysBefore(kToday, 9))) << c.what;
        EXPECT_TRUE(HasLineContaining(trace, history::DayFileName(newer))) << c.what;
    }
}

TEST_F(HistoryStoreTest, AnEntryIsAReportThatCompareReadsWithItsMailbox) {
    const MailboxHistory history = History();
    ASSERT_EQ(history.WriteDay(kToday, Entry(100)), WriteOutcome::kWritten);
    report::EarlierReport earlier;
    std::string error;
    ASSERT_TRUE(report::ReadEarlierReport(history.Folder() + "2026-12-09.json", earlier, error))
        << error;
    EXPECT_EQ(earlier.RowCount(), 2u);
    EXPECT_EQ(earlier.TotalSize(), 107u);
    EXPECT_EQ(earlier.MailboxDir(), m_mailbox);
    EXPECT_EQ(earlier.HistoryFormat(), history::kHistoryFormat);
}

TEST_F(HistoryStoreTest, AHistoryThatCannotBeWrittenSaysSoAndLeavesNothing) {
    // The place of the history is taken by a file.
    ASSERT_TRUE(testsupport::WriteFile(m_appData / "Foldtally", "a file"));
    testsupport::TraceCapture trace;
    EXPECT_EQ(History().WriteDay(kToday, Entry(1)), WriteOutcome::kFailed);
    EXPECT_TRUE(HasLineContaining(trace, "[Verlauf]"));
    EXPECT_EQ(testsupport::ReadFile(m_appData / "Foldtally"), "a file");
}

TEST_F(HistoryStoreTest, NoEntryIsEverWrittenIntoAProtectedFolder) {
    // A local application-data folder that is the mailbox itself.
    const MailboxHistory history(history::HistoryRoot(m_mailbox, "", false), m_mailbox,
                                 {m_mailbox});
    testsupport::TraceCapture trace;
    EXPECT_EQ(history.WriteDay(kToday, Entry(1)), WriteOutcome::kRefused);
    EXPECT_TRUE(history.Days().empty());
    EXPECT_TRUE(HasLineContaining(trace, "[Verlauf]"));
    EXPECT_TRUE(testsupport::MakeDirectory(m_mailbox + "Foldtally")) << "made in the mailbox";
}

TEST_F(HistoryStoreTest, ClearingRemovesEveryEntryAndTheFolder) {
    const MailboxHistory history = History();
    ASSERT_EQ(history.WriteDay(DaysBefore(kToday, 1), Entry(1)), WriteOutcome::kWritten);
    ASSERT_EQ(history.WriteDay(kToday, Entry(2)), WriteOutcome::kWritten);
    const TempDir otherMailbox;
    const MailboxHistory other(history::HistoryRoot(m_appData.Path(), "", false),
                               otherMailbox.Path());
    ASSERT_EQ(other.WriteDay(kToday, Entry(2, otherMailbox.Path())), WriteOutcome::kWritten);
    EXPECT_EQ(history.Clear(), history::ClearOutcome::kCleared);
    EXPECT_TRUE(history.Days().empty());
    EXPECT_FALSE(platform::SearchDirectory(
        history.Folder(), "*", [](const platform::DirectoryEntry&, void*) { return true; },
        nullptr));
    EXPECT_EQ(DayList(other.Days()), "2026-12-09\n");
    EXPECT_EQ(history.WriteDay(kToday, Entry(3)), WriteOutcome::kWritten);
}

// The history's folder, or the "Verlauf" above it, made a link: to the mailbox or to
// another folder. Nothing is written there, nothing deleted, nothing read.
TEST_F(HistoryStoreTest, AHistoryFolderThatIsALinkIsLeftAlone) {
    const std::string sep = testsupport::Separator();
    TempDir elsewhere;
    const std::string root = history::HistoryRoot(m_appData.Path(), "", false);
    const struct {
        const char* what;
        std::string link;
        std::string target;
    } cases[] = {
        {"the mailbox's folder to the mailbox", History().Folder(), m_mailbox},
        {"the mailbox's folder to another", History().Folder(), elsewhere.Path()},
        {"the history's root to another", root, elsewhere.Path()},
    };
    for (const auto& c : cases) {
        TempDir appData;
        const MailboxHistory history(history::HistoryRoot(appData.Path(), "", false), m_mailbox);
        const std::string link = appData.Path() + c.link.substr(m_appData.Path().size());
        ASSERT_TRUE(testsupport::MakeDirectory(appData / "Foldtally"));
        if (c.link == root) {
            ASSERT_TRUE(
                testsupport::MakeDirectory(c.target + history::MailboxFolderName(m_mailbox)));
        } else {
            ASSERT_TRUE(testsupport::MakeDirectory(appData / ("Foldtally" + sep + "Verlauf")));
        }
        std::string linkPath = link;
        while (linkPath.size() > 1 && (linkPath.back() == '/' || linkPath.back() == '\\')) {
            linkPath.pop_back();
        }
        if (!testsupport::MakeFolderLink(linkPath, c.target)) {
            GTEST_SKIP() << "this system does not let the test make a folder link";
        }
        const std::string there =
            c.link == root ? c.target + history::MailboxFolderName(m_mailbox) + sep : c.target;
        ASSERT_TRUE(testsupport::WriteFile(there + "2019-01-01.json", Entry(1)));
        ASSERT_TRUE(testsupport::WriteFile(there + "2026-12-01.json", Entry(2)));
        testsupport::TraceCapture trace;
        EXPECT_EQ(history.Clear(), history::ClearOutcome::kRefused) << c.what;
        EXPECT_EQ(history.WriteDay(kToday, Entry(3)), WriteOutcome::kRefused) << c.what;
        report::EarlierReport earlier;
        CalendarDay used;
        std::string path;
        EXPECT_EQ(history.Find(kToday, earlier, used, path), history::FindOutcome::kRefused)
            << c.what;
        EXPECT_EQ(testsupport::ReadFile(there + "2019-01-01.json"), Entry(1)) << c.what;
        EXPECT_EQ(testsupport::ReadFile(there + "2026-12-01.json"), Entry(2)) << c.what;
        EXPECT_EQ(testsupport::ReadFile(there + "2026-12-09.json"), "") << c.what;
        EXPECT_TRUE(HasLineContaining(trace, "Verkn\xFCpfung")) << c.what;
    }
}

// A file named as a day that the history did not write (no marker at its start) stays,
// whether the history is cleared or thinned.
TEST_F(HistoryStoreTest, OnlyTheHistorysOwnEntriesAreDeleted) {
    const std::string planted = "{\"rows\":[],\"historyFormat\":1}";
    for (const bool clear : {true, false}) {
        TempDir appData;
        const MailboxHistory history(history::HistoryRoot(appData.Path(), "", false), m_mailbox);
        ASSERT_EQ(history.WriteDay(DaysBefore(kToday, 1), Entry(1)), WriteOutcome::kWritten);
        ASSERT_TRUE(testsupport::WriteFile(history.Folder() + "2019-01-01.json", planted));
        ASSERT_TRUE(testsupport::WriteFile(history.Folder() + "2019-02-01.json", Entry(2)));
        if (clear) {
            EXPECT_EQ(history.Clear(), history::ClearOutcome::kCleared);
            EXPECT_EQ(DayList(history.Days()), "2019-01-01\n");
        } else {
            EXPECT_EQ(history.WriteDay(kToday, Entry(3)), WriteOutcome::kWritten);
            EXPECT_EQ(DayList(history.Days()), "2019-01-01\n2026-12-08\n2026-12-09\n");
        }
        EXPECT_EQ(testsupport::ReadFile(history.Folder() + "2019-01-01.json"), planted) << clear;
    }
}

// Files dated after today that say nothing of a clock set back: each stands in the
// history beside an older entry, and the day's entry is filed all the same.
TEST_F(HistoryStoreTest, ADamagedOrFarFutureEntryDoesNotStopTheDailyEntry) {
    TempDir other;
    const struct {
        const char* what;
        CalendarDay day;
        std::string bytes;
    } cases[] = {
        {"an empty file of the last day", {9999, 12, 31}, ""},
        {"a damaged entry of tomorrow", DaysBefore(kToday, -1), Entry(3).substr(0, 60)},
        {"an entry of another mailbox", DaysBefore(kToday, -1), Entry(3, other.Path())},
        {"an entry more than a year ahead", DaysBefore(kToday, -400), Entry(3)},
    };
    for (const auto& c : cases) {
        TempDir appData;
        const MailboxHistory history(history::HistoryRoot(appData.Path(), "", false), m_mailbox);
        ASSERT_EQ(history.WriteDay(DaysBefore(kToday, 1), Entry(1)), WriteOutcome::kWritten);
        ASSERT_TRUE(
            testsupport::WriteFile(history.Folder() + history::DayFileName(c.day), c.bytes));
        EXPECT_EQ(history.WriteDay(kToday, Entry(2)), WriteOutcome::kWritten) << c.what;
    }
}

// Damaged entries after the last good one: the search gives up after its bound rather
// than read them all, and a cancelled search reads none.
TEST_F(HistoryStoreTest, TheSearchPassesOverABoundedNumberOfDamagedEntries) {
    const MailboxHistory history = History();
    ASSERT_EQ(history.WriteDay(DaysBefore(kToday, 100), Entry(1)), WriteOutcome::kWritten);
    const std::string damaged = Entry(2).substr(0, Entry(2).size() - 30);
    for (int64_t back = 0; back < 40; ++back) {
        ASSERT_TRUE(testsupport::WriteFile(
            history.Folder() + history::DayFileName(DaysBefore(kToday, back)), damaged));
    }
    testsupport::TraceCapture trace;
    EXPECT_EQ(SizeFor(kToday), -1);
    size_t passedOver = 0;
    for (const std::string& line : trace.Lines()) {
        passedOver += line.find("bergangen") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(passedOver, history::kMaxPassedOverEntries);
    EXPECT_TRUE(HasLineContaining(trace, "gibt auf"));
    EXPECT_EQ(SizeFor(DaysBefore(kToday, 41)), 1);

    const std::atomic<bool> cancel{true};
    report::EarlierReport earlier;
    CalendarDay used;
    std::string path;
    trace.Clear();
    EXPECT_EQ(history.Find(DaysBefore(kToday, 41), earlier, used, path, &cancel),
              history::FindOutcome::kCancelled);
    EXPECT_TRUE(trace.Lines().empty());
}

} // namespace
