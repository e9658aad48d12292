// Reading the list, the Save As dialog and the clipboard.
#include "ui/list_export_win32.h"

#include "framework/system_library.h"
#include "framework/win_app.h"
#include "mailbox/folder_record.h"
#include "resource.h"
#include "ui/folder_list_ctrl.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>

namespace {

// Owns the global memory until the clipboard takes it.
class GlobalText {
public:
    explicit GlobalText(size_t bytes) : m_hMemory(::GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalText() {
        if (m_hMemory) {
            ::GlobalFree(m_hMemory);
        }
    }
    GlobalText(const GlobalText&) = delete;
    GlobalText& operator=(const GlobalText&) = delete;

    bool Fill(const void* data, size_t bytes) {
        void* target = m_hMemory ? ::GlobalLock(m_hMemory) : nullptr;
        if (!target) {
            return false;
        }
        std::memcpy(target, data, bytes);
        ::GlobalUnlock(m_hMemory);
        return true;
    }
    // The clipboard owns the memory once SetClipboardData succeeds.
    bool Hand(UINT format) {
        if (!::SetClipboardData(format, m_hMemory)) {
            return false;
        }
        m_hMemory = nullptr;
        return true;
    }

private:
    HGLOBAL m_hMemory;
};

bool PutText(UINT format, const void* data, size_t bytes) {
    GlobalText memory(bytes);
    return memory.Fill(data, bytes) && memory.Hand(format);
}

} // namespace

view::ListSnapshot SnapshotFolderList(const CFolderListCtrl& list) {
    view::ListSnapshot snapshot;
    const std::vector<int32_t> order = list.GetColumnOrder();
    for (int32_t column : order) {
        snapshot.titles.push_back(list.GetColumnTitle(column));
    }
    const view::FolderRows& rows = list.GetRows();
    const int count = rows.RowCount();
    snapshot.rows.resize(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        view::ListSnapshot::Row& row = snapshot.rows[static_cast<size_t>(i)];
        for (int32_t column : order) {
            row.cells.push_back(rows.CellText(i, column));
        }
        row.bytes = rows.Record(i).size;
    }
    return snapshot;
}

bool PromptSavePath(HWND owner, const SaveChoice& choice, const std::string& startFolder,
                    std::string& path, int& filterIndex) {
    std::string filter = LoadResourceString(choice.filterId);
    for (char& c : filter) {
        if (c == '|') {
            c = '\0';
        }
    }
    const std::string title = LoadResourceString(choice.titleId);
    char file[MAX_PATH] = {};
    if (path.size() < sizeof file) {
        path.copy(file, path.size());
    }
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex == 2 ? 2 : 1);
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = startFolder.empty() ? nullptr : startFolder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = choice.extensions[filterIndex == 2 ? 1 : 0];
    ofn.Flags =
        OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!::GetSaveFileNameA(&ofn)) {
        return false;
    }
    path = file;
    filterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool PromptExportPath(HWND owner, const std::string& startFolder, std::string& path,
                      int& filterIndex) {
    return PromptSavePath(owner, {IDS_EXPORT_FILTER, IDS_EXPORT_TITLE, {"csv", "csv"}}, startFolder,
                          path, filterIndex);
}

std::string DocumentsFolder() {
    using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    static const FolderPathFunction folderPath = framework::SystemFunction<FolderPathFunction>(
        framework::LoadSystemLibrary("shell32.dll"), "SHGetFolderPathA");
    char folder[MAX_PATH] = {};
    if (folderPath == nullptr ||
        folderPath(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK ||
        folder[0] == '\0') {
        return std::string();
    }
    std::string text = folder;
    if (text.back() != '\\') {
        text += '\\';
    }
    return text;
}

std::string TodaysExportName() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    return view::SuggestedExportName(now.wYear, now.wMonth, now.wDay);
}

bool CopyTextToClipboard(HWND owner, const std::string& text) {
    const int wide = ::MultiByteToWideChar(1252, 0, text.c_str(), -1, nullptr, 0);
    if (wide <= 0) {
        return false;
    }
    std::wstring unicode(static_cast<size_t>(wide), L'\0');
    if (::MultiByteToWideChar(1252, 0, text.c_str(), -1, &unicode[0], wide) != wide) {
        return false;
    }
    if (!::OpenClipboard(owner)) {
        return false;
    }
    const bool ok = ::EmptyClipboard() && PutText(CF_TEXT, text.c_str(), text.size() + 1) &&
                    PutText(CF_UNICODETEXT, unicode.c_str(), unicode.size() * sizeof(wchar_t));
    ::CloseClipboard();
    return ok;
}
