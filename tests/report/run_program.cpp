// Child processes for the end to end tests: posix_spawn on POSIX systems,
// CreateProcessA with inherited file handles on Windows (and so under Wine).
#include "run_program.h"

#include "platform/files.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace testsupport {

namespace {

std::string WithoutCarriageReturns(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            out.push_back(text[i]);
        }
    }
    return out;
}

#ifdef _WIN32
// The quoting rule of the C runtime's argument parser: backslashes are literal unless
// they precede a quote, so those before a quote (or the closing one) are doubled.
std::string Quote(const std::string& arg) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"') {
                quoted.append(backslashes + 1, '\\');
            }
            backslashes = 0;
        }
        quoted.push_back(c);
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}

HANDLE OpenInheritable(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

int Spawn(const std::string& program, const std::vector<std::string>& args,
          const std::string& outPath, const std::string& errPath) {
    std::string commandLine = Quote(program);
    for (const std::string& arg : args) {
        commandLine += " " + Quote(arg);
    }
    HANDLE in = OpenInheritable("NUL", false);
    HANDLE out = OpenInheritable(outPath, true);
    HANDLE err = OpenInheritable(errPath, true);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi = {};
    DWORD code = static_cast<DWORD>(-1);
    // Under a loaded Wine a start can fail for a moment, which says nothing of the
    // program: a few more tries before the run counts as not started (-1).
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) {
            ::Sleep(200);
        }
        started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                 nullptr, nullptr, &si, &pi) != FALSE;
    }
    if (started) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    for (HANDLE h : {in, out, err}) {
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
        }
    }
    return static_cast<int>(code);
}
#else
int Spawn(const std::string& program, const std::vector<std::string>& args,
          const std::string& outPath, const std::string& errPath) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}
#endif

} // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& scratchDir) {
    const std::string outPath = scratchDir + "child-stdout.txt";
    const std::string errPath = scratchDir + "child-stderr.txt";
    ProgramResult result;
    result.exitCode = Spawn(program, args, outPath, errPath);
    result.rawOut = ReadFile(outPath);
    result.out = WithoutCarriageReturns(result.rawOut);
    result.err = WithoutCarriageReturns(ReadFile(errPath));
    RemoveFile(outPath);
    RemoveFile(errPath);
    return result;
}

std::string BuiltProgram(const std::string& name) {
    const std::string self = platform::ModuleFilePath();
    std::string dir = self.substr(0, self.find_last_of("/\\") + 1);
    for (int up = 0; up < 2; ++up) {
        dir = dir.substr(0, dir.find_last_of("/\\", dir.size() - 2) + 1);
    }
#ifdef _WIN32
    return dir + name + ".exe";
#else
    return dir + name;
#endif
}

ProgramResult RunReport(const std::vector<std::string>& args, const TempDir& scratch) {
    return RunProgram(BuiltProgram("foldtally-report"), args, scratch.Path());
}

} // namespace testsupport
