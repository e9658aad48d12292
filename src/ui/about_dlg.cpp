// CAboutDlg: the five texts of the About box, filled when it opens, and its help key.
#include "ui/about_dlg.h"

#include "framework/app_services.h"
#include "framework/win_app.h"
#include "resource.h"
#include "ui/version_info.h"
#include "view/version_text.h"

CAboutDlg::CAboutDlg(HWND parent, AppServices* app)
    : CDialog(IDD_ABOUTBOX, parent),
      m_pApp(app != nullptr ? app : dynamic_cast<AppServices*>(CWinApp::Current())) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_ABOUT_NEWMAIL, m_newmailDir);
    DDX_Control(pDX, IDC_ABOUT_VERSION, m_version);
    DDX_Control(pDX, IDC_ABOUT_DESCRIPTION, m_description);
    DDX_Control(pDX, IDC_ABOUT_MAILBOX, m_mailboxDir);
    DDX_Control(pDX, IDC_ABOUT_COPYRIGHT, m_copyright);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CVersionInfo info;
    // Without a version resource the strings read empty and the line " ()".
    static_cast<void>(
        info.LoadFile(m_pApp != nullptr ? m_pApp->GetModulePath() : std::string(), 0));
    m_description.SetWindowText(info.QueryString("FileDescription"));
    m_version.SetWindowText(
        view::FormatVersionLine(info.GetVersionText(), info.QueryString("ProductName")));
    m_copyright.SetWindowText(info.QueryString("LegalCopyright"));
    m_mailboxDir.SetWindowText(m_strMailboxDir);
    m_newmailDir.SetWindowText(m_strNewmailDir);
    info.Free();
    return TRUE;
}

BOOL CAboutDlg::PreTranslateMessage(MSG* pMsg) {
    // The box has no help button, so no command F1 could stand for: the key itself.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 && IsOwnMessage(pMsg)) {
        if (m_pApp != nullptr) {
            m_pApp->ShowHelp(kHelpTopic);
        }
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}
