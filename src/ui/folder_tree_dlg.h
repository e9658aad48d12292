// CFolderTreeDlg: the window "Ordnerbaum". It owns one scan of its own, made with the
// main window's settings when it opens and again on F5, and shows its folder tree in a
// list view in report mode: one row per shown node, indented by its depth, with a
// plus or minus image to open and close it, and the share drawn as a bar.
#pragma once

#include "framework/controls.h"
#include "tree/tree_scan.h"
#include "ui/app_dlg.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class AppServices;

class CFolderTreeDlg : public CAppDlg {
public:
    static constexpr const char kHelpTopic[] = "::/pages/ref_dlg_baum.htm";
    static constexpr const char kPlacementValue[] = "TreePlacement";
    static constexpr const char kColumnsValue[] = "TreeColumns";
    static constexpr int kColumnCount = tree::kTreeColumnCount;

    // `settings` says what to scan, `compact` how sizes are shown.
    CFolderTreeDlg(HWND parent, AppServices& app, const tree::TreeScanSettings& settings,
                   bool compact);
    ~CFolderTreeDlg() override;

    // Scans again, keeping open what was open and the selection where the same
    // entries still exist.
    void Rescan();
    // Opens or closes the node shown in `row`; with `branch`, everything below it too.
    void SetExpanded(int row, bool open, bool branch = false);

    const tree::FolderTree& GetTree() const { return m_pScan->tree; }
    const std::vector<uint32_t>& GetRows() const { return m_rows; }
    bool IsExpanded(uint32_t node) const { return node < m_expanded.size() && m_expanded[node]; }
    HWND GetListHwnd() const { return m_list.GetSafeHwnd(); }
    int GetScanCount() const { return m_nScanCount; }
    int GetSelectedRow() const;
    // Where the bar of `row` is drawn, in the list's client coordinates; empty for none.
    RECT GetBarRect(int row) const;
    static COLORREF BarColor() { return RGB(58, 110, 165); }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void DoDataExchange(CDataExchange* pDX) override;
    void InitLayout() override;
    void LayoutControls(int cx, int cy) override;

private:
    bool OnListNotify(const NMHDR* header, LRESULT& result);
    void FillDisplayInfo(NMLVDISPINFOA& info);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    int FindByName(const NMLVFINDITEMA& find) const;
    void OnKey(WORD key);
    void OnClick(const NMITEMACTIVATE& click);
    void SortBy(int column);
    void ShowRows(int selectNode);
    void SelectRow(int row);
    void UpdateStatus();
    void RestoreState();
    void SaveState();
    std::string CellText(uint32_t node, int column) const;

    AppServices& m_app;
    tree::TreeScanSettings m_scanSettings;
    bool m_bCompactSizes;
    std::unique_ptr<tree::TreeScan> m_pScan;
    std::vector<uint8_t> m_expanded; // per node
    std::vector<uint32_t> m_rows;    // the shown nodes, in order
    tree::TreeSort m_sort;
    SYSTEMTIME m_scanTime = {};
    int m_nScanCount = 0;
    int m_nStatusHeight = 0;
    HIMAGELIST m_hImages = nullptr;
    CListCtrl m_list;
    CStatic m_status;
    std::string m_strCell; // the text handed to the list for the current request
};
