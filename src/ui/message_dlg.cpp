// CMessageDlg: the in-memory template, the controls at fixed dialog-unit rectangles,
// the beep, and the help callback.
#include "ui/message_dlg.h"

#include "framework/win_app.h"
#include "resource.h"

#include <new>

#ifndef WM_KEYF1
#define WM_KEYF1 0x004D
#endif

namespace {

// WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME: no DS_SETFONT, so
// the box uses the system dialog font.
const DWORD kTemplateStyle = 0x90C80080;
const SIZE_T kTemplateBytes = 32;

struct IconKind {
    LPCSTR icon;
    UINT beepType;
};

bool LookUpIcon(int kind, IconKind& out) {
    switch (kind) {
    case kIconError:
        out = {IDI_HAND, MB_ICONHAND};
        return true;
    case kIconWarning:
        out = {IDI_EXCLAMATION, MB_ICONEXCLAMATION};
        return true;
    case kIconInformation:
        out = {IDI_ASTERISK, MB_ICONASTERISK};
        return true;
    default:
        return false;
    }
}

} // namespace

CMessageDlg::CMessageDlg(HWND parent, const char* messageText, const char* captionText,
                         int iconKind)
    : CDialog(parent), text(messageText != nullptr ? messageText : "") {
    if (captionText != nullptr) {
        caption = captionText;
    }
    IconKind kind;
    if (LookUpIcon(iconKind, kind)) {
        icon = ::LoadIconA(nullptr, kind.icon);
        beep = true;
        beepType = kind.beepType;
    }
    // Zero-filled: menu, class and title are empty, the position is 0,0, no controls.
    templateMemory = ::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, kTemplateBytes);
    if (templateMemory == nullptr) {
        throw std::bad_alloc();
    }
    DLGTEMPLATE* dialogTemplate = static_cast<DLGTEMPLATE*>(templateMemory);
    dialogTemplate->style = kTemplateStyle;
    dialogTemplate->cx = 260;
    dialogTemplate->cy = 70;
    InitModalIndirect(dialogTemplate, parent);
}

CMessageDlg::~CMessageDlg() {
    if (templateMemory != nullptr) {
        ::GlobalFree(templateMemory);
    }
}

HWND CMessageDlg::CreateChild(const char* className, const char* childText, DWORD style, int id,
                              int x, int y, int width, int height) {
    RECT r = {x, y, x + width, y + height};
    MapDialogRect(&r);
    return ::CreateWindowExA(
        0, className, childText, style, r.left, r.top, r.right - r.left, r.bottom - r.top, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(m_hWnd, GWLP_HINSTANCE)), nullptr);
}

BOOL CMessageDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(caption);
    CenterWindow(GetParentHwnd());

    const DWORD staticStyle = WS_CHILD | WS_VISIBLE;
    if (icon != nullptr) {
        m_iconStatic.Attach(
            CreateChild("STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, kTextId, 7, 7, 0, 0));
        m_textStatic.Attach(CreateChild("STATIC", "", staticStyle, kTextId, 35, 7, 218, 42));
        m_iconStatic.SetIcon(icon);
    } else {
        m_textStatic.Attach(CreateChild("STATIC", "", staticStyle, kTextId, 7, 7, 246, 42));
    }
    m_textStatic.SetWindowText(text);
    // From the string table, which the platform gives in the system's code page; a
    // literal would be Windows-1252 bytes whatever the system's code page is.
    m_closeButton.Attach(CreateChild("BUTTON", LoadResourceString(IDS_BUTTON_CLOSE).c_str(),
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                     kCloseId, 7, 49, 50, 14));
    if (helpCallback != nullptr) {
        m_helpButton.Attach(CreateChild("BUTTON", LoadResourceString(IDS_BUTTON_HELP).c_str(),
                                        WS_CHILD | WS_VISIBLE | WS_TABSTOP, kHelpId, 203, 49, 50,
                                        14));
    }

    const HFONT font = GetFont();
    for (const CWnd* control :
         {static_cast<const CWnd*>(&m_iconStatic), static_cast<const CWnd*>(&m_textStatic),
          static_cast<const CWnd*>(&m_closeButton), static_cast<const CWnd*>(&m_helpButton)}) {
        if (control->GetSafeHwnd() != nullptr) {
            control->SetFont(font, TRUE);
        }
    }
    if (beep) {
        ::MessageBeep(beepType);
    }
    m_closeButton.SetFocus();
    return FALSE;
}

void CMessageDlg::RequestHelp() {
    if (helpCallback != nullptr) {
        helpCallback(kCodeHelp, messageId, context, this);
    }
}

BOOL CMessageDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1 && IsOwnMessage(pMsg)) {
        RequestHelp();
        return TRUE;
    }
    if (pMsg->message == WM_KEYF1 && IsOwnMessage(pMsg)) {
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

bool CMessageDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id == static_cast<UINT>(kHelpId)) {
        RequestHelp();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

bool CMessageDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DESTROY && helpCallback != nullptr) {
        helpCallback(kCodeDestroyed, messageId, context, this);
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}
