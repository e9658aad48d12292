// CMainDlg: the program's one top-level window. It owns the live program settings, the
// folder catalogue, the folder list and the auto-refresh worker; every command of the
// program arrives here, and every rescan of the mailbox starts here, by a command or
// by the worker's refresh request.
#pragma once

#include "framework/app_services.h"
#include "framework/controls.h"
#include "mailbox/scan_result.h"
#include "settings/program_settings.h"
#include "ui/app_dlg.h"
#include "ui/folder_list_ctrl.h"
#include "view/limit_mark.h"
#include "view/list_export.h"
#include "worker/message_posting_worker.h"

#include <functional>
#include <string>

class CMenuHandle;

class CMainDlg : public CAppDlg {
public:
    // The worker's refresh request: the first application message plus one.
    static constexpr UINT kRefreshRequest = WM_USER + 1;
    static constexpr const char kPlacementValue[] = "Placement";

    // `sink` is where the worker's requests go; the platform's window queues unless a
    // test watches them.
    explicit CMainDlg(AppServices& app, worker::MessageSink& sink = worker::WindowMessageSink());
    ~CMainDlg() override;

    // Who asked for a refresh: the user (a key, a menu, the settings, the start) or the
    // worker's timer.
    enum class RefreshCause { kUser, kWorker };

    // Rescans the mailbox and fills list and status line, keeping the list's place;
    // then warns when "hierarch.pm" could not be read (for the worker only when the
    // refresh before did not fail so too). Requests that come while a refresh runs
    // (from inside a message box it shows) or that queued up meanwhile are dropped, and
    // those that waited from before it began count as one.
    void Refresh(RefreshCause cause = RefreshCause::kUser);
    // Placement, columns and settings from the section "MainDlg" of the application's
    // store, and back to it.
    void RestoreState();
    // False when the store's section cannot be opened (nothing is written then).
    [[nodiscard]] bool SaveState();
    // Writes placement, columns and settings into `store`, open on "MainDlg"; false
    // when a value was refused.
    [[nodiscard]] bool SaveStateTo(SettingsStore& store);
    // The value names of placement, columns and sort.
    static const view::WindowStateNames& StateNames();
    // Starts or stops the worker as the settings say, with the settings' interval.
    void ApplyAutoRefresh();

    // The directories a scan and the About box use: typed in, or the mail client's.
    std::string GetMailboxPath() const;
    std::string GetNewmailPath() const;

    void InitLayout() override;
    void LayoutControls(int cx, int cy) override;

    ProgramSettings& GetSettings() { return m_settings; }
    // The scan the list shows; null before the first.
    const SharedScanResult& GetResult() const { return m_list.GetResult(); }
    CFolderListCtrl& GetFolderList() { return m_list; }
    worker::MessagePostingWorker& GetWorker() { return m_worker; }
    HWND GetStatusHwnd() const { return m_status.GetSafeHwnd(); }
    int GetStatusHeight() const { return m_nStatusHeight; }
    // How many refreshes have scanned (dropped requests do not count).
    int GetRefreshCount() const { return m_nRefreshCount; }

    // Asks for the export's file, opened in `startFolder` with `path` (a file name) and
    // `filterIndex` offered: false when cancelled, else the path and the file type (1 CSV,
    // 2 TSV). The standard Save As dialog unless a test puts its own here.
    using ExportPrompt = std::function<bool(HWND owner, const std::string& startFolder,
                                            std::string& path, int& filterIndex)>;
    void SetExportPrompt(ExportPrompt prompt) { m_exportPrompt = std::move(prompt); }
    // The folder of the last export written (with a final backslash), stored in
    // "MainDlg" under kExportPathValue; empty until one was written.
    static constexpr const char kExportPathValue[] = "ExportPath";
    const std::string& GetExportPath() const { return m_strExportPath; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    bool OnListNotify(const NMHDR* header, LRESULT& result);
    // Scans and fills; whether "hierarch.pm" was read.
    bool ScanAndFill();
    // What the settings ask a scan for.
    ScanRequest MakeScanRequest() const;

    // Takes the queued worker requests out; those posted before `started` (when the
    // refresh began) come back as one.
    void DropQueuedRefreshRequests(DWORD started);
    void OnSettings();
    void OnSavePortable();
    void OnAbout();
    void OnExport(); // in main_dlg_export.cpp
    // Writes the list to `path`; the message id shown (IDS_ERROR_007, IDS_ERROR_008) or 0.
    UINT ExportTo(const std::string& path, int filterIndex);
    void OnCopy();
    view::ListSnapshot SnapshotList() const;
    void OnFolderTree();
    // The context menu at `at` (screen coordinates).
    void ShowContextMenu(POINT at);
    static POINT CursorPoint();
    void UpdateMenuChecks();
    void UpdatePortableItem();
    void SetChecks(const CMenuHandle& menu) const;
    // "Ansicht > Spalten", shown at a header's click (`at` in screen coordinates, -1
    // from the keyboard: below the header).
    CMenuHandle ColumnMenu() const;
    // Whether a context menu asked by `from` at `at` (screen coordinates, -1 from the
    // keyboard) belongs to the list's header.
    bool IsOnHeader(HWND from, LPARAM at) const;
    void ShowColumnMenu(LPARAM at);
    // Warning 504 for each folder file over the client's limit not told of in this run.
    void WarnOverLimit(DWORD started);
    void Toggle(bool& setting);

    AppServices& m_app;
    int m_nStatusHeight = 0;
    ProgramSettings m_settings;
    worker::MessagePostingWorker m_worker;
    bool m_bRefreshBusy = false;
    bool m_bHierarchyFailed = false; // the last refresh could not read "hierarch.pm"
    CStatic m_status;
    CFolderListCtrl m_list;
    int m_nRefreshCount = 0;
    ExportPrompt m_exportPrompt;
    view::LimitWarnings m_limitWarnings;
    std::string m_strExportPath;
};
