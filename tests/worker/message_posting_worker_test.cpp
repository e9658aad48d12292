// MessagePostingWorker against a recording sink: what it posts and where, that a target
// that is gone changes nothing about its running, and that a running worker keeps its
// target. The real window queue is tested under Windows in the _win32 test.
#include "worker/message_posting_worker.h"
#include "worker_probe.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using platform::PostResult;
using platform::WindowHandle;
using worker::MessagePostingWorker;
using worker::PeriodicWorker;
using workertest::WaitUntil;

struct Post {
    WindowHandle window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

class RecordingSink : public worker::MessageSink {
public:
    explicit RecordingSink(PostResult answer = PostResult::Posted) : m_answer(answer) {}

    PostResult Post(WindowHandle window, uint32_t message, uintptr_t wParam,
                    intptr_t lParam) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_posts.push_back({window, message, wParam, lParam});
        return m_answer;
    }
    std::vector<::Post> Posts() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_posts;
    }
    size_t Count() { return Posts().size(); }

private:
    const PostResult m_answer;
    std::mutex m_mutex;
    std::vector<::Post> m_posts;
};

WindowHandle FakeWindow(uintptr_t value) {
    return reinterpret_cast<WindowHandle>(value);
}

TEST(MessagePostingWorkerTest, PostsTheMessageWithItsParameterToTheTarget) {
    struct Case {
        uint32_t message;
        intptr_t parameter;
    } cases[] = {{worker::kRefreshRequestMessage, 0}, {0x8123, -7}, {0xFFFFFFFFu, 123456}};
    for (const Case& c : cases) {
        RecordingSink sink;
        MessagePostingWorker worker(sink);
        ASSERT_EQ(PeriodicWorker::Ok,
                  worker.StartPosting(FakeWindow(0x1234), c.message, true, c.parameter));
        ASSERT_TRUE(WaitUntil([&] { return sink.Count() >= 1; }));
        const ::Post post = sink.Posts()[0];
        EXPECT_EQ(FakeWindow(0x1234), post.window);
        EXPECT_EQ(c.message, post.message);
        EXPECT_EQ(0u, post.wParam) << "the first parameter is always 0";
        EXPECT_EQ(c.parameter, post.lParam);
    }
}

TEST(MessagePostingWorkerTest, KeepsRunningWhenTheTargetIsGoneOrRefusesTheMessage) {
    for (PostResult answer : {PostResult::NoWindow, PostResult::Failed}) {
        RecordingSink sink(answer);
        MessagePostingWorker worker(sink);
        worker.SetInterval(20, false);
        ASSERT_EQ(PeriodicWorker::Ok,
                  worker.StartPosting(FakeWindow(0x99), worker::kRefreshRequestMessage, true, 0));
        EXPECT_TRUE(WaitUntil([&] { return sink.Count() >= 3; }));
        EXPECT_EQ(PeriodicWorker::Running, worker.GetState());
        EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
    }
}

TEST(MessagePostingWorkerTest, StartPostingOnARunningWorkerKeepsWhatItPosts) {
    RecordingSink sink;
    MessagePostingWorker worker(sink);
    worker.SetInterval(20, false);
    ASSERT_EQ(PeriodicWorker::Ok, worker.StartPosting(FakeWindow(0xA), 0x0401, true, 1));
    EXPECT_EQ(PeriodicWorker::Ok, worker.StartPosting(FakeWindow(0xB), 0x0555, true, 2));
    const size_t seen = sink.Count();
    ASSERT_TRUE(WaitUntil([&] { return sink.Count() >= seen + 3; }));
    for (const ::Post& post : sink.Posts()) {
        EXPECT_EQ(FakeWindow(0xA), post.window);
        EXPECT_EQ(0x0401u, post.message);
        EXPECT_EQ(1, post.lParam);
    }

    // Once stopped, a new StartPosting takes the new target.
    ASSERT_EQ(PeriodicWorker::Ok, worker.Stop());
    const size_t before = sink.Count();
    ASSERT_EQ(PeriodicWorker::Ok, worker.StartPosting(FakeWindow(0xB), 0x0555, true, 2));
    ASSERT_TRUE(WaitUntil([&] { return sink.Count() > before; }));
    EXPECT_EQ(FakeWindow(0xB), sink.Posts()[before].window);
    EXPECT_EQ(0x0555u, sink.Posts()[before].message);
}

TEST(MessagePostingWorkerTest, DestroyingARunningWorkerStopsPosting) {
    RecordingSink sink;
    {
        MessagePostingWorker worker(sink);
        worker.SetInterval(10, true);
        ASSERT_EQ(PeriodicWorker::Ok,
                  worker.StartPosting(FakeWindow(0x5), worker::kRefreshRequestMessage, false, 0));
        ASSERT_TRUE(WaitUntil([&] { return sink.Count() >= 2; }));
    }
    const size_t afterDestruction = sink.Count();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(afterDestruction, sink.Count());
}

} // namespace
