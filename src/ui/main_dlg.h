// CMainDlg: the program's one top-level window. It owns the live program settings, the
// folder list, the auto-refresh worker and the scan controller; every command of the
// program arrives here, and every rescan of the mailbox starts here, by a command or
// by the worker's refresh request. Scans run on a thread of their own: the list shows
// the last result until the next one is complete.
#pragma once

#include "framework/app_services.h"
#include "framework/controls.h"
#include "history/change_since.h"
#include "history/daily_writer.h"
#include "history/reference_loader.h"
#include "mailbox/scan_result.h"
#include "settings/program_settings.h"
#include "text/language.h"
#include "ui/folder_list_ctrl.h"
#include "ui/list_window.h"
#include "view/limit_mark.h"
#include "view/list_export.h"
#include "worker/periodic_worker.h"
#include "worker/scan_controller.h"

#include <functional>
#include <string>
#include <vector>

class CFolderTreeDlg;
class CTreemapDlg;
class CMenuHandle;

class CMainDlg : public CListWindow {
public:
    // The worker's refresh request: the first application message plus one.
    static constexpr UINT kRefreshRequest = WM_USER + 1;
    // The scan controller's message: a scan has ended.
    static constexpr UINT kScanEnded = WM_USER + 2;
    // The history's messages: the entry to compare with has been read (or not), and the
    // day's entry was refused.
    static constexpr UINT kReferenceLoaded = WM_USER + 3;
    static constexpr UINT kHistoryRefused = WM_USER + 4;

    // `sink` is where the worker's requests go; the platform's window queues unless a
    // test watches them.
    explicit CMainDlg(AppServices& app, worker::MessageSink& sink = worker::WindowMessageSink());
    ~CMainDlg() override;

    // Who asked for a refresh: the user (a key, a menu, the settings, the start) or the
    // worker's timer.
    enum class RefreshCause { kUser, kWorker };

    // Asks for a rescan of the mailbox. When it is complete the list and status line
    // take its rows in one step, keeping the list's place; then a warning comes when
    // "hierarch.pm" could not be read (for the worker only when the refresh before did
    // not fail so too). At most one scan runs and one waits; the worker's request waits
    // for nothing and comes no earlier than its interval after the last scan ended.
    void Refresh(RefreshCause cause = RefreshCause::kUser);
    // As Refresh, for a change of what the scan reads: the running scan is cancelled.
    void Restart();
    // Cancels the running scan and the waiting one, and the reading of the history's
    // entry; the list keeps its rows. True when one of them ran.
    bool CancelScan();
    // A scan runs or waits.
    bool IsScanBusy() const { return m_scans.IsBusy(); }
    worker::ScanController& GetScans() { return m_scans; }
    // Starts or stops the worker as the settings say, with the settings' interval.
    void ApplyAutoRefresh();

    // The directories a scan and the About box use: typed in, or the mail client's.
    std::string GetMailboxPath() const;
    std::string GetNewmailPath() const;

    ProgramSettings& GetSettings() { return m_settings; }
    // The scan the list shows; null before the first.
    const SharedScanResult& GetResult() const { return m_list.GetResult(); }
    CFolderListCtrl& GetFolderList() { return m_list; }
    worker::PeriodicWorker& GetWorker() { return m_worker; }
    // How many scans have ended and been shown (cancelled ones do not count).
    int GetRefreshCount() const { return m_nRefreshCount; }

    // The installation's root last chosen for "Alle Postfächer" (with a final
    // backslash), stored in "MainDlg" under stored_names::kAllUsersRoot once one was
    // chosen.
    // Asks for the installation's root, offering `root`: false when cancelled. The
    // shell's folder choice unless a test puts its own here.
    using RootPrompt = std::function<bool(HWND owner, std::string& root)>;
    void SetRootPrompt(RootPrompt prompt) { m_rootPrompt = std::move(prompt); }

    // The day the change is measured since, stored in "MainDlg" under
    // stored_names::kChangeSince once the user chose one.
    // Where the mailbox histories live: with the settings (portable or not) unless a
    // test puts them elsewhere before the window opens.
    void SetHistoryRoot(std::string root) { m_strHistoryRoot = std::move(root); }
    history::DailyHistoryWriter& GetHistoryWriter() { return m_historyWriter; }
    // The days offered by "Ansicht > Änderung seit > einem Tag des Verlaufs...": the
    // chosen one (an index into the list, -1 for none) or a test's choice.
    using DayPrompt = std::function<int(HWND owner, const std::vector<history::CalendarDay>& days)>;
    void SetDayPrompt(DayPrompt prompt) { m_dayPrompt = std::move(prompt); }
    // The question before the history is deleted; a test answers it itself.
    using ClearPrompt = std::function<bool(HWND owner, const std::string& question)>;
    void SetClearPrompt(ClearPrompt prompt) { m_clearPrompt = std::move(prompt); }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void InitColumns() override;
    // The list's new size reaches "Ordnername".
    void LayoutControls(int cx, int cy) override;
    bool CancelRead() override { return CancelScan(); }
    // The scan's threads stop at their next file; a worker that does not end in time is
    // waited for by its destructor.
    void EndReads() override;
    void SortByColumn(int column) override;
    bool OnListNotify(NMHDR* header, LRESULT& result) override;
    void CheckMenu(const CMenuHandle& menu) const override { SetChecks(menu); }
    void UpdateProgress() override { ShowProgress(m_scans.GetProgress()); }
    void ApplyFilter(const view::RowFilter& filter) override;
    // The default is kept as the record at 96 DPI; a first start shows it at the
    // screen's scale, so that as many columns show as there.
    view::WindowPlacementRecord FirstPlacement() const override;
    void PlaceFirstTime() override {}
    std::vector<int32_t> LoadColumns(SettingsStore& store) override;
    view::ListState ColumnsToSave() const override { return m_list.GetListState(); }
    // The settings, the export's folder, the overview's installation and the change's
    // reference.
    void LoadMore(SettingsStore& store) override;
    bool SaveMore(SettingsStore& store) override;
    // The export never writes into the directories the program reads from or lives in,
    // nor into any mailbox of an installation it knows (main_dlg_export.cpp).
    view::ListSnapshot Snapshot() const override { return SnapshotFolderList(m_list); }
    std::vector<std::string> ExportRefusedFolders() const override;

private:
    void RequestScan(worker::ScanController::Cause cause);
    // Takes the ended scan: fills list and status line and warns as Refresh says.
    void OnScanEnded();
    void ShowResult(SharedScanResult result);
    void ShowResultStatus();
    // The status line and the cancel item follow whether a scan is busy.
    void FollowScanState();
    // What the settings ask a scan for.
    ScanRequest MakeScanRequest() const;

    void OnSettings();
    void OnSavePortable();
    void OnAbout();
    void OnFolderTree();
    void OnTreemap();
    // "Alle Postfächer" (main_dlg_all_users.cpp): the installation of the mailbox in
    // effect, or the one the user picks when it is none or `choose` asks so.
    void OnAllUsers(bool choose);
    // The history (main_dlg_history.cpp): the day's entry after a finished scan, the
    // reference of the change, and deleting the mailbox's history.
    history::HistoryPlace MakeHistoryPlace() const;
    void WriteHistory();
    void OnChangeSince(UINT id);
    void OnClearHistory();
    // What `result` changed since the chosen day, from the history's entry; none when
    // the history has no entry for it or no place, and while the entry is being read.
    view::FolderChangeSet ChangesOf(const ScanResult& result);
    // Whether the entry for the chosen day has been read; else starts reading it on the
    // loader's thread, unless it runs already.
    bool HasReference(const history::HistoryPlace& place);
    // The read entry arrives: the columns "Änderung" take it.
    void OnReferenceLoaded();
    // Warning 505, once a run unless `always`.
    void WarnHistoryRefused(bool always);
    // The list's column "Änderung" follows the shown result and the chosen day.
    void UpdateChanges();
    void SetChangeChecks(const CMenuHandle& menu) const;
    static POINT CursorPoint();
    void UpdateMenuChecks();
    // Greys the portable item in a portable run and checks the stored language.
    void UpdatePortableItem();
    LanguageChoice StoredLanguage() const;
    // Stores the language for the next start, and says so when it is another one.
    void OnLanguage(LanguageChoice choice);
    void SetChecks(const CMenuHandle& menu) const;
    // "Ansicht > Spalten", shown at a header's click (`at` in screen coordinates, -1
    // from the keyboard: below the header).
    CMenuHandle ColumnMenu() const;
    // Whether a context menu asked by `from` at `at` (screen coordinates, -1 from the
    // keyboard) belongs to the list's header.
    bool IsOnHeader(HWND from, LPARAM at) const;
    void ShowColumnMenu(LPARAM at);
    // The run's one box of the folder files over the client's limit (view::LimitWarnings),
    // never from the worker's refresh; a tick silences its files.
    void WarnOverLimit(bool byUser);
    void Toggle(bool& setting);

    ProgramSettings m_settings;
    worker::PeriodicWorker m_worker;
    worker::ScanController m_scans;
    bool m_bWarningShown = false;
    // What the last refresh could not read: its warning comes again from the worker's
    // refresh only when this changes.
    enum class ReadFailure { kNone, kHierarchy, kMailbox };
    ReadFailure m_readFailure = ReadFailure::kNone;
    CFolderListCtrl m_list;
    int m_nRefreshCount = 0;
    view::LimitWarnings m_limitWarnings;
    history::ChangeReference m_changeReference;
    bool m_bChangeReferenceChosen = false; // loaded or chosen: then it is stored
    std::string m_strHistoryRoot;
    history::DailyHistoryWriter m_historyWriter;
    history::ReferenceEntry m_referenceEntry;
    history::ReferenceLoader m_referenceLoader;
    bool m_bReferenceCancelled = false; // the last reading was cancelled: none until F5
    bool m_bHistoryRefusalShown = false;
    CFolderTreeDlg* m_pTreeDlg = nullptr; // while the tree window is open
    CTreemapDlg* m_pTreemapDlg = nullptr; // while "Ordnerkarte" is open over this window
    DayPrompt m_dayPrompt;
    ClearPrompt m_clearPrompt;
    std::string m_strAllUsersRoot;
    RootPrompt m_rootPrompt;
    bool m_bFollowRoom = false; // the list's size reaches "Ordnername" once the window is open
};
