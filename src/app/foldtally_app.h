// CFoldtallyApp: this program's application object. Start-up derives the help and INI
// file names from the program's own path, reads the mail client's mailbox and new-mail
// directories from its registry keys, keeps the settings in the registry and runs the
// main dialog; it also opens the help file at a topic.
#pragma once

#include "app/app_base.h"

#include <functional>
#include <memory>

class CFoldtallyApp : public CAppBase {
public:
    // The help viewer's call (HtmlHelpA's signature); a window on success, null on failure.
    using HelpViewer =
        std::function<HWND(HWND owner, const char* path, UINT command, DWORD_PTR data)>;
    // Makes the main dialog; the program's entry sets it, tests set their own.
    using MainDialogFactory = std::function<std::unique_ptr<CDialog>(CFoldtallyApp& app)>;

    CFoldtallyApp();

    // The start-up sequence; always returns FALSE, so the program ends afterwards.
    BOOL InitInstance() override;
    bool SetStrings() override;

    // Opens the help file, at `topic` ("::/pages/...") when one is given; error 001 in
    // the platform's message box when the viewer opens no window.
    void ShowHelp(const char* topic = nullptr) override;
    // The default value of HKEY_CURRENT_USER\Software\Pegasus Mail\<keyName> when it is a
    // REG_SZ; otherwise "" and, for a warning id other than 0, that warning.
    std::string ReadMailClientDirectory(const char* keyName, uint32_t warningId);
    // The message boxes' help callback: code 5 opens the message's topic.
    static int OnMessageHelp(uint32_t code, uint32_t messageId, void* context, CMessageDlg* dialog);

    void SetHelpViewer(HelpViewer viewer) { m_helpViewer = std::move(viewer); }
    void SetMainDialogFactory(MainDialogFactory factory) {
        m_mainDialogFactory = std::move(factory);
    }

    const std::string& GetMailboxPath() const override { return m_strMailboxPath; }
    const std::string& GetNewmailPath() const override { return m_strNewmailPath; }

    static CFoldtallyApp* Current() { return static_cast<CFoldtallyApp*>(CWinApp::Current()); }

private:
    std::string m_strMailboxPath;
    std::string m_strNewmailPath;
    HelpViewer m_helpViewer;
    MainDialogFactory m_mainDialogFactory;
};
