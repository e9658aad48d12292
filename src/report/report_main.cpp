// foldtally-report: the folder list of one mailbox scan on standard output.
#include "platform/console.h"
#include "report/report.h"

#include <cstdio>
#include <string>

namespace {

bool WriteAll(FILE* stream, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() &&
           std::fflush(stream) == 0;
}

} // namespace

int main(int argc, char** argv) {
    report::ReportOptions options;
    std::string error;
    if (!report::ParseReportOptions(argc - 1, argv + 1, options, error)) {
        std::fprintf(stderr, "foldtally-report: %s\n%s", error.c_str(), report::kUsage);
        return report::kExitFailure;
    }
    if (options.help) {
        return WriteAll(stdout, report::kUsage) ? report::kExitOk : 1;
    }
    platform::Utf8ConsoleScope console;
    options.toTerminal = platform::IsTerminal(platform::StandardStream::kOutput);
    options.errorsToTerminal = platform::IsTerminal(platform::StandardStream::kError);
    std::string out;
    std::string err;
    const int status = report::RunReport(options, out, err);
    const bool errWritten = WriteAll(stderr, err);
    if (!WriteAll(stdout, out)) {
        if (errWritten) {
            std::fputs("foldtally-report: Die Ausgabe konnte nicht geschrieben werden.\n", stderr);
        }
        return 1;
    }
    return status;
}
