// CTreemapDlg: the window "Ordnerkarte", the picture of the folder tree in which every
// folder is a rectangle whose area is its size, nested by branch. Opened from the main
// window it shows the main window's scan and each one the main window makes while it is
// open; opened from the tree window it starts on the tree window's selection and hands
// its own back when it closes. The mouse names the tile under it in the status line and
// selects by a click; Enter or a double click zooms into a branch, Backspace goes back
// up, the arrow keys move to the neighbouring tile. The rules without a window are
// tree/treemap_nav's; its state (placement, colour) lives in the table of stored values.
#pragma once

#include "framework/controls.h"
#include "mailbox/scan_result.h"
#include "sizes/size_text.h"
#include "tree/folder_tree.h"
#include "tree/tree_text.h"
#include "tree/treemap.h"
#include "tree/treemap_nav.h"
#include "ui/app_dlg.h"
#include "ui/list_export_win32.h"
#include "ui/treemap_paint.h"

#include <windows.h>

#include <string>
#include <vector>

class AppServices;

class CTreemapDlg : public CAppDlg {
public:
    static constexpr const char kHelpTopic[] = "::/pages/ordnerkarte.htm";

    CTreemapDlg(HWND parent, AppServices& app, bool compact, SharedScanResult shown);
    ~CTreemapDlg() override;

    // Shows a scan: the zoom and the selection stay on their folders where these still
    // exist, else on the nearest parent that does.
    void TakeResult(SharedScanResult result);
    // The selection as tree::KeyChain names it: set before the window opens, read after.
    void SetSelectionChain(std::vector<std::string> chain) { m_selectionChain = std::move(chain); }
    // The filter of the list it was opened from: what that list hides is dimmed here.
    // Set before the window opens.
    void SetFilter(const view::RowFilter& filter) { m_filter = filter; }
    std::vector<std::string> GetSelectionChain() const;
    // Asks for the picture's file (Save As unless a test puts its own here).
    void SetSavePrompt(ExportPathPrompt prompt) { m_savePrompt = std::move(prompt); }

    const tree::FolderTree& GetTree() const { return m_tree; }
    const tree::Treemap& GetMap() const { return m_map; }
    int GetRoot() const { return m_nRoot; }
    int GetSelectedNode() const { return m_nSelected; }
    tree::TreemapColour GetColour() const { return m_colour; }
    HWND GetStatusHwnd() const { return m_status.GetSafeHwnd(); }
    // The map's rectangle in client coordinates, above the status line.
    RECT GetMapRect() const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void LayoutControls(int cx, int cy) override;
    void OnCancel() override;

private:
    void BuildMenu();
    void CheckColour();
    void LoadState();
    void SaveState();
    // The layout for the map's size and zoom, when either changed since the last one.
    void EnsureLayout();
    void Relayout();
    void OnPaint();
    void OnMouseMove(int x, int y);
    void OnClick(int x, int y);
    void Move(tree::TreemapDirection direction);
    void ZoomIn();
    void ZoomOut();
    void Select(int node);
    void UpdateStatus();
    void SaveImage();
    TreemapPaint PaintFor(int32_t selected) const;
    int NodeAt(int x, int y);

    AppServices& m_app;
    SizeStyle m_sizeStyle;
    SharedScanResult m_pResult; // the tree's names point into it
    tree::FolderTree m_tree;
    view::RowFilter m_filter;
    std::vector<uint8_t> m_kept; // per node of m_tree, by m_filter; empty without one
    tree::Treemap m_map;
    bool m_bLaidOut = false;
    int m_nRoot = -1;     // the branch shown; -1 for the whole tree
    int m_nSelected = -1; // a node
    int m_nHot = -1;      // the node under the mouse
    std::vector<std::string> m_selectionChain;
    tree::TreemapColour m_colour = tree::TreemapColour::kLimit;
    CStatic m_status;
    int m_nStatusHeight = 0;
    int m_nDpi = 96;
    HMENU m_hMenu = nullptr; // the window destroys its menu
    DWORD m_dwLastClick = 0;
    int m_nLastClickNode = -1;
    bool m_bTracking = false;
    ExportPathPrompt m_savePrompt;
    std::string m_strSaveFolder;
};
