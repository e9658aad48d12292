// CFoldtallyApp: start-up, the mail client's directories and help.
#include "app/foldtally_app.h"

#include "app/html_help.h"
#include "diag/messages.h"
#include "diag/path_parts.h"
#include "diag/trace.h"
#include "resource.h"
#include "settings/registry_key_win32.h"

#include <htmlhelp.h>

namespace {

std::string WithFinalBackslash(std::string directory) {
    if (!directory.empty() && directory.back() != '\\') {
        directory += '\\';
    }
    return directory;
}

} // namespace

CFoldtallyApp::CFoldtallyApp() = default;

BOOL CFoldtallyApp::InitInstance() {
    SetHelpCallback(OnMessageHelp, this);
    if (!CAppBase::InitInstance()) {
        return FALSE;
    }
    CreateRegistryStore();
    std::unique_ptr<CDialog> mainDialog =
        m_mainDialogFactory ? m_mainDialogFactory(*this) : nullptr;
    if (mainDialog) {
        m_pMainWnd = mainDialog.get();
        RunModal(*mainDialog);
        m_pMainWnd = nullptr;
    }
    return FALSE;
}

bool CFoldtallyApp::SetStrings() {
    if (!CAppBase::SetStrings()) {
        return false;
    }
    PathParts parts(m_strModulePath);
    parts.SetExtension(".chm");
    m_strHelpFilePath = parts.GetFullPath();
    m_strRegistryKey = "Morvapps\\Foldtally";

    m_strMailboxPath = WithFinalBackslash(ReadMailClientDirectory("Mailbox", IDS_WARNING_501));
    Trace("[Foldtally.CFoldtallyApp.SetStrings] Mailbox-Path = \"%s\"\n", m_strMailboxPath.c_str());
    m_strNewmailPath = WithFinalBackslash(ReadMailClientDirectory("Newmail", IDS_WARNING_503));
    Trace("[Foldtally.CFoldtallyApp.SetStrings] Newmail-Path = \"%s\"\n", m_strNewmailPath.c_str());
    return true;
}

std::string CFoldtallyApp::ReadMailClientDirectory(const char* keyName, uint32_t warningId) {
    std::string directory;
    bool read = false;
    {
        RegistryKey key;
        if (key.Open(HKEY_CURRENT_USER, std::string("Software\\Pegasus Mail\\") + keyName,
                     KEY_READ) == ERROR_SUCCESS) {
            read = key.QueryString("", directory) == ERROR_SUCCESS;
        }
    }
    if (!read) {
        directory.clear();
        if (warningId != 0) {
            Warning(warningId);
        }
    }
    return directory;
}

void CFoldtallyApp::ShowHelp(const char* topic) {
    std::string path = m_strHelpFilePath;
    if (topic != nullptr) {
        path += topic;
    }
    HWND owner = m_pModalDlg != nullptr ? m_pModalDlg->GetSafeHwnd() : nullptr;
    HWND viewer = m_helpViewer ? m_helpViewer(owner, path.c_str(), HH_DISPLAY_TOPIC, 0)
                               : CallHtmlHelp(owner, path.c_str(), HH_DISPLAY_TOPIC, 0);
    if (viewer == nullptr) {
        ::MessageBoxA(owner, LoadResourceString(IDS_ERROR_001).c_str(), GetTitle().c_str(),
                      MB_ICONSTOP | MB_OK);
    }
}

int CFoldtallyApp::OnMessageHelp(uint32_t code, uint32_t messageId, void* context,
                                 CMessageDlg* /*dialog*/) {
    if (code != CMessageDlg::kCodeHelp || context == nullptr) {
        return 0;
    }
    const char* topic = HelpTopicForMessage(messageId);
    static_cast<CFoldtallyApp*>(context)->ShowHelp(*topic != '\0' ? topic : nullptr);
    return 0;
}
