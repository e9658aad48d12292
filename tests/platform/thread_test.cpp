// The platform's threads: the function gets its argument on another thread, Join
// waits for it and hands back its exit code, and a thread object owns one thread at a
// time.
#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace {

struct Job {
    std::atomic<int> runs{0};
    std::atomic<bool> release{false};
    unsigned exitCode = 0;
};

unsigned RunJob(void* argument) {
    Job* job = static_cast<Job*>(argument);
    while (!job->release.load()) {
        platform::SleepMilliseconds(1);
    }
    ++job->runs;
    return job->exitCode;
}

TEST(ThreadTest, JoinWaitsForTheFunctionAndReturnsItsExitCode) {
    for (unsigned exitCode : {0u, 1u, 255u, 0x7FFFFFFFu}) {
        Job job;
        job.exitCode = exitCode;
        platform::Thread thread;
        ASSERT_TRUE(thread.Start(RunJob, &job));
        EXPECT_TRUE(thread.IsStarted());
        platform::SleepMilliseconds(20);
        EXPECT_EQ(0, job.runs.load()) << "held until released";
        job.release = true;
        EXPECT_EQ(exitCode, thread.Join());
        EXPECT_EQ(1, job.runs.load()) << "Join returned before the function ended";
        EXPECT_FALSE(thread.IsStarted());
        EXPECT_EQ(0u, thread.Join()) << "nothing left to join";
    }
}

TEST(ThreadTest, OwnsOneThreadAtATime) {
    Job first;
    Job second;
    first.release = true;
    second.release = true;
    platform::Thread thread;
    ASSERT_TRUE(thread.Start(RunJob, &first));
    EXPECT_FALSE(thread.Start(RunJob, &second)) << "the first one is not joined yet";
    thread.Join();
    ASSERT_TRUE(thread.Start(RunJob, &second));
    thread.Join();
    EXPECT_EQ(1, first.runs.load());
    EXPECT_EQ(1, second.runs.load());
}

TEST(ThreadTest, DestroyingAThreadObjectWaitsForItsThread) {
    Job job;
    {
        platform::Thread thread;
        ASSERT_TRUE(thread.Start(RunJob, &job));
        job.release = true;
    }
    EXPECT_EQ(1, job.runs.load());
}

TEST(ThreadTest, SleepLastsAtLeastRoughlyAsLongAsAsked) {
    const auto before = std::chrono::steady_clock::now();
    platform::SleepMilliseconds(50);
    const auto slept = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - before);
    EXPECT_GE(slept.count(), 40);
}

} // namespace
