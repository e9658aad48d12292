// The overview of a generated installation read on several threads: every row as the
// generator says a correct overview finds it, the same whatever number of mailboxes
// are read at once; each row reported once as soon as it is complete; a cancel that
// stops every thread; and a root that is left exactly as it was.
#include "mailbox/all_users_scan.h"
#include "mailbox_fixtures.h"
#include "mailgen_installation.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>

namespace {

using testsupport::TempDir;

class Installation {
public:
    explicit Installation(int users, int noHierarchy = 0) {
        mailgen::InstallationOptions options;
        options.seed = 7;
        options.users = users;
        options.noHierarchy = noHierarchy;
        options.mailbox.folders = 12;
        options.mailbox.brokenFolders = 2;
        options.mailbox.newMailFiles = 2;
        options.mailbox.maxMessageBytes = 2000;
        options.strayFolders = 2;
        options.missingFolders = 1;
        std::string error;
        m_bReady = mailgen::GenerateInstallation(m_dir / "MAIL", options, m_expected, error);
        EXPECT_TRUE(m_bReady) << error;
    }
    bool Ready() const { return m_bReady; }
    std::string Root() const { return m_dir / ("MAIL" + std::string(testsupport::Separator())); }
    const mailgen::InstallationExpectation& Expected() const { return m_expected; }

private:
    TempDir m_dir;
    mailgen::InstallationExpectation m_expected;
    bool m_bReady = false;
};

UserFault FaultOf(const mailgen::ExpectedUser& user) {
    switch (user.kind) {
    case mailgen::ExpectedUser::Kind::kMissing:
        return UserFault::kMissingFolder;
    case mailgen::ExpectedUser::Kind::kStray:
        return UserFault::kStray;
    case mailgen::ExpectedUser::Kind::kUnsafe:
        return UserFault::kUnsafeName;
    case mailgen::ExpectedUser::Kind::kRead:
        break;
    }
    return user.hierarchy ? UserFault::kNone : UserFault::kNoHierarchy;
}

void ExpectRowsAsGenerated(const AllUsersResult& result, const Installation& installation) {
    const auto& expected = installation.Expected().users;
    ASSERT_EQ(result.rows.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const UserMailbox& row = result.rows[i];
        const mailgen::ExpectedUser& user = expected[i];
        SCOPED_TRACE(user.userName);
        EXPECT_EQ(row.UserName(), user.userName);
        EXPECT_EQ(row.user.line.personalName, user.personalName);
        EXPECT_EQ(row.user.line.flag, user.flag);
        EXPECT_EQ(row.fault, FaultOf(user));
        const bool read = user.kind == mailgen::ExpectedUser::Kind::kRead ||
                          user.kind == mailgen::ExpectedUser::Kind::kStray;
        EXPECT_EQ(row.scan != nullptr, read);
        EXPECT_EQ(row.folderFiles, user.folderFiles);
        EXPECT_EQ(row.totalSize, user.totalSize);
        EXPECT_EQ(row.newMailSize, user.newMailSize);
        EXPECT_EQ(row.largestSize, user.largestSize);
        EXPECT_EQ(row.largestFile.empty(), user.folderFiles == 0);
    }
    EXPECT_EQ(result.folderFiles, installation.Expected().folderFiles);
    EXPECT_EQ(result.totalSize, installation.Expected().totalSize);
}

TEST(AllUsersScanTest, EveryRowIsAsGeneratedWhateverNumberOfMailboxesIsReadAtOnce) {
    const Installation installation(9, 2);
    ASSERT_TRUE(installation.Ready());
    for (const int atOnce : {1, 3, AllUsersThreading::kAutomatic, 40}) {
        SCOPED_TRACE(atOnce);
        AllUsersThreading threading;
        threading.mailboxesAtOnce = atOnce;
        AllUsersResult result;
        ASSERT_TRUE(ScanAllUsers(installation.Root(), result, threading));
        EXPECT_EQ(result.root, installation.Root());
        ExpectRowsAsGenerated(result, installation);
    }
}

TEST(AllUsersScanTest, TheLargestFileIsNamedAndTheLimitsAreCounted) {
    const Installation installation(2);
    ASSERT_TRUE(installation.Ready());
    AllUsersResult result;
    ASSERT_TRUE(ScanAllUsers(installation.Root(), result));
    const UserMailbox& row = result.rows.front();
    ASSERT_TRUE(row.scan);
    const auto& records = row.scan->catalogue.records;
    const auto largest = std::find_if(records.begin(), records.end(), [&](const FolderRecord& r) {
        return r.fileName == row.largestFile;
    });
    ASSERT_NE(largest, records.end());
    EXPECT_EQ(largest->size, row.largestSize);
    EXPECT_NE(largest, records.begin()); // the new-mail row is no folder file
    EXPECT_EQ(row.limits.nearLimit + row.limits.overLimit, 0);
    // Its folder as a scan with paths names it, though the overview's scan has none.
    const SharedScanResult withPaths = RunScan(UserScanRequest(row.user, true, "x"));
    for (const FolderRecord& r : withPaths->catalogue.records) {
        if (r.fileName == row.largestFile) {
            EXPECT_EQ(row.largestFolder, r.folderPath + r.folderName) << r.folderPath;
        }
    }
}

TEST(AllUsersScanTest, AMailboxSumsItsFolderFilesApartFromItsNewMail) {
    auto scan = std::make_shared<ScanResult>();
    scan->details.newMailRow = true;
    scan->catalogue = fixtures::CatalogueOf(
        {fixtures::Record("*.CNM", "", "<Posteingang>", 9000),
         fixtures::Record("A.PMM", "", "A", 1610612736ull), fixtures::Record("B.MBX", "", "B", 700),
         fixtures::Record("C.PMM", "", "C", 700), fixtures::Record("D.MBX", "", "D", 0)});
    UserMailbox row;
    SummariseMailbox(row, scan, false);
    EXPECT_EQ(row.folderFiles, 4);
    EXPECT_EQ(row.newMailSize, 9000u);
    EXPECT_EQ(row.totalSize, scan->catalogue.totalSize);
    EXPECT_EQ(row.largestFile, "A.PMM");
    EXPECT_EQ(row.limits.nearLimit, 1);
    EXPECT_EQ(row.fault, UserFault::kNoHierarchy);
    // Of two equally large files, the first one the listing gave.
    UserMailbox twins;
    SummariseMailbox(twins,
                     fixtures::ResultOf({fixtures::Record("X.PMM", "", "X", 700),
                                         fixtures::Record("Y.PMM", "", "Y", 700)}),
                     true);
    EXPECT_EQ(twins.largestFile, "X.PMM");
    EXPECT_EQ(twins.fault, UserFault::kNone);
    // A row that has a fault keeps it, the tree notwithstanding.
    UserMailbox stray;
    stray.fault = UserFault::kStray;
    SummariseMailbox(stray, fixtures::ResultOf({}), false);
    EXPECT_EQ(stray.fault, UserFault::kStray);
    EXPECT_EQ(stray.largestFile, "");
}

TEST(AllUsersScanTest, EachRowIsReportedOnceWhenCompleteAndTheCountsAddUp) {
    const Installation installation(6);
    ASSERT_TRUE(installation.Ready());
    struct Seen {
        std::mutex mutex;
        std::map<size_t, int> times;
        AllUsersResult* result = nullptr;
        bool complete = true;
    } seen;
    AllUsersResult result;
    seen.result = &result;
    ScanControl control;
    AllUsersThreading threading;
    threading.mailboxesAtOnce = 3;
    threading.control = &control;
    threading.rowDoneContext = &seen;
    threading.rowDone = [](size_t index, void* context) {
        auto& s = *static_cast<Seen*>(context);
        const std::lock_guard<std::mutex> lock(s.mutex);
        ++s.times[index];
        const UserMailbox& row = s.result->rows[index];
        // Complete when reported: a row that is read carries its scan already.
        s.complete = s.complete && (row.user.folderDir.empty() || row.scan != nullptr);
    };
    ASSERT_TRUE(ScanAllUsers(installation.Root(), result, threading));
    EXPECT_TRUE(seen.complete);
    ASSERT_EQ(seen.times.size(), result.rows.size());
    for (const auto& entry : seen.times) {
        EXPECT_EQ(entry.second, 1) << entry.first;
    }
    uint32_t readable = 0;
    for (const UserMailbox& row : result.rows) {
        readable += row.scan ? 1 : 0;
    }
    EXPECT_EQ(control.mailboxesTotal.load(), readable);
    EXPECT_EQ(control.mailboxesRead.load(), readable);
    EXPECT_EQ(control.filesTotal.load(), static_cast<uint32_t>(result.folderFiles));
    EXPECT_EQ(control.filesRead.load(), static_cast<uint32_t>(result.folderFiles));
}

TEST(AllUsersScanTest, ACancelStopsEveryThreadAndLeavesOnlyCompleteRows) {
    const Installation installation(10);
    ASSERT_TRUE(installation.Ready());
    ScanControl control;
    struct Stop {
        ScanControl* control;
        std::atomic<int> reported{0};
    } stop{&control};
    AllUsersThreading threading;
    threading.mailboxesAtOnce = 3;
    threading.control = &control;
    threading.rowDoneContext = &stop;
    threading.rowDone = [](size_t, void* context) {
        auto& s = *static_cast<Stop*>(context);
        ++s.reported;
        s.control->Cancel();
    };
    AllUsersResult result;
    ASSERT_TRUE(ScanAllUsers(installation.Root(), result, threading));
    // Each thread reports at most the row it was on when the mark was set.
    EXPECT_GE(stop.reported.load(), 1);
    EXPECT_LE(stop.reported.load(), 3);
    int read = 0;
    for (const UserMailbox& row : result.rows) {
        read += row.scan ? 1 : 0;
    }
    EXPECT_LE(read, 3);
    EXPECT_LT(read, static_cast<int>(installation.Expected().users.size()) - 4);
}

TEST(AllUsersScanTest, ARootWithoutAListIsNoInstallation) {
    TempDir dir;
    AllUsersResult result;
    EXPECT_FALSE(ScanAllUsers(dir.Path(), result));
    EXPECT_EQ(result.root, dir.Path());
    EXPECT_TRUE(result.rows.empty());
}

// Every name below the root with its size and last write, to see that nothing changed.
std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>>
Snapshot(const std::string& root) {
    std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        files[entry.path().string()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                        entry.last_write_time()};
    }
    return files;
}

TEST(AllUsersScanTest, NothingBelowTheRootIsWritten) {
    const Installation installation(4);
    ASSERT_TRUE(installation.Ready());
    const auto before = Snapshot(installation.Root());
    AllUsersResult result;
    ASSERT_TRUE(ScanAllUsers(installation.Root(), result));
    EXPECT_EQ(Snapshot(installation.Root()), before);
}

} // namespace
