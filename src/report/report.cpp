// The report run: the scan of the window's refresh with the options in place of the
// settings, and the messages the window would show turned into lines on standard error.
#include "report/report.h"

#include "report/all_users_report.h"
#include "report/progress_line.h"

#include "diag/trace.h"
#include "mailbox/folder_catalogue.h"
#include "mailbox/folder_headers.h"
#include "platform/debug_output.h"
#include "platform/files.h"
#include "report/earlier_report.h"
#include "report/report_text.h"
#include "report/report_tree.h"

#include <ctime>
#include <string_view>
#include <utility>

namespace report {

namespace {

const char kNewMailLabel[] = "<Posteingang>";
const char kWarning502[] =
    "WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden.\n";
const char kUnreadableMailbox[] =
    "foldtally-report: Das Postfach-Verzeichnis \"%s\" kann nicht gelesen werden.\n";
const char kUnusableEarlier[] = "foldtally-report: Der frühere Bericht \"%s\" %s.\n";
const char kUnreadableNewmail[] =
    "foldtally-report: Das Posteingang-Verzeichnis \"%s\" kann nicht gelesen werden.\n";

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

// Directories are held with a trailing separator: names are appended directly.
std::string AsDirectory(const std::string& dir) {
    if (dir.empty() || dir.back() == '/' || dir.back() == '\\') {
        return dir;
    }
    return dir + kSeparator;
}

bool IsReadableDirectory(const std::string& dir) {
    return platform::SearchDirectory(
        dir, "*", [](const platform::DirectoryEntry&, void*) { return false; }, nullptr);
}

// Trace lines reach standard error in the same UTF-8 as everything else; they quote the
// names of files, so on a terminal their control characters go as any message's do.
// They leave in pieces as they come: a damaged tree can give a line for each of a
// million lines.
class TraceToText {
public:
    TraceToText(ReportSink* err, Controls controls) : m_pErr(err), m_controls(controls) {
        if (err) {
            platform::SetDebugOutputHook(&TraceToText::Append, this);
        }
    }
    ~TraceToText() {
        if (m_pErr) {
            platform::SetDebugOutputHook(nullptr, nullptr);
            SpillAll(m_text, *m_pErr);
        }
    }
    TraceToText(const TraceToText&) = delete;
    TraceToText& operator=(const TraceToText&) = delete;

private:
    static void Append(const char* text, void* context) {
        auto* self = static_cast<TraceToText*>(context);
        AppendErrorLine(self->m_text, text, self->m_controls);
        SpillIfFull(self->m_text, *self->m_pErr);
    }
    ReportSink* m_pErr;
    Controls m_controls;
    std::string m_text;
};

// One line of standard error, as AppendErrorLine makes it.
void WriteErrorLine(ReportSink& err, std::string_view line, Controls controls) {
    std::string text;
    AppendErrorLine(text, line, controls);
    err.Write(text);
}

// The new-mail row carries the failure text when its directory could not be read; the
// rows still go out, as the window shows them, and the exit status stays.
void ReportUnreadableNewmail(const ReportOptions& options, const FolderCatalogue& catalogue,
                             ReportSink& err) {
    if (options.includeNewMail && !catalogue.records.empty() &&
        catalogue.records.front().folderName == FailureText(FolderFailure::kNewmailDir)) {
        WriteErrorLine(err, FormatText(kUnreadableNewmail, options.newmailDir.c_str()),
                       ErrorControlsFor(options));
    }
}

// The tree form: the same scan, kept whole for the tree.
// On a terminal only, and never between trace lines: a redirected error stream gets
// exactly what it always got.
void StartProgress(const ReportOptions& options, ProgressLine& progress) {
    if (options.errorsToTerminal && !options.trace) {
        static_cast<void>(progress.Start());
    }
}

int RunTreeReport(const ReportOptions& options, const std::string& mailboxDir, ReportSink& out,
                  ReportSink& err) {
    tree::TreeScanSettings settings;
    settings.mailboxDir = mailboxDir;
    settings.newmailDir = AsDirectory(options.newmailDir);
    settings.resolvePaths = options.resolvePaths;
    settings.includeNewMail = options.includeNewMail;
    settings.newMailLabel = kNewMailLabel;
    tree::TreeScan scan;
    bool hierarchyRead;
    {
        ScanControl control;
        ScanThreading threading;
        threading.control = &control;
        ProgressLine progress(err, control);
        StartProgress(options, progress);
        TraceToText trace(options.trace ? &err : nullptr, ErrorControlsFor(options));
        hierarchyRead = scan.Run(settings, threading);
        progress.Stop();
    }
    if (!hierarchyRead) {
        err.Write(Utf8FromCp1252(kWarning502));
    }
    ReportUnreadableNewmail(options, scan.catalogue, err);
    WriteTreeReport(scan, options, out);
    return kExitOk;
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

int RunReport(const ReportOptions& options, ReportSink& out, ReportSink& err) {
    if (!options.allUsersRoot.empty()) {
        return RunAllUsersReport(options, out, err);
    }
    // Made absolute once here, so the scan's per-file absolute paths need no lookup of
    // the current directory.
    const std::string mailboxDir = AsDirectory(platform::FullPath(options.mailboxDir));
    if (mailboxDir.empty() || !IsReadableDirectory(mailboxDir)) {
        WriteErrorLine(err, FormatText(kUnreadableMailbox, options.mailboxDir.c_str()),
                       ErrorControlsFor(options));
        return kExitFailure;
    }
    if (options.tree) {
        return RunTreeReport(options, mailboxDir, out, err);
    }
    // The earlier report first: when it cannot be used, nothing is scanned or printed.
    EarlierReport earlier;
    if (!options.compareFile.empty()) {
        std::string error;
        if (!ReadEarlierReport(options.compareFile, earlier, error)) {
            WriteErrorLine(err,
                           FormatText(kUnusableEarlier, options.compareFile.c_str(), error.c_str()),
                           ErrorControlsFor(options));
            return kExitFailure;
        }
    }
    ReportContext context;
    context.mailboxDir = mailboxDir;
    context.newmailDir =
        options.includeNewMail ? AsDirectory(platform::FullPath(options.newmailDir)) : "";
    context.scanTime = IsoTimeNow();
    context.earlier = options.compareFile.empty() ? nullptr : &earlier;
    FolderCatalogue catalogue;
    bool hierarchyRead;
    {
        ScanRequest request;
        request.mailboxDir = mailboxDir;
        request.newmailDir = AsDirectory(options.newmailDir);
        request.resolvePaths = options.resolvePaths;
        request.includeNewMail = options.includeNewMail;
        request.newMailLabel = kNewMailLabel;
        ScanControl control;
        ScanThreading threading;
        threading.control = &control;
        ProgressLine progress(err, control);
        StartProgress(options, progress);
        TraceToText trace(options.trace ? &err : nullptr, ErrorControlsFor(options));
        hierarchyRead = catalogue.Scan(request, nullptr, threading);
        progress.Stop();
    }
    if (!hierarchyRead) {
        err.Write(Utf8FromCp1252(kWarning502));
    }
    ReportUnreadableNewmail(options, catalogue, err);
    WriteReport(catalogue, options, context, out);
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
