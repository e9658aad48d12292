// The export's round of questions, the same for every list: Save As opens where the
// user last saved (else in the documents, never in a folder the export refuses) with a
// dated name. A refused or failed file brings the dialog back, with the name kept:
// after FEHLER 007 in the folder it first offered, after FEHLER 008 in the folder
// chosen, where another name may well work.
#include "diag/path_parts.h"
#include "framework/app_services.h"
#include "framework/win_app.h"
#include "mailbox/installation.h"
#include "platform/file_writer.h"
#include "platform/files.h"
#include "platform/folder_identity.h"
#include "resource.h"
#include "ui/list_export_win32.h"

std::vector<std::string> ExportProtectedFolders(const std::string& modulePath,
                                                const std::vector<std::string>& readFolders,
                                                const std::vector<std::string>& installations) {
    std::vector<std::string> folders = readFolders;
    // A mailbox of an installation shares its root with every other user's mailbox.
    for (const std::string& folder : readFolders) {
        folders.push_back(folder.empty() ? std::string() : InstallationRootOf(folder));
    }
    folders.insert(folders.end(), installations.begin(), installations.end());
    const PathParts program(modulePath);
    folders.push_back(program.GetDrive() + program.GetDirectory());
    return folders;
}

UINT WriteListExport(const std::string& full, int filterIndex,
                     const std::vector<std::string>& protectedFolders,
                     const view::ListSnapshot& list) {
    // ".." and relative parts resolved first (by the caller); then the folders are
    // compared by what the file system says they are, so no link, short name or other
    // spelling slips past.
    const platform::ProtectedFolders protectedDirs(protectedFolders, view::IsInProtectedDirectory);
    if (full.empty() || protectedDirs.Contains(full)) {
        return IDS_ERROR_007;
    }
    const std::string text = view::FormatListExport(list, LoadResourceString(IDS_COLUMN_BYTES),
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

bool ExportList(HWND owner, AppServices& app, const ExportPathPrompt& prompt,
                const std::vector<std::string>& protectedFolders, std::string& lastFolder,
                const std::function<view::ListSnapshot()>& snapshot) {
    std::string startFolder =
        view::ExportStartFolder(lastFolder, DocumentsFolder(), protectedFolders);
    const std::string firstFolder = startFolder;
    std::string path = TodaysExportName();
    int filterIndex = 1;
    for (;;) {
        const bool chosen = prompt ? prompt(owner, startFolder, path, filterIndex)
                                   : PromptExportPath(owner, startFolder, path, filterIndex);
        if (!chosen) {
            return false;
        }
        const std::string full = platform::FullPath(path);
        const UINT error = WriteListExport(full, filterIndex, protectedFolders, snapshot());
        if (error == 0) {
            lastFolder = view::ExportFolderOf(full);
            return true;
        }
        app.Error(error);
        startFolder = error == IDS_ERROR_008 ? view::ExportFolderOf(full) : firstFolder;
        path = full.substr(view::ExportFolderOf(full).size());
    }
}
