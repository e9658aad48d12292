// CFolderTreeDlg: the window "Ordnerbaum". It owns one scan of its own, made with the
// main window's settings when it opens and again on F5 (on a thread of its own, as the
// main window's: the rows stay until the next scan is complete, Escape cancels a
// running scan and otherwise closes), and shows its folder tree in a
// list view in report mode: one row per shown node, indented by its depth, with a
// plus or minus image to open and close it, and the share drawn as a bar.
#pragma once

#include "framework/controls.h"
#include "framework/image_list.h"
#include "framework/report_list.h"
#include "tree/tree_rows.h"
#include "ui/app_dlg.h"
#include "worker/scan_controller.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class AppServices;

class CFolderTreeDlg : public CAppDlg {
public:
    static constexpr const char kHelpTopic[] = "::/pages/ref_dlg_baum.htm";
    static constexpr const char kPlacementValue[] = "TreePlacement";
    static constexpr const char kColumnsValue[] = "TreeColumns";
    static constexpr const char kColumnsDpiValue[] = "TreeColumnsDpi";
    static constexpr int kColumnCount = tree::kTreeColumnCount;
    // The fewest widths an older version kept, before the columns "Geändert" and
    // "Änderung".
    static constexpr size_t kColumnsBeforeChanged = 5;

    // `request` says what to scan, `compact` how sizes are shown.
    CFolderTreeDlg(HWND parent, AppServices& app, const ScanRequest& request, bool compact);
    ~CFolderTreeDlg() override;

    // What each scan changed since the day the main window measures from; without a
    // source the column "Änderung" stays empty.
    using ChangeSource = std::function<view::FolderChangeSet(const ScanResult& result)>;
    void SetChangeSource(ChangeSource source) { m_changeSource = std::move(source); }
    // Asks the source again for the rows shown: its entry to compare with has arrived.
    void TakeChanges();

    // The scan controller's message: a scan has ended.
    static constexpr UINT kScanEnded = WM_USER + 2;

    // Scans again; once the scan is complete the rows keep open what was open and the
    // selection where the same entries still exist.
    void Rescan();
    bool IsScanBusy() const { return m_scans.IsBusy(); }
    worker::ScanController& GetScans() { return m_scans; }
    HWND GetProgressHwnd() const { return m_hProgress; }
    // Opens or closes the node shown in `row`; with `branch`, everything below it too.
    void SetExpanded(int row, bool open, bool branch = false);

    const tree::FolderTree& GetTree() const { return m_rows.Tree(); }
    const std::vector<uint32_t>& GetRows() const { return m_rows.Rows(); }
    bool IsExpanded(uint32_t node) const { return m_rows.IsExpanded(node); }
    HWND GetListHwnd() const { return m_list.GetSafeHwnd(); }
    int GetScanCount() const { return m_nScanCount; }
    int GetSelectedRow() const;
    // Where the bar of `row` is drawn, in the list's client coordinates; empty for none.
    RECT GetBarRect(int row) const;
    // How the share cells are divided on this screen, in this list's font.
    const tree::ShareCellMetrics& GetShareMetrics() const { return m_shareMetrics; }
    static COLORREF BarColor();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void DoDataExchange(CDataExchange* pDX) override;
    void InitLayout() override;
    void LayoutControls(int cx, int cy) override;

private:
    bool OnListNotify(const NMHDR* header, LRESULT& result);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    void OnKey(WORD key);
    void OnClick(const NMITEMACTIVATE& click);
    // A header click or its choice in the context menu.
    void SortByColumn(int column);
    // The context menu at `at` (screen coordinates), the current sort checked.
    void ShowContextMenu(POINT at);
    // The model's rows and selection into the list; the selection from the list first
    // where the list's own keys may have moved it.
    void ShowRows();
    void TakeSelection();
    void OnScanEnded();
    void UpdateStatus();
    // The running scan's progress in the status area; the result's line once none runs.
    void UpdateProgress();
    void FollowScanState();
    void RestoreState();
    // Without a stored placement: over the main window.
    // At a first opening, without a stored placement: as wide as the columns need,
    // where the screen has room.
    void WidenForColumns(int columnsWidth);
    void PlaceOverOwner();
    void SaveState();

    AppServices& m_app;
    ScanRequest m_request;
    tree::TreeRows m_rows;
    int m_nScanCount = 0;
    int m_nStatusHeight = 0;
    tree::ShareCellMetrics m_shareMetrics;
    std::vector<int32_t> m_storedWidths; // as the store held them when read
    CImageList m_images;                 // the list shares them (LVS_SHAREIMAGELISTS)
    CReportList m_list;
    CStatic m_status;
    worker::ScanController m_scans;
    HWND m_hProgress = nullptr;
    ChangeSource m_changeSource;
};
