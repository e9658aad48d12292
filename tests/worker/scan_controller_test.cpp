// ScanController on generated mailboxes, with the scan held at a chosen file by the
// scan's own test hooks: the scan runs off the calling thread and its end is posted
// once; at most one scan runs and one waits; a restart or a cancel never lets the
// stopped scan's rows through; progress counts the files; the automatic refresh asks
// its interval after the last scan's end and never while one runs; a shutdown during a
// scan ends it at the next file.
#include "mailgen.h"
#include "test_support.h"
#include "worker/scan_controller.h"
#include "worker_probe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

using worker::ScanController;
using Answer = worker::ScanController::Answer;
using Cause = worker::ScanController::Cause;
using namespace workertest;

constexpr uint32_t kEndMessage = 0x8042;

// Holds the scan after its `holdAt`-th folder file (0: right after the listing) until
// opened; the scan thread is the only one with helpers set to 0.
struct Gate {
    std::atomic<bool> open{false};
    std::atomic<uint32_t> filesSeen{0};
    std::atomic<bool> holding{false};
    uint32_t holdAt = 0;
    uint32_t delayMs = 0; // every file waits this long, as on a slow share

    void Hold() {
        holding = true;
        while (!open.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        holding = false;
    }
    static void AfterListing(void* context) {
        auto& self = *static_cast<Gate*>(context);
        if (self.holdAt == 0) {
            self.Hold();
        }
    }
    static void AfterFile(void* context) {
        auto& self = *static_cast<Gate*>(context);
        if (self.delayMs != 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(self.delayMs));
        }
        if (++self.filesSeen == self.holdAt) {
            self.Hold();
        }
    }
};

class ScanControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        mailgen::Options options;
        options.seed = 42;
        options.folders = kFolders;
        options.brokenFolders = 5;
        std::string error;
        ASSERT_TRUE(mailgen::Generate(MailboxDir(), NewmailDir(), options, m_expected, error))
            << error;
        m_controller.SetTarget(FakeWindow(), kEndMessage);
        ScanThreading threading;
        threading.helpers = 0;
        threading.afterListing = &Gate::AfterListing;
        threading.afterListingContext = &m_gate;
        threading.afterFileRead = &Gate::AfterFile;
        threading.afterFileReadContext = &m_gate;
        m_controller.SetThreading(threading);
    }
    void TearDown() override {
        m_gate.open = true; // a failed check must not leave the scan held for Shutdown
        m_controller.Shutdown();
    }

    std::string MailboxDir() const {
        return m_dir / ("mb" + std::string(testsupport::Separator()));
    }
    std::string NewmailDir() const {
        return m_dir / ("nm" + std::string(testsupport::Separator()));
    }
    uint32_t FolderFiles() const { return static_cast<uint32_t>(m_expected.folders.size()); }
    // Requests told apart by the new-mail row's label, which the result keeps.
    ScanRequest Request(const char* label) const {
        return {MailboxDir(), NewmailDir(), true, true, label};
    }
    bool WaitUntilHeld() {
        return WaitUntil([&] { return m_gate.holding.load(); });
    }

    static constexpr int kFolders = 60;
    testsupport::TempDir m_dir;
    mailgen::Expectation m_expected;
    Gate m_gate;
    RecordingSink m_sink;
    ScanController m_controller{m_sink, &FakeClock};
};

TEST_F(ScanControllerTest, AScanRunsOffTheCallingThreadAndItsEndComesOnce) {
    EXPECT_EQ(Answer::kStarted, m_controller.Request(Request("A"), Cause::kUser));
    ASSERT_TRUE(WaitUntilHeld());
    EXPECT_TRUE(m_controller.IsBusy());
    EXPECT_TRUE(m_controller.GetProgress().running);
    EXPECT_FALSE(m_controller.TakeCompletion().ended) << "taken before it ended";
    EXPECT_EQ(0u, m_sink.Count());
    m_gate.open = true;
    ASSERT_TRUE(m_sink.WaitForPosts(1));
    const ScanController::Completion done = m_controller.TakeCompletion();
    ASSERT_TRUE(done.ended);
    ASSERT_NE(nullptr, done.result);
    EXPECT_EQ(Cause::kUser, done.cause);
    EXPECT_EQ("A", done.result->request.newMailLabel);
    const SharedScanResult direct = RunScan(Request("A"));
    EXPECT_EQ(direct->catalogue.fileCount, done.result->catalogue.fileCount);
    EXPECT_EQ(direct->catalogue.totalSize, done.result->catalogue.totalSize);
    EXPECT_EQ(static_cast<int32_t>(FolderFiles()) + 1, done.result->catalogue.fileCount);
    EXPECT_FALSE(m_controller.TakeCompletion().ended) << "the same end taken twice";
    EXPECT_FALSE(m_controller.IsBusy());
    EXPECT_FALSE(m_controller.GetProgress().running);
    ASSERT_EQ(1u, m_sink.Count());
    EXPECT_EQ(FakeWindow(), m_sink.Posts()[0].window);
    EXPECT_EQ(kEndMessage, m_sink.Posts()[0].message);
}

TEST_F(ScanControllerTest, RequestsWhileAScanRunsWaitAsOneAndTheLastWins) {
    EXPECT_EQ(Answer::kStarted, m_controller.Request(Request("A"), Cause::kUser));
    ASSERT_TRUE(WaitUntilHeld());
    EXPECT_EQ(Answer::kWaiting, m_controller.Request(Request("B"), Cause::kUser));
    EXPECT_EQ(Answer::kWaiting, m_controller.Request(Request("C"), Cause::kUser));
    EXPECT_EQ(Answer::kDropped, m_controller.Request(Request("D"), Cause::kAutomatic));
    m_gate.holdAt = 1000000; // the next scans run through
    m_gate.open = true;
    ASSERT_TRUE(m_sink.WaitForPosts(1));
    const ScanController::Completion first = m_controller.TakeCompletion();
    ASSERT_NE(nullptr, first.result);
    EXPECT_EQ("A", first.result->request.newMailLabel);
    EXPECT_TRUE(m_controller.IsBusy()) << "the waiting scan starts when the first is taken";
    ASSERT_TRUE(m_sink.WaitForPosts(2));
    const ScanController::Completion second = m_controller.TakeCompletion();
    ASSERT_NE(nullptr, second.result);
    EXPECT_EQ("C", second.result->request.newMailLabel);
    EXPECT_FALSE(m_controller.IsBusy());
    EXPECT_FALSE(m_controller.TakeCompletion().ended);
    EXPECT_EQ(2u, m_sink.Count());
}

TEST_F(ScanControllerTest, ARestartCancelsTheRunningScanAndItsRowsNeverShow) {
    m_gate.holdAt = 5;
    EXPECT_EQ(Answer::kStarted, m_controller.Request(Request("old view"), Cause::kUser));
    ASSERT_TRUE(WaitUntilHeld());
    EXPECT_EQ(Answer::kWaiting, m_controller.Request(Request("new view"), Cause::kRestart));
    m_gate.open = true;
    ASSERT_TRUE(m_sink.WaitForPosts(1));
    const ScanController::Completion cancelled = m_controller.TakeCompletion();
    EXPECT_TRUE(cancelled.ended);
    EXPECT_EQ(nullptr, cancelled.result);
    ASSERT_TRUE(m_sink.WaitForPosts(2));
    const ScanController::Completion restarted = m_controller.TakeCompletion();
    ASSERT_NE(nullptr, restarted.result);
    EXPECT_EQ("new view", restarted.result->request.newMailLabel);
    EXPECT_EQ(Cause::kRestart, restarted.cause);

    // A scan that ended just before the restart read the old view all the same.
    EXPECT_EQ(Answer::kStarted, m_controller.Request(Request("old view"), Cause::kUser));
    ASSERT_TRUE(m_sink.WaitForPosts(3));
    EXPECT_EQ(Answer::kWaiting, m_controller.Request(Request("new view"), Cause::kRestart));
    EXPECT_EQ(nullptr, m_controller.TakeCompletion().result);
    ASSERT_TRUE(m_sink.WaitForPosts(4));
    const ScanController::Completion last = m_controller.TakeCompletion();
    ASSERT_NE(nullptr, last.result);
    EXPECT_EQ("new view", last.result->request.newMailLabel);
}

TEST_F(ScanControllerTest, CancelEndsTheScanAtTheNextFileAndDropsTheWaitingOne) {
    EXPECT_FALSE(m_controller.Cancel()) << "nothing to cancel";
    m_gate.holdAt = 5;
    EXPECT_EQ(Answer::kStarted, m_controller.Request(Request("A"), Cause::kUser));
    ASSERT_TRUE(WaitUntilHeld());
    EXPECT_EQ(Answer::kWaiting, m_controller.Request(Request("B"), Cause::kUser));
    EXPECT_TRUE(m_controller.Cancel());
    m_gate.open = true;
    ASSERT_TRUE(m_sink.WaitForPosts(1));
    EXPECT_EQ(5u, m_controller.GetProgress().filesRead) << "read on after the cancel";
    const ScanController::Completion done = m_controller.TakeCompletion();
    EXPECT_TRUE(done.ended);
    EXPECT_EQ(nullptr, done.result);
    EXPECT_FALSE(m_controller.IsBusy()) << "the waiting scan was not dropped";
    EXPECT_EQ(1u, m_sink.Count());
}

TEST_F(ScanControllerTest, ProgressCountsTheFilesReadOfThoseFound) {
    m_gate.holdAt = 7;
    ASSERT_EQ(Answer::kStarted, m_controller.Request(Request("A"), Cause::kUser));
    ASSERT_TRUE(WaitUntilHeld());
    g_now += 250;
    worker::ScanProgress progress = m_controller.GetProgress();
    EXPECT_TRUE(progress.running);
    EXPECT_EQ(7u, progress.filesRead);
    EXPECT_EQ(FolderFiles(), progress.filesTotal);
    EXPECT_EQ(250u, progress.elapsedMs);
    m_gate.open = true;
    ASSERT_TRUE(m_sink.WaitForPosts(1));
    progress = m_controller.GetProgress();
    EXPECT_FALSE(progress.running);
    EXPECT_EQ(FolderFiles(), progress.filesRead);
    ASSERT_TRUE(m_controller.TakeCompletion().ended);
    EXPECT_EQ(0u, m_controller.GetProgress().filesRead) << "nothing runs";
}

TEST_F(ScanControllerTest, TheAutomaticRefreshAsksItsIntervalAfterTheLastScanEndedNeverDuring) {
    RecordingSink asked;
    worker::PeriodicWorker refresh(asked, &FakeClock);
    refresh.SetInterval(1000);
    m_controller.SetAutomaticRefresh(&refresh);
    ASSERT_EQ(Answer::kStarted, m_controller.Request(Request("A"), Cause::kUser));
    ASSERT_EQ(worker::PeriodicWorker::Ok, refresh.Start(FakeWindow(), kEndMessage + 1));
    ASSERT_TRUE(WaitUntilHeld());
    EXPECT_EQ(Answer::kWaiting, m_controller.Request(Request("B"), Cause::kUser));
    EXPECT_EQ(Answer::kDropped, m_controller.Request(Request("C"), Cause::kAutomatic));
    // A scan that takes longer than the interval, and the one waiting behind it.
    g_now += 3000;
    m_gate.holdAt = 1000000; // the second scan runs through
    m_gate.open = true;
    ASSERT_TRUE(m_sink.WaitForPosts(1));
    ASSERT_TRUE(m_controller.TakeCompletion().ended);
    g_now += 3000;
    ASSERT_TRUE(m_sink.WaitForPosts(2));
    g_now += 3000;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(0u, asked.Count()) << "asked while a scan ran or had not been taken";
    ASSERT_TRUE(m_controller.TakeCompletion().ended);
    g_now += 999;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(0u, asked.Count()) << "asked before the interval after the last end";
    g_now += 1;
    ASSERT_TRUE(asked.WaitForPosts(1));
    EXPECT_EQ(kEndMessage + 1, asked.Posts()[0].message);
    EXPECT_EQ(Answer::kStarted, m_controller.Request(Request("D"), Cause::kAutomatic));
}

TEST_F(ScanControllerTest, AShutdownDuringAScanEndsItAtTheNextFile) {
    m_gate.open = true;
    m_gate.delayMs = 20; // the whole scan would take over a second
    ASSERT_EQ(Answer::kStarted, m_controller.Request(Request("A"), Cause::kUser));
    ASSERT_TRUE(WaitUntil([&] { return m_gate.filesSeen.load() >= 2; }));
    EXPECT_EQ(Answer::kWaiting, m_controller.Request(Request("B"), Cause::kUser));
    const auto before = std::chrono::steady_clock::now();
    m_controller.Shutdown();
    const auto took = std::chrono::steady_clock::now() - before;
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_LT(m_gate.filesSeen.load(), FolderFiles());
    EXPECT_EQ(Answer::kDropped, m_controller.Request(Request("C"), Cause::kUser));
    EXPECT_LE(m_sink.Count(), 1u) << "the waiting scan ran after the shutdown";
}

} // namespace
