// CMainDlg: initialisation order, commands, refresh and the worker.
#include "ui/main_dlg.h"

#include "diag/trace.h"
#include "framework/menu.h"
#include "framework/win_app.h"
#include "resource.h"
#include "ui/folder_tree_dlg.h"
#include "ui/limit_warning_dlg.h"
#include "ui/treemap_dlg.h"
#include "view/limit_mark.h"
#include "view/optional_columns.h"
#include "view/scan_view.h"

namespace {

const char kHelpTopicMain[] = "::/pages/ref_dlg_main.htm";

// A mark set for as long as a scope runs, however it ends.
class ScopeMark {
public:
    explicit ScopeMark(bool& mark) : m_mark(mark) { m_mark = true; }
    ~ScopeMark() { m_mark = false; }
    ScopeMark(const ScopeMark&) = delete;
    ScopeMark& operator=(const ScopeMark&) = delete;

private:
    bool& m_mark;
};

const CListWindow::Frame kFrame = {IDD_FOLDTALLY_DIALOG,
                                   IDR_MAINACCEL,
                                   IDC_FOLDERLIST,
                                   IDC_STATUS,
                                   IDC_SCAN_PROGRESS,
                                   IDR_CONTEXTMENU,
                                   kHelpTopicMain,
                                   view::StoredWindow::kMain,
                                   CFolderListCtrl::kColumnCount,
                                   -1};

} // namespace

CMainDlg::CMainDlg(AppServices& app, worker::MessageSink& sink)
    : CListWindow(nullptr, app, m_list, kFrame), m_worker(sink) {
    // The same second before FEHLER 002 or 003, looked at in short steps: closing waits
    // for the worker's end, not for the next look.
    m_worker.SetWaits(200, 5);
    m_scans.SetAutomaticRefresh(&m_worker);
}

CMainDlg::~CMainDlg() = default;

BOOL CMainDlg::OnInitDialog() {
    CListWindow::OnInitDialog();
    // The template's sample text must not show behind a box that opens before the
    // first scan has filled the status line.
    m_status.SetWindowText("");
    SetWindowText(m_app.GetTitle());
    m_scans.SetTarget(m_hWnd, kScanEnded);
    m_referenceLoader.SetTarget(m_hWnd, kReferenceLoaded);
    m_historyWriter.SetTarget(m_hWnd, kHistoryRefused);
    UpdateMenuChecks();
    UpdatePortableItem();
    // From the size the window opens at on, with the widths it restored.
    m_bFollowRoom = true;
    m_list.FollowRoom();
    Refresh();
    ApplyAutoRefresh();
    return TRUE;
}

void CMainDlg::InitColumns() {
    m_list.InitColumns(IDS_COLUMN_FILENAME, IDS_COLUMN_SIZE, IDS_COLUMN_FOLDERNAME);
}

void CMainDlg::LayoutControls(int cx, int cy) {
    CListWindow::LayoutControls(cx, cy);
    if (m_bFollowRoom) {
        m_list.FollowRoom();
    }
}

void CMainDlg::Refresh(RefreshCause cause) {
    if (cause == RefreshCause::kUser && m_bReferenceCancelled) {
        // The user asks again for what Escape stopped.
        m_bReferenceCancelled = false;
        m_referenceEntry.Forget();
    }
    RequestScan(cause == RefreshCause::kWorker ? worker::ScanController::Cause::kAutomatic
                                               : worker::ScanController::Cause::kUser);
}

void CMainDlg::Restart() {
    RequestScan(worker::ScanController::Cause::kRestart);
}

void CMainDlg::RequestScan(worker::ScanController::Cause cause) {
    if (m_bWarningShown) {
        // Asked from inside the warning's box: the scan that warns has just ended.
        return;
    }
    static_cast<void>(m_scans.Request(MakeScanRequest(), cause));
    // The entry to compare with is read beside the scan, so that the scan's rows and
    // their changes come in one step.
    if (m_list.IsOptionalColumnShown(view::kColumnChange)) {
        const history::HistoryPlace place = MakeHistoryPlace();
        if (!place.root.empty()) {
            static_cast<void>(HasReference(place));
        }
    }
    FollowScanState();
}

bool CMainDlg::CancelScan() {
    const bool scan = m_scans.Cancel();
    return m_referenceLoader.Cancel() || scan;
}

void CMainDlg::EndReads() {
    m_scans.Shutdown();
    static_cast<void>(m_worker.Stop());
}

void CMainDlg::OnScanEnded() {
    worker::ScanController::Completion done = m_scans.TakeCompletion();
    FollowScanState();
    if (!done.ended || done.result == nullptr) {
        return; // not yet, already taken, or cancelled: the list keeps its rows
    }
    const ReadFailure failure = !done.result->catalogue.mailboxListed ? ReadFailure::kMailbox
                                : !done.result->hierarchyRead         ? ReadFailure::kHierarchy
                                                                      : ReadFailure::kNone;
    const std::string mailboxDir = done.result->request.mailboxDir;
    ShowResult(std::move(done.result));
    WriteHistory();
    const ReadFailure before = m_readFailure;
    m_readFailure = failure;
    const bool byUser = done.cause != worker::ScanController::Cause::kAutomatic;
    WarnOverLimit(byUser);
    // The worker asks every few seconds: a directory or file that stays unreadable is
    // told once, not again after each close of the box; and never twice at a time, when
    // a scan ends while the box of the one before is still open.
    // A missing mailbox has no "hierarch.pm" either: the directory is what to name, and
    // one who turned that warning off is not told of it either.
    if (failure == ReadFailure::kNone || !m_settings.m_bWarnFolderPath || m_bWarningShown ||
        (!byUser && failure == before)) {
        return;
    }
    const ScopeMark shown(m_bWarningShown);
    if (failure == ReadFailure::kMailbox) {
        m_app.Warning(IDS_WARNING_506, mailboxDir.c_str());
    } else {
        m_app.Warning(IDS_WARNING_502);
    }
}

void CMainDlg::ShowResult(SharedScanResult result) {
    const CFolderListCtrl::Place place = m_list.GetPlace();
    ++m_nRefreshCount;
    view::FolderChangeSet changes;
    if (result != nullptr && m_list.IsOptionalColumnShown(view::kColumnChange)) {
        changes = ChangesOf(*result);
    }
    m_list.Show(std::move(result), m_settings.m_bCompactFileSizes, std::move(changes));
    m_list.RestorePlace(place);
    ShowResultStatus();
    if (m_pTreeDlg != nullptr) {
        m_pTreeDlg->TakeResult(GetResult());
    }
    if (m_pTreemapDlg != nullptr) {
        m_pTreemapDlg->TakeResult(GetResult());
    }
}

void CMainDlg::FollowScanState() {
    const bool busy = m_scans.IsBusy();
    const CMenuHandle view = CMenuHandle::FromWindow(m_hWnd).GetSubMenu(1);
    if (view) {
        view.EnableItem(ID_VIEW_CANCEL_SCAN, busy || m_referenceLoader.IsBusy());
    }
    if (!FollowProgress(busy)) {
        ShowResultStatus();
    }
}

void CMainDlg::WarnOverLimit(bool byUser) {
    const SharedScanResult result = m_list.GetResult(); // alive while the box is open
    if (!result || m_bWarningShown) {
        return;
    }
    const std::string& mailboxDir = result->request.mailboxDir;
    const std::vector<const FolderRecord*> rows = m_limitWarnings.TakeBox(
        mailboxDir, result->catalogue.records,
        byUser ? view::LimitWarnings::Cause::kUser : view::LimitWarnings::Cause::kAutomatic);
    if (rows.empty()) {
        return;
    }
    const uint32_t id = rows.size() == 1 ? IDS_WARNING_504 : IDS_WARNING_507;
    CLimitWarningDlg box(m_hWnd, m_app,
                         view::LimitWarningText(LoadResourceString(IDS_WARNING_504),
                                                LoadResourceString(IDS_WARNING_507),
                                                LoadResourceString(IDS_LIMIT_WARNING_LINE),
                                                LoadResourceString(IDS_LIMIT_WARNING_MORE), rows),
                         id);
    {
        const ScopeMark shown(m_bWarningShown);
        static_cast<void>(m_app.RunModal(box)); // OK is its only end
    }
    if (box.IsSilenced()) {
        m_limitWarnings.Silence(mailboxDir, rows);
    }
}

ScanRequest CMainDlg::MakeScanRequest() const {
    return view::MakeScanRequest(m_settings, m_app.GetMailboxPath(), m_app.GetNewmailPath(),
                                 LoadResourceString(IDS_NEWMAIL_LABEL));
}

void CMainDlg::ApplyAutoRefresh() {
    const uint32_t interval = static_cast<uint32_t>(m_settings.AutoRefreshIntervalMs());
    m_worker.SetInterval(interval);
    const int32_t state = m_worker.GetState();
    if (m_settings.m_bAutoRefresh && state == worker::PeriodicWorker::Idle) {
        if (m_worker.Start(m_hWnd, kRefreshRequest) != worker::PeriodicWorker::Ok) {
            m_app.Error(IDS_ERROR_002);
        }
    } else if (!m_settings.m_bAutoRefresh && state == worker::PeriodicWorker::Running) {
        if (m_worker.Stop() != worker::PeriodicWorker::Ok) {
            m_app.Error(IDS_ERROR_003);
        }
    }
}

std::string CMainDlg::GetMailboxPath() const {
    return MakeScanRequest().mailboxDir;
}

std::string CMainDlg::GetNewmailPath() const {
    return MakeScanRequest().newmailDir;
}

void CMainDlg::Toggle(bool& setting) {
    setting = !setting;
    UpdateMenuChecks();
    Restart();
}

bool CMainDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_APP_EXIT:
        EndDialog(IDOK);
        return true;
    case ID_VIEW_COMPACT:
        Toggle(m_settings.m_bCompactFileSizes);
        return true;
    case ID_VIEW_NEWMAIL:
        Toggle(m_settings.m_bShowNewMailFolder);
        return true;
    case ID_VIEW_REFRESH:
        Refresh();
        return true;
    case ID_VIEW_TREE:
        OnFolderTree();
        return true;
    case ID_VIEW_TREEMAP:
        OnTreemap();
        return true;
    case ID_FILE_ALL_USERS:
    case ID_FILE_ALL_USERS_ROOT:
        OnAllUsers(id == ID_FILE_ALL_USERS_ROOT);
        return true;
    case ID_EXTRAS_SETTINGS:
        OnSettings();
        return true;
    case ID_EXTRAS_CLEAR_HISTORY:
        OnClearHistory();
        return true;
    case ID_VIEW_CHANGE_YESTERDAY:
    case ID_VIEW_CHANGE_WEEK:
    case ID_VIEW_CHANGE_MONTH:
    case ID_VIEW_CHANGE_DAY:
        OnChangeSince(id);
        return true;
    case ID_EXTRAS_PORTABLE:
        OnSavePortable();
        return true;
    case ID_EXTRAS_LANGUAGE_AUTO:
    case ID_EXTRAS_LANGUAGE_GERMAN:
    case ID_EXTRAS_LANGUAGE_ENGLISH:
        OnLanguage(static_cast<LanguageChoice>(id - ID_EXTRAS_LANGUAGE_AUTO));
        return true;
    case ID_HELP_CONTENTS:
        m_app.ShowHelp(nullptr);
        return true;
    case ID_HELP_ABOUT:
        OnAbout();
        return true;
    default:
        if (id >= ID_VIEW_COLUMN_FIRST && id < ID_VIEW_COLUMN_FIRST + view::kOptionalColumnCount) {
            m_list.ToggleOptionalColumn(view::kOptionalColumns[id - ID_VIEW_COLUMN_FIRST].column);
            if (id == ID_VIEW_COLUMN_CHANGE) {
                UpdateChanges();
            }
            UpdateMenuChecks();
            return true;
        }
        return CListWindow::OnCommand(id, code, control);
    }
}

void CMainDlg::SortByColumn(int column) {
    m_list.SortByColumn(column);
    UpdateMenuChecks();
}

BOOL CMainDlg::PreTranslateMessage(MSG* pMsg) {
    if (IsOwnMessage(pMsg) && m_list.ScrollForKey(*pMsg)) {
        return TRUE;
    }
    return CListWindow::PreTranslateMessage(pMsg);
}

bool CMainDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case kRefreshRequest:
        Refresh(RefreshCause::kWorker);
        result = 0;
        return true;
    case kScanEnded:
        OnScanEnded();
        result = 0;
        return true;
    case kReferenceLoaded:
        OnReferenceLoaded();
        result = 0;
        return true;
    case kHistoryRefused:
        WarnHistoryRefused(false);
        result = 0;
        return true;
    case WM_SYSCOMMAND:
        if (wParam == SC_CLOSE) {
            EndDialog(IDOK);
            result = 0;
            return true;
        }
        break;
    case WM_RBUTTONDOWN:
        ShowContextMenu(CursorPoint());
        result = 0;
        return true;
    case WM_CONTEXTMENU:
        // A click on the list's header: which columns to show, as in Explorer.
        if (IsOnHeader(reinterpret_cast<HWND>(wParam), lParam)) {
            ShowColumnMenu(lParam);
            result = 0;
            return true;
        }
        break;
    default:
        break;
    }
    return CListWindow::OnMessage(msg, wParam, lParam, result);
}

bool CMainDlg::OnListNotify(NMHDR* header, LRESULT& result) {
    if (header->code != LVN_ITEMCHANGED) {
        return false;
    }
    // The rows are for reading only: no row stays selected or focused.
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED)) {
        m_list.SetItemState(change->iItem, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    result = 0;
    return true;
}
