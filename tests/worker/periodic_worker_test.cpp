// PeriodicWorker with real threads: ticks and their timing, the bounded start and stop
// with their results, the races between a stop and a thread that is still starting or
// slow to end, and that no thread outlives a stop cycle or the worker itself. Timing
// checks use lower bounds the loop guarantees and generous upper bounds.
#include "worker_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

using worker::PeriodicWorker;
using namespace workertest;
using std::chrono::milliseconds;

long long MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration_cast<milliseconds>(to - from).count();
}

TEST(PeriodicWorkerTest, TicksArriveAtTheInterval) {
    Probe probe;
    ProbeWorker worker(probe);
    worker.SetInterval(200, false);
    const Clock::time_point started = Clock::now();
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(false));
    ASSERT_TRUE(WaitUntil([&] { return probe.ticks >= 4; }, 10000));
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());

    // Each tick needs two full sleeps of 100 ms: never sooner than the interval after the
    // last one (less a little for a platform sleep that wakes early), never at every step.
    const auto times = probe.TickTimes();
    ASSERT_GE(times.size(), 4u);
    EXPECT_GE(MillisecondsBetween(started, times[0]), 180);
    for (size_t i = 1; i < times.size(); ++i) {
        const long long gap = MillisecondsBetween(times[i - 1], times[i]);
        EXPECT_GE(gap, 180) << "tick " << i;
        EXPECT_LE(gap, 3000) << "tick " << i;
    }
}

TEST(PeriodicWorkerTest, FireNowTicksAtOnceAndOtherwiseWaitsForTheInterval) {
    struct Case {
        bool fireNow;
        int ticksExpected;
    } cases[] = {{true, 1}, {false, 0}};
    for (const Case& c : cases) {
        Probe probe;
        ProbeWorker worker(probe);
        worker.SetInterval(60000, false);
        ASSERT_EQ(PeriodicWorker::Ok, worker.Start(c.fireNow));
        WaitUntil([&] { return probe.ticks >= 1; }, 600);
        EXPECT_EQ(c.ticksExpected, probe.ticks.load()) << "fireNow " << c.fireNow;
    }
}

TEST(PeriodicWorkerTest, FireNowIntervalOnARunningWorkerTicksAtTheNextStepWithoutRestarting) {
    Probe probe;
    ProbeWorker worker(probe);
    worker.SetInterval(60000, false);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(false));
    worker.SetInterval(30000, true);
    ASSERT_TRUE(WaitUntil([&] { return probe.ticks == 1; }, 2000));
    EXPECT_EQ(1, probe.starts.load());
    EXPECT_EQ(30000u, worker.GetInterval());
}

TEST(PeriodicWorkerTest, SetIntervalShrinksTheStepAndNeverGrowsIt) {
    struct Case {
        std::vector<uint32_t> intervals;
        uint32_t step;
        uint32_t interval;
    } cases[] = {
        {{}, 100, 1000},
        {{50}, 50, 50},
        {{50, 1000}, 50, 1000},
        {{100}, 100, 100},
        {{250, 20, 5000}, 20, 5000},
        {{0}, 100, 1000}, // zero means the default, never a tick at every step
        {{30, 0}, 30, 1000},
        {{1}, 1, 1},
        {{0xFFFFFFFFu}, 100, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        Probe probe;
        ProbeWorker worker(probe);
        for (uint32_t interval : c.intervals) {
            worker.SetInterval(interval, false);
        }
        EXPECT_EQ(c.step, worker.GetStep()) << c.intervals.size() << " calls";
        EXPECT_EQ(c.interval, worker.GetInterval()) << c.intervals.size() << " calls";
    }
}

TEST(PeriodicWorkerTest, ZeroIntervalNeverTicksWithoutPause) {
    Probe probe;
    ProbeWorker worker(probe);
    worker.SetInterval(0, true);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(false));
    ASSERT_TRUE(WaitUntil([&] { return probe.ticks >= 1; }));
    std::this_thread::sleep_for(milliseconds(600));
    // The fire-now tick, then the next one only after ten sleeps of 100 ms.
    EXPECT_EQ(1, probe.ticks.load());
}

TEST(PeriodicWorkerTest, StartWhileRunningReturnsOkAndStartsNoSecondThread) {
    Probe probe;
    ProbeWorker worker(probe);
    g_startedThreads = 0;
    worker.SetThreadStarter(CountingStarter);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(false));
    EXPECT_EQ(PeriodicWorker::Ok, worker.Start(false));
    EXPECT_EQ(PeriodicWorker::Ok, worker.Start(true));
    EXPECT_EQ(PeriodicWorker::Running, worker.GetState());
    EXPECT_EQ(1, g_startedThreads.load());
    EXPECT_EQ(1, probe.starts.load());
}

TEST(PeriodicWorkerTest, StopEndsTheThreadWellWithinOneSecondAndStartStartsANewOne) {
    Probe probe;
    ProbeWorker worker(probe);
    const int threadsBefore = CountThreadsBeforeTest();
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(false));
    EXPECT_EQ(threadsBefore + 1, CountProcessThreads());

    const Clock::time_point asked = Clock::now();
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
    EXPECT_LT(MillisecondsBetween(asked, Clock::now()), 1000);
    EXPECT_EQ(PeriodicWorker::Idle, worker.GetState());
    EXPECT_EQ(1, probe.stops.load());
    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() == threadsBefore; }));

    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(true));
    EXPECT_EQ(2, probe.starts.load());
    EXPECT_TRUE(WaitUntil([&] { return probe.ticks == 1; }));
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop()) << "a second stop finds nothing to stop";
    EXPECT_EQ(2, probe.stops.load());
    EXPECT_EQ(2, probe.stopRequests.load());
}

TEST(PeriodicWorkerTest, StopRequestRunsOnTheStoppingThreadAfterTheStateSaysSo) {
    Probe probe;
    ProbeWorker worker(probe);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(false));
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
    EXPECT_EQ(1, probe.stopRequests.load());
    EXPECT_EQ(PeriodicWorker::StopRequested, probe.stateAtStopRequest.load());
}

TEST(PeriodicWorkerTest, ThousandStartStopCyclesLeaveNoThreadBehind) {
    Probe probe;
    ProbeWorker worker(probe);
    // Short steps and pauses keep the cycles quick; the logic is the same.
    worker.SetInterval(1, false);
    worker.SetWaits(1000, 1);
    const int threadsBefore = CountThreadsBeforeTest();
    ASSERT_GT(threadsBefore, 0);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(PeriodicWorker::Ok, worker.Start(i % 2 == 0)) << "cycle " << i;
        ASSERT_EQ(PeriodicWorker::Ok, worker.Stop()) << "cycle " << i;
    }
    EXPECT_EQ(1000, probe.starts.load());
    EXPECT_EQ(1000, probe.stops.load());
    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() == threadsBefore; }))
        << CountProcessThreads() << " threads, " << threadsBefore << " before";
}

TEST(PeriodicWorkerTest, TickReturningFalseEndsTheThread) {
    Probe probe;
    probe.lastTick = 3;
    ProbeWorker worker(probe);
    worker.SetInterval(300, true);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(false));
    ASSERT_TRUE(WaitUntil([&] { return worker.GetState() == PeriodicWorker::Idle; }));
    EXPECT_EQ(3, probe.ticks.load());
    EXPECT_EQ(1, probe.stops.load());
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
    EXPECT_EQ(0, probe.stopRequests.load()) << "nothing was left to ask";
    EXPECT_EQ(PeriodicWorker::Ok, worker.Start(false)) << "an ended worker starts again";
    EXPECT_EQ(2, probe.starts.load());
}

enum class Begin { Runs, Refuses, Hangs, CannotBeCreated };

TEST(PeriodicWorkerTest, StartReportsHowTheThreadBegan) {
    struct Case {
        Begin begin;
        int result;
        int32_t state;
        int starts;
    } cases[] = {
        {Begin::Runs, PeriodicWorker::Ok, PeriodicWorker::Running, 1},
        {Begin::Refuses, PeriodicWorker::EndedWhileStarting, PeriodicWorker::Idle, 1},
        {Begin::Hangs, PeriodicWorker::TimedOut, PeriodicWorker::Starting, 1},
        // Back to idle, so a later start may retry and a stop waits for nothing.
        {Begin::CannotBeCreated, PeriodicWorker::NoThread, PeriodicWorker::Idle, 0},
    };
    for (const Case& c : cases) {
        Probe probe;
        probe.startResult = c.begin != Begin::Refuses;
        probe.holdStart = c.begin == Begin::Hangs;
        ProbeWorker worker(probe);
        ReleaseOnExit release(probe);
        worker.SetWaits(50, 20);
        if (c.begin == Begin::CannotBeCreated) {
            worker.SetThreadStarter(FailingStarter);
        }
        const int index = static_cast<int>(c.begin);
        EXPECT_EQ(c.result, worker.Start(true)) << "case " << index;
        EXPECT_EQ(c.state, worker.GetState()) << "case " << index;
        EXPECT_TRUE(WaitUntil([&] { return probe.starts == c.starts; })) << "case " << index;
        probe.holdStart = false;
    }
}

TEST(PeriodicWorkerTest, FailedThreadCreationLetsALaterStartRetry) {
    Probe probe;
    ProbeWorker worker(probe);
    worker.SetThreadStarter(FailingStarter);
    EXPECT_EQ(PeriodicWorker::NoThread, worker.Start(false));
    EXPECT_EQ(PeriodicWorker::NoThread, worker.Start(false));
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
    EXPECT_EQ(0, probe.stopRequests.load()) << "there was nothing to stop";

    g_startedThreads = 0;
    worker.SetThreadStarter(CountingStarter);
    EXPECT_EQ(PeriodicWorker::Ok, worker.Start(true));
    EXPECT_EQ(1, g_startedThreads.load());
    EXPECT_TRUE(WaitUntil([&] { return probe.ticks == 1; }));
}

TEST(PeriodicWorkerTest, StopWhileStartingIsNeverOverwrittenByRunning) {
    Probe probe;
    probe.holdStart = true;
    ProbeWorker worker(probe);
    ReleaseOnExit release(probe);
    worker.SetWaits(3, 10);
    ASSERT_EQ(PeriodicWorker::TimedOut, worker.Start(true));
    ASSERT_EQ(PeriodicWorker::Starting, worker.GetState());

    EXPECT_EQ(PeriodicWorker::TimedOut, worker.Stop()) << "the thread is still in OnStart";
    EXPECT_EQ(PeriodicWorker::StopRequested, worker.GetState());
    EXPECT_EQ(1, probe.stopRequests.load());

    probe.holdStart = false;
    ASSERT_TRUE(WaitUntil([&] { return worker.GetState() == PeriodicWorker::Idle; }));
    EXPECT_EQ(0, probe.ticks.load()) << "a worker asked to stop must not run its action";
    EXPECT_EQ(1, probe.stops.load());
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
}

TEST(PeriodicWorkerTest, StopThatTimedOutKeepsTheWorkerUntilTheThreadEnds) {
    Probe probe;
    probe.holdTick = true;
    ProbeWorker worker(probe);
    ReleaseOnExit release(probe);
    g_startedThreads = 0;
    worker.SetThreadStarter(CountingStarter);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(true));
    ASSERT_TRUE(WaitUntil([&] { return probe.ticks == 1; }));
    worker.SetWaits(3, 10);

    EXPECT_EQ(PeriodicWorker::TimedOut, worker.Stop());
    EXPECT_EQ(PeriodicWorker::StopRequested, worker.GetState());
    EXPECT_EQ(PeriodicWorker::Ok, worker.Start(false)) << "does nothing while stopping";
    EXPECT_EQ(1, g_startedThreads.load());
    // Still not ended: a second stop must say so instead of reporting success.
    EXPECT_EQ(PeriodicWorker::TimedOut, worker.Stop());
    EXPECT_EQ(1, probe.stopRequests.load());

    probe.holdTick = false;
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
    EXPECT_EQ(PeriodicWorker::Idle, worker.GetState());
    EXPECT_EQ(1, probe.ticks.load()) << "the stop request is noticed after the slow tick";
    EXPECT_EQ(PeriodicWorker::Ok, worker.Start(false));
    EXPECT_EQ(2, g_startedThreads.load());
}

TEST(PeriodicWorkerTest, DestroyingARunningWorkerStopsIt) {
    Probe probe;
    const int threadsBefore = CountThreadsBeforeTest();
    {
        ProbeWorker worker(probe);
        worker.SetInterval(50, true);
        ASSERT_EQ(PeriodicWorker::Ok, worker.Start(false));
        ASSERT_TRUE(WaitUntil([&] { return probe.ticks >= 2; }));
    }
    EXPECT_EQ(1, probe.stopRequests.load());
    EXPECT_EQ(1, probe.stops.load());
    const int ticksAtEnd = probe.ticks.load();
    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() == threadsBefore; }));
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(ticksAtEnd, probe.ticks.load());
}

TEST(PeriodicWorkerTest, DestroyingAWorkerWaitsForAThreadThatOutlivedItsStop) {
    Probe probe;
    probe.holdTick = true;
    auto worker = std::make_unique<ProbeWorker>(probe);
    ReleaseOnExit release(probe);
    ASSERT_EQ(PeriodicWorker::Ok, worker->Start(true));
    ASSERT_TRUE(WaitUntil([&] { return probe.ticks == 1; }));
    worker->SetWaits(2, 10);
    ASSERT_EQ(PeriodicWorker::TimedOut, worker->Stop());

    std::thread releaser([&] {
        std::this_thread::sleep_for(milliseconds(300));
        probe.holdTick = false;
    });
    // The tick still runs on the worker's memory: destruction must wait for it, far
    // beyond the stop's own bounded wait.
    worker.reset();
    EXPECT_EQ(1, probe.ticksReturned.load());
    EXPECT_EQ(1, probe.stops.load());
    releaser.join();
}

} // namespace
