// The auto-refresh worker against real windows: the refresh request arrives in the
// target window's queue as 0x0401 with both parameters 0, and a window that has been
// destroyed gets nothing posted while the worker runs on. Message-only windows need no
// display.
#include "worker/periodic_worker.h"
#include "worker_probe.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <vector>

namespace {

using platform::PostResult;
using worker::PeriodicWorker;
using namespace workertest;

constexpr UINT kRefreshRequest = WM_USER + 1;

// A message-only window of this thread, destroyed with the object unless already gone.
class MessageWindow {
public:
    MessageWindow()
        : m_hwnd(CreateWindowExA(0, "STATIC", "worker test", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr)) {}
    ~MessageWindow() { Destroy(); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    void Destroy() {
        if (m_hwnd != nullptr && IsWindow(m_hwnd)) {
            DestroyWindow(m_hwnd);
        }
    }

private:
    HWND m_hwnd;
};

// Takes a refresh request for `hwnd` out of this thread's queue, waiting up to
// `timeoutMs` for one to arrive.
bool TakeRefreshRequest(HWND hwnd, MSG& msg, int timeoutMs) {
    return WaitUntil(
        [&] {
            return PeekMessageA(&msg, hwnd, kRefreshRequest, kRefreshRequest, PM_REMOVE) != FALSE;
        },
        timeoutMs);
}

// Passes every post on to the platform and remembers what the platform answered.
class ObservingSink : public worker::MessageSink {
public:
    PostResult Post(platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                    intptr_t lParam) override {
        const PostResult result = worker::WindowMessageSink().Post(window, message, wParam, lParam);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_results.push_back(result);
        return result;
    }
    std::vector<PostResult> Results() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_results;
    }

private:
    std::mutex m_mutex;
    std::vector<PostResult> m_results;
};

TEST(WindowMessageTest, PostsOnlyToAWindowThatStillExists) {
    MessageWindow window;
    ASSERT_NE(nullptr, window.Handle());
    EXPECT_EQ(PostResult::Posted,
              platform::PostMessageIfWindowExists(window.Handle(), WM_USER + 1, 0, 0));
    MSG msg;
    EXPECT_TRUE(TakeRefreshRequest(window.Handle(), msg, 1000));

    window.Destroy();
    EXPECT_EQ(PostResult::NoWindow,
              platform::PostMessageIfWindowExists(window.Handle(), WM_USER + 1, 0, 0));
    EXPECT_EQ(PostResult::NoWindow,
              platform::PostMessageIfWindowExists(nullptr, WM_USER + 1, 0, 0));
}

TEST(WindowWorkerTest, RefreshRequestArrivesInTheWindowQueue) {
    MessageWindow window;
    ASSERT_NE(nullptr, window.Handle());
    PeriodicWorker worker(worker::WindowMessageSink(), &FakeClock);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(window.Handle(), kRefreshRequest));
    g_now += worker.GetInterval();
    MSG msg;
    ASSERT_TRUE(TakeRefreshRequest(window.Handle(), msg, 5000));
    EXPECT_EQ(window.Handle(), msg.hwnd);
    EXPECT_EQ(0x0401u, msg.message);
    EXPECT_EQ(0u, msg.wParam);
    EXPECT_EQ(0, msg.lParam);
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
}

TEST(WindowWorkerTest, DestroyedWindowGetsNothingAndTheWorkerRunsOn) {
    MessageWindow window;
    ASSERT_NE(nullptr, window.Handle());
    ObservingSink sink;
    PeriodicWorker worker(sink, &FakeClock);
    ASSERT_EQ(PeriodicWorker::Ok, worker.Start(window.Handle(), kRefreshRequest));
    g_now += worker.GetInterval();
    MSG msg;
    ASSERT_TRUE(TakeRefreshRequest(window.Handle(), msg, 5000));

    window.Destroy();
    for (size_t posts = 2; posts <= 4; ++posts) {
        g_now += worker.GetInterval();
        ASSERT_TRUE(WaitUntil([&] { return sink.Results().size() >= posts; }));
    }
    const std::vector<PostResult> results = sink.Results();
    EXPECT_EQ(PostResult::Posted, results[0]);
    for (size_t i = 1; i < results.size(); ++i) {
        EXPECT_EQ(PostResult::NoWindow, results[i]) << "post " << i;
    }
    EXPECT_EQ(PeriodicWorker::Running, worker.GetState());
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, kRefreshRequest, kRefreshRequest, PM_REMOVE))
        << "nothing may arrive for a destroyed window";
    EXPECT_EQ(PeriodicWorker::Ok, worker.Stop());
}

} // namespace
