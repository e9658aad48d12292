// CFoldtallyApp: start-up, the mail client's directories and help.
#include "app/foldtally_app.h"

#include "app/host_browser.h"
#include "app/html_help.h"
#include "app/legacy_settings.h"
#include "diag/help_pages.h"
#include "diag/messages.h"
#include "diag/path_parts.h"
#include "diag/trace.h"
#include "framework/system_library.h"
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

// The HTML form of the help beside the program: the module's base name and this; the
// English help's files are named the same way.
const char kHelpPagesSuffix[] = "-hilfe\\";
const char kEnglishHelpFileSuffix[] = "_en.chm";
const char kEnglishHelpPagesSuffix[] = "-help\\";

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

CFoldtallyApp::CFoldtallyApp() : m_bHelpInBrowser(framework::RunningUnderWine()) {}

BOOL CFoldtallyApp::InitInstance() {
    SetHelpCallback(OnMessageHelp, this);
    if (!CAppBase::InitInstance()) {
        return FALSE;
    }
    ChooseSettingsStore();
    // A portable run leaves the registry alone, the old key too: it goes with the first
    // run that keeps its settings there.
    if (GetSettingsStore() != nullptr && !IsSettingsPortable()) {
        static_cast<void>(MoveLegacySettings(*GetSettingsStore()));
    }
    std::unique_ptr<CDialog> mainDialog =
        m_mainDialogFactory ? m_mainDialogFactory(*this) : nullptr;
    if (mainDialog) {
        m_pMainWnd = mainDialog.get();
        RunModal(*mainDialog);
        m_pMainWnd = nullptr;
        CloseHelp();
    }
    return FALSE;
}

bool CFoldtallyApp::SetStrings() {
    if (!CAppBase::SetStrings()) {
        return false;
    }
    m_strRegistryKey = "Morvapps\\Foldtally";
    const LanguageChoice choice = StoredLanguageChoice();
    UseLanguage(ChosenLanguage(choice, ::GetUserDefaultUILanguage()));
    if (choice != LanguageChoice::Automatic) {
        // The platform's own texts (the buttons of its boxes, its file dialogs) follow a
        // language the user chose, where the platform has them.
        ::SetThreadUILanguage(ResourceLanguageId());
    }
    PathParts parts(m_strModulePath);
    parts.SetExtension("");
    const std::string base = parts.GetFullPath();
    m_strHelpFilePath = base + ".chm";
    m_strHelpPagesPath = base + kHelpPagesSuffix;
    // The English help where it was installed, else the German one: a page in the other
    // language is better than none.
    if (UserLanguage() == Language::English) {
        if (FileExists(base + kEnglishHelpFileSuffix)) {
            m_strHelpFilePath = base + kEnglishHelpFileSuffix;
        }
        if (FolderExists(base + kEnglishHelpPagesSuffix)) {
            m_strGermanHelpPagesPath = m_strHelpPagesPath;
            m_strHelpPagesPath = base + kEnglishHelpPagesSuffix;
        }
    }

    m_strMailboxPath = WithFinalBackslash(ReadMailClientDirectory("Mailbox", IDS_WARNING_501));
    Trace("[Foldtally.CFoldtallyApp.SetStrings] Mailbox-Path = \"%s\"\n", m_strMailboxPath.c_str());
    m_strNewmailPath = WithFinalBackslash(ReadMailClientDirectory("Newmail", IDS_WARNING_503));
    Trace("[Foldtally.CFoldtallyApp.SetStrings] Newmail-Path = \"%s\"\n", m_strNewmailPath.c_str());
    return true;
}

void CFoldtallyApp::UseLanguage(Language language) {
    SetUserLanguage(language);
    SetResourceLanguage(language);
    LoadTitle();
    m_strAppTitle = GetTitle();
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
    HWND owner = m_pModalDlg != nullptr ? m_pModalDlg->GetSafeHwnd() : nullptr;
    if (m_bHelpInBrowser) {
        ShowHelpInBrowser(topic, owner);
    } else {
        ShowHelpInViewer(topic, owner);
    }
}

void CFoldtallyApp::ShowHelpInViewer(const char* topic, HWND owner) {
    std::string path = m_strHelpFilePath;
    if (topic != nullptr) {
        path += topic;
    }
    m_bViewerUsed = true;
    HWND viewer = m_helpViewer ? m_helpViewer(owner, path.c_str(), HH_DISPLAY_TOPIC, 0)
                               : CallHtmlHelp(owner, path.c_str(), HH_DISPLAY_TOPIC, 0);
    if (viewer == nullptr) {
        ShowError001(owner);
    }
}

void CFoldtallyApp::ShowHelpInBrowser(const char* topic, HWND owner) {
    // Without the module path there is no folder to look in; a module path cut at its
    // buffer names a folder beside which the pages are not found: error 001 either way.
    std::string file =
        m_strHelpPagesPath.empty() ? std::string() : m_strHelpPagesPath + HelpFileForTopic(topic);
    // A page missing from the English pages opens in German, never as an error.
    if (!file.empty() && !FileExists(file) && !m_strGermanHelpPagesPath.empty()) {
        file = m_strGermanHelpPagesPath + HelpFileForTopic(topic);
    }
    const bool shown = !file.empty() && FileExists(file) &&
                       (m_browserHandOff ? m_browserHandOff(file) : OpenInHostBrowser(file));
    if (!shown) {
        ShowError001(owner);
    }
}

void CFoldtallyApp::ShowError001(HWND owner) {
    ::MessageBoxA(owner, LoadResourceString(IDS_ERROR_001).c_str(), GetTitle().c_str(),
                  MB_ICONSTOP | MB_OK);
}

void CFoldtallyApp::CloseHelp() {
    // The viewer's library asks for its windows to be closed before it is unloaded.
    if (!m_bViewerUsed) {
        return;
    }
    m_bViewerUsed = false;
    if (m_helpViewer) {
        m_helpViewer(nullptr, nullptr, HH_CLOSE_ALL, 0);
    } else {
        CloseHtmlHelp();
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
