// CAppDlg: icon, accelerators and the keys of the menus.
#include "ui/app_dlg.h"

#include "framework/win_app.h"

CAppDlg::CAppDlg(UINT iconId, UINT acceleratorId, UINT templateId, HWND parent)
    : CResizableDlg(templateId, parent) {
    if (iconId != 0) {
        SetDialogIcon(iconId);
    }
    if (acceleratorId != 0) {
        SetAccelerators(acceleratorId);
    }
}

bool CAppDlg::SetDialogIcon(UINT iconId) {
    m_hIcon = ::LoadIconA(GetResourceInstance(), MAKEINTRESOURCEA(iconId));
    if (m_hIcon != nullptr && m_bInitialised && m_hWnd != nullptr) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    }
    return m_hIcon != nullptr;
}

bool CAppDlg::SetAccelerators(UINT acceleratorId) {
    m_hAccelerators = ::LoadAcceleratorsA(GetResourceInstance(), MAKEINTRESOURCEA(acceleratorId));
    return m_hAccelerators != nullptr;
}

BOOL CAppDlg::OnInitDialog() {
    CResizableDlg::OnInitDialog();
    m_bInitialised = true;
    if (m_hIcon != nullptr) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    }
    return TRUE;
}

BOOL CAppDlg::PreTranslateMessage(MSG* pMsg) {
    if (!IsOwnMessage(pMsg)) {
        return CResizableDlg::PreTranslateMessage(pMsg);
    }
    view::KeyEvent event = {};
    if (FilterMenuKeys(*pMsg, event)) {
        return TRUE;
    }
    if (m_hAccelerators != nullptr && ::TranslateAcceleratorA(m_hWnd, m_hAccelerators, pMsg)) {
        m_menuKeys.TakenByAccelerator(event);
        return TRUE;
    }
    return CResizableDlg::PreTranslateMessage(pMsg);
}

bool CAppDlg::FilterMenuKeys(const MSG& msg, view::KeyEvent& event) {
    const UINT m = msg.message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_KEYUP && m != WM_SYSKEYUP) {
        return false;
    }
    event.down = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
    event.key = static_cast<uint32_t>(msg.wParam);
    event.shift = ::GetKeyState(VK_SHIFT) < 0;
    event.alt = (HIWORD(msg.lParam) & KF_ALTDOWN) != 0;
    switch (m_menuKeys.Filter(event)) {
    case view::KeyAction::kSwallow:
        return true;
    case view::KeyAction::kContextMenu:
        // As the system asks for it: the control answers or hands it to its parent.
        ::SendMessageA(msg.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg.hwnd),
                       static_cast<LPARAM>(-1));
        return true;
    default:
        return false;
    }
}
