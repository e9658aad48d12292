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

void Place(HWND control, const view::ControlPlace& at) {
    ::MoveWindow(control, at.x, at.y, at.width, at.height, TRUE);
}

// The text's width and the height of a line in `control`'s font.
SIZE TextExtent(HWND control, const std::string& text) {
    SIZE size = {};
    HDC dc = ::GetDC(control);
    if (dc == nullptr) {
        return size;
    }
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32A(dc, text.empty() ? " " : text.c_str(),
                            text.empty() ? 1 : static_cast<int>(text.size()), &size);
    if (text.empty()) {
        size.cx = 0;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return size;
}

// Where the bar of a share of `tenths` (of a percent) lies in `cell`; empty for none.
RECT ShareBarIn(const RECT& cell, uint32_t tenths, const tree::ShareCellMetrics& metrics) {
    const view::PixelRect bar =
        tree::ShareBarRect({cell.left, cell.top, cell.right, cell.bottom}, tenths, metrics);
    return RECT{bar.left, bar.top, bar.right, bar.bottom};
}

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
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(m_reportList.GetSafeHwnd());
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(m_hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        // One line however long: a folder's path reads best unbroken.
        ::SendMessageA(m_hTip, TTM_SETMAXTIPWIDTH, 0, ::GetSystemMetrics(SM_CXSCREEN));
    }
    RestoreState();
    Relayout();
    return TRUE;
}

void CListWindow::InitLayout() {
    CAppDlg::InitLayout();
    const RECT status = m_status.GetWindowRect();
    m_nStatusHeight = status.bottom - status.top;
    m_nLineHeight = TextExtent(m_status.GetSafeHwnd(), "Ag").cy;
}

void CListWindow::LayoutControls(int cx, int cy) {
    CAppDlg::LayoutControls(cx, cy);
    if (m_reportList.GetSafeHwnd() == nullptr) {
        return;
    }
    HWND help = ::GetDlgItem(m_hWnd, ID_HELP_BUTTON);
    std::string text;
    // List, status line and, where the window has them, the two buttons at the bottom
    // right. The status line's width does not follow its height: its wrap at that
    // width decides the height.
    const auto treeLayout = [&](int statusHeight) {
        return view::ComputeTreeLayout(GetClientWidth(), GetClientHeight(), GetMetrics(),
                                       statusHeight);
    };
    const auto mainLayout = [&](int statusHeight) {
        return view::ComputeMainLayout(GetClientWidth(), GetClientHeight(), GetMetrics(),
                                       statusHeight);
    };
    if (m_bStatusParts) {
        const int width = help != nullptr ? treeLayout(m_nStatusHeight).status.width
                                          : mainLayout(m_nStatusHeight).status.width;
        text = WrapStatus(width, m_nStatusLines);
    }
    const int statusHeight = GetStatusAreaHeight();
    view::ControlPlace status;
    if (help != nullptr) {
        const view::TreeLayout l = treeLayout(statusHeight);
        Place(m_reportList.GetSafeHwnd(), l.list);
        Place(help, l.help);
        Place(::GetDlgItem(m_hWnd, IDCANCEL), l.close);
        status = l.status;
    } else {
        const view::MainLayout l = mainLayout(statusHeight);
        Place(m_reportList.GetSafeHwnd(), l.list);
        status = l.status;
    }
    Place(m_status.GetSafeHwnd(), status);
    if (m_bStatusParts && m_status.GetWindowText() != text) {
        m_status.SetWindowText(text);
    }
    if (m_hProgress != nullptr) {
        // Beside the progress text, on the first line.
        Place(m_hProgress, view::ProgressBarPlace({status.x, status.y, status.width,
                                                   std::min(status.height, m_nStatusHeight)}));
    }
}

int CListWindow::GetStatusAreaHeight() const {
    return view::StatusHeightFor(m_nStatusLines, m_nStatusHeight, m_nLineHeight);
}

void CListWindow::SetStatusParts(std::vector<std::string> parts) {
    m_statusParts = std::move(parts);
    m_bStatusParts = true;
    Relayout();
}

std::string CListWindow::WrapStatus(int width, size_t& lines) const {
    std::vector<int> widths;
    for (const std::string& part : m_statusParts) {
        widths.push_back(TextExtent(m_status.GetSafeHwnd(), part).cx);
    }
    // The sunken frame takes a pixel or two on each side.
    const view::StatusWrap wrap = view::WrapStatusParts(widths, width - 4);
    lines = wrap.lines;
    std::string text;
    size_t next = 0;
    for (size_t i = 0; i < m_statusParts.size(); ++i) {
        if (next < wrap.breaks.size() && wrap.breaks[next] == i) {
            ++next;
            const size_t start = m_statusParts[i].find_first_not_of(' ');
            text += "\r\n";
            text += start == std::string::npos ? std::string() : m_statusParts[i].substr(start);
        } else {
            text += m_statusParts[i];
        }
    }
    return text;
}

BOOL CListWindow::PreTranslateMessage(MSG* pMsg) {
    // A held Escape repeats: its first press stops the read, and the repeats that follow
    // once the read has ended must not close the window as a fresh press would.
    constexpr LPARAM kWasDown = 1 << 30;
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE &&
        (pMsg->lParam & kWasDown) != 0 && IsOwnMessage(pMsg)) {
        static_cast<void>(CancelRead());
        return TRUE;
    }
    if (pMsg->message == WM_MOUSEMOVE && pMsg->hwnd == m_reportList.GetSafeHwnd()) {
        FollowCellTip(*pMsg);
    }
    return CAppDlg::PreTranslateMessage(pMsg);
}

bool CListWindow::OnCommand(UINT id, UINT code, HWND control) {
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
        ExportList(m_hWnd, m_app, m_exportPrompt, ExportRefusedFolders(), m_strExportFolder,
                   [this] { return Snapshot(); });
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
        result = m_frame.shareColumn < 0 ? m_reportList.OnCustomDraw(draw) : DrawWithShares(draw);
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

void CListWindow::FollowCellTip(const MSG& msg) {
    LVHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    const int row = m_reportList.SubItemHitTest(hit);
    const int column = row >= 0 ? hit.iSubItem : -1;
    if (row == m_nTipRow && column == m_nTipColumn) {
        return;
    }
    m_nTipRow = row;
    m_nTipColumn = column;
    // Another cell: the tip shown goes, and the next asks for its cell's text.
    ::SendMessageA(m_hTip, TTM_POP, 0, 0);
}

std::string CListWindow::CutCellText(int row, int column) const {
    const view::ReportModel* model = m_reportList.GetModel();
    RECT cell = {};
    if (model == nullptr || row < 0 || row >= model->RowCount() || column < 0 ||
        column == m_frame.shareColumn ||
        !m_reportList.GetSubItemRect(row, column, LVIR_LABEL, cell)) {
        return std::string();
    }
    const std::string text = model->ShownText(row, column);
    const int padding = view::ScaleForDpi(CReportList::kCellPadding, m_reportList.GetDpi());
    const int room =
        (column == 0 ? cell.right - cell.left : m_reportList.GetColumnWidth(column)) - 2 * padding;
    return m_reportList.GetStringWidth(text.c_str()) > room ? text : std::string();
}

bool CListWindow::OnTipNotify(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA& info = *reinterpret_cast<NMTTDISPINFOA*>(header);
        m_strTip = CutCellText(m_nTipRow, m_nTipColumn);
        info.hinst = nullptr;
        info.lpszText = &m_strTip[0];
        return true;
    }
    if (header->code == TTN_GETDISPINFOW) {
        // A tooltip that asks in 16-bit text, as Wine's may.
        NMTTDISPINFOW& info = *reinterpret_cast<NMTTDISPINFOW*>(header);
        m_strTip = CutCellText(m_nTipRow, m_nTipColumn);
        m_strTipWide.assign(m_strTip.size() + 1, L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, m_strTip.c_str(), -1, &m_strTipWide[0],
                              static_cast<int>(m_strTipWide.size()));
        info.hinst = nullptr;
        info.lpszText = &m_strTipWide[0];
        return true;
    }
    return false;
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
    return SaveMore(store) && written;
}

RECT CListWindow::GetBarRect(int row) const {
    RECT cell = {};
    const view::ReportModel* model = m_reportList.GetModel();
    if (model == nullptr || row < 0 || row >= model->RowCount() ||
        !m_reportList.GetSubItemRect(row, m_frame.shareColumn, LVIR_BOUNDS, cell)) {
        return RECT{};
    }
    return ShareBarIn(cell, model->BarOf(row), m_shareMetrics);
}

LRESULT CListWindow::DrawWithShares(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        break;
    default:
        return CDRF_DODEFAULT;
    }
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    const int rows = m_reportList.GetModel() != nullptr ? m_reportList.GetModel()->RowCount() : 0;
    const bool selected =
        row < rows && (m_reportList.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    RECT cell = {};
    if (draw.iSubItem != m_frame.shareColumn || row >= rows ||
        !m_reportList.GetSubItemRect(row, m_frame.shareColumn, LVIR_BOUNDS, cell)) {
        // The size's mark still tells the limit on a selected row.
        return selected ? CDRF_DODEFAULT : m_reportList.ColourCell(draw);
    }
    return DrawShareCell(draw.nmcd.hdc, row, cell, selected);
}

LRESULT CListWindow::DrawShareCell(HDC dc, int row, const RECT& cell, bool selected) const {
    RECT inner = {cell.left + 1, cell.top, cell.right, cell.bottom - 1};
    ::FillRect(dc, &inner, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const RECT bar = GetBarRect(row);
    if (bar.right > bar.left) {
        // On the selection's colour the bar takes the selected text's colour.
        const CGdiObject<HBRUSH> brush(
            ::CreateSolidBrush(selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : BarColor()));
        ::FillRect(dc, &bar, brush.Get());
    }
    const std::string text = m_reportList.GetModel()->CellText(row, m_frame.shareColumn);
    RECT textRect = {cell.left, cell.top, cell.right - m_shareMetrics.textMargin, cell.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return CDRF_SKIPDEFAULT;
}
