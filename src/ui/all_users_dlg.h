// CAllUsersDlg: the window "Alle Postfächer". One row per user of an installation (and
// per folder no user line names), rendered through CReportList over
// report::AllUsersModel. The users' mailboxes are read on a thread of their own
// (worker::AllUsersReader), which plans them from "PMAIL.USR" first: the rows show
// their names once planned and their figures as each mailbox is read; Escape cancels
// a running read and otherwise closes, F5 reads again; a cancelled read leaves the last
// complete one on screen. Enter or a double click opens
// the tree window of the user's mailbox.
#pragma once

#include "framework/controls.h"
#include "framework/report_list.h"
#include "report/all_users_model.h"
#include "tree/tree_rows.h"
#include "ui/list_window.h"
#include "worker/all_users_reader.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class AppServices;

class CAllUsersDlg : public CListWindow {
public:
    static constexpr const char kHelpTopic[] = "::/pages/allepostfaecher.htm";
    static constexpr int kColumnCount = report::kAllUsersWindowColumns;
    // The reader's message: rows are read, or the read has ended (its wParam says).
    static constexpr UINT kReadMessage = WM_USER + 3;

    // `root` (ending with a backslash) holds "PMAIL.USR"; `compact` says how sizes show.
    CAllUsersDlg(HWND parent, AppServices& app, std::string root, bool compact);
    ~CAllUsersDlg() override;

    // Plans the rows anew from "PMAIL.USR" and reads every mailbox, both on the
    // reader's thread; a read still running is stopped first. The rows shown stay
    // until the new ones are planned.
    void Reread();
    bool IsReading() const { return m_reader.IsBusy(); }
    // How many reads have ended with every row read (cancelled ones do not count).
    int GetReadCount() const { return m_nReadCount; }
    const report::AllUsersModel& GetModel() const { return m_model; }
    worker::AllUsersReader& GetReader() { return m_reader; }
    // What the list's header says as its tooltip; empty for nothing.
    std::string GetShareTipText() const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void InitColumns() override;
    bool CancelRead() override;
    // Closing during a read ends it at every mailbox's next folder file.
    void EndReads() override { m_reader.Stop(); }
    void SortByColumn(int column) override;
    void ApplyFilter(const view::RowFilter& filter) override;
    bool OnListNotify(NMHDR* header, LRESULT& result) override;
    view::ListSnapshot Snapshot() const override;
    // Nothing is ever written below the installation's root, nor beside the program.
    std::vector<std::string> ExportRefusedFolders() const override;

private:
    void OnRead(WPARAM what);
    // Enter: the selected row's tree from the list, the focused button's click else.
    void OnEnter();
    void OpenRow(int row);
    // Shows the model's rows keeping the selection on the same user.
    void ShowRows(int selectedIndex);
    int SelectedIndex() const;
    void UpdateStatus();
    // The header's tooltip: what the share bars are measured against when all shares are
    // small; none otherwise.
    void CreateShareTip();
    void UpdateShareTip();
    TOOLINFOA HeaderTool() const;

    std::string m_strRoot;
    bool m_bCompact;
    report::AllUsersModel m_model;
    std::shared_ptr<AllUsersResult> m_pResult;
    std::shared_ptr<AllUsersResult> m_pPlanning; // the reader's until it is planned
    worker::AllUsersReader m_reader;
    int m_nReadCount = 0;
    CReportList m_list;
    HWND m_hShareTip = nullptr; // owned by the window, gone with it
};
