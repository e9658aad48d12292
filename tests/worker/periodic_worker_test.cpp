// The automatic refresh's clock with real threads and a clock moved by hand: a request
// each interval of the clock, none while held and the interval counted from the
// release, a window that is gone changing nothing; the bounded start and stop with
// their results, and a stop that came while the thread was starting or stuck in a post.
#include "worker/periodic_worker.h"
#include "worker_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using worker::PeriodicWorker;
using namespace workertest;

constexpr uint32_t kRequest = 0x0401;

// Long enough for the thread to look at the clock a few times.
void LetThreadLook() {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

TEST(PeriodicWorkerTest, PostsOnceEachIntervalOfTheClockWhateverTheWindowSays) {
    for (platform::PostResult answer :
         {platform::PostResult::Posted, platform::PostResult::NoWindow}) {
        RecordingSink sink(answer);
        PeriodicWorker worker(sink, &FakeClock);
        worker.SetInterval(0);
        EXPECT_EQ(1000u, worker.GetInterval()) << "never a request without pause";
        worker.SetInterval(3000);
        g_startedThreads = 0;
        worker.SetThreadStarter(&CountingStarter);
        ASSERT_EQ(PeriodicWorker::Ok, worker.Start(FakeWindow(), kRequest));
        EXPECT_EQ(PeriodicWorker::Ok, worker.Start(FakeWindow(), kRequest));
        EXPECT_EQ(1, g_startedThreads.load()) << "no second thread";
        g_now += 2999;
        LetThreadLook();
        EXPECT_EQ(0u, sink.Count());
        g_now += 1;
        ASSERT_TRUE(sink.WaitForPosts(1));
        LetThreadLook();
        EXPECT_EQ(1u, sink.Count()) << "once per interval";
        g_now += 3000;
        ASSERT_TRUE(sink.WaitForPosts(2));
        EXPECT_EQ(PeriodicWorker::Running, worker.GetState());
        for (const SentMessage& post : sink.Posts()) {
            EXPECT_EQ(FakeWindow(), post.window);
            EXPECT_EQ(kRequest, post.message);
            EXPECT_EQ(0u, post.wParam);
        }
        const auto asked = Clock::now();
        EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
        EXPECT_LT(Clock::now() - asked, std::chrono::seconds(1));
        EXPECT_EQ(PeriodicWorker::Idle, worker.GetState());
    }
}

TEST(PeriodicWorkerTest, NothingIsPostedWhileHeldAndTheIntervalCountsFromTheRelease) {
    RecordingSink sink;
    PeriodicWorker worker(sink, &FakeClock);
    worker.SetInterval(1000);
    worker.Hold(true);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(FakeWindow(), kRequest));
    g_now += 5000;
    LetThreadLook();
    EXPECT_EQ(0u, sink.Count());
    worker.Hold(false);
    g_now += 999;
    LetThreadLook();
    EXPECT_EQ(0u, sink.Count());
    g_now += 1;
    EXPECT_TRUE(sink.WaitForPosts(1));
}

TEST(PeriodicWorkerTest, StartReportsHowTheThreadBeganAndAStopWhileStartingIsKept) {
    for (bool created : {false, true}) {
        RecordingSink sink;
        PeriodicWorker worker(sink, &FakeClock);
        worker.SetWaits(3, 10);
        g_holdThreads = true;
        worker.SetThreadStarter(created ? &HoldingStarter : &FailingStarter);
        if (!created) {
            // Back to idle, so that a later start may retry and a stop waits for nothing.
            EXPECT_EQ(PeriodicWorker::NoThread, worker.Start(FakeWindow(), kRequest));
            EXPECT_EQ(PeriodicWorker::Idle, worker.GetState());
            EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
            continue;
        }
        EXPECT_EQ(PeriodicWorker::TimedOut, worker.Start(FakeWindow(), kRequest));
        EXPECT_EQ(PeriodicWorker::Starting, worker.GetState());
        EXPECT_EQ(PeriodicWorker::TimedOut, worker.Stop()) << "the thread has not run yet";
        EXPECT_EQ(PeriodicWorker::StopRequested, worker.GetState());
        g_now += 60000;
        g_holdThreads = false;
        ASSERT_TRUE(WaitUntil([&] { return worker.GetState() == PeriodicWorker::Idle; }));
        EXPECT_EQ(0u, sink.Count()) << "a worker asked to stop must not post";
        EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
    }
}

TEST(PeriodicWorkerTest, AStopThatTimedOutKeepsTheWorkerUntilItsThreadEnds) {
    RecordingSink sink;
    sink.HoldFirst(0);
    PeriodicWorker worker(sink, &FakeClock);
    g_startedThreads = 0;
    worker.SetThreadStarter(&CountingStarter);
    worker.SetInterval(1000);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(FakeWindow(), kRequest));
    g_now += 1000;
    ASSERT_TRUE(sink.WaitUntilHolding());
    worker.SetWaits(3, 10);

    EXPECT_EQ(PeriodicWorker::TimedOut, worker.Stop());
    EXPECT_EQ(PeriodicWorker::StopRequested, worker.GetState());
    EXPECT_EQ(PeriodicWorker::Ok, worker.Start(FakeWindow(), kRequest)) << "nothing while stopping";
    EXPECT_EQ(1, g_startedThreads.load());
    EXPECT_EQ(PeriodicWorker::TimedOut, worker.Stop()) << "still not ended";

    sink.Release();
    EXPECT_TRUE(WaitUntil([&] { return worker.Stop() == PeriodicWorker::Ok; }));
    EXPECT_EQ(PeriodicWorker::Idle, worker.GetState());
    EXPECT_EQ(1u, sink.Count()) << "the stop is noticed after the slow post";
    EXPECT_EQ(PeriodicWorker::Ok, worker.Start(FakeWindow(), kRequest));
    EXPECT_EQ(2, g_startedThreads.load());
}

} // namespace
