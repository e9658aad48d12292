// CListWindow: the layout, keys, menus, progress and stored state of every list window.
#include "ui/list_window.h"

#include "framework/app_services.h"
#include "framework/gdi_object.h"
#include "framework/menu.h"
#include "framework/monitors.h"
#include "framework/win_app.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "settings/settings_store.h"
#include "ui/window_placement.h"
#include "view/list_rules.h"
#include "view/main_layout.h"
#include "view/scan_view.h"
#include "view/tree_layout.h"

#include <algorithm>

namespace {

// While a read runs: the status line's progress, often enough to look alive and
// seldom enough to cost nothing.
constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressPeriodMs = 100;

} // namespace

CListWindow::CListWindow(HWND parent, AppServices& app, CReportList& list, const Frame& frame)
    : CAppDlg(IDR_MAINFRAME, frame.acceleratorId, frame.templateId, parent), m_app(app),
      m_reportList(list), m_frame(frame), m_names(view::StateNamesOf(frame.stored)) {}

void CListWindow::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, m_frame.listId, m_reportList);
    DDX_Control(pDX, m_frame.statusId, m_status);
}

BOOL CListWindow::OnInitDialog() {
    CAppDlg::OnInitDialog();
    InitColumns();
    CreateFilterLine();
    // The widest percentage in the list's own font keeps its room beside the bars.
    m_shareMetrics = tree::ShareCellMetricsFor(m_reportList.GetDpi(),
                                               m_reportList.GetStringWidth(tree::kWidestShareText));
    if (m_frame.progressId != 0) {
        m_hProgress = ::CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 0, 0, 0, 0, m_hWnd,
                                        reinterpret_cast<HMENU>(m_frame.progressId),
                                        ::GetModuleHandleA(nullptr), nullptr);
    }
    // Its own tooltip over the list: the list's label tips show only the first column's.
    m_hTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    if (m_hTip != nullptr) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        // The list's mouse messages reach it from PreTranslateMessage: a subclassed list
        // would cost every message sent to the list a look-up of its subclass (under
        // Wine a call to its server), thousands of them while the list repaints.
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(m_reportList.GetSafeHwnd());
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(m_hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        // One line however long: a folder's path reads best unbroken.
        ::SendMessageA(m_hTip, TTM_SETMAXTIPWIDTH, 0, ::GetSystemMetrics(SM_CXSCREEN));
    }
    RestoreState();
    Relayout();
    // The list keeps the first focus, as before the filter line came first in the tab
    // order: after the initialisation, which gives it to the first of that order.
    ::PostMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_reportList.GetSafeHwnd()),
                   TRUE);
    return TRUE;
}

BOOL CListWindow::PreTranslateMessage(MSG* pMsg) {
    // A held Escape repeats: its first press stops the read, and the repeats that follow
    // once the read has ended must not close the window as a fresh press would.
    constexpr LPARAM kWasDown = 1 << 30;
    if (FilterBoxKey(*pMsg)) {
        return TRUE;
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE &&
        (pMsg->lParam & kWasDown) != 0 && IsOwnMessage(pMsg)) {
        static_cast<void>(CancelRead());
        return TRUE;
    }
    if (pMsg->hwnd == m_reportList.GetSafeHwnd() && pMsg->message >= WM_MOUSEFIRST &&
        pMsg->message <= WM_MOUSELAST) {
        if (pMsg->message == WM_MOUSEMOVE) {
            FollowCellTip(*pMsg);
        }
        if (m_hTip != nullptr) {
            ::SendMessageA(m_hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
        }
    }
    return CAppDlg::PreTranslateMessage(pMsg);
}

bool CListWindow::OnCommand(UINT id, UINT code, HWND control) {
    if (OnFilterCommand(id, code, control)) {
        return true;
    }
    const bool closes = ::GetDlgItem(m_hWnd, ID_HELP_BUTTON) != nullptr;
    switch (id) {
    case ID_VIEW_CANCEL_SCAN:
        // Escape: a running read first, then the window where it closes by a key.
        if (!CancelRead() && closes) {
            EndDialog(IDCANCEL);
        }
        return true;
    case ID_HELP_BUTTON:
    case ID_HELP_WINDOW:
        m_app.ShowHelp(m_frame.helpTopic);
        return true;
    case ID_EDIT_COPY:
        if (!CopyTextToClipboard(
                m_hWnd, view::FormatListCopy(Snapshot(), LoadResourceString(IDS_COLUMN_BYTES)))) {
            m_app.Error(IDS_ERROR_009);
        }
        return true;
    case ID_FILE_EXPORT:
        if (ExportList(m_hWnd, m_app, m_exportPrompt, ExportRefusedFolders(), m_strExportFolder,
                       [this] { return Snapshot(); })) {
            NoteExport();
        }
        return true;
    case IDOK:
    case IDCANCEL:
        // Enter, Escape and WM_CLOSE: the main window closes only by "Beenden" or the
        // system close command.
        if (closes) {
            EndDialog(IDCANCEL);
        }
        return true;
    default:
        if (id >= ID_VIEW_SORT_FIRST &&
            id < ID_VIEW_SORT_FIRST + static_cast<UINT>(m_frame.sortColumns)) {
            SortByColumn(static_cast<int>(id - ID_VIEW_SORT_FIRST));
            return true;
        }
        return CAppDlg::OnCommand(id, code, control);
    }
}

bool CListWindow::OnNotify(int id, NMHDR* header, LRESULT& result) {
    if (m_hTip != nullptr && header->hwndFrom == m_hTip && OnTipNotify(header)) {
        result = 0;
        return true;
    }
    if (m_reportList.GetSafeHwnd() == nullptr || header->hwndFrom != m_reportList.GetSafeHwnd()) {
        return CAppDlg::OnNotify(id, header, result);
    }
    if (m_reportList.OnNotify(header, result) || OnListNotify(header, result)) {
        return true;
    }
    result = 0;
    switch (header->code) {
    case NM_CUSTOMDRAW: {
        NMLVCUSTOMDRAW& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        if (draw.nmcd.dwDrawStage == CDDS_POSTPAINT) {
            DrawNoMatch(draw.nmcd.hdc);
            result = CDRF_DODEFAULT;
            return true;
        }
        result = m_frame.shareColumn < 0 ? m_reportList.OnCustomDraw(draw) : DrawWithShares(draw);
        if (draw.nmcd.dwDrawStage == CDDS_PREPAINT && ShowsNoMatch()) {
            result |= CDRF_NOTIFYPOSTPAINT; // the list's word that no row passes
        }
        return true;
    }
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        return true;
    case NM_RCLICK: {
        POINT at = {};
        ::GetCursorPos(&at);
        ShowContextMenu(at);
        return true;
    }
    default:
        return false;
    }
}

bool CListWindow::OnTimer(UINT_PTR id) {
    if (id != kProgressTimer) {
        return CAppDlg::OnTimer(id);
    }
    UpdateProgress();
    return true;
}

bool CListWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_CTLCOLOREDIT:
        if (ColourFilterBox(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                            result)) {
            return true;
        }
        break;
    case WM_CONTEXTMENU:
        // Shift-F10 and the context-menu key (no point given); a mouse's menu comes by
        // its click.
        if (lParam == static_cast<LPARAM>(-1)) {
            BeforeKeyboardMenu();
            ShowContextMenu(m_reportList.GetContextMenuPoint());
            result = 0;
            return true;
        }
        break;
    case WM_DESTROY:
        // The read's threads stop at their next file while the state is written.
        static_cast<void>(CancelRead());
        static_cast<void>(SaveState());
        EndReads();
        break;
    default:
        break;
    }
    return CAppDlg::OnMessage(msg, wParam, lParam, result);
}

void CListWindow::SortByColumn(int column) {
    m_reportList.ClickColumn(column);
    m_reportList.Refresh();
}

void CListWindow::CheckMenu(const CMenuHandle& menu) const {
    for (int c = 0; c < m_frame.sortColumns; ++c) {
        menu.CheckItem(ID_VIEW_SORT_FIRST + c, c == m_reportList.GetSort().column);
    }
}

void CListWindow::BeforeKeyboardMenu() {
    const int row = m_reportList.GetSelectedRow();
    if (row >= 0) {
        m_reportList.EnsureVisible(row, FALSE);
    }
}

void CListWindow::ShowContextMenu(POINT at) {
    CMenu menu;
    if (!menu.LoadMenu(m_frame.contextMenuId)) {
        return;
    }
    const CMenuHandle popup = menu.Borrow().GetSubMenu(0);
    if (!popup) {
        return;
    }
    CheckMenu(popup);
    ::TrackPopupMenu(popup.GetSafeHmenu(), 0, at.x, at.y, 0, m_hWnd, nullptr);
}

bool CListWindow::FollowProgress(bool busy) {
    if (busy) {
        ::SetTimer(m_hWnd, kProgressTimer, kProgressPeriodMs, nullptr);
    } else {
        ::KillTimer(m_hWnd, kProgressTimer);
        ::ShowWindow(m_hProgress, SW_HIDE);
    }
    return busy;
}

void CListWindow::ShowProgress(const worker::ScanProgress& progress) {
    if (!progress.running || progress.filesTotal == 0) {
        return; // listing still, or ended with its message on the way
    }
    m_bStatusParts = false;
    m_status.SetWindowText(view::ProgressLine(LoadResourceString(IDS_SCAN_PROGRESS),
                                              progress.filesRead, progress.filesTotal));
    if (progress.elapsedMs >= view::kProgressBarDelayMs) {
        ::SendMessageA(m_hProgress, PBM_SETRANGE32, 0, static_cast<LPARAM>(progress.filesTotal));
        ::SendMessageA(m_hProgress, PBM_SETPOS, progress.filesRead, 0);
        if (!::IsWindowVisible(m_hProgress)) {
            // Above the status line it lies on.
            ::SetWindowPos(m_hProgress, HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
    }
}

void CListWindow::RestoreState() {
    SettingsStore* store = m_app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        PlaceFirstTime();
        return;
    }
    const view::WindowPlacementRecord placement =
        view::LoadPlacement(*store, Names(), FirstPlacement(), MonitorWorkAreas());
    m_storedWidths = LoadColumns(*store);
    LoadMore(*store);
    LoadFilter(*store);
    store->Close();
    if (placement.length != view::kPlacementSize) {
        PlaceFirstTime();
        return;
    }
    const WINDOWPLACEMENT wp = ToWindowPlacement(placement);
    ::SetWindowPlacement(m_hWnd, &wp);
}

void CListWindow::PlaceFirstTime() {
    CenterWindow(::GetWindow(m_hWnd, GW_OWNER));
}

std::vector<int32_t> CListWindow::LoadColumns(SettingsStore& store) {
    const std::vector<int32_t> defaults = m_reportList.GetDefaultWidths();
    view::ListState state;
    state.widths = defaults;
    state.widthsDpi = m_reportList.GetDpi();
    state.sortColumn = m_reportList.GetSort().column;
    state.sortDescending = m_reportList.GetSort().descending;
    view::LoadListState(store, Names(), defaults, state);
    for (size_t c = 0; c < state.widths.size(); ++c) {
        m_reportList.SetColumnWidth(static_cast<int>(c), state.widths[c]);
    }
    if (Names().sort != nullptr) {
        m_reportList.SetSort({state.sortColumn, state.sortDescending});
    }
    return state.storedWidths;
}

view::ListState CListWindow::ColumnsToSave() const {
    view::ListState state;
    state.widthsDpi = m_reportList.GetDpi();
    for (size_t c = 0; c < m_reportList.GetDefaultWidths().size(); ++c) {
        state.widths.push_back(m_reportList.GetColumnWidth(static_cast<int>(c)));
    }
    state.sortColumn = m_reportList.GetSort().column;
    state.sortDescending = m_reportList.GetSort().descending;
    return state;
}

bool CListWindow::SaveState() {
    SettingsStore* store = m_app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        return false;
    }
    static_cast<void>(SaveStateTo(*store));
    store->Close();
    return true;
}

bool CListWindow::SaveStateTo(SettingsStore& store) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(m_hWnd, &wp);
    view::ListState list = ColumnsToSave();
    list.storedWidths = m_storedWidths;
    bool written = view::SaveWindowState(store, Names(), FromWindowPlacement(wp), list);
    if (written) {
        m_storedWidths = list.widths;
    }
    const bool filter = SaveFilter(store);
    return SaveMore(store) && filter && written;
}
