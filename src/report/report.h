// One run of foldtally-report without the process around it: scan, warnings, text.
// Tests call it in-process; the program writes what it returns.
#pragma once

#include "report/report_options.h"

#include <string>

namespace report {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 2; // bad options or an unreadable mailbox directory

// Scans the mailbox of `options` and fills `out` with the report and `err` with the
// warnings (and, with --trace, the trace lines), both UTF-8. Returns the exit status.
int RunReport(const ReportOptions& options, std::string& out, std::string& err);

} // namespace report
