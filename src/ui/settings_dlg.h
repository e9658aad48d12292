// CSettingsDlg: the settings dialog on template 103. It edits a working copy of the
// program settings that its creator hands in and takes back after OK: automatic
// refresh and its interval, where the mailbox and new-mail directories come from, and
// the folder paths with their warning. It keeps the controls in line with the copy
// while the user works and checks the copy on OK; it writes nothing to storage.
#pragma once

#include "framework/controls.h"
#include "settings/program_settings.h"
#include "ui/app_dlg.h"

#include <cstdint>
#include <string>

class AppServices;

class CSettingsDlg : public CAppDlg {
public:
    static constexpr const char kHelpTopic[] = "::/pages/ref_dlg_einst.htm";
    static constexpr int kRateDigits = 3;
    static constexpr int kDirectoryChars = 260;

    // `app` shows the dialog's messages and help; null means the running application.
    explicit CSettingsDlg(HWND parent, AppServices* app = nullptr);

    // The working copy: filled by the creator before the run, read by it after IDOK.
    // CompactFileSizes and ShowNewMailFolder pass through untouched.
    ProgramSettings m_settings;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;

private:
    // The three rules that bring a group of controls in line with the working copy.
    void UpdateAutoRefreshGroup();
    void UpdatePathGroup();
    void UpdateFolderPathGroup();

    void OnAutoRefreshClicked();
    void OnPathsFromRegistry();
    void OnPathsExplicit();
    void TakeTypedDirectories();

    // Takes the edit's text into `target` when it is an acceptable directory; otherwise
    // shows message `errorId`, selects the edit's text and focuses it.
    bool ValidatePathEdit(CEdit& edit, std::string& target, uint32_t errorId);
    void ShowError(uint32_t errorId);
    static void SelectAndFocus(const CEdit& edit);

    AppServices* m_pApp;
    CButton m_autoRefresh;
    CStatic m_refreshLabel;
    CEdit m_refreshRate;
    CStatic m_refreshUnit;
    CStatic m_mailboxLabel;
    CEdit m_mailboxPath;
    CStatic m_newmailLabel;
    CEdit m_newmailPath;
    CButton m_showFolderPath;
    CButton m_warnFolderPath;
    int m_nRadioIndex = -1; // 0: from the registry (1012), 1: explicit (1013), -1: none
};
