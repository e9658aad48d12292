// CMainDlg's two ways out of the window: "Liste exportieren..." (Ctrl+S) and Ctrl+C.
// Both take the list as it shows itself; the export never writes into the directories
// the program reads from or lives in.
#include "diag/path_parts.h"
#include "framework/win_app.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/folder_identity.h"
#include "resource.h"
#include "ui/list_export_win32.h"
#include "ui/main_dlg.h"

view::ListSnapshot CMainDlg::SnapshotList() const {
    const uint64_t total = GetResult() ? GetResult()->catalogue.totalSize : 0;
    return SnapshotFolderList(m_list, m_status.GetWindowText(), total);
}

void CMainDlg::OnExport() {
    std::string path;
    int filterIndex = 1;
    const bool chosen = m_exportPrompt ? m_exportPrompt(m_hWnd, path, filterIndex)
                                       : PromptExportPath(m_hWnd, path, filterIndex);
    if (!chosen) {
        return;
    }
    // ".." and relative parts resolved first; then the folders are compared by what the
    // file system says they are, so no link, short name or other spelling slips past.
    const std::string full = platform::FullPath(path);
    PathParts program(m_app.GetModulePath());
    const platform::ProtectedFolders protectedDirs(
        {GetMailboxPath(), GetNewmailPath(), program.GetDrive() + program.GetDirectory()},
        view::IsInProtectedDirectory);
    if (full.empty() || protectedDirs.Contains(full)) {
        m_app.Error(IDS_ERROR_007);
        return;
    }
    const std::string text =
        view::FormatListExport(SnapshotList(), LoadResourceString(IDS_COLUMN_BYTES),
                               view::ExportFormatFor(full, filterIndex));
    switch (platform::ReplaceFileContents(full, text, protectedDirs)) {
    case platform::WriteOutcome::kWritten:
        break;
    case platform::WriteOutcome::kRefused:
        m_app.Error(IDS_ERROR_007);
        break;
    case platform::WriteOutcome::kFailed:
        m_app.Error(IDS_ERROR_008);
        break;
    }
}

void CMainDlg::OnCopy() {
    if (!CopyTextToClipboard(m_hWnd, view::FormatListCopy(SnapshotList()))) {
        m_app.Error(IDS_ERROR_009);
    }
}
