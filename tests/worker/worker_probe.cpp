// The recording sink, the hand-moved clock and the thread helpers of the worker tests.
#include "worker_probe.h"

#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>

#include <tlhelp32.h>
#endif

namespace workertest {

std::atomic<int> g_startedThreads{0};
std::atomic<bool> g_holdThreads{false};
std::atomic<uint64_t> g_now{1000000};

platform::WindowHandle FakeWindow() {
    return reinterpret_cast<platform::WindowHandle>(static_cast<uintptr_t>(0x1234));
}

uint64_t FakeClock() {
    return g_now.load();
}

platform::PostResult RecordingSink::Post(platform::WindowHandle window, uint32_t message,
                                         uintptr_t wParam, intptr_t) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_posts.push_back({window, message, wParam});
    if (m_bHold && wParam == m_nHoldKind) {
        m_bHold = false;
        m_bHolding = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_bReleased; });
        m_bHolding = false;
    }
    return m_answer;
}

void RecordingSink::HoldFirst(uintptr_t wParam) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bHold = true;
    m_nHoldKind = wParam;
}

bool RecordingSink::WaitUntilHolding() {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [this] { return m_bHolding; });
}

void RecordingSink::Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bReleased = true;
    m_changed.notify_all();
}

std::vector<SentMessage> RecordingSink::Posts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_posts;
}

size_t RecordingSink::Count() {
    return Posts().size();
}

size_t RecordingSink::Count(uintptr_t wParam) {
    size_t n = 0;
    for (const SentMessage& post : Posts()) {
        n += post.wParam == wParam ? 1 : 0;
    }
    return n;
}

bool RecordingSink::WaitForPosts(size_t count) {
    return WaitUntil([&] { return Count() >= count; });
}

int CountProcessThreads() {
#ifdef _WIN32
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
#else
    int count = 0;
    const bool ok = platform::SearchDirectory(
        "/proc/self/task/", "*",
        [](const platform::DirectoryEntry&, void* context) {
            ++*static_cast<int*>(context);
            return true;
        },
        &count);
    return ok ? count : -1;
#endif
}

int CountThreadsBeforeTest() {
    platform::Thread warmUp;
    warmUp.Start([](void*) { return 0u; }, nullptr);
    warmUp.Join();
    return CountProcessThreads();
}

bool FailingStarter(platform::Thread&, platform::ThreadFunction, void*) {
    return false;
}

bool CountingStarter(platform::Thread& thread, platform::ThreadFunction function, void* argument) {
    ++g_startedThreads;
    return thread.Start(function, argument);
}

namespace {
// What the held thread runs once let go; one held thread at a time.
platform::ThreadFunction g_pfnHeld = nullptr;
void* g_pHeldArgument = nullptr;

unsigned RunWhenLetGo(void*) {
    while (g_holdThreads.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return g_pfnHeld(g_pHeldArgument);
}
} // namespace

bool HoldingStarter(platform::Thread& thread, platform::ThreadFunction function, void* argument) {
    g_pfnHeld = function;
    g_pHeldArgument = argument;
    return thread.Start(&RunWhenLetGo, nullptr);
}

} // namespace workertest
