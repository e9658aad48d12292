// The counting worker and thread helpers shared by the worker tests.
#include "worker_probe.h"

#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>

#include <tlhelp32.h>
#endif

namespace workertest {

std::atomic<int> g_startedThreads{0};

std::vector<Clock::time_point> Probe::TickTimes() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tickTimes;
}

void Probe::RecordTick() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tickTimes.push_back(Clock::now());
}

bool ProbeWorker::OnTick() {
    m_probe.RecordTick();
    const int tick = ++m_probe.ticks;
    while (m_probe.holdTick.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ++m_probe.ticksReturned;
    return tick != m_probe.lastTick.load();
}

bool ProbeWorker::OnStart() {
    ++m_probe.starts;
    while (m_probe.holdStart.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return m_probe.startResult.load();
}

void ProbeWorker::OnStopRequest() {
    m_probe.stateAtStopRequest = GetState();
    ++m_probe.stopRequests;
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

} // namespace workertest
