// The mail client's side of a shared folder file, as a second process: opens every file
// named on its command line for writing, sharing reading and writing as the client
// does, sets the ready event once it holds all of them and has written to each, and
// keeps appending a line to each until the stop event is set.
//
//   busy_writer <ready event> <stop event> <file>...
//
// Exit code 0: every write succeeded and each file got at least ten lines; 1: a write
// failed; 2: a file or an event could not be opened; 3: too few writes.
#include <windows.h>

#include <vector>

int main(int argc, char** argv) {
    if (argc < 4) {
        return 2;
    }
    HANDLE ready = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE stop = ::OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    if (ready == nullptr || stop == nullptr) {
        return 2;
    }
    std::vector<HANDLE> files;
    for (int i = 3; i < argc; ++i) {
        HANDLE h = ::CreateFileA(argv[i], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return 2;
        }
        ::SetFilePointer(h, 0, nullptr, FILE_END);
        files.push_back(h);
    }
    // A line that also parses in "hierarch.pm": an entry of its own, inside none.
    const char line[] = "1,0,\"busy\",\"nowhere\",\"Schreiber\"\r\n";
    bool failed = false;
    int rounds = 0;
    for (;;) {
        for (HANDLE h : files) {
            DWORD written = 0;
            if (!::WriteFile(h, line, sizeof line - 1, &written, nullptr) ||
                written != sizeof line - 1) {
                failed = true;
            }
        }
        if (++rounds == 1) {
            ::SetEvent(ready);
        }
        if (::WaitForSingleObject(stop, 1) == WAIT_OBJECT_0) {
            break;
        }
    }
    for (HANDLE h : files) {
        ::CloseHandle(h);
    }
    ::CloseHandle(ready);
    ::CloseHandle(stop);
    return failed ? 1 : (rounds < 10 ? 3 : 0);
}
