// The report run: the scan of the window's refresh with the options in place of the
// settings, and the messages the window would show turned into lines on standard error.
#include "report/report.h"

#include "report/all_users_report.h"
#include "report/progress_line.h"

#include "diag/trace.h"
#include "mailbox/folder_catalogue.h"
#include "mailbox/folder_headers.h"
#include "platform/files.h"
#include "platform/path_separator.h"
#include "report/earlier_report.h"
#include "report/report_text.h"
#include "report/report_tree.h"
#include "report/report_treemap.h"

#include <ctime>
#include <string_view>
#include <utility>

namespace report {

namespace {

// The new-mail row carries the failure text when its directory could not be read; the
// rows still go out, as the window shows them, and the exit status stays.
void ReportUnreadableNewmail(const ReportOptions& options, const FolderCatalogue& catalogue,
                             ReportSink& err) {
    FolderFailure failure;
    if (options.includeNewMail && !catalogue.records.empty() &&
        FolderFailureOf(catalogue.records.front().folderName, &failure) &&
        failure == FolderFailure::kNewmailDir) {
        WriteErrorLine(err, FormatText(Say(Phrase::kUnreadableNewmail), options.newmailDir.c_str()),
                       options);
    }
}

// The report tool's scan of `mailboxDir`: the window's, with the options in place of the
// settings. The new mail's row is named in the report's language, German in the machine
// forms.
ScanRequest RequestOf(const ReportOptions& options, const std::string& mailboxDir) {
    const LanguageScope language(LanguageOf(options.format));
    return {mailboxDir, platform::WithFinalSeparator(options.newmailDir), options.resolvePaths,
            options.includeNewMail, Say(Phrase::kNewMailLabel)};
}

} // namespace

std::string IsoTimeNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* utc = std::gmtime(&now);
    char text[32] = "1970-01-01T00:00:00Z";
    if (utc) {
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    }
    return text;
}

void WriteErrorLine(ReportSink& err, std::string_view line, const ReportOptions& options) {
    std::string text;
    AppendErrorLine(text, line, ErrorControlsFor(options));
    err.Write(text);
}

void WriteUnusableEarlier(ReportSink& err, const std::string& reason,
                          const ReportOptions& options) {
    WriteErrorLine(
        err, FormatText(Say(Phrase::kUnusableEarlier), options.compareFile.c_str(), reason.c_str()),
        options);
}

int RunReport(const ReportOptions& options, ReportSink& out, ReportSink& err) {
    if (!options.allUsersRoot.empty()) {
        return RunAllUsersReport(options, out, err);
    }
    // Made absolute once here, so the scan's per-file absolute paths need no lookup of
    // the current directory.
    const std::string mailboxDir =
        platform::WithFinalSeparator(platform::FullPath(options.mailboxDir));
    if (mailboxDir.empty() || !platform::IsReadableDirectory(mailboxDir)) {
        WriteErrorLine(err, FormatText(Say(Phrase::kUnreadableMailbox), options.mailboxDir.c_str()),
                       options);
        return kExitFailure;
    }
    // The earlier report first: when it cannot be used, nothing is scanned or printed.
    EarlierReport earlier;
    const bool compared = !options.tree && !options.compareFile.empty();
    if (compared) {
        std::string error;
        if (!ReadEarlierReport(options.compareFile, earlier, error)) {
            WriteUnusableEarlier(err, error, options);
            return kExitFailure;
        }
    }
    const std::string scanTime = IsoTimeNow();
    const ScanRequest request = RequestOf(options, mailboxDir);
    // The tree and the treemap keep the table of the scan for the tree; the list needs
    // the rows only.
    const bool treemap = !options.treemapFile.empty();
    tree::TreeScan scan;
    bool hierarchyRead;
    {
        ScanWatch watch(options, err);
        ScanThreading threading;
        threading.control = &watch.Control();
        // The rows' words (a failure, the new mail) in the report's language: German for
        // the machine forms, so their rows sort and read the same in every language.
        const LanguageScope language(LanguageOf(options.format));
        hierarchyRead = options.tree || treemap ? scan.Run(request, threading)
                                                : scan.catalogue.Scan(request, nullptr, threading);
    }
    if (!hierarchyRead) {
        err.Write(Utf8FromCp1252(Say(Phrase::kWarning502)));
    }
    ReportUnreadableNewmail(options, scan.catalogue, err);
    if (options.tree) {
        WriteTreeReport(scan, options, out);
        return kExitOk;
    }
    const std::string newmailDir =
        options.includeNewMail
            ? platform::WithFinalSeparator(platform::FullPath(options.newmailDir))
            : "";
    if (treemap) {
        return WriteTreemapFile(scan, options, mailboxDir, newmailDir, err);
    }
    ReportContext context;
    context.mailboxDir = mailboxDir;
    context.newmailDir = newmailDir;
    context.scanTime = scanTime;
    context.earlier = compared ? &earlier : nullptr;
    WriteReport(scan.catalogue, options, context, out);
    return kExitOk;
}

int RunReport(const ReportOptions& options, std::string& out, std::string& err) {
    StringSink outSink;
    StringSink errSink;
    const int status = RunReport(options, outSink, errSink);
    out = std::move(outSink.Text());
    err = std::move(errSink.Text());
    return status;
}

} // namespace report
