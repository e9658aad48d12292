// A cancelled scan stops where it is, on every thread: before the listing, between the
// listing and the first file, in the middle of the reading and while the paths are
// resolved. It leaves no rows, writes no folder file's trace line and says so in its
// result, and it counts the files it read of the files it found as it goes.
#include "mailbox/folder_catalogue.h"
#include "mailbox/scan_result.h"
#include "mailgen.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace {

using testsupport::TempDir;
using testsupport::TraceCapture;

// A generated mailbox with broken folder files, so a scan that runs to its end writes
// trace lines (one per broken file) that a cancelled one must not.
class Mailbox {
public:
    explicit Mailbox(int folders) {
        mailgen::Options options;
        options.seed = 21;
        options.folders = folders;
        options.brokenFolders = 12;
        options.orphans = 3;
        std::string error;
        m_bReady = mailgen::Generate(MailboxDir(), NewmailDir(), options, m_expected, error);
        EXPECT_TRUE(m_bReady) << error;
    }
    bool Ready() const { return m_bReady; }
    std::string MailboxDir() const {
        return m_dir / ("mb" + std::string(testsupport::Separator()));
    }
    std::string NewmailDir() const {
        return m_dir / ("nm" + std::string(testsupport::Separator()));
    }
    // Every folder file the listing finds: the readable ones and the broken ones.
    uint32_t FolderFiles() const { return static_cast<uint32_t>(m_expected.folders.size()); }
    ScanRequest Request() const {
        return {MailboxDir(), NewmailDir(), true, true, "<Posteingang>"};
    }

private:
    TempDir m_dir;
    mailgen::Expectation m_expected;
    bool m_bReady = false;
};

// Cancels once the scan has read `after` files (0: right after the listing).
struct Canceller {
    ScanControl* control = nullptr;
    uint32_t after = 0;
    bool atPaths = false; // cancel once the reading is done
    static void AfterListing(void* context) {
        auto& self = *static_cast<Canceller*>(context);
        if (self.after == 0) {
            self.control->Cancel();
        }
    }
    static void BeforePaths(void* context) {
        auto& self = *static_cast<Canceller*>(context);
        if (self.atPaths) {
            self.control->Cancel();
        }
    }
    static void AfterFile(void* context) {
        auto& self = *static_cast<Canceller*>(context);
        if (self.control->filesRead.load() >= self.after) {
            self.control->Cancel();
        }
    }
};

struct CancelOutcome {
    bool result = true;
    size_t rows = 0;
    int32_t fileCount = -1;
    size_t entries = 0;
    std::vector<std::string> trace;
    uint32_t filesRead = 0;
    uint32_t filesTotal = 0;
};

CancelOutcome ScanCancelling(const Mailbox& mailbox, int helpers, bool before, uint32_t after,
                             bool atPaths) {
    ScanControl control;
    Canceller canceller{&control, after, atPaths};
    if (before) {
        control.Cancel();
    }
    ScanThreading threading;
    threading.helpers = helpers;
    threading.control = &control;
    threading.afterListing = &Canceller::AfterListing;
    threading.afterListingContext = &canceller;
    threading.beforePaths = &Canceller::BeforePaths;
    threading.beforePathsContext = &canceller;
    if (!before && after > 0) {
        threading.afterFileRead = &Canceller::AfterFile;
        threading.afterFileReadContext = &canceller;
    }
    FolderCatalogue catalogue;
    ScanDetails details;
    CancelOutcome outcome;
    {
        TraceCapture trace;
        outcome.result = catalogue.Scan(mailbox.Request(), &details, threading);
        // The tree's own lines may come before the cancel; the folder files' never.
        for (const std::string& line : trace.Lines()) {
            if (line.rfind("[pmHierarch", 0) != 0) {
                outcome.trace.push_back(line);
            }
        }
    }
    outcome.rows = catalogue.records.size();
    outcome.fileCount = catalogue.fileCount;
    outcome.entries = details.entryIndex.size();
    outcome.filesRead = control.filesRead.load();
    outcome.filesTotal = control.filesTotal.load();
    return outcome;
}

TEST(ScanCancelTest, ACancelledScanLeavesNoRowsAndNoTraceAtEveryStage) {
    Mailbox mailbox(300);
    ASSERT_TRUE(mailbox.Ready());
    const uint32_t files = mailbox.FolderFiles();
    struct Stage {
        const char* what;
        bool before;
        uint32_t after;
        bool atPaths;
    } stages[] = {
        {"before the listing", true, 0, false},
        {"between the listing and the first file", false, 0, false},
        {"after the first file", false, 1, false},
        {"in the middle of the reading", false, files / 2, false},
        {"at the last file", false, files, false},
        {"while the paths are resolved", false, files + 1, true},
    };
    for (const int helpers : {0, 1, 3, 12}) {
        for (const Stage& stage : stages) {
            SCOPED_TRACE(std::string(stage.what) + ", helpers " + std::to_string(helpers));
            const CancelOutcome o =
                ScanCancelling(mailbox, helpers, stage.before, stage.after, stage.atPaths);
            EXPECT_FALSE(o.result);
            EXPECT_EQ(0u, o.rows);
            EXPECT_EQ(0, o.fileCount);
            EXPECT_EQ(0u, o.entries);
            EXPECT_TRUE(o.trace.empty()) << o.trace.front();
            EXPECT_EQ(stage.before ? 0u : files, o.filesTotal);
            // Each thread finishes the file it holds and takes no other.
            const uint32_t cancelledAt = std::min(stage.after, files);
            EXPECT_LE(o.filesRead, cancelledAt + static_cast<uint32_t>(helpers));
            EXPECT_GE(o.filesRead, cancelledAt);
        }
    }
}

TEST(ScanCancelTest, AScanNotCancelledCountsEveryFileAndGivesTheUncontrolledRows) {
    Mailbox mailbox(150);
    ASSERT_TRUE(mailbox.Ready());
    FolderCatalogue plain;
    ScanDetails plainDetails;
    std::vector<std::string> plainTrace;
    bool plainResult = false;
    {
        TraceCapture trace;
        plainResult = plain.Scan(mailbox.Request(), &plainDetails, ScanThreading());
        plainTrace = trace.Lines();
    }
    ASSERT_FALSE(plainTrace.empty()); // the broken files are there
    for (const int helpers : {0, 4}) {
        ScanControl control;
        ScanThreading threading;
        threading.helpers = helpers;
        threading.control = &control;
        FolderCatalogue controlled;
        ScanDetails details;
        TraceCapture trace;
        EXPECT_EQ(plainResult, controlled.Scan(mailbox.Request(), &details, threading));
        EXPECT_EQ(plainTrace, trace.Lines());
        EXPECT_EQ(plain.fileCount, controlled.fileCount);
        EXPECT_EQ(plain.totalSize, controlled.totalSize);
        EXPECT_EQ(plainDetails.entryIndex, details.entryIndex);
        ASSERT_EQ(plain.records.size(), controlled.records.size());
        for (size_t i = 0; i < plain.records.size(); ++i) {
            EXPECT_EQ(plain.records[i].fileName, controlled.records[i].fileName);
            EXPECT_EQ(plain.records[i].folderPath, controlled.records[i].folderPath);
        }
        EXPECT_EQ(mailbox.FolderFiles(), control.filesTotal.load());
        EXPECT_EQ(mailbox.FolderFiles(), control.filesRead.load());
    }
}

TEST(ScanCancelTest, RunScanGivesNoResultForACancelledScanAndOneOtherwise) {
    Mailbox mailbox(20);
    ASSERT_TRUE(mailbox.Ready());
    ScanControl control;
    ScanThreading threading;
    threading.control = &control;
    const SharedScanResult whole = RunScan(mailbox.Request(), threading);
    ASSERT_NE(nullptr, whole);
    EXPECT_EQ(static_cast<int32_t>(mailbox.FolderFiles()) + 1, whole->catalogue.fileCount);
    control.Cancel();
    EXPECT_EQ(nullptr, RunScan(mailbox.Request(), threading));
}

} // namespace
