// Runs a program of the build as a child process with its output in files, so the end
// to end tests see exactly what a user's shell would: bytes and exit status.
#pragma once

#include "test_support.h"

#include <string>
#include <vector>

namespace testsupport {

struct ProgramResult {
    int exitCode = -1;
    std::string out;    // standard output, CR LF turned into LF
    std::string rawOut; // standard output byte for byte
    std::string err;
};

// `program` is a path; `args` are passed one by one, quoted as the platform needs.
// `scratchDir` (ending with a separator) receives the two output files.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& scratchDir);

// A program built next to the test programs: <build>/<name>, <build>/<name>.exe on
// Windows, found from the running test's own path (<build>/tests/<module>/).
std::string BuiltProgram(const std::string& name);

// foldtally-report of this build with `args`.
ProgramResult RunReport(const std::vector<std::string>& args, const TempDir& scratch);

} // namespace testsupport
