// Holds Wine's desktop open for a test run, so that each test program neither waits for
// the desktop to start nor for pipes that explorer.exe inherited to close.
#include <windows.h>

int main() {
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
