// CFoldtallyApp: this program's application object. Start-up derives the help and INI
// file names from the program's own path, reads the mail client's mailbox and new-mail
// directories from its registry keys, keeps the settings in the registry (or, for a
// portable copy, in the INI file beside the program) and runs the
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
    // Hands a file of the help's HTML form to the host's browser; true when one started.
    using BrowserHandOff = std::function<bool(const std::string& path)>;
    // Makes the main dialog; the program's entry sets it, tests set their own.
    using MainDialogFactory = std::function<std::unique_ptr<CDialog>(CFoldtallyApp& app)>;

    CFoldtallyApp();

    // The start-up sequence; always returns FALSE, so the program ends afterwards.
    BOOL InitInstance() override;
    // The module's paths, the language (stored or the user's), then the mail client's
    // directories, whose warnings already speak that language.
    bool SetStrings() override;
    // Every text from here on in `language`: resources, sizes, the title, the help file.
    void UseLanguage(Language language);

    // Opens the help file, at `topic` ("::/pages/...") when one is given; error 001 in
    // the platform's message box when the viewer opens no window. Under Wine the page of
    // the help's HTML form goes to the host's browser instead; error 001 when the page
    // is missing or no browser starts.
    void ShowHelp(const char* topic = nullptr) override;
    // Closes the help viewer's windows and unloads it, once help was opened through it.
    void CloseHelp();
    // The default value of HKEY_CURRENT_USER\Software\Pegasus Mail\<keyName> when it is a
    // REG_SZ; otherwise "" and, for a warning id other than 0, that warning.
    std::string ReadMailClientDirectory(const char* keyName, uint32_t warningId);
    // The message boxes' help callback: code 5 opens the message's topic.
    static int OnMessageHelp(uint32_t code, uint32_t messageId, void* context, CMessageDlg* dialog);

    void SetHelpViewer(HelpViewer viewer) { m_helpViewer = std::move(viewer); }
    void SetBrowserHandOff(BrowserHandOff handOff) { m_browserHandOff = std::move(handOff); }
    // Which way ShowHelp goes: true (the start's choice under Wine) to the host's
    // browser, false to the help viewer.
    void SetHelpInBrowser(bool inBrowser) { m_bHelpInBrowser = inBrowser; }
    bool IsHelpInBrowser() const { return m_bHelpInBrowser; }
    void SetMainDialogFactory(MainDialogFactory factory) {
        m_mainDialogFactory = std::move(factory);
    }

    const std::string& GetMailboxPath() const override { return m_strMailboxPath; }
    const std::string& GetNewmailPath() const override { return m_strNewmailPath; }
    // The folder of the help's HTML form beside the program ("...\\foldtally-hilfe\\").
    std::string GetHelpFolder() const override { return m_strHelpPagesPath; }

    static CFoldtallyApp* Current() { return static_cast<CFoldtallyApp*>(CWinApp::Current()); }

protected:
    std::string m_strHelpPagesPath;
    std::string m_strGermanHelpPagesPath; // where English pages are shown: the German ones

private:
    void ShowHelpInViewer(const char* topic, HWND owner);
    void ShowHelpInBrowser(const char* topic, HWND owner);
    void ShowError001(HWND owner);

    std::string m_strMailboxPath;
    std::string m_strNewmailPath;
    bool m_bHelpInBrowser;
    bool m_bViewerUsed = false;
    HelpViewer m_helpViewer;
    BrowserHandOff m_browserHandOff;
    MainDialogFactory m_mainDialogFactory;
};
