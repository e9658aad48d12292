// CAppDlg: icon and accelerators.
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
    if (m_hAccelerators != nullptr && IsOwnMessage(pMsg) &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccelerators, pMsg)) {
        return TRUE;
    }
    return CResizableDlg::PreTranslateMessage(pMsg);
}
