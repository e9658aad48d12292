// CMainDlg's two ways out of the window: "Liste exportieren..." (Ctrl+S) and Ctrl+C.
// Both take the list as it shows itself; the export never writes into the directories
// the program reads from or lives in.
#include "diag/path_parts.h"
#include "framework/win_app.h"
#include "platform/file_writer.h"
#include "platform/files.h"
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
    // ".." and relative parts resolved first, so no spelling of a path slips past.
    const std::string full = platform::FullPath(path);
    PathParts program(m_app.GetModulePath());
    const std::vector<std::string> protectedDirs = {GetMailboxPath(), GetNewmailPath(),
                                                    program.GetDrive() + program.GetDirectory()};
    if (full.empty() || view::IsInProtectedDirectory(full, protectedDirs)) {
        m_app.Error(IDS_ERROR_007);
        return;
    }
    const std::string text =
        view::FormatListExport(SnapshotList(), LoadResourceString(IDS_COLUMN_BYTES),
                               view::ExportFormatFor(full, filterIndex));
    if (!platform::ReplaceFileContents(full, text)) {
        m_app.Error(IDS_ERROR_008);
    }
}

void CMainDlg::OnCopy() {
    if (!CopyTextToClipboard(m_hWnd, view::FormatListCopy(SnapshotList()))) {
        m_app.Error(IDS_ERROR_009);
    }
}
