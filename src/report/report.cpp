// The report run: the scan of the window's refresh with the options in place of the
// settings, and the messages the window would show turned into lines on standard error.
#include "report/report.h"

#include "diag/trace.h"
#include "mailbox/folder_catalogue.h"
#include "platform/debug_output.h"
#include "platform/files.h"
#include "report/earlier_report.h"
#include "report/report_text.h"

#include <ctime>

namespace report {

namespace {

const char kNewMailLabel[] = "<Posteingang>";
const char kWarning502[] =
    "WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden.\n";
const char kUnreadableMailbox[] =
    "foldtally-report: Das Postfach-Verzeichnis \"%s\" kann nicht gelesen werden.\n";
const char kUnusableEarlier[] = "foldtally-report: Der frühere Bericht \"%s\" %s.\n";

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

// Trace lines reach standard error in the same UTF-8 as everything else.
class TraceToText {
public:
    explicit TraceToText(std::string* err) {
        if (err) {
            platform::SetDebugOutputHook(&TraceToText::Append, err);
        }
        m_bActive = err != nullptr;
    }
    ~TraceToText() {
        if (m_bActive) {
            platform::SetDebugOutputHook(nullptr, nullptr);
        }
    }
    TraceToText(const TraceToText&) = delete;
    TraceToText& operator=(const TraceToText&) = delete;

private:
    static void Append(const char* text, void* context) {
        AppendUtf8FromCp1252(*static_cast<std::string*>(context), text);
    }
    bool m_bActive;
};

// The time of the scan in ISO 8601, UTC, to the second.
std::string IsoTimeNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* utc = std::gmtime(&now);
    char text[32] = "1970-01-01T00:00:00Z";
    if (utc) {
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    }
    return text;
}

} // namespace

int RunReport(const ReportOptions& options, std::string& out, std::string& err) {
    out.clear();
    err.clear();
    // Made absolute once here, so the scan's per-file absolute paths need no lookup of
    // the current directory.
    const std::string mailboxDir = AsDirectory(platform::FullPath(options.mailboxDir));
    if (mailboxDir.empty() || !IsReadableDirectory(mailboxDir)) {
        AppendUtf8FromCp1252(err, FormatText(kUnreadableMailbox, options.mailboxDir.c_str()));
        return kExitFailure;
    }
    // The earlier report first: when it cannot be used, nothing is scanned or printed.
    EarlierReport earlier;
    if (!options.compareFile.empty()) {
        std::string error;
        if (!ReadEarlierReport(options.compareFile, earlier, error)) {
            AppendUtf8FromCp1252(
                err, FormatText(kUnusableEarlier, options.compareFile.c_str(), error.c_str()));
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
        TraceToText trace(options.trace ? &err : nullptr);
        hierarchyRead = catalogue.Scan(mailboxDir, options.resolvePaths, options.includeNewMail,
                                       AsDirectory(options.newmailDir), kNewMailLabel);
    }
    if (!hierarchyRead) {
        AppendUtf8FromCp1252(err, kWarning502);
    }
    out = FormatReport(catalogue, options, context);
    return kExitOk;
}

} // namespace report
