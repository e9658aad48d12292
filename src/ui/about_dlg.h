// CAboutDlg: the About box ("Info") on template 101. It tells which program and version
// is running, read from the version resource of the program's own file, and which
// mailbox and new-mail directories the program works on, which its creator sets. F1
// opens its help page.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"

#include <string>

class AppServices;

class CAboutDlg : public CDialog {
public:
    static constexpr const char kHelpTopic[] = "::/pages/ref_dlg_info.htm";

    // `app` gives the program's own file (its module path); null means the running
    // application.
    explicit CAboutDlg(HWND parent, AppServices* app = nullptr);
    ~CAboutDlg() override;

    std::string m_strMailboxDir;
    std::string m_strNewmailDir;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

private:
    AppServices* m_pApp;
    CStatic m_newmailDir;
    CStatic m_version;
    CStatic m_description;
    CStatic m_mailboxDir;
    CStatic m_copyright;
};
