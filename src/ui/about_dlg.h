// CAboutDlg: the About box on template 101, showing the mailbox and new-mail
// directories that the main window scans. The version lines of the template are not
// filled in yet; the full About box replaces this class.
#pragma once

#include "framework/dialog.h"

#include <string>

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HWND parent);

    std::string m_strMailboxDir;
    std::string m_strNewmailDir;

protected:
    BOOL OnInitDialog() override;
};
