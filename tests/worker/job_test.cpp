// The one job class with real threads: the body runs off the calling thread and the
// window hears of its end once, after the body returned; a thread that cannot be
// created runs the body here or not at all, as asked; a cancel reaches only a running
// body; a body that fails still ends; and no thread outlives a job or a thousand of them.
#include "worker_probe.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <thread>

namespace {

using worker::Job;
using namespace workertest;

constexpr uint32_t kJobMessage = 0x8044;

TEST(JobTest, TheBodyRunsOnAThreadOfItsOwnAndItsEndIsTakenOnce) {
    RecordingSink sink;
    Job job(sink);
    job.SetTarget(FakeWindow(), kJobMessage);
    std::atomic<bool> open{false};
    std::thread::id ranOn;
    ASSERT_TRUE(job.Start(
        [&] {
            ranOn = std::this_thread::get_id();
            while (!open.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            job.Post(7);
            return true;
        },
        Job::IfNoThread::kFail));
    EXPECT_TRUE(job.IsRunning());
    EXPECT_FALSE(job.TakeEnd()) << "taken before it ended";
    open = true;
    ASSERT_TRUE(sink.WaitForPosts(2));
    EXPECT_NE(std::this_thread::get_id(), ranOn);
    EXPECT_FALSE(job.IsRunning());
    EXPECT_TRUE(job.IsBusy()) << "until its end is taken";
    EXPECT_TRUE(job.TakeEnd());
    EXPECT_FALSE(job.TakeEnd()) << "the same end taken twice";
    EXPECT_FALSE(job.IsBusy());
    const std::vector<SentMessage> posts = sink.Posts();
    ASSERT_EQ(2u, posts.size());
    EXPECT_EQ(7u, posts[0].wParam);
    EXPECT_EQ(0u, posts[1].wParam) << "the end comes last";
    for (const SentMessage& post : posts) {
        EXPECT_EQ(FakeWindow(), post.window);
        EXPECT_EQ(kJobMessage, post.message);
    }

    // A body that has nothing to tell ends without a message.
    ASSERT_TRUE(job.Start([] { return false; }, Job::IfNoThread::kFail));
    ASSERT_TRUE(WaitUntil([&] { return !job.IsRunning(); }));
    job.Wait();
    EXPECT_EQ(2u, sink.Count());
}

TEST(JobTest, WithoutAThreadTheBodyRunsHereOrNotAtAllAsAsked) {
    for (Job::IfNoThread ifNoThread : {Job::IfNoThread::kRunHere, Job::IfNoThread::kFail}) {
        const bool runHere = ifNoThread == Job::IfNoThread::kRunHere;
        RecordingSink sink;
        Job job(sink);
        job.SetThreadStarter(&FailingStarter);
        std::thread::id ranOn;
        const auto body = [&] {
            ranOn = std::this_thread::get_id();
            return true;
        };
        EXPECT_EQ(runHere, job.Start(body, ifNoThread)) << runHere;
        EXPECT_EQ(runHere ? std::this_thread::get_id() : std::thread::id(), ranOn) << runHere;
        EXPECT_EQ(runHere ? 1u : 0u, sink.Count()) << "ended when Start returned";
        EXPECT_EQ(runHere, job.TakeEnd()) << runHere;
        EXPECT_FALSE(job.IsBusy()) << runHere;

        job.SetThreadStarter(&CountingStarter);
        ASSERT_TRUE(job.Start(body, ifNoThread)) << "a later start tries again";
        ASSERT_TRUE(sink.WaitForPosts(runHere ? 2 : 1));
        EXPECT_TRUE(job.TakeEnd());
        EXPECT_NE(std::this_thread::get_id(), ranOn);
    }
}

TEST(JobTest, ACancelReachesOnlyARunningBodyAndTheNextStartBeginsUncancelled) {
    RecordingSink sink;
    Job job(sink);
    EXPECT_FALSE(job.Cancel()) << "nothing runs";
    ASSERT_TRUE(job.Start(
        [&] {
            while (!job.Control().IsCancelled()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            return true;
        },
        Job::IfNoThread::kFail));
    EXPECT_TRUE(job.Cancel());
    ASSERT_TRUE(sink.WaitForPosts(1));
    EXPECT_FALSE(job.Cancel()) << "it has ended";
    EXPECT_TRUE(job.TakeEnd());

    // An ended job is not cancelled after the fact: its owner reads the mark at its end.
    job.Control().filesRead = 5;
    ASSERT_TRUE(job.Start([&] { return !job.Control().IsCancelled(); }, Job::IfNoThread::kFail));
    ASSERT_TRUE(sink.WaitForPosts(2)) << "the mark of the job before was kept";
    EXPECT_FALSE(job.Cancel());
    EXPECT_FALSE(job.Control().IsCancelled());
    EXPECT_EQ(0u, job.Control().filesRead.load()) << "the counts start at 0";
}

TEST(JobTest, ABodyThatFailsEndsAsCancelledAndStillTellsTheWindow) {
    RecordingSink sink;
    Job job(sink);
    ASSERT_TRUE(job.Start([]() -> bool { throw std::bad_alloc(); }, Job::IfNoThread::kFail));
    ASSERT_TRUE(sink.WaitForPosts(1));
    EXPECT_TRUE(job.TakeEnd());
    EXPECT_TRUE(job.Control().IsCancelled());
}

TEST(JobTest, NoThreadOutlivesItsJob) {
    RecordingSink sink;
    const int threadsBefore = CountThreadsBeforeTest();
    ASSERT_GT(threadsBefore, 0);
    {
        Job job(sink);
        for (int i = 0; i < 1000; ++i) {
            ASSERT_TRUE(job.Start([] { return true; }, Job::IfNoThread::kFail)) << i;
            if (i % 2 == 0) {
                job.Stop();
            }
        }
    }
    EXPECT_EQ(1000u, sink.Count());
    EXPECT_TRUE(WaitUntil([&] { return CountProcessThreads() == threadsBefore; }))
        << CountProcessThreads() << " threads, " << threadsBefore << " before";

    // Destroyed while its body runs, a job cancels it and waits for its end.
    std::atomic<bool> finished{false};
    auto job = std::make_unique<Job>(sink);
    Job* const running = job.get();
    ASSERT_TRUE(job->Start(
        [&] {
            while (!running->Control().IsCancelled()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            finished = true;
            return false;
        },
        Job::IfNoThread::kFail));
    job.reset();
    EXPECT_TRUE(finished.load());
}

} // namespace
