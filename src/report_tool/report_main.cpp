// foldtally-report: the folder list of one mailbox scan on standard output.
#include "history/history_store.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/ui_language.h"
#include "report/report.h"
#include "report/report_text.h"
#include "report_tool/report_since.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

#define FT_QUOTE2(x) #x
#define FT_QUOTE(x) FT_QUOTE2(x)
// The version the resource script's VERSIONINFO gives the window program, from the same
// compile definition.
const char kVersionLine[] = "foldtally-report " FT_QUOTE(FOLDTALLY_VERSION) "\n";

// The error quotes what was typed or found (an option's value, a mailbox's name), so on
// a terminal it goes without control characters, as every other message. `hint` follows
// it: where the usage is, after an error in the options.
void WriteErrorLine(const std::string& error, const char* hint, bool toTerminal) {
    std::string line;
    report::AppendErrorLine(line, "foldtally-report: " + error + "\n",
                            toTerminal ? report::Controls::kMask : report::Controls::kKeep);
    std::fprintf(stderr, "%s%s", line.c_str(), hint);
}

bool WriteAll(FILE* stream, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() &&
           std::fflush(stream) == 0;
}

// A standard stream as the report's sink. After the first failed write nothing more is
// tried: the reader has gone.
class StreamSink : public report::ReportSink {
public:
    explicit StreamSink(FILE* stream) : m_pStream(stream) {}
    void Write(std::string_view text) override {
        m_bFailed = m_bFailed || std::fwrite(text.data(), 1, text.size(), m_pStream) != text.size();
    }
    // Flushes what the C library still holds; false when any write failed.
    bool Finish() {
        m_bFailed = m_bFailed || std::fflush(m_pStream) != 0;
        return !m_bFailed;
    }

private:
    FILE* m_pStream;
    bool m_bFailed = false;
};

// --lang, else the locale variables as a POSIX program reads them, else the Windows
// interface language; before the options are parsed, so that their errors are in it.
Language LanguageOfProcess(int argc, const char* const* argv) {
    Language language =
        LanguageFromLocaleVariables(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                    std::getenv("LANG"), platform::InterfaceLanguage());
    report::LanguageOfArguments(argc, argv, &language);
    return language;
}

} // namespace

int main(int argc, char** argv) {
    SetUserLanguage(LanguageOfProcess(argc - 1, argv + 1));
    const bool errorsToTerminal = platform::IsTerminal(platform::StandardStream::kError);
    report::ReportOptions options;
    std::string error;
    const char* const helpHint = report::Say(report::Phrase::kHelpHint);
    if (!report::ParseReportOptions(argc - 1, argv + 1, options, error)) {
        WriteErrorLine(error, helpHint, errorsToTerminal);
        return report::kExitFailure;
    }
    if (options.help) {
        return WriteAll(stdout, report::Say(report::Phrase::kUsage)) ? report::kExitOk : 1;
    }
    if (options.version) {
        return WriteAll(stdout, kVersionLine) ? report::kExitOk : 1;
    }
    const std::string modulePath = platform::ModuleFilePath();
    switch (report::ResolveSince(options, history::HistoryRootForProgram(modulePath),
                                 platform::LocalToday(), error,
                                 history::ProgramFolders(modulePath))) {
    case report::SinceOutcome::kBadValue:
        WriteErrorLine(error, helpHint, errorsToTerminal);
        return report::kExitFailure;
    case report::SinceOutcome::kNoEntry:
    case report::SinceOutcome::kRefused:
        WriteErrorLine(error, "", errorsToTerminal);
        return report::kExitFailure;
    case report::SinceOutcome::kNotAsked:
    case report::SinceOutcome::kResolved:
        break;
    }
    platform::Utf8ConsoleScope console;
    // These two end their lines with CR LF themselves, as the formats ask.
    if (options.format == report::ReportFormat::kCsv ||
        options.format == report::ReportFormat::kExcel) {
        platform::KeepLineEnds(platform::StandardStream::kOutput);
    }
    options.toTerminal = platform::IsTerminal(platform::StandardStream::kOutput);
    options.errorsToTerminal = errorsToTerminal;
    StreamSink out(stdout);
    StreamSink err(stderr);
    const int status = report::RunReport(options, out, err);
    const bool errWritten = err.Finish();
    if (!out.Finish()) {
        if (errWritten) {
            std::fputs(report::Utf8FromCp1252(report::Say(report::Phrase::kOutputFailed)).c_str(),
                       stderr);
        }
        return 1;
    }
    return status;
}
