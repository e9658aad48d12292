// CSettingsDlg: the group rules, the click handlers and the checks on OK. What counts
// as a directory or a number of seconds is decided by the portable core.
#include "ui/settings_dlg.h"

#include "framework/app_services.h"
#include "framework/win_app.h"
#include "resource.h"
#include "view/settings_rules.h"

CSettingsDlg::CSettingsDlg(HWND parent, AppServices* app)
    : CAppDlg(0, IDR_SETTINGSACCEL, IDD_SETTINGS, parent),
      m_pApp(app != nullptr ? app : dynamic_cast<AppServices*>(CWinApp::Current())) {}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_AUTOREFRESH, m_autoRefresh);
    DDX_Control(pDX, IDC_REFRESH_LABEL, m_refreshLabel);
    DDX_Control(pDX, IDC_REFRESH_RATE, m_refreshRate);
    DDX_Control(pDX, IDC_REFRESH_UNIT, m_refreshUnit);
    DDX_Control(pDX, IDC_MAILBOX_LABEL, m_mailboxLabel);
    DDX_Control(pDX, IDC_MAILBOX_PATH, m_mailboxPath);
    DDX_Control(pDX, IDC_NEWMAIL_LABEL, m_newmailLabel);
    DDX_Control(pDX, IDC_NEWMAIL_PATH, m_newmailPath);
    DDX_Control(pDX, IDC_SHOW_FOLDERPATH, m_showFolderPath);
    DDX_Control(pDX, IDC_WARN_FOLDERPATH, m_warnFolderPath);
    DDX_Radio(pDX, IDC_PATH_REGISTRY, m_nRadioIndex);
}

BOOL CSettingsDlg::OnInitDialog() {
    CAppDlg::OnInitDialog();
    m_refreshRate.LimitText(kRateDigits);
    m_mailboxPath.LimitText(kDirectoryChars);
    m_newmailPath.LimitText(kDirectoryChars);
    UpdateAutoRefreshGroup();
    UpdatePathGroup();
    UpdateFolderPathGroup();
    m_autoRefresh.SetFocus();
    return FALSE; // the focus is set
}

bool CSettingsDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (code == BN_CLICKED) {
        switch (id) {
        case IDC_AUTOREFRESH:
            OnAutoRefreshClicked();
            return true;
        case IDC_PATH_REGISTRY:
            OnPathsFromRegistry();
            return true;
        case IDC_PATH_MANUAL:
            OnPathsExplicit();
            return true;
        case IDC_SHOW_FOLDERPATH:
            m_settings.m_bShowFolderPath = m_showFolderPath.GetCheck() == BST_CHECKED;
            UpdateFolderPathGroup();
            return true;
        case IDC_WARN_FOLDERPATH:
            m_settings.m_bWarnFolderPath = m_warnFolderPath.GetCheck() == BST_CHECKED;
            return true;
        default:
            break;
        }
    }
    if (id == ID_HELP_BUTTON) {
        if (m_pApp != nullptr) {
            m_pApp->ShowHelp(kHelpTopic);
        }
        return true;
    }
    return CAppDlg::OnCommand(id, code, control);
}

void CSettingsDlg::UpdateAutoRefreshGroup() {
    const bool on = m_settings.m_bAutoRefresh;
    m_autoRefresh.SetCheck(on ? BST_CHECKED : BST_UNCHECKED);
    m_refreshRate.SetWindowText(on ? std::to_string(m_settings.m_nAutoRefreshRate) : "");
    m_refreshLabel.EnableWindow(on);
    m_refreshRate.EnableWindow(on);
    m_refreshUnit.EnableWindow(on);
}

void CSettingsDlg::UpdatePathGroup() {
    const bool manual = m_settings.m_bMailboxPathManual;
    m_nRadioIndex = manual ? 1 : 0;
    m_mailboxPath.SetWindowText(manual ? m_settings.m_strMailboxPath : "");
    m_newmailPath.SetWindowText(manual ? m_settings.m_strNewmailPath : "");
    UpdateData(FALSE);
    m_mailboxLabel.EnableWindow(manual);
    m_mailboxPath.EnableWindow(manual);
    m_newmailLabel.EnableWindow(manual);
    m_newmailPath.EnableWindow(manual);
}

void CSettingsDlg::UpdateFolderPathGroup() {
    const bool show = m_settings.m_bShowFolderPath;
    m_showFolderPath.SetCheck(show ? BST_CHECKED : BST_UNCHECKED);
    // Unchecked while folder paths are off, without forgetting the user's choice.
    m_warnFolderPath.SetCheck(show && m_settings.m_bWarnFolderPath ? BST_CHECKED : BST_UNCHECKED);
    m_warnFolderPath.EnableWindow(show);
}

void CSettingsDlg::OnAutoRefreshClicked() {
    m_settings.m_bAutoRefresh = m_autoRefresh.GetCheck() == BST_CHECKED;
    if (!m_settings.m_bAutoRefresh) {
        // The seconds typed so far come back when the box is checked again.
        m_settings.m_nAutoRefreshRate = view::RefreshRateToRemember(m_refreshRate.GetWindowText());
    }
    UpdateAutoRefreshGroup();
    if (m_settings.m_bAutoRefresh) {
        SelectAndFocus(m_refreshRate);
    }
}

void CSettingsDlg::TakeTypedDirectories() {
    // Only while the explicit choice is active do the edits hold the directories; in
    // the registry choice they are empty and must not overwrite the remembered ones.
    if (m_settings.m_bMailboxPathManual) {
        m_settings.m_strMailboxPath = m_mailboxPath.GetWindowText();
        m_settings.m_strNewmailPath = m_newmailPath.GetWindowText();
    }
}

void CSettingsDlg::OnPathsFromRegistry() {
    // The typed directories stay in the copy for a later switch back (and are saved).
    TakeTypedDirectories();
    m_settings.m_bMailboxPathManual = false;
    UpdatePathGroup();
}

void CSettingsDlg::OnPathsExplicit() {
    // A click on the choice that is already active keeps what was typed.
    TakeTypedDirectories();
    m_settings.m_bMailboxPathManual = true;
    UpdatePathGroup();
    SelectAndFocus(m_mailboxPath);
}

void CSettingsDlg::OnOK() {
    UpdateData(TRUE);
    if (m_settings.m_bAutoRefresh &&
        !view::AcceptRefreshRate(m_refreshRate.GetWindowText(), m_settings.m_nAutoRefreshRate)) {
        ShowError(IDS_ERROR_004);
        SelectAndFocus(m_refreshRate);
        return;
    }
    m_settings.m_bMailboxPathManual = m_nRadioIndex == 1;
    if (m_settings.m_bMailboxPathManual &&
        (!ValidatePathEdit(m_mailboxPath, m_settings.m_strMailboxPath, IDS_ERROR_005) ||
         !ValidatePathEdit(m_newmailPath, m_settings.m_strNewmailPath, IDS_ERROR_006))) {
        return;
    }
    CAppDlg::OnOK();
}

bool CSettingsDlg::ValidatePathEdit(CEdit& edit, std::string& target, uint32_t errorId) {
    if (view::AcceptDirectory(edit.GetWindowText(), target)) {
        return true;
    }
    ShowError(errorId);
    SelectAndFocus(edit);
    return false;
}

void CSettingsDlg::ShowError(uint32_t errorId) {
    if (m_pApp != nullptr) {
        m_pApp->Error(errorId);
    }
}

void CSettingsDlg::SelectAndFocus(const CEdit& edit) {
    edit.SetSel(0, -1);
    edit.ScrollCaret();
    edit.SetFocus();
}
