// CLimitWarningDlg: the text fitted to its lines, the check box read on every way out,
// and the help of the warning.
#include "ui/limit_warning_dlg.h"

#include "diag/messages.h"
#include "framework/app_services.h"
#include "resource.h"

CLimitWarningDlg::CLimitWarningDlg(HWND parent, AppServices& app, std::string text,
                                   uint32_t messageId)
    : CDialog(IDD_LIMIT_WARNING, parent), m_app(app), m_strText(std::move(text)),
      m_nMessageId(messageId) {}

CLimitWarningDlg::~CLimitWarningDlg() = default;

void CLimitWarningDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_LIMIT_ICON, m_icon);
    DDX_Control(pDX, IDC_LIMIT_TEXT, m_text);
    DDX_Control(pDX, IDC_LIMIT_SILENCE, m_silence);
}

BOOL CLimitWarningDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_icon.SetIcon(::LoadIconA(nullptr, IDI_EXCLAMATION));
    m_text.SetWindowText(m_strText);
    FitText();
    ::MessageBeep(MB_ICONEXCLAMATION);
    ::SetFocus(GetDlgItem(IDOK));
    return FALSE; // the focus is set
}

void CLimitWarningDlg::FitText() {
    RECT text = m_text.GetWindowRect();
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&text), 2);
    RECT needed = {0, 0, text.right - text.left, 0};
    const HDC dc = ::GetDC(m_text.GetSafeHwnd());
    const HGDIOBJ previous = ::SelectObject(dc, m_text.GetFont());
    ::DrawTextA(dc, m_strText.c_str(), -1, &needed,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    ::SelectObject(dc, previous);
    ::ReleaseDC(m_text.GetSafeHwnd(), dc);
    const int shift = (needed.bottom - needed.top) - (text.bottom - text.top);
    m_text.MoveWindow(text.left, text.top, text.right - text.left, needed.bottom - needed.top);
    for (const int id : {IDC_LIMIT_SILENCE, IDOK, ID_HELP_BUTTON}) {
        const HWND control = GetDlgItem(id);
        RECT r;
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        ::MoveWindow(control, r.left, r.top + shift, r.right - r.left, r.bottom - r.top, TRUE);
    }
    const RECT box = GetWindowRect();
    MoveWindow(box.left, box.top, box.right - box.left, box.bottom - box.top + shift);
    CenterWindow(GetParentHwnd());
}

void CLimitWarningDlg::ShowHelp() {
    const char* topic = HelpTopicForMessage(m_nMessageId);
    m_app.ShowHelp(*topic != '\0' ? topic : nullptr);
}

BOOL CLimitWarningDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 && IsOwnMessage(pMsg)) {
        ShowHelp();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

bool CLimitWarningDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == ID_HELP_BUTTON) {
        ShowHelp();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CLimitWarningDlg::OnOK() {
    // Escape and the close box end it as OK does: the tick is the user's either way.
    m_bSilenced = m_silence.GetCheck() == BST_CHECKED;
    EndDialog(IDOK);
}
