// The report's progress on a terminal: one line on standard error, written again in
// place while the scan runs ("Lese Ordnerdateien: 4.512 von 10.000") and wiped when it
// ends, so the warnings and the report that follow start on a clean line. Only the
// program's own thread for it writes while it runs.
#pragma once

#include "mailbox/scan_control.h"
#include "platform/thread.h"
#include "report/report_sink.h"
#include "report/report_text.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace report {

class ProgressLine {
public:
    static constexpr uint32_t kPeriodMs = 100;
    // A scan that ends sooner leaves no trace on the terminal at all.
    static constexpr uint32_t kFirstAfterMs = 300;

    // Shows the counts of `control` on `sink`, the first time after `firstAfterMs`.
    ProgressLine(ReportSink& sink, const ScanControl& control,
                 uint32_t firstAfterMs = kFirstAfterMs);
    // Stop.
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Starts the thread; false when it could not start (then nothing is shown).
    bool Start();
    // Ends the thread and wipes the line it wrote; nothing is written after this.
    void Stop();

private:
    static unsigned Main(void* argument);
    void Run();
    void Show(const std::string& text);

    ReportSink& m_sink;
    const ScanControl& m_control;
    const uint32_t m_nFirstAfterMs;
    std::atomic<bool> m_bStop{false};
    size_t m_nShown = 0; // the length of the line on the terminal; the thread's only
    platform::Thread m_thread;
};

// What standard error shows while a report's scan runs, for as long as one lives: the
// progress line of Control() on a terminal, never between trace lines, so a redirected
// error stream gets exactly what it always got; with --trace the trace lines, in the
// same UTF-8 as everything else and, on a terminal, without their control characters
// (they quote the names of files). Trace lines leave in pieces as they come: a damaged
// tree can give a line for each of a million lines.
class ScanWatch {
public:
    ScanWatch(const ReportOptions& options, ReportSink& err);
    ~ScanWatch();
    ScanWatch(const ScanWatch&) = delete;
    ScanWatch& operator=(const ScanWatch&) = delete;

    ScanControl& Control() { return m_control; }

private:
    static void AppendTrace(const char* text, void* context);

    ScanControl m_control;
    ReportSink* m_pTrace; // null without --trace
    Controls m_controls;
    std::string m_strTrace;
    ProgressLine m_progress;
};

} // namespace report
