// CLimitWarningDlg: the one box of a run that warns of folder files over the mail
// client's limit (template 106). Besides the text of warning 504 or 507 it offers the
// check box that silences these files, so that a user who knows of them is not told at
// every start. F1 and "&Hilfe" open the help topic of the warning shown.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"

#include <cstdint>
#include <string>

class AppServices;

class CLimitWarningDlg : public CDialog {
public:
    // `messageId` is the string id of the warning `text` is made from, for its help.
    CLimitWarningDlg(HWND parent, AppServices& app, std::string text, uint32_t messageId);
    ~CLimitWarningDlg() override;

    // After the box: whether the check box was ticked when it closed.
    bool IsSilenced() const { return m_bSilenced; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;
    void OnCancel() override { OnOK(); }

private:
    // The text takes the height it needs at the template's width; what lies below it
    // moves with its lower edge.
    void FitText();
    void ShowHelp();

    AppServices& m_app;
    std::string m_strText;
    uint32_t m_nMessageId;
    bool m_bSilenced = false;
    CStatic m_icon;
    CStatic m_text;
    CButton m_silence;
};
