// CFolderTreeDlg: the window "Ordnerbaum". Opened from the main window it shows the
// main window's scan and each one the main window makes while it is open; it reads the
// mailbox itself only on its own F5, or when it opens without a scan to show (for a
// user of the overview), on a thread of its own as the main window does: the rows stay
// until the next scan is complete, Escape cancels a running scan and otherwise closes.
// It shows the folder tree in a list view in report mode: one row per shown node,
// indented by its depth, with a plus or minus image to open and close it, and the share
// drawn as a bar.
#pragma once

#include "framework/controls.h"
#include "framework/image_list.h"
#include "framework/report_list.h"
#include "sizes/byte_change.h"
#include "tree/tree_rows.h"
#include "ui/list_window.h"
#include "worker/scan_controller.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class AppServices;
class CTreemapDlg;

class CFolderTreeDlg : public CListWindow {
public:
    static constexpr const char kHelpTopic[] = "::/pages/ref_dlg_baum.htm";
    static constexpr int kColumnCount = tree::kTreeColumnCount;

    // `request` says what its own scans read, `compact` how sizes are shown; `shown`, a
    // scan of that request to show at first (none: the window scans when it opens).
    CFolderTreeDlg(HWND parent, AppServices& app, const ScanRequest& request, bool compact,
                   SharedScanResult shown = nullptr);
    ~CFolderTreeDlg() override;

    // What each scan changed since the day the main window measures from; without a
    // source the column "Änderung" stays empty.
    using ChangeSource = std::function<view::FolderChangeSet(const ScanResult& result)>;
    void SetChangeSource(ChangeSource source) { m_changeSource = std::move(source); }
    // The day the change is measured since, as the main window's status line names it
    // ("seit gestern"); the status line names it beside the whole change.
    using ChangeDay = std::function<std::string()>;
    void SetChangeDay(ChangeDay day) { m_changeDay = std::move(day); }
    // Whose mailbox it shows when it is not the main window's: the caption names the
    // user ("Ordnerbaum – karin3").
    void SetUserName(std::string user) { m_strUser = std::move(user); }

    // Asks the source again for the rows shown: its entry to compare with has arrived.
    void TakeChanges();

    // The scan controller's message: a scan has ended.
    static constexpr UINT kScanEnded = WM_USER + 2;

    // Scans again; once the scan is complete the rows keep open what was open and the
    // selection where the same entries still exist.
    void Rescan();
    // Shows a scan made elsewhere, as it shows its own.
    void TakeResult(SharedScanResult result);
    bool IsScanBusy() const { return m_scans.IsBusy(); }
    worker::ScanController& GetScans() { return m_scans; }
    // Opens or closes the node shown in `row`; with `branch`, everything below it too.
    void SetExpanded(int row, bool open, bool branch = false);

    const tree::FolderTree& GetTree() const { return m_rows.Tree(); }
    const std::vector<uint32_t>& GetRows() const { return m_rows.Rows(); }
    bool IsExpanded(uint32_t node) const { return m_rows.IsExpanded(node); }
    int GetScanCount() const { return m_nScanCount; }
    // "Ordnerkarte" while it is open over this window; null otherwise.
    const CTreemapDlg* GetTreemapDlg() const { return m_pTreemapDlg; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void InitColumns() override;
    bool CancelRead() override { return m_scans.Cancel(); }
    void EndReads() override { m_scans.Shutdown(); }
    void SortByColumn(int column) override;
    bool OnListNotify(NMHDR* header, LRESULT& result) override;
    void BeforeKeyboardMenu() override;
    void ApplyFilter(const view::RowFilter& filter) override;
    void UpdateProgress() override;
    void PlaceFirstTime() override;
    // Ctrl+C: the shown rows, the names indented by their level.
    view::ListSnapshot Snapshot() const override;

private:
    void OnKey(WORD key);
    void OnClick(const NMITEMACTIVATE& click);
    // The model's rows and selection into the list; the selection from the list first
    // where the list's own keys may have moved it.
    void ShowRows();
    void TakeSelection();
    void OnScanEnded();
    void UpdateStatus();
    // The status line follows whether a scan runs.
    void FollowScanState();
    // At a first opening, without a stored placement: as wide as the columns need,
    // where the screen has room.
    void WidenForColumns(int columnsWidth);
    void PlaceOverOwner();
    // "Ordnerkarte" over this window, starting on its selection; the folder selected
    // there is selected here when it closes.
    void OnTreemap();

    ScanRequest m_request;
    SharedScanResult m_pFirst; // until the window shows it
    tree::TreeRows m_rows;
    int m_nScanCount = 0;
    CImageList m_images; // the list shares them (LVS_SHAREIMAGELISTS)
    CReportList m_list;
    worker::ScanController m_scans;
    ChangeSource m_changeSource;
    ChangeDay m_changeDay;
    std::string m_strUser;
    ByteChange m_changeTotal; // of the changes shown
    bool m_bCompact = false;
    CTreemapDlg* m_pTreemapDlg = nullptr; // while "Ordnerkarte" is open over this window
};
