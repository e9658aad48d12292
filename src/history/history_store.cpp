// The history's files: listed, read, written whole and removed through the history's
// own open folder, read through the earlier-report reader that --compare uses.
#include "history/history_store.h"

#include "diag/trace.h"
#include "mailbox/installation.h"
#include "platform/files.h"
#include "platform/folder_identity.h"
#include "platform/local_folders.h"
#include "platform/path_separator.h"
#include "report/report_text.h"
#include "text/ascii_case.h"
#include "view/list_export.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace history {

namespace {

// The path without final separators, ASCII letters folded, '/' as '\'.
std::string FoldedPath(std::string_view path) {
    while (path.size() > 1 && platform::IsPathSeparator(path.back())) {
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
    std::string root = platform::WithFinalSeparator(base);
    if (!portable) {
        root += "Foldtally";
        root += platform::kPathSeparator;
    }
    return root + "Verlauf" + platform::kPathSeparator;
}

namespace {

// The program's folder with a final separator, and whether foldtally.ini is beside it.
std::string ProgramFolderOf(const std::string& modulePath, bool& portable) {
    const std::string folder = platform::WithFinalSeparator(platform::FolderOfFile(modulePath));
    platform::ReadOnlyFile file;
    portable = !folder.empty() && file.Open(folder + "foldtally.ini");
    return folder;
}

} // namespace

std::string HistoryRootForProgram(const std::string& modulePath) {
    bool portable = false;
    const std::string programFolder = ProgramFolderOf(modulePath, portable);
    return HistoryRoot(platform::LocalAppDataFolder(), programFolder, portable);
}

std::vector<std::string> ProgramFolders(const std::string& modulePath) {
    bool portable = false;
    const std::string programFolder = ProgramFolderOf(modulePath, portable);
    if (programFolder.empty()) {
        return {};
    }
    std::vector<std::string> folders = {programFolder + "foldtally-hilfe" +
                                        platform::kPathSeparator};
    if (!portable) {
        folders.push_back(programFolder);
    }
    return folders;
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
    report::StringSink sink;
    report::WriteJson(report::InScanOrder(catalogue.records), catalogue, options, context, sink);
    return std::move(sink.Text());
}

namespace {

// The members of a report's head before its rows, as far as `head` holds them: a JSON
// object whose members before "rows" are strings, numbers or literals.
class ReportHead {
public:
    explicit ReportHead(std::string_view head) : m_head(head) {}

    // Whether "historyFormat" comes as a number before "rows", whose array begins.
    bool NamesHistoryFormat() {
        if (!Take('{')) {
            return false;
        }
        bool marked = false;
        for (bool first = true;; first = false) {
            std::string_view key;
            if ((!first && !Take(',')) || !String(key) || !Take(':')) {
                return false;
            }
            if (key == "rows") {
                return marked && Take('[');
            }
            std::string_view value;
            if (!(Peek('"') ? String(value) : Scalar(value))) {
                return false;
            }
            if (key == "historyFormat") {
                marked = value.find_first_not_of("0123456789") == std::string_view::npos;
            }
        }
    }

private:
    void SkipSpace() {
        while (m_at < m_head.size() && (m_head[m_at] == ' ' || m_head[m_at] == '\t' ||
                                        m_head[m_at] == '\r' || m_head[m_at] == '\n')) {
            ++m_at;
        }
    }
    bool Peek(char c) {
        SkipSpace();
        return m_at < m_head.size() && m_head[m_at] == c;
    }
    bool Take(char c) {
        const bool there = Peek(c);
        m_at += there ? 1 : 0;
        return there;
    }
    // A string's text as it stands, escapes and all.
    bool String(std::string_view& text) {
        if (!Take('"')) {
            return false;
        }
        const size_t start = m_at;
        while (m_at < m_head.size() && m_head[m_at] != '"') {
            m_at += m_head[m_at] == '\\' ? 2 : 1;
        }
        if (m_at >= m_head.size()) {
            return false;
        }
        text = m_head.substr(start, m_at++ - start);
        return true;
    }
    // A number, true, false or null.
    bool Scalar(std::string_view& text) {
        SkipSpace();
        const size_t start = m_at;
        while (m_at < m_head.size() &&
               (std::isalnum(static_cast<unsigned char>(m_head[m_at])) || m_head[m_at] == '+' ||
                m_head[m_at] == '-' || m_head[m_at] == '.')) {
            ++m_at;
        }
        text = m_head.substr(start, m_at - start);
        return !text.empty();
    }

    std::string_view m_head;
    size_t m_at = 0;
};

} // namespace

bool HasHistoryMarker(platform::ReadOnlyFile& file) {
    // Room for the mailbox's and the new-mail folder's paths, escaped, and the scan time.
    std::string head(16 * 1024, '\0');
    head.resize(file.ReadFromStart(&head[0], head.size()));
    return ReportHead(head).NamesHistoryFormat();
}

MailboxHistory::MailboxHistory(const std::string& root, std::string mailboxDir,
                               std::vector<std::string> protectedDirs)
    : m_strMailboxDir(std::move(mailboxDir)), m_protectedDirs(std::move(protectedDirs)) {
    std::string rootFolder = root;
    while (!rootFolder.empty() && platform::IsPathSeparator(rootFolder.back())) {
        rootFolder.pop_back();
    }
    const size_t separator = rootFolder.find_last_of("/\\");
    if (rootFolder.empty() || separator == std::string::npos) {
        return;
    }
    m_strBase = rootFolder.substr(0, separator == 0 ? 1 : separator);
    m_strRootName = rootFolder.substr(separator + 1);
    m_strName = MailboxFolderName(m_strMailboxDir);
    m_strFolder = rootFolder + platform::kPathSeparator + m_strName + platform::kPathSeparator;
}

std::vector<std::string> MailboxHistory::Protected() const {
    std::vector<std::string> folders = m_protectedDirs;
    const std::string mailbox = platform::WithFinalSeparator(m_strMailboxDir);
    folders.push_back(mailbox);
    // Every user's mailbox of an installation: its root holds them all.
    const std::string installation = mailbox.empty() ? std::string() : InstallationRootOf(mailbox);
    if (!installation.empty()) {
        folders.push_back(installation);
    }
    return folders;
}

// The guard of the protected folders lives as long as the folder, which asks it at every
// write; a folder that cannot be read has no days.
struct MailboxHistory::OpenFolder {
    OpenFolder(const MailboxHistory& history, bool create)
        : guard(history.Protected(), view::IsInProtectedDirectory),
          outcome(history.m_strFolder.empty()
                      ? platform::OwnFolderOpen::kFailed
                      : folder.Open(history.m_strBase, {history.m_strRootName, history.m_strName},
                                    create, guard)) {
        if (Refused()) {
            Trace("[Verlauf] WARNUNG: Der Ordner \"%s\" ist eine Verkn\xFCpfung oder liegt in "
                  "einem Ordner, in den das Programm nicht schreibt; der Verlauf bleibt "
                  "unber\xFChrt.\n",
                  history.m_strFolder.c_str());
        }
        listed = outcome == platform::OwnFolderOpen::kOpened && ListDays(folder, days);
    }
    bool Opened() const { return outcome == platform::OwnFolderOpen::kOpened; }
    bool Refused() const {
        return outcome == platform::OwnFolderOpen::kLink ||
               outcome == platform::OwnFolderOpen::kProtected;
    }

    const platform::ProtectedFolders guard;
    platform::OwnFolder folder;
    const platform::OwnFolderOpen outcome;
    std::vector<CalendarDay> days; // ascending
    bool listed = false;
};

std::vector<CalendarDay> MailboxHistory::Days() const {
    return OpenFolder(*this, false).days;
}

bool MailboxHistory::ListDays(const platform::OwnFolder& folder, std::vector<CalendarDay>& days) {
    days.clear();
    const bool read = folder.List("*.json", CollectDay, &days);
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
    const OpenFolder open(*this, true);
    if (open.Refused()) {
        return WriteOutcome::kRefused;
    }
    if (!open.Opened()) {
        Trace("[Verlauf] WARNUNG: Der Ordner \"%s\" kann nicht angelegt werden.\n",
              m_strFolder.c_str());
        return WriteOutcome::kFailed;
    }
    const platform::OwnFolder& folder = open.folder;
    const std::vector<CalendarDay>& days = open.days;
    report::EarlierReport later;
    CalendarDay laterDay;
    if (Search(folder, days, DayNumber(today) + 1, DayNumber(today) + kMaxClockBackDays, later,
               laterDay, nullptr) == FindOutcome::kFound) {
        Trace("[Verlauf] WARNUNG: Der Verlauf hat schon einen Eintrag vom %s, nach "
              "heute (%s); die Uhr ging zur\xFC"
              "ck.\n",
              GermanDay(laterDay).c_str(), GermanDay(today).c_str());
        return WriteOutcome::kLaterDay;
    }
    if (std::any_of(days.begin(), days.end(), [&today](const CalendarDay& day) {
            return DayNumber(day) == DayNumber(today);
        })) {
        return WriteOutcome::kHaveToday;
    }
    if (!folder.ReplaceContents(DayFileName(today), json)) {
        Trace("[Verlauf] WARNUNG: \"%s\" kann nicht geschrieben werden.\n", DayPath(today).c_str());
        return WriteOutcome::kFailed;
    }
    Thin(folder, today);
    return WriteOutcome::kWritten;
}

void MailboxHistory::Thin(const platform::OwnFolder& folder, const CalendarDay& today) const {
    std::vector<CalendarDay> days;
    static_cast<void>(ListDays(folder, days));
    // Only the history's own entries count as kept days: a file of another's named
    // after the first of a month must not cost the entry of that month.
    std::vector<int64_t> numbers;
    for (const CalendarDay& day : days) {
        platform::ReadOnlyFile file;
        if (folder.OpenFile(DayFileName(day), file) && HasHistoryMarker(file)) {
            numbers.push_back(DayNumber(day));
        }
    }
    for (const int64_t number : DaysToThin(numbers, DayNumber(today))) {
        const CalendarDay day = DayFromNumber(number);
        if (folder.RemoveFile(DayFileName(day), HasHistoryMarker) !=
            platform::OwnFileRemoval::kRemoved) {
            Trace("[Verlauf] WARNUNG: \"%s\" kann nicht gel\xF6scht werden.\n",
                  DayPath(day).c_str());
        }
    }
}

bool MailboxHistory::PassedOver::Exhausted() const {
    return entries >= kMaxPassedOverEntries || bytes >= kMaxPassedOverBytes;
}

MailboxHistory::EntryRead MailboxHistory::ReadEntry(const platform::OwnFolder& folder,
                                                    const CalendarDay& day,
                                                    report::EarlierReport& earlier,
                                                    PassedOver& passed,
                                                    const std::atomic<bool>* cancel) const {
    const std::string path = DayPath(day);
    platform::ReadOnlyFile file;
    std::string error;
    uint64_t bytes = 0;
    if (!folder.OpenFile(DayFileName(day), file)) {
        error = "kann nicht gelesen werden";
    } else if (!HasHistoryMarker(file)) {
        error = "ist kein Eintrag des Verlaufs";
    } else if (!report::ReadEarlierReport(file, earlier, error, cancel, &bytes)) {
        if (cancel && cancel->load()) {
            return EntryRead::kCancelled;
        }
    } else if (earlier.HistoryFormat() == 0 || earlier.HistoryFormat() > kHistoryFormat) {
        error = FormatText("ist kein Verlaufseintrag, den dieses Programm kennt (Format %llu),",
                           static_cast<unsigned long long>(earlier.HistoryFormat()));
    } else if (!SameMailbox(earlier.MailboxDir(), m_strMailboxDir)) {
        error = FormatText("geh\xF6rt zum Postfach \"%s\"", earlier.MailboxDir().c_str());
    } else {
        return EntryRead::kUsable;
    }
    Trace("[Verlauf] WARNUNG: \"%s\" %s und wird \xFC"
          "bergangen.\n",
          path.c_str(), error.c_str());
    earlier.Clear();
    ++passed.entries;
    passed.bytes += bytes;
    return EntryRead::kPassedOver;
}

FindOutcome MailboxHistory::Search(const platform::OwnFolder& folder,
                                   const std::vector<CalendarDay>& days, int64_t oldest,
                                   int64_t newest, report::EarlierReport& earlier,
                                   CalendarDay& used, const std::atomic<bool>* cancel) const {
    PassedOver passed;
    for (auto day = days.rbegin(); day != days.rend() && DayNumber(*day) >= oldest; ++day) {
        if (DayNumber(*day) > newest) {
            continue;
        }
        if (cancel && cancel->load()) {
            earlier.Clear();
            return FindOutcome::kCancelled;
        }
        if (passed.Exhausted()) {
            Trace("[Verlauf] WARNUNG: %u Eintr\xE4ge in \"%s\" sind unbrauchbar; die Suche "
                  "nach einem \xE4lteren gibt auf.\n",
                  static_cast<unsigned>(passed.entries), m_strFolder.c_str());
            break;
        }
        switch (ReadEntry(folder, *day, earlier, passed, cancel)) {
        case EntryRead::kUsable:
            used = *day;
            return FindOutcome::kFound;
        case EntryRead::kCancelled:
            earlier.Clear();
            return FindOutcome::kCancelled;
        case EntryRead::kPassedOver:
            break;
        }
    }
    earlier.Clear();
    return FindOutcome::kNone;
}

bool MailboxHistory::Load(const CalendarDay& reference, report::EarlierReport& earlier,
                          CalendarDay& used) const {
    std::string path;
    return Find(reference, earlier, used, path) == FindOutcome::kFound;
}

FindOutcome MailboxHistory::Find(const CalendarDay& reference, report::EarlierReport& earlier,
                                 CalendarDay& used, std::string& path,
                                 const std::atomic<bool>* cancel) const {
    earlier.Clear();
    path.clear();
    const OpenFolder open(*this, false);
    if (!open.Opened()) {
        return open.Refused() ? FindOutcome::kRefused : FindOutcome::kNone;
    }
    const FindOutcome found = Search(open.folder, open.days, std::numeric_limits<int64_t>::min(),
                                     DayNumber(reference), earlier, used, cancel);
    if (found == FindOutcome::kFound) {
        path = DayPath(used);
    }
    return found;
}

ClearOutcome MailboxHistory::Clear() const {
    OpenFolder open(*this, false);
    if (!open.Opened()) {
        return open.Refused()                                      ? ClearOutcome::kRefused
               : open.outcome == platform::OwnFolderOpen::kMissing ? ClearOutcome::kCleared
                                                                   : ClearOutcome::kIncomplete;
    }
    platform::OwnFolder& folder = open.folder;
    bool cleared = open.listed;
    for (const CalendarDay& day : open.days) {
        switch (folder.RemoveFile(DayFileName(day), HasHistoryMarker)) {
        case platform::OwnFileRemoval::kRemoved:
            break;
        case platform::OwnFileRemoval::kKept:
            Trace("[Verlauf] \"%s\" ist kein Eintrag des Verlaufs und bleibt.\n",
                  DayPath(day).c_str());
            break;
        case platform::OwnFileRemoval::kFailed:
            cleared = false;
            break;
        }
    }
    static_cast<void>(folder.RemoveIfEmpty());
    return cleared ? ClearOutcome::kCleared : ClearOutcome::kIncomplete;
}

} // namespace history
