// Threads on Windows: _beginthreadex (so the C runtime is set up for the new thread),
// joined by waiting on the handle; sleeping by Sleep.
#include "platform/thread.h"

#include <process.h>
#include <windows.h>

namespace platform {

namespace {
unsigned __stdcall Trampoline(void* argument) {
    return Thread::RunForPlatform(static_cast<Thread*>(argument));
}
} // namespace

bool Thread::CreatePlatformThread() {
    const uintptr_t handle = _beginthreadex(nullptr, 0, Trampoline, this, 0, nullptr);
    m_hThread = reinterpret_cast<void*>(handle);
    return handle != 0;
}

unsigned Thread::Join() {
    if (!m_bStarted) {
        return 0;
    }
    WaitForSingleObject(m_hThread, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeThread(m_hThread, &exitCode);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_bStarted = false;
    return static_cast<unsigned>(exitCode);
}

unsigned ProcessorCount() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<unsigned>(info.dwNumberOfProcessors) : 1u;
}

void SleepMilliseconds(uint32_t milliseconds) {
    Sleep(milliseconds);
}

} // namespace platform
