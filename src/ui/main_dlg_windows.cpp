// CMainDlg's ways to the other windows: the settings, the folder tree, the About box,
// and "Alle Postfächer" for the installation the mailbox in effect belongs to, or one
// the user picks with the shell's folder choice, which comes from shell32 loaded from
// the system directory at run time (the program imports nothing of the shell).
#include "framework/system_library.h"
#include "framework/win_app.h"
#include "mailbox/installation.h"
#include "resource.h"
#include "ui/about_dlg.h"
#include "ui/all_users_dlg.h"
#include "ui/folder_tree_dlg.h"
#include "ui/main_dlg.h"
#include "ui/settings_dlg.h"
#include "ui/treemap_dlg.h"

#include <shlobj.h>

namespace {

std::string WithBackslash(std::string path) {
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += '\\';
    }
    return path;
}

// Opens the folder choice on the root offered; a typed path that names no folder keeps
// the choice open, so that the user can mend it.
int CALLBACK OnBrowseEvent(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data != 0) {
        ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    }
    return message == BFFM_VALIDATEFAILEDA || message == BFFM_VALIDATEFAILEDW ? 1 : 0;
}

// The folder choice with a field for a typed or pasted path needs COM in this thread's
// apartment, as the shell says; ole32 comes from the system directory as shell32 does.
class OleScope {
public:
    OleScope() {
        using InitFunction = HRESULT(WINAPI*)(LPVOID);
        static const HMODULE ole = framework::LoadSystemLibrary("ole32.dll");
        const auto init = framework::SystemFunction<InitFunction>(ole, "OleInitialize");
        m_uninit = framework::SystemFunction<UninitFunction>(ole, "OleUninitialize");
        m_bInitialized = init != nullptr && SUCCEEDED(init(nullptr));
    }
    ~OleScope() {
        if (m_bInitialized && m_uninit != nullptr) {
            m_uninit();
        }
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

private:
    using UninitFunction = void(WINAPI*)();
    UninitFunction m_uninit = nullptr;
    bool m_bInitialized = false;
};

bool BrowseForRoot(HWND owner, std::string& root) {
    using BrowseFunction = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOA);
    using PathFunction = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
    using FreeFunction = void(WINAPI*)(LPITEMIDLIST);
    static const HMODULE shell = framework::LoadSystemLibrary("shell32.dll");
    const auto browse = framework::SystemFunction<BrowseFunction>(shell, "SHBrowseForFolderA");
    const auto pathOf = framework::SystemFunction<PathFunction>(shell, "SHGetPathFromIDListA");
    const auto release = framework::SystemFunction<FreeFunction>(shell, "ILFree");
    if (browse == nullptr || pathOf == nullptr) {
        return false;
    }
    const std::string title = LoadResourceString(IDS_ALLUSERS_ROOT_TITLE);
    std::string offered = root;
    while (offered.size() > 3 && (offered.back() == '\\' || offered.back() == '/')) {
        offered.pop_back(); // the choice finds "C:\MAIL", not "C:\MAIL\"
    }
    const OleScope ole;
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_VALIDATE;
    info.lpfn = &OnBrowseEvent;
    info.lParam = offered.empty() ? 0 : reinterpret_cast<LPARAM>(offered.c_str());
    LPITEMIDLIST chosen = browse(&info);
    if (chosen == nullptr) {
        return false;
    }
    char path[MAX_PATH] = {};
    const bool named = pathOf(chosen, path) != FALSE && path[0] != '\0';
    if (release != nullptr) {
        release(chosen);
    }
    if (named) {
        root = path;
    }
    return named;
}

} // namespace

void CMainDlg::OnAllUsers(bool choose) {
    std::string root = choose ? std::string() : InstallationRootOf(WithBackslash(GetMailboxPath()));
    bool ask = root.empty();
    if (ask) {
        root = m_strAllUsersRoot;
    }
    for (;;) {
        if (ask) {
            const bool chosen =
                m_rootPrompt ? m_rootPrompt(m_hWnd, root) : BrowseForRoot(m_hWnd, root);
            if (!chosen || root.empty()) {
                return;
            }
            root = WithBackslash(root);
            m_strAllUsersRoot = root; // kept even without a list: the next choice starts there
        }
        if (!UserListPath(root).empty()) {
            break;
        }
        // A folder without the list is most often one level off: the choice opens again
        // on it.
        m_app.Error(IDS_ERROR_012, root.c_str());
        ask = true;
    }
    CAllUsersDlg dialog(m_hWnd, m_app, root, m_settings.m_bCompactFileSizes);
    dialog.SetExportPrompt(m_exportPrompt);
    dialog.SetExportFolder(m_strExportFolder);
    m_app.RunModal(dialog);
    m_strExportFolder = dialog.GetExportFolder();
}

void CMainDlg::OnSettings() {
    CSettingsDlg dialog(m_hWnd, &m_app);
    dialog.m_settings = m_settings;
    if (m_app.RunModal(dialog) != IDOK) {
        return;
    }
    m_settings = dialog.m_settings;
    // A store that cannot be written keeps the old values; the new ones apply anyway.
    static_cast<void>(SaveState());
    ApplyAutoRefresh();
    // New directories or switches: what runs now reads what is no longer asked for.
    Restart();
}

void CMainDlg::OnFolderTree() {
    // The tree window shows this window's scans; its own F5 reads what a refresh here
    // would read.
    CFolderTreeDlg dialog(m_hWnd, m_app, MakeScanRequest(), m_settings.m_bCompactFileSizes,
                          GetResult());
    dialog.SetChangeSource([this](const ScanResult& result) { return ChangesOf(result); });
    dialog.SetChangeDay([this] { return history::ChangeReferenceText(m_changeReference); });
    m_pTreeDlg = &dialog;
    m_app.RunModal(dialog);
    m_pTreeDlg = nullptr;
}

void CMainDlg::OnTreemap() {
    // As the tree window: it shows this window's scans while it is open.
    CTreemapDlg dialog(m_hWnd, m_app, m_settings.m_bCompactFileSizes, GetResult());
    dialog.SetFilter(GetFilter());
    m_pTreemapDlg = &dialog;
    m_app.RunModal(dialog);
    m_pTreemapDlg = nullptr;
}

void CMainDlg::OnAbout() {
    CAboutDlg dialog(m_hWnd, &m_app);
    dialog.m_strMailboxDir = GetMailboxPath();
    dialog.m_strNewmailDir = GetNewmailPath();
    m_app.RunModal(dialog);
}
