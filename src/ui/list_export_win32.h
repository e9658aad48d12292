// The Windows half of taking the folder list out: the list read as it shows itself, the
// standard Save As dialog, and the clipboard. The texts come from view/list_export.
#pragma once

#include "view/list_export.h"

#include <windows.h>

#include <string>

class CFolderListCtrl;

// The list's columns and rows in display order, each row's exact size, and the
// status line and total as given.
view::ListSnapshot SnapshotFolderList(const CFolderListCtrl& list, const std::string& statusLine,
                                      uint64_t totalBytes);

// The Save As dialog (GetSaveFileNameA) with the export's two file types. False when
// the user cancels; otherwise the chosen full path and file type (1 CSV, 2 TSV).
bool PromptExportPath(HWND owner, std::string& path, int& filterIndex);

// Puts `text` (Windows-1252, CR LF) on the clipboard as CF_TEXT and as CF_UNICODETEXT.
bool CopyTextToClipboard(HWND owner, const std::string& text);
