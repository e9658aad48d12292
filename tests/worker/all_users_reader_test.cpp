// AllUsersReader on a generated installation: rows are reported one by one while the
// read goes on, each complete when it is taken; a cancel stops the read before the
// last user; and a read started anew forgets the rows of the one it replaced.
#include "mailgen_installation.h"
#include "test_support.h"
#include "worker/all_users_reader.h"
#include "worker_probe.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using worker::AllUsersReader;
using namespace workertest;

constexpr uint32_t kReaderMessage = 0x8043;

class AllUsersReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        mailgen::InstallationOptions options;
        options.seed = 11;
        options.users = 6;
        options.mailbox.folders = 8;
        options.mailbox.newMailFiles = 1;
        std::string error;
        ASSERT_TRUE(mailgen::GenerateInstallation(Root(), options, m_expected, error)) << error;
        m_reader.SetTarget(FakeWindow(), kReaderMessage);
        AllUsersThreading threading;
        threading.mailboxesAtOnce = 1; // rows end in the list's order, one at a time
        m_reader.SetThreading(threading);
    }
    void TearDown() override { m_sink.Release(); }

    std::string Root() const { return m_dir / ("MAIL" + std::string(testsupport::Separator())); }
    std::shared_ptr<AllUsersResult> Plan() {
        auto result = std::make_shared<AllUsersResult>();
        EXPECT_TRUE(PlanAllUsers(Root(), *result));
        return result;
    }
    size_t ToRead(const AllUsersResult& result) const {
        size_t n = 0;
        for (const UserMailbox& row : result.rows) {
            n += row.user.folderDir.empty() ? 0 : 1;
        }
        return n;
    }
    // Waits for the end and takes every reported row; false when the end never came.
    bool Finish(std::vector<size_t>& rows, bool& cancelled) {
        if (!WaitUntil([&] { return m_sink.Count(AllUsersReader::kEnded) > 0; }, 20000)) {
            return false;
        }
        const std::vector<size_t> more = m_reader.TakeReadRows();
        rows.insert(rows.end(), more.begin(), more.end());
        return m_reader.TakeEnd(cancelled);
    }

    testsupport::TempDir m_dir;
    mailgen::InstallationExpectation m_expected;
    RecordingSink m_sink;
    AllUsersReader m_reader{m_sink};
};

TEST_F(AllUsersReaderTest, ReportsEveryRowOnceAndEndsLast) {
    std::shared_ptr<AllUsersResult> result = Plan();
    m_reader.Start(result);
    std::vector<size_t> rows;
    bool cancelled = true;
    ASSERT_TRUE(Finish(rows, cancelled));
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(m_reader.IsBusy());
    // Every planned row is reported once, those without a folder too.
    EXPECT_EQ(result->rows.size(), rows.size());
    EXPECT_EQ(result->rows.size(), std::set<size_t>(rows.begin(), rows.end()).size());
    EXPECT_EQ(rows.size(), m_sink.Count(AllUsersReader::kRowsRead));
    EXPECT_EQ(1u, m_sink.Count(AllUsersReader::kEnded));
    EXPECT_EQ(AllUsersReader::kEnded, m_sink.Posts().back().wParam) << "the end comes last";
    for (const SentMessage& post : m_sink.Posts()) {
        EXPECT_EQ(FakeWindow(), post.window);
        EXPECT_EQ(kReaderMessage, post.message);
    }
    EXPECT_EQ(m_expected.totalSize, result->totalSize);
    EXPECT_EQ(m_expected.folderFiles, result->folderFiles);
    bool again = false;
    EXPECT_FALSE(m_reader.TakeEnd(again)); // the end is taken once
}

TEST_F(AllUsersReaderTest, FirstRowIsCompleteBeforeTheLastIsRead) {
    std::shared_ptr<AllUsersResult> result = Plan();
    m_sink.HoldFirst(AllUsersReader::kRowsRead);
    m_reader.Start(result);
    ASSERT_TRUE(m_sink.WaitUntilHolding());
    const std::vector<size_t> first = m_reader.TakeReadRows();
    ASSERT_EQ(1u, first.size());
    const worker::AllUsersProgress progress = m_reader.GetProgress();
    EXPECT_TRUE(progress.running);
    EXPECT_TRUE(m_reader.IsBusy());
    EXPECT_EQ(ToRead(*result), progress.mailboxesTotal);
    EXPECT_LT(progress.mailboxesRead, progress.mailboxesTotal);
    // The row taken already has the figures the generator wrote.
    const UserMailbox& row = result->rows[first[0]];
    ASSERT_EQ(mailgen::ExpectedUser::Kind::kRead, m_expected.users[first[0]].kind);
    EXPECT_NE(nullptr, row.scan);
    EXPECT_EQ(m_expected.users[first[0]].totalSize, row.totalSize);
    m_sink.Release();
    std::vector<size_t> rows = first;
    bool cancelled = true;
    ASSERT_TRUE(Finish(rows, cancelled));
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(result->rows.size(), rows.size());
}

TEST_F(AllUsersReaderTest, CancelStopsBeforeTheLastUser) {
    std::shared_ptr<AllUsersResult> result = Plan();
    m_sink.HoldFirst(AllUsersReader::kRowsRead);
    m_reader.Start(result);
    ASSERT_TRUE(m_sink.WaitUntilHolding());
    EXPECT_TRUE(m_reader.Cancel());
    m_sink.Release();
    std::vector<size_t> rows;
    bool cancelled = false;
    ASSERT_TRUE(Finish(rows, cancelled));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(1u, rows.size());
    EXPECT_LT(rows.size(), result->rows.size());
    EXPECT_FALSE(m_reader.Cancel()); // nothing runs any more
}

TEST_F(AllUsersReaderTest, StartingAnewForgetsTheRowsOfTheReadItReplaced) {
    m_sink.HoldFirst(AllUsersReader::kRowsRead);
    m_reader.Start(Plan());
    ASSERT_TRUE(m_sink.WaitUntilHolding());
    m_sink.Release(); // the first read goes on until the second replaces it
    std::shared_ptr<AllUsersResult> second = Plan();
    m_reader.Start(second);
    ASSERT_TRUE(WaitUntil([&] { return m_sink.Count(AllUsersReader::kEnded) == 2; }, 20000));
    const std::vector<size_t> rows = m_reader.TakeReadRows();
    bool cancelled = true;
    ASSERT_TRUE(m_reader.TakeEnd(cancelled));
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(second->rows.size(), rows.size());
    EXPECT_EQ(m_expected.totalSize, second->totalSize);
}

} // namespace
