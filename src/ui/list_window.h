// CListWindow: what the program's three list windows ("Foldtally", "Ordnerbaum" and
// "Alle Postfächer") share, so that each of them is its columns, its model and its
// commands: the report list and the status line below it, with a progress bar in the
// status area while a long read runs; their layout; Escape, which stops a running read
// (and where the window has the buttons "Hilfe" and "Schließen", closes it when none
// runs, by a fresh press only: a held key's repeats never close); F1; Ctrl+C and the export of the
// list; the context menu with its sort items, by a right click and by Shift-F10 or the context-menu
// key; a share column drawn as bars beside the percentages; and the window's stored state as one
// record in the main window's section of the store: its placement, the list's widths with the
// screen's DPI they were stored at, and the sort where the window keeps one.
#pragma once

#include "framework/controls.h"
#include "framework/report_list.h"
#include "tree/tree_rows.h"
#include "ui/app_dlg.h"
#include "ui/list_export_win32.h"
#include "view/filter_line.h"
#include "view/stored_values.h"
#include "view/window_state.h"
#include "worker/scan_controller.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

class AppServices;
class CMenuHandle;
class SettingsStore;

class CListWindow : public CAppDlg {
public:
    // What tells one list window from another.
    struct Frame {
        UINT templateId;
        UINT acceleratorId;
        int listId;
        int statusId;
        int progressId; // the bar shown during a long read; 0 for none
        UINT contextMenuId;
        const char* helpTopic;     // of F1 and the button "Hilfe"
        view::StoredWindow stored; // whose values of the table the window keeps
        int sortColumns;           // the sort menu's items, ID_VIEW_SORT_FIRST on
        int shareColumn;           // the column drawn as bars; -1 for none
    };

    HWND GetListHwnd() const { return m_reportList.GetSafeHwnd(); }
    HWND GetStatusHwnd() const { return m_status.GetSafeHwnd(); }
    int GetStatusHeight() const { return m_nStatusHeight; }
    // The status area's height for the lines its text takes now.
    int GetStatusAreaHeight() const;
    HWND GetProgressHwnd() const { return m_hProgress; }
    // The list's selected row; -1 for none.
    int GetSelectedRow() const { return m_reportList.GetSelectedRow(); }
    // Where the bar of `row` is drawn, in the list's client coordinates; empty for none.
    RECT GetBarRect(int row) const;
    // How the share cells are divided on this screen, in this list's font.
    const tree::ShareCellMetrics& GetShareMetrics() const { return m_shareMetrics; }
    // The bar's colour on a row that is not selected.
    static COLORREF BarColor() { return RGB(58, 110, 165); }

    // Asks for the export's file (Save As unless a test puts its own here), offering the
    // folder of the last export written (with a final backslash; empty until one was).
    void SetExportPrompt(ExportPathPrompt prompt) { m_exportPrompt = std::move(prompt); }
    void SetExportFolder(std::string folder) { m_strExportFolder = std::move(folder); }
    const std::string& GetExportFolder() const { return m_strExportFolder; }

    // The filter line (list_window_filter.cpp): its two boxes and its check ("Filter
    // merken", the main window's only), and whether the list says that no row passes.
    HWND GetFilterHwnd() const { return m_hFilter; }
    HWND GetFilterSizeHwnd() const { return m_hFilterSize; }
    HWND GetFilterRememberHwnd() const { return m_hFilterRemember; }
    bool ShowsNoMatch() const;

    // The window's state from the store's section, and back to it: false when the
    // section cannot be opened (nothing is written then).
    void RestoreState();
    [[nodiscard]] bool SaveState();
    // Writes the window's state into `store`, open on the section; false when a value
    // was refused.
    [[nodiscard]] bool SaveStateTo(SettingsStore& store);

protected:
    // `list` is the derived window's, bound here only.
    CListWindow(HWND parent, AppServices& app, CReportList& list, const Frame& frame);

    BOOL OnInitDialog() override;
    // A held Escape only cancels; the mouse over the list moves the tooltip of a cut cell.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void DoDataExchange(CDataExchange* pDX) override;
    void InitLayout() override;
    void LayoutControls(int cx, int cy) override;

    // The list's columns, once, before the stored state is read.
    virtual void InitColumns() = 0;
    // Stops the window's running read, if any (Escape, closing); true when one ran.
    virtual bool CancelRead() = 0;
    // After the state was saved at closing: what still runs ends.
    virtual void EndReads() {}
    // A header click on `column`, or its choice in the sort menu.
    virtual void SortByColumn(int column);
    // The list's notifications the window handles itself, before the shared ones.
    virtual bool OnListNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    // The checks of a menu shown: the sort column's item.
    virtual void CheckMenu(const CMenuHandle& menu) const;
    // Before the context menu opened from the keyboard: the selected row in view.
    virtual void BeforeKeyboardMenu();
    // The progress timer's tick.
    virtual void UpdateProgress() {}
    // The list as it shows itself, for Ctrl+C and the export, and the folders the export
    // never writes into.
    virtual view::ListSnapshot Snapshot() const { return {}; }
    virtual std::vector<std::string> ExportRefusedFolders() const { return {}; }

    // The rows the filter lets pass, in the window's model and list, the place kept; the
    // status line follows. Called at each change of the filter line.
    virtual void ApplyFilter(const view::RowFilter& /*filter*/) {}
    const view::RowFilter& GetFilter() const { return m_filterInput.filter; }

    // The placement a window without a stored one gets; one of no length lets
    // PlaceFirstTime place it.
    virtual view::WindowPlacementRecord FirstPlacement() const { return {}; }
    // Without a stored placement: over the owner.
    virtual void PlaceFirstTime();
    // The list's columns from `store` (open on the section); the widths as stored.
    virtual std::vector<int32_t> LoadColumns(SettingsStore& store);
    // The list's columns as they are stored.
    virtual view::ListState ColumnsToSave() const;
    // What else the window keeps in the section.
    virtual void LoadMore(SettingsStore& /*store*/) {}
    virtual bool SaveMore(SettingsStore& /*store*/) { return true; }

    // The context menu at `at` (screen coordinates), its checks set.
    void ShowContextMenu(POINT at);
    // Starts the progress timer while `busy`; else stops it and hides the bar, and the
    // caller shows its result's status line again. Returns `busy`.
    bool FollowProgress(bool busy);
    // `progress` in the status line, and in the bar once the read has lasted a while;
    // nothing while the files are listed or after the read ended.
    void ShowProgress(const worker::ScanProgress& progress);
    // The status line as parts that stay whole, each after the first beginning with its
    // separator: where the line is too narrow for them all, a part that no longer fits
    // begins a new line (view::WrapStatusParts) and the status area grows by a line, the
    // list giving way. None: an empty line.
    void SetStatusParts(std::vector<std::string> parts);
    const view::WindowStateNames& Names() const { return m_names; }

    AppServices& m_app;
    CStatic m_status;
    ExportPathPrompt m_exportPrompt;
    std::string m_strExportFolder;

private:
    CReportList& m_reportList;
    const Frame& m_frame;
    const view::WindowStateNames m_names;
    // A share column's cells drawn as bars, every other cell coloured as the list
    // colours it, a selected row in the selection's own colours.
    LRESULT DrawWithShares(NMLVCUSTOMDRAW& draw) const;
    LRESULT DrawShareCell(HDC dc, int row, const RECT& cell, bool selected) const;

    // The filter line: made once, placed above the list, its texts taken as typed, bad
    // input in red; Ctrl+F, and Escape, Enter and Ctrl+C while a box has the focus.
    void CreateFilterLine();
    view::ControlPlace PlaceFilterLine(const view::ControlPlace& list);
    void OnFilterChanged();
    bool OnFilterCommand(UINT id, UINT code, HWND control);
    bool FilterBoxKey(const MSG& msg);
    bool ColourFilterBox(HDC dc, HWND box, LRESULT& result) const;
    void DrawNoMatch(HDC dc) const;
    void LoadFilter(SettingsStore& store);
    bool SaveFilter(SettingsStore& store) const;
    bool RemembersFilter() const { return m_frame.stored == view::StoredWindow::kMain; }
    void NoteExport();

    // The status line's width in the window's layout now.
    int StatusWidth() const;
    // The parts on lines of `width` pixels; `lines` says how many.
    std::string WrapStatus(int width, size_t& lines) const;
    // The tooltip's text: the whole text of the cell under the mouse when the cell cuts
    // it, else none.
    std::string CutCellText(int row, int column) const;
    void FollowCellTip(const MSG& msg);
    bool OnTipNotify(NMHDR* header);

    HWND m_hProgress = nullptr;
    int m_nStatusHeight = 0; // of one line, as the template has it
    int m_nLineHeight = 0;   // of each further line
    std::vector<std::string> m_statusParts;
    bool m_bStatusParts = false; // the line shows the parts, not a read's progress
    size_t m_nStatusLines = 1;
    HWND m_hTip = nullptr; // the tooltip of cut cells; the dialog destroys it
    int m_nTipRow = -1;
    int m_nTipColumn = -1;
    std::string m_strTip;
    std::wstring m_strTipWide;
    tree::ShareCellMetrics m_shareMetrics;
    std::vector<int32_t> m_storedWidths; // as the store held them when last read or written
    HWND m_hFilterLabel = nullptr;
    HWND m_hFilter = nullptr;
    HWND m_hFilterSizeLabel = nullptr;
    HWND m_hFilterSize = nullptr;
    HWND m_hFilterRemember = nullptr; // none where the filter is never stored
    view::FilterLineWidths m_filterWidths;
    int m_nFilterHeight = 0;
    view::FilterInput m_filterInput;
};
