// The Windows half of taking the folder list out: the list read as it shows itself, the
// standard Save As dialog, and the clipboard. The texts come from view/list_export.
#pragma once

#include "view/list_export.h"

#include <windows.h>

#include <string>

class CFolderListCtrl;

// The list's columns and rows in display order and each row's exact size.
view::ListSnapshot SnapshotFolderList(const CFolderListCtrl& list);

// The Save As dialog (GetSaveFileNameA) with the export's two file types, opened in
// `startFolder` (the dialog's own choice when empty) with `path` as the file name and
// `filterIndex` as the file type. False when the user cancels; otherwise the chosen
// full path and file type (1 CSV, 2 TSV).
bool PromptExportPath(HWND owner, const std::string& startFolder, std::string& path,
                      int& filterIndex);

// The user's documents folder with a final backslash (shell32's SHGetFolderPathA,
// loaded from the system directory); empty when the system names none.
std::string DocumentsFolder();

// "Foldtally yyyy-mm-dd.csv" with today's local date.
std::string TodaysExportName();

// Puts `text` (Windows-1252, CR LF) on the clipboard as CF_TEXT and as CF_UNICODETEXT.
bool CopyTextToClipboard(HWND owner, const std::string& text);
