// One run of foldtally-report without the process around it: scan, warnings, text.
// Tests call it in-process; the program hands it its standard output and error.
#pragma once

#include "report/report_options.h"
#include "report/report_sink.h"

#include <string>
#include <string_view>

namespace report {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 2; // bad options or an unreadable mailbox directory

// Scans the mailbox of `options` and writes the report to `out` and the warnings (and,
// with --trace, the trace lines) to `err`, both UTF-8; everything for `err` comes before
// the first piece of the report. Returns the exit status.
int RunReport(const ReportOptions& options, ReportSink& out, ReportSink& err);
// The same, collected whole.
int RunReport(const ReportOptions& options, std::string& out, std::string& err);

// One line of standard error (Windows-1252 `line`), as AppendErrorLine makes it for
// `options`.
void WriteErrorLine(ReportSink& err, std::string_view line, const ReportOptions& options);
// The line that says why the earlier report of --compare cannot be used.
void WriteUnusableEarlier(ReportSink& err, const std::string& reason, const ReportOptions& options);

// Now in ISO 8601, UTC, to the second: "2026-12-09T14:03:00Z", the time a report says
// it scanned.
std::string IsoTimeNow();

} // namespace report
