// Starting winebrowser and reading its answer.
#include "app/host_browser.h"

#include "framework/system_library.h"

#include <windows.h>

#include <vector>

namespace {

// winebrowser only starts the browser and returns; a wait this long means it hangs, and
// the help may still come, so it does not count as a failure.
const DWORD kWaitMilliseconds = 10000;

} // namespace

bool OpenInHostBrowser(const std::string& path) {
    const std::string directory = framework::SystemDirectory();
    if (directory.empty()) {
        return false;
    }
    const std::string program = directory + "winebrowser.exe";
    // Quoted as one argument: the program's folder may hold blanks.
    std::string commandLine = "\"" + program + "\" \"" + path + "\"";
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    bool started = true;
    if (::WaitForSingleObject(process.hProcess, kWaitMilliseconds) == WAIT_OBJECT_0) {
        DWORD exitCode = 1;
        started = ::GetExitCodeProcess(process.hProcess, &exitCode) && exitCode == 0;
    }
    ::CloseHandle(process.hProcess);
    return started;
}
