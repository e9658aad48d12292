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
    return SnapshotFolderList(m_list);
}

// Save As opens where the user last saved (else in the documents, never in the
// program's own folder, which the export refuses) with a dated name. A refused or
// failed file brings the dialog back, with the name kept: after FEHLER 007 in the
// folder it first offered, after FEHLER 008 in the folder chosen, where another name
// may well work.
void CMainDlg::OnExport() {
    PathParts program(m_app.GetModulePath());
    std::string startFolder = view::ExportStartFolder(
        m_strExportPath, DocumentsFolder(),
        {GetMailboxPath(), GetNewmailPath(), program.GetDrive() + program.GetDirectory()});
    const std::string firstFolder = startFolder;
    std::string path = TodaysExportName();
    int filterIndex = 1;
    for (;;) {
        const bool chosen = m_exportPrompt
                                ? m_exportPrompt(m_hWnd, startFolder, path, filterIndex)
                                : PromptExportPath(m_hWnd, startFolder, path, filterIndex);
        if (!chosen) {
            return;
        }
        const std::string full = platform::FullPath(path);
        const UINT error = ExportTo(full, filterIndex);
        if (error == 0) {
            m_strExportPath = view::ExportFolderOf(full);
            return;
        }
        m_app.Error(error);
        startFolder = error == IDS_ERROR_008 ? view::ExportFolderOf(full) : firstFolder;
        path = full.substr(view::ExportFolderOf(full).size());
    }
}

UINT CMainDlg::ExportTo(const std::string& full, int filterIndex) {
    // ".." and relative parts resolved first (by the caller); then the folders are
    // compared by what the file system says they are, so no link, short name or other
    // spelling slips past.
    PathParts program(m_app.GetModulePath());
    const platform::ProtectedFolders protectedDirs(
        {GetMailboxPath(), GetNewmailPath(), program.GetDrive() + program.GetDirectory()},
        view::IsInProtectedDirectory);
    if (full.empty() || protectedDirs.Contains(full)) {
        return IDS_ERROR_007;
    }
    const std::string text =
        view::FormatListExport(SnapshotList(), LoadResourceString(IDS_COLUMN_BYTES),
                               view::ExportFormatFor(full, filterIndex));
    switch (platform::ReplaceFileContents(full, text, protectedDirs)) {
    case platform::WriteOutcome::kWritten:
        return 0;
    case platform::WriteOutcome::kRefused:
        return IDS_ERROR_007;
    case platform::WriteOutcome::kFailed:
        break;
    }
    return IDS_ERROR_008;
}

void CMainDlg::OnCopy() {
    const std::string text =
        view::FormatListCopy(SnapshotList(), LoadResourceString(IDS_COLUMN_BYTES));
    if (!CopyTextToClipboard(m_hWnd, text)) {
        m_app.Error(IDS_ERROR_009);
    }
}
