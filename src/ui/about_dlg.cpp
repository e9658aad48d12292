// CAboutDlg: the two directories in their sunken fields.
#include "ui/about_dlg.h"

#include "resource.h"

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_MAILBOX, m_strMailboxDir.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_ABOUT_NEWMAIL, m_strNewmailDir.c_str());
    return TRUE;
}
