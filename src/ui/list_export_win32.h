// The Windows half of taking the folder list out: the list read as it shows itself, the
// standard Save As dialog, and the clipboard. The texts come from view/list_export.
#pragma once

#include "view/list_export.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class AppServices;
class CFolderListCtrl;

// The list's columns and rows in display order and each row's exact size.
view::ListSnapshot SnapshotFolderList(const CFolderListCtrl& list);

// The Save As dialog (GetSaveFileNameA) with the export's two file types, opened in
// `startFolder` (the dialog's own choice when empty) with `path` as the file name and
// `filterIndex` as the file type. False when the user cancels; otherwise the chosen
// full path and file type (1 CSV, 2 TSV).
bool PromptExportPath(HWND owner, const std::string& startFolder, std::string& path,
                      int& filterIndex);

// What a Save As of two file types offers: the filter's text ("name|*.ext|" twice), the
// title, and the extension each type adds to a name without one.
struct SaveChoice {
    UINT filterId;
    UINT titleId;
    const char* extensions[2];
};
// Save As as PromptExportPath, with `choice`'s types and title.
bool PromptSavePath(HWND owner, const SaveChoice& choice, const std::string& startFolder,
                    std::string& path, int& filterIndex);

// The user's documents folder with a final backslash (shell32's SHGetFolderPathA,
// loaded from the system directory); empty when the system names none.
std::string DocumentsFolder();

// "Foldtally yyyy-mm-dd.csv" with today's local date.
std::string TodaysExportName();

// Puts `text` (Windows-1252, CR LF) on the clipboard as CF_TEXT and as CF_UNICODETEXT.
bool CopyTextToClipboard(HWND owner, const std::string& text);

// Asks for the export's file as PromptExportPath does; a test puts its own here.
using ExportPathPrompt = std::function<bool(HWND owner, const std::string& startFolder,
                                            std::string& path, int& filterIndex)>;

// The folders a window's export never writes into: `readFolders` (the folders the
// window reads), the installation each of them belongs to and `installations` (roots
// of installations the window knows, each with every user's folder below it), and the
// program's own folder beside `modulePath`.
std::vector<std::string> ExportProtectedFolders(const std::string& modulePath,
                                                const std::vector<std::string>& readFolders,
                                                const std::vector<std::string>& installations);

// Writes `list` to `full` (a full path) as `filterIndex` and the name ask, never into
// one of `protectedFolders` or below: the message id shown (IDS_ERROR_007 refused,
// IDS_ERROR_008 failed) or 0.
UINT WriteListExport(const std::string& full, int filterIndex,
                     const std::vector<std::string>& protectedFolders,
                     const view::ListSnapshot& list);

// The export of a list with its questions: asks for the file (`prompt`, or Save As when
// empty), starting where the export `lastFolder` names was last written, and again after
// a refused or failed file, with the message shown. Once a file is written `lastFolder`
// is its folder and the result true; a cancel leaves it and gives false.
bool ExportList(HWND owner, AppServices& app, const ExportPathPrompt& prompt,
                const std::vector<std::string>& protectedFolders, std::string& lastFolder,
                const std::function<view::ListSnapshot()>& snapshot);
