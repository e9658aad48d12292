// One scan as a shared result: what the request asks for reaches the rows, the details
// the tree needs come with them, the time is stamped, and a result never changes once
// made, whatever scans follow.
#include "mailbox/scan_result.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

using fixtures::HierarchyLine;
using fixtures::PmmHeader;
using testsupport::TempDir;
using testsupport::WriteFile;

class ScanResultTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFile(box / "hierarch.pm", HierarchyLine(1, "A", "", "Archiv") +
                                                       HierarchyLine(1, "B", "A", "Alt")));
        ASSERT_TRUE(WriteFile(box / "A.PMM", PmmHeader("Archiv", "A") + std::string(10, 'x')));
        ASSERT_TRUE(WriteFile(box / "B.PMM", PmmHeader("Alt", "B") + std::string(20, 'x')));
        ASSERT_TRUE(WriteFile(news / "1.CNM", std::string(7, 'n')));
        request.mailboxDir = box.Path();
        request.newmailDir = news.Path();
        request.newMailLabel = "<Posteingang>";
    }
    TempDir box;
    TempDir news;
    ScanRequest request;
};

TEST_F(ScanResultTest, EachSwitchOfTheRequestReachesTheRowsAndTheDetails) {
    const struct {
        bool paths;
        bool newMail;
        size_t rows;
        uint64_t total;
    } cases[] = {
        {true, true, 3, 128 * 2 + 30 + 7},
        {true, false, 2, 128 * 2 + 30},
        {false, true, 3, 128 * 2 + 30 + 7},
        {false, false, 2, 128 * 2 + 30},
    };
    for (const auto& c : cases) {
        request.resolvePaths = c.paths;
        request.includeNewMail = c.newMail;
        const SharedScanResult result = RunScan(request);
        ASSERT_NE(nullptr, result);
        const std::string what = std::string(c.paths ? "paths " : "") + (c.newMail ? "new" : "");
        const std::vector<FolderRecord>& rows = result->catalogue.records;
        EXPECT_EQ(c.rows, rows.size()) << what;
        EXPECT_EQ(static_cast<int32_t>(c.rows), result->catalogue.fileCount) << what;
        EXPECT_EQ(c.total, result->catalogue.totalSize) << what;
        EXPECT_TRUE(result->hierarchyRead) << what;
        EXPECT_EQ(c.paths, result->details.hierarchyRead) << what;
        EXPECT_EQ(c.newMail, result->details.newMailRow) << what;
        EXPECT_EQ(c.newMail, rows[0].folderName == "<Posteingang>") << what;
        for (size_t r = c.newMail ? 1 : 0; r < rows.size(); ++r) {
            EXPECT_EQ(c.paths, !rows[r].folderPath.empty()) << what << " " << rows[r].fileName;
            EXPECT_EQ(c.paths, result->details.entryIndex[r] >= 0) << what << " " << r;
        }
        EXPECT_EQ(c.rows, result->details.entryIndex.size()) << what;
        EXPECT_EQ(request.mailboxDir, result->request.mailboxDir) << what;
        EXPECT_EQ(c.paths, result->request.resolvePaths) << what;
        EXPECT_EQ(c.newMail, result->request.includeNewMail) << what;
    }
}

TEST_F(ScanResultTest, AnUnreadableTableIsToldAndTheRowsStillCome) {
    ASSERT_TRUE(testsupport::RemoveFile(box / "hierarch.pm"));
    const SharedScanResult result = RunScan(request);
    EXPECT_FALSE(result->hierarchyRead);
    EXPECT_EQ(3u, result->catalogue.records.size());
    request.resolvePaths = false;
    EXPECT_TRUE(RunScan(request)->hierarchyRead) << "not wanted, so not missed";
}

TEST_F(ScanResultTest, AResultStaysAsItWasWhileLaterScansSeeTheChangedMailbox) {
    const SharedScanResult first = RunScan(request);
    const FolderRecord* row = &first->catalogue.records[1];
    ASSERT_TRUE(WriteFile(box / "C.PMM", PmmHeader("Neu", "C") + std::string(1000, 'x')));
    const SharedScanResult second = RunScan(request);
    EXPECT_EQ(3u, first->catalogue.records.size());
    EXPECT_EQ(4u, second->catalogue.records.size());
    EXPECT_EQ(row, &first->catalogue.records[1]) << "rows never move";
    EXPECT_EQ(first->catalogue.totalSize + 128 + 1000, second->catalogue.totalSize);
}

TEST_F(ScanResultTest, TheScanTimeIsTheLocalTimeOfDayWhenItEnded) {
    const std::time_t before = std::time(nullptr);
    const SharedScanResult result = RunScan(request);
    const std::time_t after = std::time(nullptr);
    std::tm local = {};
    bool seen = false;
    for (std::time_t t = before; t <= after && !seen; ++t) {
#ifdef _WIN32
        local = *std::localtime(&t);
#else
        localtime_r(&t, &local);
#endif
        seen = local.tm_hour == result->scanTime.hour && local.tm_min == result->scanTime.minute &&
               local.tm_sec == result->scanTime.second;
    }
    EXPECT_TRUE(seen) << result->scanTime.hour << ":" << result->scanTime.minute << ":"
                      << result->scanTime.second;
}

TEST_F(ScanResultTest, ThreadingPassedToTheScanGivesTheRowsOfOneThread) {
    const SharedScanResult alone = RunScan(request);
    for (int helpers : {0, 1, 3}) {
        ScanThreading threading;
        threading.helpers = helpers;
        const SharedScanResult result = RunScan(request, threading);
        ASSERT_EQ(alone->catalogue.records.size(), result->catalogue.records.size());
        for (size_t i = 0; i < alone->catalogue.records.size(); ++i) {
            EXPECT_EQ(alone->catalogue.records[i].fileName, result->catalogue.records[i].fileName);
            EXPECT_EQ(alone->catalogue.records[i].folderPath,
                      result->catalogue.records[i].folderPath);
        }
    }
}

} // namespace
