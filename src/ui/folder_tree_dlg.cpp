// CFolderTreeDlg: a list view in report mode with owner data stands for the tree, so
// it keeps the main list's look, header sorting and column widths, and opening a node
// of 10 000 children changes only the item count. The rows, keys, sort and rescan
// rules are tree::TreeRows'; this file turns messages into its calls, paints bars and
// offers the sort and the commands in a context menu, for the keyboard too.
#include "ui/folder_tree_dlg.h"

#include "diag/trace.h"
#include "framework/app_services.h"
#include "framework/menu.h"
#include "framework/win_app.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "ui/expander_images.h"
#include "ui/treemap_dlg.h"
#include "view/limit_mark.h"
#include "view/list_rules.h"
#include "view/main_layout.h"
#include "view/scan_view.h"
#include "view/tree_layout.h"
#include "view/window_state.h"

#include <algorithm>

namespace {

const CReportList::Column kColumns[CFolderTreeDlg::kColumnCount] = {
    {IDS_TREE_COLUMN_NAME, LVCFMT_LEFT, 230},   {IDS_TREE_COLUMN_TOTAL, LVCFMT_RIGHT, 80},
    {IDS_TREE_COLUMN_SHARE, LVCFMT_RIGHT, 130}, {IDS_TREE_COLUMN_OWN, LVCFMT_RIGHT, 90},
    {IDS_TREE_COLUMN_FILES, LVCFMT_RIGHT, 60},  {IDS_TREE_COLUMN_CHANGED, LVCFMT_LEFT, 110},
    {IDS_TREE_COLUMN_CHANGE, LVCFMT_RIGHT, 90},
};

static_assert(view::StoredWidthCount(view::StoredWindow::kTree) == CFolderTreeDlg::kColumnCount,
              "the table keeps a width for each column");

const CListWindow::Frame kFrame = {IDD_FOLDER_TREE,
                                   IDR_TREEACCEL,
                                   IDC_TREE_LIST,
                                   IDC_TREE_STATUS,
                                   IDC_TREE_PROGRESS,
                                   IDR_TREECONTEXTMENU,
                                   CFolderTreeDlg::kHelpTopic,
                                   view::StoredWindow::kTree,
                                   CFolderTreeDlg::kColumnCount,
                                   tree::kTreeColumnShare};

} // namespace

CFolderTreeDlg::CFolderTreeDlg(HWND parent, AppServices& app, const ScanRequest& request,
                               bool compact, SharedScanResult shown)
    : CListWindow(parent, app, m_list, kFrame), m_request(request), m_pFirst(std::move(shown)),
      m_bCompact(compact) {
    m_rows.SetSizeStyle(SizeStyleFor(compact));
}

CFolderTreeDlg::~CFolderTreeDlg() = default;

BOOL CFolderTreeDlg::OnInitDialog() {
    CListWindow::OnInitDialog();
    if (!m_strUser.empty()) {
        SetWindowText(GetWindowText() + FormatText(LoadResourceString(IDS_TREE_USER_TITLE).c_str(),
                                                   m_strUser.c_str()));
    }
    m_scans.SetTarget(m_hWnd, kScanEnded);
    if (m_pFirst != nullptr) {
        TakeResult(std::move(m_pFirst));
    } else {
        Rescan();
    }
    return TRUE;
}

void CFolderTreeDlg::InitColumns() {
    m_list.Init(m_rows, kColumns, kColumnCount, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    // Exact sizes of 5 GiB and more, marked or not, are not cut off.
    m_list.FitDefaultWidth(tree::kTreeColumnTotal, view::kWidestSizeText);
    m_list.FitDefaultWidth(tree::kTreeColumnOwn, view::kWidestSizeText);
    m_list.SetSort(m_rows.GetSort());
    m_images = MakeExpanderImages(m_list.GetDpi());
    m_list.SetImageList(m_images.GetSafeHandle(), LVSIL_SMALL);
}

void CFolderTreeDlg::Rescan() {
    static_cast<void>(m_scans.Request(m_request, worker::ScanController::Cause::kUser));
    FollowScanState();
}

void CFolderTreeDlg::OnScanEnded() {
    worker::ScanController::Completion done = m_scans.TakeCompletion();
    FollowScanState();
    if (!done.ended || done.result == nullptr) {
        return;
    }
    if (!done.result->hierarchyRead) {
        Trace(
            "[CFolderTreeDlg.Rescan] hierarch.pm nicht lesbar: alle Dateien unter dem Postfach\n");
    }
    TakeResult(std::move(done.result));
}

void CFolderTreeDlg::TakeResult(SharedScanResult result) {
    if (result == nullptr) {
        return;
    }
    TakeSelection();
    ++m_nScanCount;
    view::FolderChangeSet changes;
    if (m_changeSource) {
        changes = m_changeSource(*result);
    }
    m_changeTotal = changes.total;
    m_rows.SetResult(std::move(result), changes);
    ShowRows();
    UpdateStatus();
    if (m_pTreemapDlg != nullptr) {
        m_pTreemapDlg->TakeResult(m_rows.Result());
    }
}

void CFolderTreeDlg::TakeChanges() {
    if (!m_changeSource || m_rows.Result() == nullptr) {
        return;
    }
    TakeSelection();
    const view::FolderChangeSet changes = m_changeSource(*m_rows.Result());
    m_changeTotal = changes.total;
    m_rows.SetChanges(changes);
    ShowRows();
    if (!m_scans.IsBusy()) {
        UpdateStatus();
    }
}

void CFolderTreeDlg::FollowScanState() {
    if (!FollowProgress(m_scans.IsBusy())) {
        UpdateStatus();
    }
}

void CFolderTreeDlg::UpdateProgress() {
    ShowProgress(m_scans.GetProgress());
}

void CFolderTreeDlg::TakeSelection() {
    if (m_rows.Result() != nullptr) {
        m_rows.SelectRow(GetSelectedRow());
    }
}

void CFolderTreeDlg::ShowRows() {
    m_list.Refresh();
    const int row = m_rows.SelectedRow();
    if (row >= 0) {
        m_list.SelectOnly(row);
        m_list.EnsureVisible(row, FALSE);
    }
}

void CFolderTreeDlg::ApplyFilter(const view::RowFilter& filter) {
    TakeSelection();
    m_rows.SetFilter(filter);
    ShowRows();
    if (!m_scans.IsBusy()) {
        UpdateStatus();
    }
}

void CFolderTreeDlg::SetExpanded(int row, bool open, bool branch) {
    m_rows.SetExpanded(row, open, branch);
    ShowRows();
}

void CFolderTreeDlg::UpdateStatus() {
    if (m_rows.Result() == nullptr) {
        SetStatusParts({});
        return;
    }
    const ScanResult& r = *m_rows.Result();
    std::string change;
    if (m_rows.Tree().HasChanges() && m_changeDay) {
        // As the main window names it: the day the column measures from, and the whole
        // change since.
        change = FormatText(LoadResourceString(IDS_CHANGE_STATUS).c_str(), m_changeDay().c_str(),
                            ChangeText({RowChange::kChanged, m_changeTotal},
                                       m_rows.SizeStyleShown() == SizeStyle::Exact)
                                .c_str());
    }
    SetStatusParts(
        {m_rows.IsFiltered()
             ? view::FilteredStatusLine(LoadResourceString(IDS_FILTERED_STATUS_FORMAT),
                                        m_rows.ShownFileCount(), m_rows.ShownSize(),
                                        r.catalogue.fileCount, r.catalogue.totalSize)
             : view::StatusLine(LoadResourceString(IDS_STATUS_FORMAT), r.catalogue.fileCount,
                                r.catalogue.totalSize),
         view::LimitStatus(LoadResourceString(IDS_LIMIT_STATUS), CountLimits(r.catalogue.records)),
         change,
         "    " + view::ScanTimeText(LoadResourceString(IDS_TREE_SCAN_TIME), r.scanTime.hour,
                                     r.scanTime.minute, r.scanTime.second)});
}

view::ListSnapshot CFolderTreeDlg::Snapshot() const {
    std::vector<std::string> titles;
    for (const CReportList::Column& column : kColumns) {
        titles.push_back(LoadResourceString(column.titleId));
    }
    return m_rows.Snapshot(titles);
}

void CFolderTreeDlg::OnKey(WORD key) {
    static const struct {
        WORD key;
        tree::TreeKey treeKey;
    } keys[] = {{VK_LEFT, tree::TreeKey::kLeft},
                {VK_RIGHT, tree::TreeKey::kRight},
                {VK_MULTIPLY, tree::TreeKey::kOpenBranch},
                {VK_ADD, tree::TreeKey::kOpen},
                {VK_SUBTRACT, tree::TreeKey::kClose}};
    for (const auto& k : keys) {
        if (k.key == key) {
            TakeSelection();
            if (m_rows.SelectedRow() >= 0) {
                m_rows.OnKey(k.treeKey);
                ShowRows();
            }
            return;
        }
    }
}

void CFolderTreeDlg::OnClick(const NMITEMACTIVATE& click) {
    TakeSelection();
    LVHITTESTINFO hit = {};
    hit.pt = click.ptAction;
    const int row = m_list.SubItemHitTest(hit);
    if (row >= 0 && hit.iSubItem == 0 && (hit.flags & LVHT_ONITEMICON) &&
        m_rows.ImageOf(row) != tree::kImageLeaf) {
        m_rows.Toggle(row);
        ShowRows();
    }
}

bool CFolderTreeDlg::OnListNotify(NMHDR* header, LRESULT& result) {
    result = 0;
    switch (header->code) {
    case LVN_KEYDOWN:
        OnKey(reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey);
        return true;
    case NM_CLICK:
        OnClick(*reinterpret_cast<const NMITEMACTIVATE*>(header));
        return true;
    case NM_DBLCLK:
        TakeSelection();
        m_rows.Toggle(reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem);
        ShowRows();
        return true;
    default:
        return false;
    }
}

bool CFolderTreeDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == ID_VIEW_REFRESH) {
        Rescan();
        return true;
    }
    if (id == ID_VIEW_TREEMAP) {
        OnTreemap();
        return true;
    }
    return CListWindow::OnCommand(id, code, control);
}

void CFolderTreeDlg::SortByColumn(int column) {
    TakeSelection();
    m_list.ClickColumn(column);
    ShowRows();
}

void CFolderTreeDlg::BeforeKeyboardMenu() {
    TakeSelection();
    CListWindow::BeforeKeyboardMenu();
}

bool CFolderTreeDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == kScanEnded) {
        OnScanEnded();
        result = 0;
        return true;
    }
    return CListWindow::OnMessage(msg, wParam, lParam, result);
}

void CFolderTreeDlg::PlaceFirstTime() {
    // Without a stored placement (or with a record that is no placement) the window
    // opens over the main window, as wide as its columns need.
    int columnsWidth = 0;
    for (int c = 0; c < kColumnCount; ++c) {
        columnsWidth += m_list.GetColumnWidth(c);
    }
    WidenForColumns(columnsWidth);
    PlaceOverOwner();
}

void CFolderTreeDlg::WidenForColumns(int columnsWidth) {
    Relayout(); // the list at the width the layout gives it, not the template's
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    ::GetMonitorInfoA(
        ::MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    // Over the main window it steps in from its corner (PlaceOverOwner): the room is
    // what the work area leaves right of that.
    LONG roomLeft = monitor.rcWork.left;
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        RECT over = {};
        ::GetWindowRect(owner, &over);
        roomLeft = std::max<LONG>(roomLeft, over.left + ::GetSystemMetrics(SM_CYCAPTION));
    }
    const RECT window = GetWindowRect();
    const RECT list = m_list.GetClientRect();
    const int width = view::FirstTreeWindowWidth(window.right - window.left, list.right - list.left,
                                                 columnsWidth, ::GetSystemMetrics(SM_CXVSCROLL),
                                                 static_cast<int>(monitor.rcWork.right - roomLeft));
    if (width > window.right - window.left) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, window.bottom - window.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CFolderTreeDlg::PlaceOverOwner() {
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner == nullptr || !::IsWindowVisible(owner) || ::IsIconic(owner)) {
        CenterWindow(owner);
        return;
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT over = {};
    ::GetWindowRect(owner, &over);
    const RECT own = GetWindowRect();
    // Larger than the main window, it steps in by a caption's height from its corner,
    // as the platform cascades windows.
    const view::PixelPoint at = view::PlaceOverOwner(
        own.right - own.left, own.bottom - own.top, {over.left, over.top, over.right, over.bottom},
        {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom},
        ::GetSystemMetrics(SM_CYCAPTION));
    ::SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFolderTreeDlg::OnTreemap() {
    TakeSelection();
    CTreemapDlg dialog(m_hWnd, m_app, m_bCompact, m_rows.Result());
    dialog.SetFilter(GetFilter());
    dialog.SetSelectionChain(m_rows.SelectedChain());
    m_pTreemapDlg = &dialog;
    m_app.RunModal(dialog);
    m_pTreemapDlg = nullptr;
    m_rows.SelectChain(dialog.GetSelectionChain());
    ShowRows();
}
