// The progress thread: it sleeps in short steps, so Stop waits at most one of them.
#include "report/progress_line.h"

#include "platform/debug_output.h"
#include "report/report_texts.h"
#include "view/scan_view.h"

namespace report {

namespace {
constexpr uint32_t kStepMs = 10;
} // namespace

ProgressLine::ProgressLine(ReportSink& sink, const ScanControl& control, uint32_t firstAfterMs)
    : m_sink(sink), m_control(control), m_nFirstAfterMs(firstAfterMs) {}

ProgressLine::~ProgressLine() {
    Stop();
}

bool ProgressLine::Start() {
    return m_thread.Start(&ProgressLine::Main, this);
}

void ProgressLine::Stop() {
    m_bStop.store(true);
    if (!m_thread.IsStarted()) {
        return;
    }
    m_thread.Join();
    if (m_nShown > 0) {
        // Spaces over the old text, and the cursor back where the line starts.
        m_sink.Write("\r" + std::string(m_nShown, ' ') + "\r");
        m_nShown = 0;
    }
}

unsigned ProgressLine::Main(void* argument) {
    try {
        static_cast<ProgressLine*>(argument)->Run();
    } catch (...) {
        // A progress line that cannot be written is no reason to end the report.
    }
    return 0;
}

void ProgressLine::Run() {
    uint32_t waited = 0;
    uint32_t sinceShown = kPeriodMs;
    std::string shown;
    while (!m_bStop.load()) {
        platform::SleepMilliseconds(kStepMs);
        waited += kStepMs;
        sinceShown += kStepMs;
        const uint32_t total = m_control.filesTotal.load(std::memory_order_relaxed);
        if (waited < m_nFirstAfterMs || sinceShown < kPeriodMs || total == 0) {
            continue;
        }
        const std::string text = view::ProgressLine(
            Say(Phrase::kProgress), m_control.filesRead.load(std::memory_order_relaxed), total);
        if (text != shown) {
            Show(text);
            shown = text;
            sinceShown = 0;
        }
    }
}

void ProgressLine::Show(const std::string& text) {
    // The counts only grow, so each line covers the one before.
    m_sink.Write("\r" + text);
    m_nShown = text.size();
}

ScanWatch::ScanWatch(const ReportOptions& options, ReportSink& err)
    : m_pTrace(options.trace ? &err : nullptr), m_controls(ErrorControlsFor(options)),
      m_progress(err, m_control) {
    if (m_pTrace) {
        platform::SetDebugOutputHook(&ScanWatch::AppendTrace, this);
    } else if (options.errorsToTerminal) {
        static_cast<void>(m_progress.Start());
    }
}

ScanWatch::~ScanWatch() {
    m_progress.Stop();
    if (m_pTrace) {
        platform::SetDebugOutputHook(nullptr, nullptr);
        SpillAll(m_strTrace, *m_pTrace);
    }
}

void ScanWatch::AppendTrace(const char* text, void* context) {
    auto* self = static_cast<ScanWatch*>(context);
    AppendErrorLine(self->m_strTrace, text, self->m_controls);
    SpillIfFull(self->m_strTrace, *self->m_pTrace);
}

} // namespace report
