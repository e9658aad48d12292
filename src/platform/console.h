// The console of a command-line program: its output is UTF-8 text, and a Windows
// console shows it as such only while its output code page says so; and whether a
// standard stream is shown on a terminal at all.
#pragma once

namespace platform {

// While it lives, a console attached to standard output shows UTF-8; the previous
// code page comes back when it ends. Where there is no such setting, it does nothing.
class Utf8ConsoleScope {
public:
    Utf8ConsoleScope();
    ~Utf8ConsoleScope();
    Utf8ConsoleScope(const Utf8ConsoleScope&) = delete;
    Utf8ConsoleScope& operator=(const Utf8ConsoleScope&) = delete;

private:
    [[maybe_unused]] unsigned m_nPreviousCodePage = 0; // 0: nothing to restore (Windows)
};

enum class StandardStream { kOutput, kError };

// True when the stream is shown to a person: a console window or a terminal (tty), or
// another character device. False for files and pipes.
bool IsTerminal(StandardStream stream);

// From now on the stream takes its bytes as they are written: Windows' C runtime
// otherwise writes every "\n" as "\r\n", so a text that ends its lines with "\r\n"
// itself would leave "\r\r\n". POSIX streams never change bytes: nothing to do there.
void KeepLineEnds(StandardStream stream);

} // namespace platform
