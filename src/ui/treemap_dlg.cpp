// CTreemapDlg: the map is painted straight into the dialog's client area above the
// status line, through a memory bitmap (WM_ERASEBKGND does nothing), so that a repaint
// never shows a half-drawn picture. Its keys are accelerators, translated before the
// dialog's own navigation would take the arrows, Enter and Backspace.
#include "ui/treemap_dlg.h"

#include "diag/trace.h"
#include "framework/app_services.h"
#include "framework/monitors.h"
#include "framework/win_app.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/folder_identity.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "settings/settings_store.h"
#include "tree/tree_scan.h"
#include "ui/window_placement.h"
#include "view/list_rules.h"
#include "view/scan_view.h"
#include "view/stored_values.h"
#include "view/window_state.h"

#include <windowsx.h>

#include <algorithm>
#include <ctime>

CTreemapDlg::CTreemapDlg(HWND parent, AppServices& app, bool compact, SharedScanResult shown)
    : CAppDlg(IDR_MAINFRAME, IDR_TREEMAPACCEL, IDD_TREEMAP, parent), m_app(app),
      m_sizeStyle(SizeStyleFor(compact)), m_pResult(std::move(shown)) {}

CTreemapDlg::~CTreemapDlg() = default;

BOOL CTreemapDlg::OnInitDialog() {
    m_status.Attach(GetDlgItem(IDC_TREEMAP_STATUS));
    const RECT status = m_status.GetWindowRect();
    m_nStatusHeight = status.bottom - status.top;
    HDC dc = ::GetDC(m_hWnd);
    m_nDpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(m_hWnd, dc);
    BuildMenu();
    CAppDlg::OnInitDialog();
    LoadState();
    CheckColour();
    SharedScanResult first = std::move(m_pResult);
    TakeResult(std::move(first));
    ::SetFocus(m_hWnd);
    return FALSE;
}

void CTreemapDlg::OnCancel() {
    SaveState();
    CAppDlg::OnCancel();
}

void CTreemapDlg::LayoutControls(int cx, int cy) {
    CAppDlg::LayoutControls(cx, cy);
    m_status.MoveWindow(0, std::max(0, cy - m_nStatusHeight), cx, m_nStatusHeight);
    Relayout();
}

RECT CTreemapDlg::GetMapRect() const {
    RECT client = GetClientRect();
    client.bottom = std::max(client.top, client.bottom - m_nStatusHeight);
    return client;
}

void CTreemapDlg::Relayout() {
    m_bLaidOut = false;
    m_nHot = -1;
    m_nLastClickNode = -1; // a click on the map before is no first half of a double click
    const RECT map = GetMapRect();
    ::InvalidateRect(m_hWnd, &map, FALSE);
}

void CTreemapDlg::EnsureLayout() {
    if (m_bLaidOut) {
        return;
    }
    const RECT rect = GetMapRect();
    tree::TreemapOptions options;
    options.width = rect.right - rect.left;
    options.height = rect.bottom - rect.top;
    HDC dc = ::GetDC(m_hWnd);
    const HGDIOBJ old = ::SelectObject(dc, GetFont());
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    options.nameBand = metrics.tmHeight + view::ScaleForDpi(2, m_nDpi);
    options.frame = view::ScaleForDpi(2, m_nDpi);
    m_map = tree::LayoutTreemap(m_tree, m_nRoot, options);
    m_bLaidOut = true;
}

TreemapPaint CTreemapDlg::PaintFor(int32_t selected) const {
    TreemapPaint paint;
    paint.tree = &m_tree;
    paint.map = &m_map;
    paint.colour = m_colour;
    paint.now = static_cast<int64_t>(std::time(nullptr));
    paint.font = GetFont();
    paint.selected = selected;
    paint.kept = m_kept.empty() ? nullptr : &m_kept;
    paint.dpi = m_nDpi;
    paint.newText = LoadResourceString(IDS_TREEMAP_LEGEND_NEW);
    paint.oldText = LoadResourceString(IDS_TREEMAP_LEGEND_OLD);
    return paint;
}

void CTreemapDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    EnsureLayout();
    const RECT rect = GetMapRect();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width > 0 && height > 0) {
        HDC memory = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width, height);
        const HGDIOBJ old = ::SelectObject(memory, bitmap);
        const int32_t selected =
            m_nSelected >= 0 && static_cast<size_t>(m_nSelected) < m_map.tileOfNode.size()
                ? m_map.tileOfNode[static_cast<size_t>(m_nSelected)]
                : -1;
        PaintTreemap(memory, PaintFor(selected));
        ::BitBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(memory);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CTreemapDlg::TakeResult(SharedScanResult result) {
    if (result == nullptr) {
        UpdateStatus();
        return;
    }
    // By their keys, which name the same folders in the next scan's tree.
    const std::vector<std::string> zoom = tree::KeyChain(m_tree, m_nRoot);
    if (m_nSelected >= 0) {
        m_selectionChain = tree::KeyChain(m_tree, m_nSelected);
    }
    tree::FolderTree next;
    next.Build(result->catalogue, result->details,
               tree::MailboxNodeName(result->request.mailboxDir));
    m_tree = std::move(next);
    m_pResult = std::move(result);
    m_kept = m_filter.IsEmpty() ? std::vector<uint8_t>()
                                : tree::NodesKeptBy(m_tree, m_pResult->catalogue.records, m_filter);
    m_nRoot = tree::FindByChain(m_tree, zoom);
    m_nSelected = tree::FindByChain(m_tree, m_selectionChain);
    m_selectionChain.clear();
    Relayout();
    UpdateStatus();
}

std::vector<std::string> CTreemapDlg::GetSelectionChain() const {
    return m_nSelected >= 0 ? tree::KeyChain(m_tree, m_nSelected) : m_selectionChain;
}

int CTreemapDlg::NodeAt(int x, int y) {
    EnsureLayout();
    const int32_t tile = tree::TileAt(m_map, x, y);
    return tile >= 0 ? static_cast<int>(m_map.tiles[static_cast<size_t>(tile)].node) : -1;
}

void CTreemapDlg::OnMouseMove(int x, int y) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        m_bTracking = ::TrackMouseEvent(&track) != FALSE;
    }
    const int node = NodeAt(x, y);
    if (node != m_nHot) {
        m_nHot = node;
        UpdateStatus();
    }
}

void CTreemapDlg::OnClick(int x, int y) {
    ::SetFocus(m_hWnd);
    const int node = NodeAt(x, y);
    const DWORD now = ::GetMessageTime();
    // The dialog's class sends no double clicks: two clicks on one tile within the
    // system's time are one.
    const bool twice =
        node >= 0 && node == m_nLastClickNode && now - m_dwLastClick <= ::GetDoubleClickTime();
    m_dwLastClick = now;
    m_nLastClickNode = twice ? -1 : node;
    if (node >= 0) {
        Select(node);
    }
    if (twice) {
        ZoomIn();
    }
}

void CTreemapDlg::Select(int node) {
    if (node == m_nSelected) {
        return;
    }
    m_nSelected = node;
    const RECT map = GetMapRect();
    ::InvalidateRect(m_hWnd, &map, FALSE);
    UpdateStatus();
}

void CTreemapDlg::Move(tree::TreemapDirection direction) {
    EnsureLayout();
    const int32_t from =
        m_nSelected >= 0 && static_cast<size_t>(m_nSelected) < m_map.tileOfNode.size()
            ? m_map.tileOfNode[static_cast<size_t>(m_nSelected)]
            : -1;
    // Without a selected tile in view the keys start at the first one.
    const int32_t to =
        from < 0 ? (m_map.tiles.empty() ? -1 : 0) : tree::NeighbourTile(m_map, from, direction);
    if (to >= 0) {
        m_nHot = -1;
        Select(static_cast<int>(m_map.tiles[static_cast<size_t>(to)].node));
    }
}

void CTreemapDlg::ZoomIn() {
    const int target = tree::ZoomTarget(m_tree, m_nRoot, m_nSelected);
    if (target < 0) {
        return;
    }
    m_nRoot = target;
    if (m_nSelected == target) {
        // Inside the branch: its largest folder first.
        m_nSelected = m_tree.ChildCount(target) > 0
                          ? static_cast<int>(m_tree.ChildrenBegin(target)[0])
                          : target;
    }
    Relayout();
    UpdateStatus();
}

void CTreemapDlg::ZoomOut() {
    if (m_nRoot < 0) {
        return;
    }
    // The branch left stays selected, so the eye finds where it was.
    m_nSelected = m_nRoot;
    m_nRoot = m_tree.Nodes()[static_cast<size_t>(m_nRoot)].parent;
    Relayout();
    UpdateStatus();
}

void CTreemapDlg::UpdateStatus() {
    if (m_pResult == nullptr) {
        m_status.SetWindowText(std::string());
        return;
    }
    const int node = m_nHot >= 0 ? m_nHot : m_nSelected >= 0 ? m_nSelected : m_nRoot;
    if (node >= 0) {
        m_status.SetWindowText(tree::TileStatus(LoadResourceString(IDS_TREEMAP_TILE_STATUS), m_tree,
                                                node, m_sizeStyle));
        return;
    }
    m_status.SetWindowText(view::StatusLine(LoadResourceString(IDS_STATUS_FORMAT),
                                            m_pResult->catalogue.fileCount,
                                            m_pResult->catalogue.totalSize));
}

bool CTreemapDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_TREEMAP_COLOUR_LIMIT:
    case ID_TREEMAP_COLOUR_AGE:
    case ID_TREEMAP_COLOUR_PLAIN:
        m_colour = static_cast<tree::TreemapColour>(id - ID_TREEMAP_COLOUR_LIMIT);
        CheckColour();
        Relayout();
        return true;
    case ID_TREEMAP_LEFT:
    case ID_TREEMAP_RIGHT:
    case ID_TREEMAP_UP:
    case ID_TREEMAP_DOWN:
        Move(static_cast<tree::TreemapDirection>(id - ID_TREEMAP_LEFT));
        return true;
    case ID_TREEMAP_ZOOM_IN:
        ZoomIn();
        return true;
    case ID_TREEMAP_ZOOM_OUT:
        ZoomOut();
        return true;
    case ID_TREEMAP_SAVE:
        SaveImage();
        return true;
    case ID_HELP_BUTTON:
        m_app.ShowHelp(kHelpTopic);
        return true;
    default:
        return CAppDlg::OnCommand(id, code, control);
    }
}

bool CTreemapDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        // The map covers its area whole; the status line paints its own.
        result = 1;
        return true;
    case WM_PAINT:
        OnPaint();
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        result = 0;
        return true;
    case WM_MOUSELEAVE:
        m_bTracking = false;
        m_nHot = -1;
        UpdateStatus();
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
        OnClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        result = 0;
        return true;
    case WM_DESTROY:
        m_status.Detach();
        break;
    default:
        break;
    }
    return CAppDlg::OnMessage(msg, wParam, lParam, result);
}
