// CMainDlg: initialisation order, commands, refresh, the worker, menus and layout.
#include "ui/main_dlg.h"

#include "diag/trace.h"
#include "framework/menu.h"
#include "framework/monitors.h"
#include "framework/win_app.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "ui/about_dlg.h"
#include "ui/folder_tree_dlg.h"
#include "ui/scan_progress.h"
#include "ui/settings_dlg.h"
#include "ui/window_placement.h"
#include "view/limit_mark.h"
#include "view/main_layout.h"
#include "view/optional_columns.h"
#include "view/placement.h"
#include "view/scan_view.h"
#include "view/window_state.h"

#include <windowsx.h>

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

} // namespace

CMainDlg::CMainDlg(AppServices& app, worker::MessageSink& sink)
    : CAppDlg(IDR_MAINFRAME, IDR_MAINACCEL, IDD_FOLDTALLY_DIALOG, nullptr), m_app(app),
      m_worker(sink) {
    // The same second before FEHLER 002 or 003, looked at in short steps: closing waits
    // for the worker's end, not for the next look.
    m_worker.SetWaits(200, 5);
    m_scans.SetAutomaticRefresh(&m_worker);
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_STATUS, m_status);
    DDX_Control(pDX, IDC_FOLDERLIST, m_list);
}

BOOL CMainDlg::OnInitDialog() {
    CAppDlg::OnInitDialog();
    // The template's sample text must not show behind a box that opens before the
    // first scan has filled the status line.
    m_status.SetWindowText("");
    SetWindowText(m_app.GetTitle());
    m_list.InitColumns(IDS_COLUMN_FILENAME, IDS_COLUMN_SIZE, IDS_COLUMN_FOLDERNAME);
    m_hProgress = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(IDC_SCAN_PROGRESS),
                                    ::GetModuleHandleA(nullptr), nullptr);
    m_scans.SetTarget(m_hWnd, kScanEnded);
    m_referenceLoader.SetTarget(m_hWnd, kReferenceLoaded);
    m_historyWriter.SetTarget(m_hWnd, kHistoryRefused);
    RestoreState();
    UpdateMenuChecks();
    UpdatePortableItem();
    Relayout();
    Refresh();
    ApplyAutoRefresh();
    return TRUE;
}

void CMainDlg::RestoreState() {
    SettingsStore* source = m_app.GetSettingsStore();
    if (source == nullptr || !source->Open(settings_names::kSection)) {
        return;
    }
    // The default is kept as the record at 96 DPI; a first start shows it at the
    // screen's scale, so that as many columns show as there.
    uint8_t placement[view::kPlacementSize];
    view::DefaultPlacementBytes(placement);
    const view::WindowPlacementRecord fallback =
        view::ScalePlacementForDpi(view::DecodePlacement(placement), m_list.GetDpi());
    const WINDOWPLACEMENT wp =
        ToWindowPlacement(view::LoadPlacement(*source, StateNames(), fallback, MonitorWorkAreas()));
    ::SetWindowPlacement(m_hWnd, &wp);
    m_list.LoadColumnState(*source);
    m_settings.Load(*source);
    m_strExportPath = source->ReadString(kExportPathValue, m_strExportPath);
    m_strAllUsersRoot = source->ReadString(kAllUsersRootValue, m_strAllUsersRoot);
    m_bChangeReferenceChosen = history::LoadChangeReference(*source, m_changeReference);
    source->Close();
}

bool CMainDlg::SaveState() {
    SettingsStore* store = m_app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        return false;
    }
    static_cast<void>(SaveStateTo(*store));
    store->Close();
    return true;
}

bool CMainDlg::SaveStateTo(SettingsStore& store) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(m_hWnd, &wp);
    const view::ListState list = m_list.GetListState();
    bool written = view::SaveWindowState(store, StateNames(), FromWindowPlacement(wp), list);
    if (written) {
        m_list.NoteSaved(list);
    }
    written = m_list.SaveOptionalColumns(store) && written;
    m_settings.Save(store);
    // Only once an export was written: no run leaves an empty value behind.
    if (!m_strExportPath.empty()) {
        store.WriteString(kExportPathValue, m_strExportPath);
    }
    if (!m_strAllUsersRoot.empty()) {
        store.WriteString(kAllUsersRootValue, m_strAllUsersRoot);
    }
    // Likewise the change's reference: only once one was chosen.
    if (m_bChangeReferenceChosen) {
        static_cast<void>(history::SaveChangeReference(store, m_changeReference));
    }
    return written;
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

void CMainDlg::CancelScan() {
    static_cast<void>(m_scans.Cancel());
    static_cast<void>(m_referenceLoader.Cancel());
}

void CMainDlg::OnScanEnded() {
    worker::ScanController::Completion done = m_scans.TakeCompletion();
    FollowScanState();
    if (!done.ended || done.result == nullptr) {
        return; // not yet, already taken, or cancelled: the list keeps its rows
    }
    const bool hierarchyRead = done.result->hierarchyRead;
    ShowResult(std::move(done.result));
    WriteHistory();
    const bool failedBefore = m_bHierarchyFailed;
    m_bHierarchyFailed = !hierarchyRead;
    WarnOverLimit();
    // The worker asks every few seconds: a file that stays unreadable is told once, not
    // again after each close of the box; and never twice at a time, when a scan ends
    // while the box of the one before is still open.
    const bool byUser = done.cause != worker::ScanController::Cause::kAutomatic;
    if (!hierarchyRead && m_settings.m_bWarnFolderPath && (byUser || !failedBefore) &&
        !m_bWarningShown) {
        const ScopeMark shown(m_bWarningShown);
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
}

void CMainDlg::ShowResultStatus() {
    const SharedScanResult& r = m_list.GetResult();
    if (r == nullptr) {
        m_status.SetWindowText("");
        return;
    }
    std::string change;
    if (m_list.GetRows().HasChanges()) {
        // Which day the column measures from, and the whole change since.
        change = FormatText(LoadResourceString(IDS_CHANGE_STATUS).c_str(),
                            history::ChangeReferenceText(m_changeReference).c_str(),
                            ChangeText({RowChange::kChanged, m_list.GetRows().Changes().total},
                                       !m_settings.m_bCompactFileSizes)
                                .c_str());
    }
    m_status.SetWindowText(
        view::StatusLine(LoadResourceString(IDS_STATUS_FORMAT), r->catalogue.fileCount,
                         r->catalogue.totalSize) +
        view::LimitStatus(LoadResourceString(IDS_LIMIT_STATUS), CountLimits(r->catalogue.records)) +
        change);
}

void CMainDlg::FollowScanState() {
    const bool busy = m_scans.IsBusy();
    const CMenuHandle view = CMenuHandle::FromWindow(m_hWnd).GetSubMenu(1);
    if (view) {
        view.EnableItem(ID_VIEW_CANCEL_SCAN, busy || m_referenceLoader.IsBusy());
    }
    if (!FollowScanProgress(m_hWnd, m_hProgress, busy)) {
        ShowResultStatus();
    }
}

void CMainDlg::UpdateProgress() {
    ShowScanProgress(m_scans.GetProgress(), m_status, m_hProgress);
}

void CMainDlg::WarnOverLimit() {
    const SharedScanResult result = m_list.GetResult(); // alive while the boxes are open
    if (!result) {
        return;
    }
    for (const FolderRecord* row : m_limitWarnings.TakeNew(result->catalogue.records)) {
        m_app.Warning(IDS_WARNING_504, (row->folderPath + row->folderName).c_str(),
                      row->fileName.c_str());
    }
}

ScanRequest CMainDlg::MakeScanRequest() const {
    return view::MakeScanRequest(m_settings, m_app.GetMailboxPath(), m_app.GetNewmailPath(),
                                 LoadResourceString(IDS_NEWMAIL_LABEL));
}

const view::WindowStateNames& CMainDlg::StateNames() {
    static view::WindowStateNames names = [] {
        view::WindowStateNames n = CFolderListCtrl::StateNames();
        n.placement = kPlacementValue;
        return n;
    }();
    return names;
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
    case ID_VIEW_CANCEL_SCAN:
        CancelScan();
        return true;
    case ID_VIEW_TREE:
        OnFolderTree();
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
    case ID_HELP_CONTENTS:
        m_app.ShowHelp(nullptr);
        return true;
    case ID_HELP_WINDOW:
        m_app.ShowHelp(kHelpTopicMain);
        return true;
    case ID_HELP_ABOUT:
        OnAbout();
        return true;
    case ID_FILE_EXPORT:
        OnExport();
        return true;
    case ID_EDIT_COPY:
        OnCopy();
        return true;
    case IDOK:
    case IDCANCEL:
        // Enter, Escape and WM_CLOSE: the window closes only by "Beenden" or the
        // system close command.
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
        if (id >= ID_VIEW_SORT_FIRST && id < ID_VIEW_SORT_FIRST + CFolderListCtrl::kColumnCount) {
            m_list.SortByColumn(static_cast<int>(id - ID_VIEW_SORT_FIRST));
            UpdateMenuChecks();
            return true;
        }
        return CAppDlg::OnCommand(id, code, control);
    }
}

BOOL CMainDlg::PreTranslateMessage(MSG* pMsg) {
    if (CAppDlg::IsOwnMessage(pMsg) && m_list.ScrollForKey(*pMsg)) {
        return TRUE;
    }
    return CAppDlg::PreTranslateMessage(pMsg);
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
    case WM_TIMER:
        if (wParam == kProgressTimer) {
            UpdateProgress();
            result = 0;
            return true;
        }
        break;
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
        // Shift-F10 and the context-menu key (no point given); a mouse's menu comes by
        // its click.
        if (lParam == static_cast<LPARAM>(-1)) {
            ShowContextMenu(m_list.GetContextMenuPoint());
            result = 0;
            return true;
        }
        break;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == m_list.GetSafeHwnd() && m_list.GetSafeHwnd() != nullptr &&
            OnListNotify(header, result)) {
            return true;
        }
        break;
    }
    case WM_DESTROY:
        // The scan's threads stop at their next file while the settings are written;
        // the window goes whatever the store says, and a worker that does not end in
        // time is waited for by its destructor.
        static_cast<void>(m_scans.Cancel());
        static_cast<void>(m_referenceLoader.Cancel());
        static_cast<void>(SaveState());
        m_scans.Shutdown();
        static_cast<void>(m_worker.Stop());
        break;
    default:
        break;
    }
    return CAppDlg::OnMessage(msg, wParam, lParam, result);
}

bool CMainDlg::OnListNotify(const NMHDR* header, LRESULT& result) {
    if (m_list.OnReflectedNotify(header, result)) {
        if (header->code == LVN_COLUMNCLICK) {
            UpdateMenuChecks();
        }
        return true;
    }
    switch (header->code) {
    case NM_RCLICK:
        ShowContextMenu(CursorPoint());
        result = 0;
        return true;
    case LVN_ITEMCHANGED: {
        // The rows are for reading only: no row stays selected or focused.
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED)) {
            m_list.SetItemState(change->iItem, 0, LVIS_SELECTED | LVIS_FOCUSED);
        }
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

void CMainDlg::OnSettings() {
    CSettingsDlg dialog(m_hWnd, &m_app);
    dialog.m_settings = m_settings;
    if (m_app.RunModal(dialog) != IDOK) {
        return;
    }
    m_settings = dialog.m_settings;
    // A store that cannot be written keeps the old values; the new ones apply anyway.
    static_cast<void>(SaveState());
    ApplyAutoRefresh();
    // New directories or switches: what runs now reads what is no longer asked for.
    Restart();
}

void CMainDlg::OnSavePortable() {
    SettingsStore* current = m_app.GetSettingsStore();
    static_cast<void>(m_app.SaveSettingsPortable([this, current](SettingsStore& file) {
        if (!file.Open(settings_names::kSection)) {
            return false;
        }
        bool written = SaveStateTo(file);
        // The tree window keeps its values in the store when it closes; this window does
        // not hold them.
        if (current != nullptr && current->Open(settings_names::kSection)) {
            view::WindowStateNames tree;
            tree.placement = CFolderTreeDlg::kPlacementValue;
            tree.widths = CFolderTreeDlg::kColumnsValue;
            tree.widthsDpi = CFolderTreeDlg::kColumnsDpiValue;
            tree.olderWidthCount = CFolderTreeDlg::kColumnsBeforeChanged;
            written = view::CopyWindowState(*current, file, tree, CFolderTreeDlg::kColumnCount) &&
                      written;
            current->Close();
        }
        file.Close();
        return written;
    }));
    UpdatePortableItem();
}

void CMainDlg::OnFolderTree() {
    // The tree window scans for itself with a copy of what a refresh here would use, so
    // a refresh of this window meanwhile leaves its data alone.
    CFolderTreeDlg dialog(m_hWnd, m_app, MakeScanRequest(), m_settings.m_bCompactFileSizes);
    dialog.SetChangeSource([this](const ScanResult& result) { return ChangesOf(result); });
    m_pTreeDlg = &dialog;
    m_app.RunModal(dialog);
    m_pTreeDlg = nullptr;
}

void CMainDlg::OnAbout() {
    CAboutDlg dialog(m_hWnd, &m_app);
    dialog.m_strMailboxDir = GetMailboxPath();
    dialog.m_strNewmailDir = GetNewmailPath();
    m_app.RunModal(dialog);
}

void CMainDlg::SetChecks(const CMenuHandle& menu) const {
    menu.CheckItem(ID_VIEW_COMPACT, m_settings.m_bCompactFileSizes);
    menu.CheckItem(ID_VIEW_NEWMAIL, m_settings.m_bShowNewMailFolder);
    for (int c = 0; c < CFolderListCtrl::kColumnCount; ++c) {
        menu.CheckItem(ID_VIEW_SORT_FIRST + c, c == m_list.GetSortColumn());
    }
    SetChangeChecks(menu);
    for (size_t i = 0; i < view::kOptionalColumnCount; ++i) {
        menu.CheckItem(static_cast<UINT>(ID_VIEW_COLUMN_FIRST + i),
                       m_list.IsOptionalColumnShown(view::kOptionalColumns[i].column));
    }
}

CMenuHandle CMainDlg::ColumnMenu() const {
    // "Ansicht > Spalten": one menu for the menu bar and the header's click.
    const CMenuHandle view = CMenuHandle::FromWindow(m_hWnd).GetSubMenu(1);
    for (int position = 0; view && position < ::GetMenuItemCount(view.GetSafeHmenu()); ++position) {
        CMenuHandle sub = view.GetSubMenu(position);
        if (sub && ::GetMenuItemID(sub.GetSafeHmenu(), 0) == ID_VIEW_COLUMN_FIRST) {
            return sub;
        }
    }
    return CMenuHandle();
}

bool CMainDlg::IsOnHeader(HWND from, LPARAM at) const {
    const HWND header = m_list.GetHeader().GetSafeHwnd();
    if (header == nullptr) {
        return false;
    }
    if (from == header) {
        return true;
    }
    // Passed up by the list, the message names the list; its point tells the header.
    if (from != m_list.GetSafeHwnd() || at == static_cast<LPARAM>(-1)) {
        return false;
    }
    const RECT bounds = m_list.GetHeader().GetWindowRect();
    const POINT point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    return ::PtInRect(&bounds, point) != 0;
}

void CMainDlg::ShowColumnMenu(LPARAM at) {
    const CMenuHandle menu = ColumnMenu();
    if (!menu) {
        return;
    }
    POINT point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == static_cast<LPARAM>(-1)) {
        // From the keyboard: below the header's left end.
        const RECT header = m_list.GetHeader().GetWindowRect();
        point = {header.left, header.bottom};
    }
    UpdateMenuChecks();
    ::TrackPopupMenu(menu.GetSafeHmenu(), 0, point.x, point.y, 0, m_hWnd, nullptr);
}

void CMainDlg::UpdatePortableItem() {
    // A portable run has its file already.
    const CMenuHandle extras = CMenuHandle::FromWindow(m_hWnd).GetSubMenu(2);
    if (extras) {
        extras.EnableItem(ID_EXTRAS_PORTABLE, !m_app.IsSettingsPortable());
    }
}

void CMainDlg::UpdateMenuChecks() {
    const CMenuHandle view = CMenuHandle::FromWindow(m_hWnd).GetSubMenu(1);
    if (view) {
        SetChecks(view);
    }
}

POINT CMainDlg::CursorPoint() {
    POINT at = {};
    ::GetCursorPos(&at);
    return at;
}

void CMainDlg::ShowContextMenu(POINT at) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXTMENU)) {
        return;
    }
    const CMenuHandle popup = menu.Borrow().GetSubMenu(0);
    if (!popup) {
        return;
    }
    SetChecks(popup);
    ::TrackPopupMenu(popup.GetSafeHmenu(), 0, at.x, at.y, 0, m_hWnd, nullptr);
}

void CMainDlg::InitLayout() {
    CAppDlg::InitLayout();
    const RECT status = m_status.GetWindowRect();
    m_nStatusHeight = status.bottom - status.top;
}

void CMainDlg::LayoutControls(int cx, int cy) {
    CAppDlg::LayoutControls(cx, cy);
    if (m_list.GetSafeHwnd() == nullptr) {
        return;
    }
    const view::MainLayout layout =
        view::ComputeMainLayout(GetClientWidth(), GetClientHeight(), GetMetrics(), m_nStatusHeight);
    m_list.MoveWindow(layout.list.x, layout.list.y, layout.list.width, layout.list.height, TRUE);
    m_status.MoveWindow(layout.status.x, layout.status.y, layout.status.width, layout.status.height,
                        TRUE);
    const view::ControlPlace bar = view::ProgressBarPlace(layout.status);
    ::MoveWindow(m_hProgress, bar.x, bar.y, bar.width, bar.height, TRUE);
}
