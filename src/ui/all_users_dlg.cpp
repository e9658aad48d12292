// CAllUsersDlg: the rows, sort, typed letters and status line are
// report::AllUsersModel's; this file starts the reader, shows the rows once it has
// planned them, marks each row read as the reader reports it, and turns keys, clicks
// and menus into calls.
#include "ui/all_users_dlg.h"

#include "diag/trace.h"
#include "framework/app_services.h"
#include "framework/menu.h"
#include "framework/win_app.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "tree/tree_text.h"
#include "ui/folder_tree_dlg.h"
#include "ui/list_export_win32.h"
#include "view/list_rules.h"
#include "view/main_layout.h"
#include "view/scan_view.h"
#include "view/tree_layout.h"
#include "view/window_state.h"

namespace {

const CReportList::Column kColumns[CAllUsersDlg::kColumnCount] = {
    {IDS_ALLUSERS_COLUMN_USER, LVCFMT_LEFT, 110},
    {IDS_ALLUSERS_COLUMN_PERSONAL, LVCFMT_LEFT, 240},
    {IDS_ALLUSERS_COLUMN_FILES, LVCFMT_RIGHT, 95},
    {IDS_ALLUSERS_COLUMN_SIZE, LVCFMT_RIGHT, 80},
    {IDS_ALLUSERS_COLUMN_SHARE, LVCFMT_RIGHT, 130},
    {IDS_ALLUSERS_COLUMN_NEWMAIL, LVCFMT_RIGHT, 90},
    {IDS_ALLUSERS_COLUMN_LARGEST, LVCFMT_LEFT, 170},
    {IDS_ALLUSERS_COLUMN_LIMIT, LVCFMT_RIGHT, 55},
};

static_assert(view::StoredWidthCount(view::StoredWindow::kOverview) == CAllUsersDlg::kColumnCount,
              "the table keeps a width for each column");

const CListWindow::Frame kFrame = {IDD_ALL_USERS,
                                   IDR_ALLUSERSACCEL,
                                   IDC_ALLUSERS_LIST,
                                   IDC_ALLUSERS_STATUS,
                                   0,
                                   IDR_ALLUSERSCONTEXTMENU,
                                   CAllUsersDlg::kHelpTopic,
                                   view::StoredWindow::kOverview,
                                   CAllUsersDlg::kColumnCount,
                                   report::kUserColumnShare};

} // namespace

CAllUsersDlg::CAllUsersDlg(HWND parent, AppServices& app, std::string root, bool compact)
    : CListWindow(parent, app, m_list, kFrame), m_strRoot(std::move(root)), m_bCompact(compact) {}

CAllUsersDlg::~CAllUsersDlg() = default;

void CAllUsersDlg::InitColumns() {
    m_list.Init(m_model, kColumns, kColumnCount, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.FitDefaultWidth(report::kUserColumnSize, view::kWidestSizeText);
}

BOOL CAllUsersDlg::OnInitDialog() {
    CListWindow::OnInitDialog();
    m_reader.SetTarget(m_hWnd, kReadMessage);
    CreateShareTip();
    Reread();
    return TRUE;
}

void CAllUsersDlg::Reread() {
    // Stopping waits for each mailbox's thread to reach its next folder file, or the
    // plan its next piece of the list.
    m_reader.Stop();
    m_pPlanning = std::make_shared<AllUsersResult>();
    m_pPlanning->root = m_strRoot;
    m_reader.PlanAndStart(m_pPlanning);
    UpdateStatus();
}

void CAllUsersDlg::OnRead(WPARAM what) {
    const int selected = SelectedIndex();
    const worker::AllUsersReader::Plan plan = m_reader.TakePlan();
    if (plan != worker::AllUsersReader::Plan::kNone) {
        m_pResult = std::move(m_pPlanning);
        m_model.SetResult(m_pResult, m_bCompact);
    }
    m_model.MarkRead(m_reader.TakeReadRows());
    bool cancelled = false;
    if (what == worker::AllUsersReader::kEnded && m_reader.TakeEnd(cancelled)) {
        m_pPlanning.reset(); // a plan cancelled before it was made
        if (cancelled) {
            m_model.MarkCancelled();
        } else {
            m_model.MarkAllRead();
            ++m_nReadCount;
        }
    }
    const bool noList = plan == worker::AllUsersReader::Plan::kNoList;
    ShowRows(noList ? -1 : selected);
    UpdateStatus();
    if (noList) {
        m_app.Error(IDS_ERROR_012, m_strRoot.c_str());
    }
}

bool CAllUsersDlg::CancelRead() {
    // A read whose end is still on its way is running for the user: the key that comes
    // before that end cancels it, and the window stays.
    static_cast<void>(m_reader.Cancel());
    return m_reader.IsBusy();
}

void CAllUsersDlg::UpdateStatus() {
    const report::AllUsersStatusTexts texts = {LoadResourceString(IDS_ALLUSERS_REREAD_CANCELLED),
                                               LoadResourceString(IDS_ALLUSERS_READ_CANCELLED),
                                               LoadResourceString(IDS_ALLUSERS_LIMIT_STATUS),
                                               LoadResourceString(IDS_ALLUSERS_LIST_CANCELLED)};
    std::string text = m_model.FilteredText(LoadResourceString(IDS_FILTERED_USERS_FORMAT)) +
                       m_model.StatusText(texts);
    if (m_reader.IsBusy()) {
        // While the plan is made the rows shown are still the last read's: nothing of
        // the new read is counted yet.
        const bool planning = m_pPlanning != nullptr;
        text = view::ProgressLine(LoadResourceString(IDS_ALLUSERS_PROGRESS),
                                  planning ? 0 : static_cast<uint32_t>(m_model.ReadCount()),
                                  planning ? 0 : static_cast<uint32_t>(m_model.ToReadCount())) +
               "    " + text;
    }
    m_status.SetWindowText(text);
    UpdateShareTip();
}

TOOLINFOA CAllUsersDlg::HeaderTool() const {
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE; // the list's comctl32 may be version 5
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_list.GetHeader().GetSafeHwnd());
    return tool;
}

void CAllUsersDlg::CreateShareTip() {
    m_hShareTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, m_hWnd,
                                    nullptr, ::GetModuleHandleA(nullptr), nullptr);
    TOOLINFOA tool = HeaderTool();
    tool.lpszText = const_cast<char*>("");
    ::SendMessageA(m_hShareTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    // The text is one line however wide: a width turns on the tooltip's line breaks.
    ::SendMessageA(m_hShareTip, TTM_SETMAXTIPWIDTH, 0, 400);
}

void CAllUsersDlg::UpdateShareTip() {
    const uint32_t scale = m_model.BarsScaledTo();
    std::string text;
    if (scale != 0) {
        text = FormatText(LoadResourceString(IDS_ALLUSERS_SHARE_SCALED).c_str(),
                          tree::FormatShare(scale).c_str());
    }
    TOOLINFOA tool = HeaderTool();
    tool.lpszText = const_cast<char*>(text.c_str()); // copied by the tooltip
    ::SendMessageA(m_hShareTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string CAllUsersDlg::GetShareTipText() const {
    char text[256] = {};
    TOOLINFOA tool = HeaderTool();
    tool.lpszText = text;
    ::SendMessageA(m_hShareTip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

int CAllUsersDlg::SelectedIndex() const {
    const int row = GetSelectedRow();
    return row < 0 ? -1 : static_cast<int>(m_model.IndexOf(row));
}

void CAllUsersDlg::ShowRows(int selectedIndex) {
    m_list.Refresh();
    m_list.SelectOnly(selectedIndex < 0 ? -1
                                        : m_model.ShownRow(static_cast<size_t>(selectedIndex)));
}

void CAllUsersDlg::OnEnter() {
    HWND focus = ::GetFocus();
    if (focus == m_list.GetSafeHwnd()) {
        OpenRow(GetSelectedRow());
    } else if (focus != nullptr && ::IsChild(m_hWnd, focus)) {
        // The key's meaning on a button: its own click.
        ::SendMessageA(focus, BM_CLICK, 0, 0);
    }
}

void CAllUsersDlg::OpenRow(int row) {
    ScanRequest request;
    if (!m_model.FolderRequest(row, LoadResourceString(IDS_NEWMAIL_LABEL), request)) {
        return;
    }
    CFolderTreeDlg tree(m_hWnd, m_app, request, m_bCompact);
    tree.SetUserName(m_model.Row(row).UserName());
    m_app.RunModal(tree);
}

void CAllUsersDlg::SortByColumn(int column) {
    const int selected = SelectedIndex();
    m_list.ClickColumn(column);
    ShowRows(selected);
}

void CAllUsersDlg::ApplyFilter(const view::RowFilter& filter) {
    const int selected = SelectedIndex();
    m_model.SetFilter(filter);
    ShowRows(selected);
    UpdateStatus();
}

view::ListSnapshot CAllUsersDlg::Snapshot() const {
    std::vector<std::string> titles;
    for (const CReportList::Column& column : kColumns) {
        titles.push_back(LoadResourceString(column.titleId));
    }
    return m_model.Snapshot(titles);
}

std::vector<std::string> CAllUsersDlg::ExportRefusedFolders() const {
    return ExportProtectedFolders(m_app.GetModulePath(), {}, {m_strRoot});
}

bool CAllUsersDlg::OnListNotify(NMHDR* header, LRESULT& result) {
    if (header->code != NM_DBLCLK) {
        return false;
    }
    OpenRow(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
    result = 0;
    return true;
}

bool CAllUsersDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_VIEW_REFRESH:
        Reread();
        return true;
    case ID_ALLUSERS_OPEN:
        OnEnter();
        return true;
    default:
        return CListWindow::OnCommand(id, code, control);
    }
}

bool CAllUsersDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == kReadMessage) {
        OnRead(wParam);
        result = 0;
        return true;
    }
    return CListWindow::OnMessage(msg, wParam, lParam, result);
}
