// Whether a standard stream is shown on a terminal: a file or a pipe is not, a tty (a
// pseudo terminal here) or a Windows console is. Each case puts the stream back.
#include "platform/console.h"

#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>
#endif

namespace {

using platform::IsTerminal;
using platform::StandardStream;

#ifdef _WIN32

// Standard output or error replaced by `handle` while it lives.
class StdHandleSwap {
public:
    StdHandleSwap(DWORD which, HANDLE handle) : m_which(which), m_previous(GetStdHandle(which)) {
        SetStdHandle(which, handle);
    }
    ~StdHandleSwap() { SetStdHandle(m_which, m_previous); }

private:
    DWORD m_which;
    HANDLE m_previous;
};

HANDLE OpenConsoleOutput() {
    return CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(ConsoleTest, FilesAndPipesAreNoTerminalAndAConsoleIs) {
    char path[MAX_PATH];
    char dir[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, dir));
    ASSERT_NE(0u, GetTempFileNameA(dir, "con", 0, path));
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    {
        StdHandleSwap out(STD_OUTPUT_HANDLE, file);
        StdHandleSwap err(STD_ERROR_HANDLE, writeEnd);
        EXPECT_FALSE(IsTerminal(StandardStream::kOutput));
        EXPECT_FALSE(IsTerminal(StandardStream::kError));
    }
    bool ownConsole = AllocConsole() != FALSE;
    HANDLE console = OpenConsoleOutput();
    if (console == INVALID_HANDLE_VALUE && !ownConsole) {
        // Under Wine a process whose streams are pipes sits on a console without a
        // screen buffer, which refuses a second one: it takes a console of its own.
        FreeConsole();
        ownConsole = AllocConsole() != FALSE;
        console = OpenConsoleOutput();
    }
    ASSERT_NE(INVALID_HANDLE_VALUE, console) << "no console to write to";
    {
        StdHandleSwap out(STD_OUTPUT_HANDLE, console);
        StdHandleSwap err(STD_ERROR_HANDLE, file);
        EXPECT_TRUE(IsTerminal(StandardStream::kOutput));
        EXPECT_FALSE(IsTerminal(StandardStream::kError));
    }
    CloseHandle(console);
    if (ownConsole) {
        FreeConsole();
    }
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
    CloseHandle(file);
}

#else

// File descriptor `fd` (1 or 2) replaced by `replacement` while it lives.
class FdSwap {
public:
    FdSwap(int fd, int replacement) : m_fd(fd), m_saved(dup(fd)) {
        std::fflush(nullptr);
        dup2(replacement, fd);
    }
    ~FdSwap() {
        std::fflush(nullptr);
        dup2(m_saved, m_fd);
        close(m_saved);
    }

private:
    int m_fd;
    int m_saved;
};

TEST(ConsoleTest, FilesAndPipesAreNoTerminalAndAPseudoTerminalIs) {
    char path[] = "/tmp/console_test_XXXXXX";
    const int file = mkstemp(path);
    ASSERT_GE(file, 0);
    unlink(path);
    int pipeEnds[2];
    ASSERT_EQ(0, pipe(pipeEnds));
    {
        FdSwap out(STDOUT_FILENO, file);
        FdSwap err(STDERR_FILENO, pipeEnds[1]);
        EXPECT_FALSE(IsTerminal(StandardStream::kOutput));
        EXPECT_FALSE(IsTerminal(StandardStream::kError));
    }
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(0, grantpt(master));
    ASSERT_EQ(0, unlockpt(master));
    const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    {
        FdSwap out(STDOUT_FILENO, slave);
        FdSwap err(STDERR_FILENO, file);
        EXPECT_TRUE(IsTerminal(StandardStream::kOutput));
        EXPECT_FALSE(IsTerminal(StandardStream::kError));
    }
    {
        FdSwap err(STDERR_FILENO, slave);
        EXPECT_TRUE(IsTerminal(StandardStream::kError));
    }
    close(slave);
    close(master);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    close(file);
}

#endif

} // namespace
