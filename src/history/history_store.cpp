// The history's files: listed by name, written whole through the program's one file
// writer, read through the earlier-report reader that --compare uses.
#include "history/history_store.h"

#include "diag/trace.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/folder_identity.h"
#include "platform/local_folders.h"
#include "report/report_text.h"
#include "text/ascii_case.h"
#include "view/list_export.h"

#include <algorithm>

namespace history {

namespace {

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// The path without final separators, ASCII letters folded, '/' as '\'.
std::string FoldedPath(std::string_view path) {
    while (path.size() > 1 && IsSeparator(path.back())) {
        path.remove_suffix(1);
    }
    std::string folded;
    folded.reserve(path.size());
    for (char c : path) {
        folded += c == '/' ? '\\' : text::FoldAscii(c);
    }
    return folded;
}

uint64_t Fnv1a(std::string_view bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash = (hash ^ c) * 1099511628211ull;
    }
    return hash;
}

bool CollectDay(const platform::DirectoryEntry& entry, void* context) {
    CalendarDay day;
    if (!entry.isDirectory && DayOfFileName(entry.name, day)) {
        static_cast<std::vector<CalendarDay>*>(context)->push_back(day);
    }
    return true;
}

} // namespace

std::string HistoryRoot(const std::string& localAppData, const std::string& programFolder,
                        bool portable) {
    const std::string& base = portable ? programFolder : localAppData;
    if (base.empty()) {
        return std::string();
    }
    std::string root = base;
    if (!IsSeparator(root.back())) {
        root += kSeparator;
    }
    if (!portable) {
        root += "Foldtally";
        root += kSeparator;
    }
    return root + "Verlauf" + kSeparator;
}

std::string HistoryRootForProgram(const std::string& modulePath) {
    const std::string programFolder = platform::FolderOfFile(modulePath);
    std::string settingsFile = programFolder;
    if (!settingsFile.empty() && !IsSeparator(settingsFile.back())) {
        settingsFile += kSeparator;
    }
    platform::ReadOnlyFile file;
    const bool portable = !programFolder.empty() && file.Open(settingsFile + "foldtally.ini");
    return HistoryRoot(platform::LocalAppDataFolder(), programFolder, portable);
}

std::string MailboxFolderName(std::string_view mailboxDir) {
    const std::string folded = FoldedPath(mailboxDir);
    const size_t lastSeparator = folded.find_last_of('\\');
    const size_t lastStart = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
    std::string name;
    for (size_t i = lastStart; i < folded.size() && name.size() < 32; ++i) {
        const char c = folded[i];
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        name += plain ? c : '_';
    }
    static const char kHex[] = "0123456789abcdef";
    const uint64_t hash = Fnv1a(folded);
    name += '-';
    for (int shift = 60; shift >= 0; shift -= 4) {
        name += kHex[(hash >> shift) & 0xF];
    }
    return name;
}

bool SameMailbox(std::string_view a, std::string_view b) {
    return FoldedPath(a) == FoldedPath(b);
}

std::string HistoryJson(const FolderCatalogue& catalogue, const std::string& mailboxDir,
                        const std::string& newmailDir, const std::string& scanTime) {
    report::ReportOptions options;
    options.format = report::ReportFormat::kJson;
    options.exactSizes = true;
    report::ReportContext context;
    context.mailboxDir = mailboxDir;
    context.newmailDir = newmailDir;
    context.scanTime = scanTime;
    context.historyFormat = kHistoryFormat;
    // In the scan's order: --compare matches rows by name, so sorting them as the list
    // does would only cost the writer time.
    report::OrderedRows rows;
    rows.rows.reserve(catalogue.records.size());
    for (const FolderRecord& record : catalogue.records) {
        rows.rows.push_back(&record);
    }
    report::StringSink sink;
    report::WriteJson(rows, catalogue, options, context, sink);
    return std::move(sink.Text());
}

MailboxHistory::MailboxHistory(const std::string& root, std::string mailboxDir,
                               std::vector<std::string> protectedDirs)
    : m_strMailboxDir(std::move(mailboxDir)), m_protectedDirs(std::move(protectedDirs)) {
    if (!root.empty()) {
        m_strFolder = root + MailboxFolderName(m_strMailboxDir) + kSeparator;
    }
}

std::vector<CalendarDay> MailboxHistory::Days() const {
    std::vector<CalendarDay> days;
    static_cast<void>(ListDays(days)); // a folder that cannot be read has no days
    return days;
}

bool MailboxHistory::ListDays(std::vector<CalendarDay>& days) const {
    days.clear();
    const bool read =
        !m_strFolder.empty() && platform::SearchDirectory(m_strFolder, "*.json", CollectDay, &days);
    std::sort(days.begin(), days.end(), [](const CalendarDay& a, const CalendarDay& b) {
        return DayNumber(a) < DayNumber(b);
    });
    // One day can have two names only where the file system tells case apart.
    days.erase(std::unique(days.begin(), days.end(),
                           [](const CalendarDay& a, const CalendarDay& b) {
                               return DayNumber(a) == DayNumber(b);
                           }),
               days.end());
    return read;
}

WriteOutcome MailboxHistory::WriteDay(const CalendarDay& today, std::string_view json) const {
    const std::string path = DayPath(today);
    std::vector<CalendarDay> days;
    // Asked before the folder is made: not even an empty one goes into a protected folder.
    // Once it is there, the writer's own look at the file suffices, which under Wine
    // spares a second walk up the folders.
    if (!ListDays(days) &&
        (m_strFolder.empty() ||
         platform::ProtectedFolders(m_protectedDirs, view::IsInProtectedDirectory).Contains(path) ||
         !platform::MakeFolders(m_strFolder))) {
        Trace("[Verlauf] WARNUNG: Der Ordner \"%s\" kann nicht angelegt werden.\n",
              m_strFolder.c_str());
        return WriteOutcome::kFailed;
    }
    if (!days.empty()) {
        const int64_t newest = DayNumber(days.back());
        if (newest > DayNumber(today)) {
            Trace("[Verlauf] WARNUNG: Der Verlauf hat schon einen Eintrag vom %s, nach "
                  "heute (%s); die Uhr ging zur\xFC"
                  "ck.\n",
                  GermanDay(days.back()).c_str(), GermanDay(today).c_str());
            return WriteOutcome::kLaterDay;
        }
        if (newest == DayNumber(today)) {
            return WriteOutcome::kHaveToday;
        }
    }
    const platform::ProtectedFolders guard(m_protectedDirs, view::IsInProtectedDirectory);
    if (platform::ReplaceFileContents(path, json, guard) != platform::WriteOutcome::kWritten) {
        Trace("[Verlauf] WARNUNG: \"%s\" kann nicht geschrieben werden.\n", path.c_str());
        return WriteOutcome::kFailed;
    }
    Thin(today);
    return WriteOutcome::kWritten;
}

void MailboxHistory::Thin(const CalendarDay& today) const {
    std::vector<int64_t> numbers;
    for (const CalendarDay& day : Days()) {
        numbers.push_back(DayNumber(day));
    }
    for (const int64_t number : DaysToThin(numbers, DayNumber(today))) {
        const std::string path = DayPath(DayFromNumber(number));
        if (!platform::RemoveFile(path)) {
            Trace("[Verlauf] WARNUNG: \"%s\" kann nicht gel\xF6scht werden.\n", path.c_str());
        }
    }
}

bool MailboxHistory::Load(const CalendarDay& reference, report::EarlierReport& earlier,
                          CalendarDay& used) const {
    std::string path;
    return Find(reference, earlier, used, path);
}

bool MailboxHistory::Find(const CalendarDay& reference, report::EarlierReport& earlier,
                          CalendarDay& used, std::string& path) const {
    earlier.Clear();
    const std::vector<CalendarDay> days = Days();
    for (auto day = days.rbegin(); day != days.rend(); ++day) {
        if (DayNumber(*day) > DayNumber(reference)) {
            continue;
        }
        path = DayPath(*day);
        std::string error;
        if (!report::ReadEarlierReport(path, earlier, error)) {
            Trace("[Verlauf] WARNUNG: \"%s\" %s und wird \xFC"
                  "bergangen.\n",
                  path.c_str(), error.c_str());
        } else if (earlier.HistoryFormat() == 0 || earlier.HistoryFormat() > kHistoryFormat) {
            Trace("[Verlauf] WARNUNG: \"%s\" ist kein Verlaufseintrag, den dieses Programm "
                  "kennt (Format %llu), und wird \xFC"
                  "bergangen.\n",
                  path.c_str(), static_cast<unsigned long long>(earlier.HistoryFormat()));
        } else if (!SameMailbox(earlier.MailboxDir(), m_strMailboxDir)) {
            Trace("[Verlauf] WARNUNG: \"%s\" geh\xF6rt zum Postfach \"%s\" und wird "
                  "\xFC"
                  "bergangen.\n",
                  path.c_str(), earlier.MailboxDir().c_str());
        } else {
            used = *day;
            return true;
        }
    }
    earlier.Clear();
    path.clear();
    return false;
}

bool MailboxHistory::Clear() const {
    bool cleared = true;
    for (const CalendarDay& day : Days()) {
        cleared = platform::RemoveFile(DayPath(day)) && cleared;
    }
    if (!m_strFolder.empty()) {
        platform::RemoveEmptyFolder(m_strFolder);
    }
    return cleared;
}

} // namespace history
