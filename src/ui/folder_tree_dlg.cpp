// CFolderTreeDlg: a list view in report mode with owner data stands for the tree, so
// it keeps the main list's look, header sorting and column widths, and opening a node
// of 10 000 children changes only the item count. Rows are the tree's shown nodes; the
// list asks for their texts, indents and images when it paints them.
#include "ui/folder_tree_dlg.h"

#include "diag/trace.h"
#include "framework/app_services.h"
#include "framework/win_app.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "settings/settings_store.h"
#include "sizes/size_text.h"
#include "tree/tree_text.h"
#include "ui/window_placement.h"
#include "view/list_rules.h"
#include "view/tree_layout.h"

#include <unordered_map>
#include <unordered_set>

namespace {

constexpr int kImageClosed = 0;
constexpr int kImageOpen = 1;
constexpr int kImageLeaf = 2;
constexpr int kImageSize = 16;
const int32_t kDefaultWidths[CFolderTreeDlg::kColumnCount] = {230, 80, 130, 90, 60};
constexpr int32_t kMaxWidth = 4000;

// A box with a plus, a box with a minus, and nothing: the images of closed, open and
// childless nodes, drawn here so the program needs no bitmap resource for them.
HIMAGELIST MakeExpanderImages() {
    HIMAGELIST list = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 3, 0);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    const COLORREF mask = RGB(255, 0, 255);
    for (int image = 0; image < 3; ++image) {
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kImageSize, kImageSize);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        HBRUSH back = ::CreateSolidBrush(mask);
        RECT all = {0, 0, kImageSize, kImageSize};
        ::FillRect(dc, &all, back);
        ::DeleteObject(back);
        if (image != kImageLeaf) {
            HBRUSH frame = ::CreateSolidBrush(RGB(128, 128, 128));
            RECT box = {3, 3, 12, 12};
            HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
            ::FillRect(dc, &box, white);
            ::FrameRect(dc, &box, frame);
            ::DeleteObject(frame);
            HBRUSH ink = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
            RECT bar = {5, 7, 10, 8};
            ::FillRect(dc, &bar, ink);
            if (image == kImageClosed) {
                RECT stem = {7, 5, 8, 10};
                ::FillRect(dc, &stem, ink);
            }
        }
        ::SelectObject(dc, old);
        ImageList_AddMasked(list, bitmap, mask);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return list;
}

} // namespace

CFolderTreeDlg::CFolderTreeDlg(HWND parent, AppServices& app,
                               const tree::TreeScanSettings& settings, bool compact)
    : CAppDlg(0, IDR_TREEACCEL, IDD_FOLDER_TREE, parent), m_app(app), m_scanSettings(settings),
      m_bCompactSizes(compact), m_pScan(new tree::TreeScan) {}

CFolderTreeDlg::~CFolderTreeDlg() {
    // The list shares the images (LVS_SHAREIMAGELISTS), so they are ours to destroy.
    if (m_hImages) {
        ImageList_Destroy(m_hImages);
    }
}

void CFolderTreeDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_TREE_LIST, m_list);
    DDX_Control(pDX, IDC_TREE_STATUS, m_status);
}

BOOL CFolderTreeDlg::OnInitDialog() {
    CAppDlg::OnInitDialog();
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_hImages = MakeExpanderImages();
    m_list.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_hImages));
    const UINT titles[kColumnCount] = {IDS_TREE_COLUMN_NAME, IDS_TREE_COLUMN_TOTAL,
                                       IDS_TREE_COLUMN_SHARE, IDS_TREE_COLUMN_OWN,
                                       IDS_TREE_COLUMN_FILES};
    for (int c = 0; c < kColumnCount; ++c) {
        std::string title = LoadResourceString(titles[c]);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = c == tree::kTreeColumnName ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.cx = kDefaultWidths[c];
        column.pszText = &title[0];
        column.iSubItem = c;
        m_list.InsertColumn(c, column);
    }
    RestoreState();
    Relayout();
    Rescan();
    // The first level open, so the window starts with the top branches' parts in view.
    const std::vector<uint32_t> tops = m_rows;
    for (uint32_t node : tops) {
        m_expanded[node] = 1;
    }
    ShowRows(m_rows.empty() ? -1 : static_cast<int>(m_rows[0]));
    return TRUE;
}

void CFolderTreeDlg::InitLayout() {
    CAppDlg::InitLayout();
    RECT status = {};
    ::GetWindowRect(m_status.GetSafeHwnd(), &status);
    m_nStatusHeight = status.bottom - status.top;
}

void CFolderTreeDlg::LayoutControls(int cx, int cy) {
    CAppDlg::LayoutControls(cx, cy);
    if (m_list.GetSafeHwnd() == nullptr) {
        return;
    }
    const view::TreeLayout l =
        view::ComputeTreeLayout(GetClientWidth(), GetClientHeight(), GetMetrics(), m_nStatusHeight);
    m_list.MoveWindow(l.list.x, l.list.y, l.list.width, l.list.height, TRUE);
    m_status.MoveWindow(l.status.x, l.status.y, l.status.width, l.status.height, TRUE);
    ::MoveWindow(GetDlgItem(ID_HELP_BUTTON), l.help.x, l.help.y, l.help.width, l.help.height, TRUE);
    ::MoveWindow(GetDlgItem(IDCANCEL), l.close.x, l.close.y, l.close.width, l.close.height, TRUE);
}

void CFolderTreeDlg::Rescan() {
    // Open branches and the selection by their keys, which name the same nodes in the
    // next scan.
    std::unordered_set<std::string> open;
    std::string selected;
    if (!m_pScan->tree.Nodes().empty()) {
        for (size_t n = 0; n < m_expanded.size(); ++n) {
            if (m_expanded[n]) {
                open.insert(m_pScan->tree.Key(static_cast<int>(n)));
            }
        }
        const int row = GetSelectedRow();
        if (row >= 0) {
            selected = m_pScan->tree.Key(static_cast<int>(m_rows[row]));
        }
    }
    m_list.SendMessage(LVM_SETITEMCOUNT, 0, 0);
    m_rows.clear();
    std::unique_ptr<tree::TreeScan> scan(new tree::TreeScan);
    scan->tree.Sort(m_sort);
    const bool read = scan->Run(m_scanSettings);
    ::GetLocalTime(&m_scanTime);
    ++m_nScanCount;
    m_pScan = std::move(scan);
    const tree::FolderTree& t = m_pScan->tree;
    m_expanded.assign(t.Nodes().size(), 0);
    int select = -1;
    for (size_t n = 0; n < t.Nodes().size(); ++n) {
        const std::string key = t.Key(static_cast<int>(n));
        if (open.count(key)) {
            m_expanded[n] = 1;
        }
        if (!selected.empty() && key == selected) {
            select = static_cast<int>(n);
        }
    }
    // A selected node inside a branch that is no longer open is shown by opening it.
    for (int at = select >= 0 ? t.Nodes()[select].parent : -1; at >= 0; at = t.Nodes()[at].parent) {
        m_expanded[at] = 1;
    }
    ShowRows(select);
    UpdateStatus();
    if (!read) {
        Trace(
            "[CFolderTreeDlg.Rescan] hierarch.pm nicht lesbar: alle Dateien unter dem Postfach\n");
    }
}

void CFolderTreeDlg::ShowRows(int selectNode) {
    m_rows = tree::ShownNodes(m_pScan->tree, &m_expanded, -1);
    m_list.SendMessage(LVM_SETITEMCOUNT, m_rows.size(), LVSICF_NOSCROLL);
    ::InvalidateRect(m_list.GetSafeHwnd(), nullptr, FALSE);
    if (selectNode >= 0) {
        for (size_t r = 0; r < m_rows.size(); ++r) {
            if (m_rows[r] == static_cast<uint32_t>(selectNode)) {
                SelectRow(static_cast<int>(r));
                break;
            }
        }
    }
}

void CFolderTreeDlg::SelectRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) {
        return;
    }
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SendMessage(LVM_SETSELECTIONMARK, 0, row);
    m_list.SendMessage(LVM_ENSUREVISIBLE, row, FALSE);
}

int CFolderTreeDlg::GetSelectedRow() const {
    if (m_list.GetSafeHwnd() == nullptr) {
        return -1;
    }
    const int row = static_cast<int>(
        m_list.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row < static_cast<int>(m_rows.size()) ? row : -1;
}

void CFolderTreeDlg::SetExpanded(int row, bool open, bool branch) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) {
        return;
    }
    const tree::FolderTree& t = m_pScan->tree;
    const uint32_t node = m_rows[row];
    m_expanded[node] = open ? 1 : 0;
    if (branch) {
        // Every node below, found by a list of nodes still to visit instead of calls.
        std::vector<uint32_t> pending(1, node);
        while (!pending.empty()) {
            const uint32_t at = pending.back();
            pending.pop_back();
            m_expanded[at] = open ? 1 : 0;
            const uint32_t* children = t.ChildrenBegin(static_cast<int>(at));
            pending.insert(pending.end(), children, children + t.ChildCount(static_cast<int>(at)));
        }
    }
    ShowRows(static_cast<int>(node));
}

void CFolderTreeDlg::UpdateStatus() {
    const FolderCatalogue& c = m_pScan->catalogue;
    const std::string counts =
        FormatText(LoadResourceString(IDS_STATUS_FORMAT).c_str(), static_cast<int>(c.fileCount),
                   FormatSize(c.totalSize, SizeStyle::Compact).c_str(),
                   FormatSize(c.totalSize, SizeStyle::Exact).c_str());
    const std::string time = FormatText(LoadResourceString(IDS_TREE_SCAN_TIME).c_str(),
                                        m_scanTime.wHour, m_scanTime.wMinute, m_scanTime.wSecond);
    m_status.SetWindowText(counts + "    " + time);
}

std::string CFolderTreeDlg::CellText(uint32_t node, int column) const {
    const tree::FolderTree& t = m_pScan->tree;
    const tree::TreeNode& n = t.Nodes()[node];
    const SizeStyle style = m_bCompactSizes ? SizeStyle::Compact : SizeStyle::Exact;
    switch (column) {
    case tree::kTreeColumnName:
        return t.DisplayName(static_cast<int>(node));
    case tree::kTreeColumnTotal:
        return FormatSize(n.totalSize, style);
    case tree::kTreeColumnShare:
        return tree::FormatShare(tree::ShareTenths(n.totalSize, t.GrandTotal()));
    case tree::kTreeColumnOwn:
        return FormatSize(n.ownSize, style);
    case tree::kTreeColumnFiles:
        return std::to_string(n.totalFiles);
    default:
        return std::string();
    }
}

void CFolderTreeDlg::FillDisplayInfo(NMLVDISPINFOA& info) {
    LVITEMA& item = info.item;
    if (item.iItem < 0 || item.iItem >= static_cast<int>(m_rows.size())) {
        return;
    }
    const uint32_t node = m_rows[item.iItem];
    if (item.mask & LVIF_TEXT) {
        m_strCell = CellText(node, item.iSubItem);
        if (item.pszText && item.cchTextMax > 0) {
            lstrcpynA(item.pszText, m_strCell.c_str(), item.cchTextMax);
        }
    }
    if (item.iSubItem == 0) {
        const tree::FolderTree& t = m_pScan->tree;
        if (item.mask & LVIF_IMAGE) {
            item.iImage = t.ChildCount(static_cast<int>(node)) == 0
                              ? kImageLeaf
                              : (m_expanded[node] ? kImageOpen : kImageClosed);
        }
        if (item.mask & LVIF_INDENT) {
            // Indents are in image widths; a chain deeper than any window is held there.
            const uint32_t depth = t.Nodes()[node].depth;
            item.iIndent = static_cast<int>(depth > 200 ? 200 : depth);
        }
    }
}

RECT CFolderTreeDlg::GetBarRect(int row) const {
    RECT cell = {};
    cell.top = tree::kTreeColumnShare;
    cell.left = LVIR_BOUNDS;
    RECT none = {};
    if (row < 0 || row >= static_cast<int>(m_rows.size()) ||
        !m_list.SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell))) {
        return none;
    }
    // The percentage keeps the right part of the cell; the bar grows in the rest.
    const int textWidth = 52;
    const int room = static_cast<int>(cell.right - cell.left) - textWidth - 6;
    const tree::FolderTree& t = m_pScan->tree;
    const uint32_t tenths = tree::ShareTenths(t.Nodes()[m_rows[row]].totalSize, t.GrandTotal());
    RECT bar = {cell.left + 3, cell.top + 3, cell.left + 3 + tree::BarWidth(tenths, room),
                cell.bottom - 3};
    return bar;
}

LRESULT CFolderTreeDlg::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        if (draw.iSubItem != tree::kTreeColumnShare) {
            return CDRF_DODEFAULT;
        }
        const int row = static_cast<int>(draw.nmcd.dwItemSpec);
        RECT cell = {};
        cell.top = tree::kTreeColumnShare;
        cell.left = LVIR_BOUNDS;
        if (row >= static_cast<int>(m_rows.size()) ||
            !m_list.SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell))) {
            return CDRF_DODEFAULT;
        }
        HDC dc = draw.nmcd.hdc;
        const bool selected =
            (m_list.SendMessage(LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        RECT inner = {cell.left + 1, cell.top, cell.right, cell.bottom - 1};
        ::FillRect(dc, &inner, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        const RECT bar = GetBarRect(row);
        if (bar.right > bar.left) {
            // On the selection's colour the bar takes the selected text's colour.
            HBRUSH brush =
                ::CreateSolidBrush(selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : BarColor());
            ::FillRect(dc, &bar, brush);
            ::DeleteObject(brush);
        }
        const std::string text = CellText(m_rows[row], tree::kTreeColumnShare);
        RECT textRect = {cell.left, cell.top, cell.right - 4, cell.bottom};
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                    DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

int CFolderTreeDlg::FindByName(const NMLVFINDITEMA& find) const {
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || find.lvfi.psz == nullptr) {
        return -1;
    }
    const int count = static_cast<int>(m_rows.size());
    const int start = find.iStart < 0 || find.iStart >= count ? 0 : find.iStart;
    for (int k = 0; k < count; ++k) {
        const int row = (start + k) % count;
        if (view::StartsWithIgnoringCase(m_pScan->tree.DisplayName(static_cast<int>(m_rows[row])),
                                         find.lvfi.psz)) {
            return row;
        }
    }
    return -1;
}

void CFolderTreeDlg::OnKey(WORD key) {
    const int row = GetSelectedRow();
    if (row < 0) {
        return;
    }
    const tree::FolderTree& t = m_pScan->tree;
    const uint32_t node = m_rows[row];
    const bool hasChildren = t.ChildCount(static_cast<int>(node)) > 0;
    switch (key) {
    case VK_LEFT:
        if (hasChildren && m_expanded[node]) {
            SetExpanded(row, false);
        } else if (t.Nodes()[node].parent >= 0) {
            ShowRows(t.Nodes()[node].parent);
        }
        break;
    case VK_RIGHT:
        if (hasChildren && !m_expanded[node]) {
            SetExpanded(row, true);
        } else if (hasChildren) {
            SelectRow(row + 1);
        }
        break;
    case VK_MULTIPLY:
        SetExpanded(row, true, true);
        break;
    case VK_ADD:
        SetExpanded(row, true);
        break;
    case VK_SUBTRACT:
        SetExpanded(row, false);
        break;
    default:
        break;
    }
}

void CFolderTreeDlg::OnClick(const NMITEMACTIVATE& click) {
    LVHITTESTINFO hit = {};
    hit.pt = click.ptAction;
    const int row =
        static_cast<int>(m_list.SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row >= 0 && row < static_cast<int>(m_rows.size()) && hit.iSubItem == 0 &&
        (hit.flags & LVHT_ONITEMICON) &&
        m_pScan->tree.ChildCount(static_cast<int>(m_rows[row])) > 0) {
        SetExpanded(row, !m_expanded[m_rows[row]]);
    }
}

void CFolderTreeDlg::SortBy(int column) {
    if (column < 0 || column >= kColumnCount) {
        return;
    }
    if (column == m_sort.nSortColumn) {
        m_sort.bSortDescending = !m_sort.bSortDescending;
    } else {
        m_sort.nSortColumn = column;
        m_sort.bSortDescending = column != tree::kTreeColumnName;
    }
    const int row = GetSelectedRow();
    const int node = row >= 0 ? static_cast<int>(m_rows[row]) : -1;
    m_pScan->tree.Sort(m_sort);
    ShowRows(node);
}

bool CFolderTreeDlg::OnListNotify(const NMHDR* header, LRESULT& result) {
    switch (header->code) {
    case LVN_GETDISPINFOA:
        FillDisplayInfo(*reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(header)));
        result = 0;
        return true;
    case LVN_ODFINDITEMA:
        result = FindByName(*reinterpret_cast<const NMLVFINDITEMA*>(header));
        return true;
    case NM_CUSTOMDRAW:
        result = OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header)));
        return true;
    case LVN_KEYDOWN:
        OnKey(reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey);
        result = 0;
        return true;
    case NM_CLICK:
        OnClick(*reinterpret_cast<const NMITEMACTIVATE*>(header));
        result = 0;
        return true;
    case NM_DBLCLK: {
        const int row = reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem;
        if (row >= 0 && row < static_cast<int>(m_rows.size())) {
            SetExpanded(row, !m_expanded[m_rows[row]]);
        }
        result = 0;
        return true;
    }
    case LVN_COLUMNCLICK:
        SortBy(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        result = 0;
        return true;
    default:
        return false;
    }
}

bool CFolderTreeDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_VIEW_REFRESH:
        Rescan();
        return true;
    case ID_HELP_BUTTON:
        m_app.ShowHelp(kHelpTopic);
        return true;
    case IDOK:
    case IDCANCEL:
        EndDialog(IDCANCEL);
        return true;
    default:
        return CAppDlg::OnCommand(id, code, control);
    }
}

bool CFolderTreeDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (m_list.GetSafeHwnd() != nullptr && header->hwndFrom == m_list.GetSafeHwnd() &&
            OnListNotify(header, result)) {
            return true;
        }
        break;
    }
    case WM_DESTROY:
        SaveState();
        break;
    default:
        break;
    }
    return CAppDlg::OnMessage(msg, wParam, lParam, result);
}

void CFolderTreeDlg::RestoreState() {
    SettingsStore* store = m_app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        return;
    }
    WINDOWPLACEMENT current = {};
    current.length = sizeof current;
    ::GetWindowPlacement(m_hWnd, &current);
    uint8_t placement[view::kPlacementSize];
    view::EncodePlacement(FromWindowPlacement(current), placement);
    uint8_t stored[view::kPlacementSize];
    store->ReadBinary(kPlacementValue, sizeof stored, placement, stored);
    WINDOWPLACEMENT wp = ToWindowPlacement(view::DecodePlacement(stored));
    // A record that does not say it is one, or a window of no size, keeps the
    // template's placement.
    if (wp.length == sizeof wp && wp.rcNormalPosition.right > wp.rcNormalPosition.left &&
        wp.rcNormalPosition.bottom > wp.rcNormalPosition.top) {
        wp.showCmd = wp.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        ::SetWindowPlacement(m_hWnd, &wp);
    }
    int32_t widths[kColumnCount];
    store->ReadIntArray(kColumnsValue, kColumnCount, kDefaultWidths, widths);
    store->Close();
    for (int c = 0; c < kColumnCount; ++c) {
        int32_t width = widths[c];
        if (width < 0 || width > kMaxWidth) {
            width = kDefaultWidths[c];
        }
        m_list.SendMessage(LVM_SETCOLUMNWIDTH, c, width);
    }
}

void CFolderTreeDlg::SaveState() {
    SettingsStore* store = m_app.GetSettingsStore();
    if (store == nullptr || !store->Open(settings_names::kSection)) {
        return;
    }
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    ::GetWindowPlacement(m_hWnd, &wp);
    uint8_t placement[view::kPlacementSize];
    view::EncodePlacement(FromWindowPlacement(wp), placement);
    store->WriteBinary(kPlacementValue, sizeof placement, placement);
    int32_t widths[kColumnCount];
    for (int c = 0; c < kColumnCount; ++c) {
        widths[c] = static_cast<int32_t>(m_list.SendMessage(LVM_GETCOLUMNWIDTH, c));
    }
    store->WriteIntArray(kColumnsValue, kColumnCount, widths);
    store->Close();
}
