// CMainDlg's two ways out of the window: "Liste exportieren..." (Ctrl+S) and Ctrl+C.
// Both take the list as it shows itself; the export never writes into the directories
// the program reads from or lives in, nor into any mailbox of an installation it knows.
#include "framework/win_app.h"
#include "mailbox/installation.h"
#include "resource.h"
#include "ui/list_export_win32.h"
#include "ui/main_dlg.h"

view::ListSnapshot CMainDlg::SnapshotList() const {
    return SnapshotFolderList(m_list);
}

void CMainDlg::OnExport() {
    // The installation chosen for the overview counts only while it is one: the choice
    // is kept even for a folder without a list.
    std::vector<std::string> installations;
    if (!m_strAllUsersRoot.empty() && !UserListPath(m_strAllUsersRoot).empty()) {
        installations.push_back(m_strAllUsersRoot);
    }
    ExportList(m_hWnd, m_app, m_exportPrompt,
               ExportProtectedFolders(m_app.GetModulePath(), {GetMailboxPath(), GetNewmailPath()},
                                      installations),
               m_strExportPath, [this] { return SnapshotList(); });
}

void CMainDlg::OnCopy() {
    const std::string text =
        view::FormatListCopy(SnapshotList(), LoadResourceString(IDS_COLUMN_BYTES));
    if (!CopyTextToClipboard(m_hWnd, text)) {
        m_app.Error(IDS_ERROR_009);
    }
}
