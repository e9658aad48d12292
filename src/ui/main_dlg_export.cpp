// CMainDlg's two ways out of the window: "Liste exportieren..." (Ctrl+S) and Ctrl+C.
// Both take the list as it shows itself; the export never writes into the directories
// the program reads from or lives in.
#include "diag/path_parts.h"
#include "framework/win_app.h"
#include "resource.h"
#include "ui/list_export_win32.h"
#include "ui/main_dlg.h"

view::ListSnapshot CMainDlg::SnapshotList() const {
    return SnapshotFolderList(m_list);
}

void CMainDlg::OnExport() {
    PathParts program(m_app.GetModulePath());
    ExportList(m_hWnd, m_app, m_exportPrompt,
               {GetMailboxPath(), GetNewmailPath(), program.GetDrive() + program.GetDirectory()},
               m_strExportPath, [this] { return SnapshotList(); });
}

void CMainDlg::OnCopy() {
    const std::string text =
        view::FormatListCopy(SnapshotList(), LoadResourceString(IDS_COLUMN_BYTES));
    if (!CopyTextToClipboard(m_hWnd, text)) {
        m_app.Error(IDS_ERROR_009);
    }
}
