// A Windows console shows output bytes in its output code page; the report writes
// UTF-8, so the page is switched for the program's run and switched back after, as the
// console outlives the program. Pipes and files take the bytes unchanged.
#include "platform/console.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace platform {

Utf8ConsoleScope::Utf8ConsoleScope() {
    DWORD mode = 0;
    if (!GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) {
        return; // not a console
    }
    const UINT previous = GetConsoleOutputCP();
    if (previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        m_nPreviousCodePage = previous;
    }
}

Utf8ConsoleScope::~Utf8ConsoleScope() {
    if (m_nPreviousCodePage != 0) {
        SetConsoleOutputCP(m_nPreviousCodePage);
    }
}

// A console answers GetConsoleMode; a terminal that is not a console (a serial line,
// a device) is at least a character device. Pipes (as of mintty) and files are neither.
bool IsTerminal(StandardStream stream) {
    const HANDLE handle =
        GetStdHandle(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) || GetFileType(handle) == FILE_TYPE_CHAR;
}

void KeepLineEnds(StandardStream stream) {
    FILE* file = stream == StandardStream::kOutput ? stdout : stderr;
    std::fflush(file);
    _setmode(_fileno(file), _O_BINARY);
}

} // namespace platform
