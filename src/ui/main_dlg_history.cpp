// CMainDlg and the mailbox's history: the day's entry filed after a finished scan (the
// writer works on a thread of its own), the day the change is measured since, and
// "Extras > Verlauf löschen". The history lives with the settings, so a portable copy
// keeps it beside its foldtally.ini and the user's registry run in the local
// application data; never in the mailbox, the new-mail folder or beside the program
// of an installed copy, and never through a link (warning 505). The entry to compare
// with is read on a thread of its own, which Escape stops.
#include "diag/path_parts.h"
#include "diag/trace.h"
#include "framework/menu.h"
#include "framework/win_app.h"
#include "history/history_store.h"
#include "platform/clock.h"
#include "platform/folder_identity.h"
#include "platform/local_folders.h"
#include "report/report.h"
#include "resource.h"
#include "ui/folder_tree_dlg.h"
#include "ui/main_dlg.h"

namespace {

// The days as a popup menu at the cursor, newest first; the index of the one chosen,
// or -1. Items carry their index plus one: the menu returns its choice instead of
// sending a command, so these numbers meet no other command.
int PromptDay(HWND owner, const std::vector<history::CalendarDay>& days) {
    CMenu menu;
    if (!menu.Attach(::CreatePopupMenu())) {
        return -1;
    }
    if (days.empty()) {
        const std::string none = LoadResourceString(IDS_HISTORY_NO_DAYS);
        ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING | MF_GRAYED, 1, none.c_str());
    }
    for (size_t i = days.size(); i-- > 0;) {
        const std::string text = history::DayText(days[i]);
        ::AppendMenuA(menu.GetSafeHmenu(), MF_STRING, static_cast<UINT_PTR>(i + 1), text.c_str());
    }
    POINT at = {};
    ::GetCursorPos(&at);
    const int chosen = ::TrackPopupMenu(menu.GetSafeHmenu(), TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                        at.y, 0, owner, nullptr);
    return chosen > 0 && !days.empty() ? chosen - 1 : -1;
}

bool AskToClear(HWND owner, const std::string& question) {
    const std::string title = LoadResourceString(IDS_APP_TITLE);
    return ::MessageBoxA(owner, question.c_str(), title.c_str(),
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

} // namespace

history::HistoryPlace CMainDlg::MakeHistoryPlace() const {
    PathParts program(m_app.GetModulePath());
    const std::string programFolder = program.GetDrive() + program.GetDirectory();
    const bool portable = m_app.IsSettingsPortable();
    history::HistoryPlace place;
    place.root =
        m_strHistoryRoot.empty()
            ? history::HistoryRoot(platform::LocalAppDataFolder(),
                                   platform::FolderOfFile(m_app.GetSettingsFilePath()), portable)
            : m_strHistoryRoot;
    // A portable copy that may not write its settings file writes no history beside it:
    // Wine run as root would write into a folder the user made read-only.
    if (portable && m_app.IsSettingsFileReadOnly()) {
        place.root.clear();
    }
    // The history adds the mailbox and its installation's users itself.
    place.protectedDirs = {GetMailboxPath(), GetNewmailPath()};
    if (!m_app.GetHelpFolder().empty()) {
        place.protectedDirs.push_back(m_app.GetHelpFolder());
    }
    if (!portable) {
        place.protectedDirs.push_back(programFolder);
    }
    return place;
}

void CMainDlg::WriteHistory() {
    static_cast<void>(m_historyWriter.AfterScan(GetResult(), MakeHistoryPlace(),
                                                platform::LocalToday(), report::IsoTimeNow()));
}

bool CMainDlg::HasReference(const history::HistoryPlace& place) {
    const history::CalendarDay today = platform::LocalToday();
    const history::MailboxHistory mailboxHistory(place.root, GetMailboxPath());
    if (m_referenceEntry.Holds(mailboxHistory, m_changeReference, today)) {
        return true;
    }
    const history::CalendarDay asked = history::ReferenceDay(m_changeReference, today);
    if (!m_referenceLoader.IsLoading(mailboxHistory.Folder(), asked)) {
        m_referenceLoader.Start(place, GetMailboxPath(), asked);
        FollowScanState();
    }
    return false;
}

view::FolderChangeSet CMainDlg::ChangesOf(const ScanResult& result) {
    const history::HistoryPlace place = MakeHistoryPlace();
    if (place.root.empty() || !HasReference(place)) {
        return view::FolderChangeSet();
    }
    // The entry is held: this reads nothing.
    const history::MailboxHistory mailboxHistory(place.root, GetMailboxPath());
    history::FolderChanges changes;
    history::CalendarDay used;
    history::CompareWithHistory(m_referenceEntry, mailboxHistory, m_changeReference,
                                platform::LocalToday(), result.catalogue.records,
                                result.catalogue.totalSize, changes, used);
    return changes.ChangeSet();
}

void CMainDlg::OnReferenceLoaded() {
    history::ReferenceLoader::Loaded loaded = m_referenceLoader.Take();
    FollowScanState();
    if (!loaded.ended) {
        return; // not yet, or a load given up for another
    }
    // One that Escape stopped stands as none until the user asks again, so that the
    // automatic refresh does not start it anew.
    m_bReferenceCancelled = loaded.outcome == history::FindOutcome::kCancelled;
    m_referenceEntry.Put(loaded.folder, loaded.asked,
                         loaded.outcome == history::FindOutcome::kFound, std::move(loaded.entry),
                         loaded.used);
    UpdateChanges();
    if (loaded.outcome == history::FindOutcome::kRefused) {
        WarnHistoryRefused(false);
    }
}

void CMainDlg::WarnHistoryRefused(bool always) {
    if (m_bHistoryRefusalShown && !always) {
        return;
    }
    m_bHistoryRefusalShown = true;
    const history::MailboxHistory mailboxHistory(MakeHistoryPlace().root, GetMailboxPath());
    m_app.Warning(IDS_WARNING_505, mailboxHistory.Folder().c_str());
}

void CMainDlg::UpdateChanges() {
    const SharedScanResult result = GetResult();
    if (result == nullptr) {
        return;
    }
    m_list.SetChanges(m_list.IsOptionalColumnShown(view::kColumnChange) ? ChangesOf(*result)
                                                                        : view::FolderChangeSet());
    if (!m_scans.IsBusy()) {
        ShowResultStatus();
    }
    // The tree window names the same day: a new one reaches it too.
    if (m_pTreeDlg != nullptr) {
        m_pTreeDlg->TakeChanges();
    }
}

void CMainDlg::OnChangeSince(UINT id) {
    history::ChangeReference chosen;
    switch (id) {
    case ID_VIEW_CHANGE_YESTERDAY:
        chosen.since = history::ChangeSince::kYesterday;
        break;
    case ID_VIEW_CHANGE_WEEK:
        chosen.since = history::ChangeSince::kWeek;
        break;
    case ID_VIEW_CHANGE_MONTH:
        chosen.since = history::ChangeSince::kMonth;
        break;
    default: {
        const history::HistoryPlace place = MakeHistoryPlace();
        const history::MailboxHistory mailboxHistory(place.root, GetMailboxPath(),
                                                     place.protectedDirs);
        const std::vector<history::CalendarDay> days = mailboxHistory.Days();
        const int index = m_dayPrompt ? m_dayPrompt(m_hWnd, days) : PromptDay(m_hWnd, days);
        if (index < 0 || static_cast<size_t>(index) >= days.size()) {
            return;
        }
        chosen.since = history::ChangeSince::kDay;
        chosen.day = days[static_cast<size_t>(index)];
        break;
    }
    }
    m_changeReference = chosen;
    m_bChangeReferenceChosen = true;
    UpdateMenuChecks();
    UpdateChanges();
}

void CMainDlg::SetChangeChecks(const CMenuHandle& menu) const {
    static const struct {
        UINT id;
        history::ChangeSince since;
    } kItems[] = {{ID_VIEW_CHANGE_YESTERDAY, history::ChangeSince::kYesterday},
                  {ID_VIEW_CHANGE_WEEK, history::ChangeSince::kWeek},
                  {ID_VIEW_CHANGE_MONTH, history::ChangeSince::kMonth},
                  {ID_VIEW_CHANGE_DAY, history::ChangeSince::kDay}};
    for (const auto& item : kItems) {
        menu.CheckItem(item.id, item.since == m_changeReference.since);
    }
}

void CMainDlg::OnClearHistory() {
    const std::string question = FormatText(LoadResourceString(IDS_HISTORY_CLEAR_QUESTION).c_str(),
                                            GetMailboxPath().c_str());
    const bool yes = m_clearPrompt ? m_clearPrompt(m_hWnd, question) : AskToClear(m_hWnd, question);
    if (!yes) {
        return;
    }
    // A write of today's entry that still runs would come back after the deletion, and
    // a reading would hold the folder.
    m_historyWriter.Wait();
    static_cast<void>(m_referenceLoader.Cancel());
    m_referenceLoader.Wait();
    static_cast<void>(m_referenceLoader.Take());
    const history::HistoryPlace place = MakeHistoryPlace();
    const history::MailboxHistory mailboxHistory(place.root, GetMailboxPath(), place.protectedDirs);
    const history::ClearOutcome cleared = mailboxHistory.Clear();
    m_referenceEntry.Forget();
    UpdateChanges();
    if (cleared == history::ClearOutcome::kRefused) {
        WarnHistoryRefused(true);
    } else if (cleared == history::ClearOutcome::kIncomplete) {
        m_app.Error(IDS_ERROR_011);
    }
}
