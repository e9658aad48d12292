// Where CMainDlg's export never writes: the directories the program reads from or lives
// in, and any mailbox of an installation it knows.
#include "mailbox/installation.h"
#include "ui/main_dlg.h"

std::vector<std::string> CMainDlg::ExportRefusedFolders() const {
    // The installation chosen for the overview counts only while it is one: the choice
    // is kept even for a folder without a list.
    std::vector<std::string> installations;
    if (!m_strAllUsersRoot.empty() && !UserListPath(m_strAllUsersRoot).empty()) {
        installations.push_back(m_strAllUsersRoot);
    }
    return ExportProtectedFolders(m_app.GetModulePath(), {GetMailboxPath(), GetNewmailPath()},
                                  installations);
}
