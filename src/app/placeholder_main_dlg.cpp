// The placeholder main window: frame, caption, layout, help and closing.
#include "app/placeholder_main_dlg.h"

#include "resource.h"

CPlaceholderMainDlg::CPlaceholderMainDlg(CFoldtallyApp& app)
    : CAppDlg(IDR_MAINFRAME, IDR_MAINACCEL, IDD_FOLDTALLY_DIALOG, nullptr), m_app(app) {}

void CPlaceholderMainDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_STATUS, m_status);
    DDX_Control(pDX, IDC_FOLDERLIST, m_list);
}

BOOL CPlaceholderMainDlg::OnInitDialog() {
    CAppDlg::OnInitDialog();
    SetWindowText(m_app.GetAppTitle());
    m_status.SetWindowText("");
    Relayout();
    return TRUE;
}

void CPlaceholderMainDlg::InitLayout() {
    CAppDlg::InitLayout();
    const RECT status = m_status.GetWindowRect();
    m_nStatusHeight = status.bottom - status.top;
}

void CPlaceholderMainDlg::LayoutControls(int cx, int cy) {
    CAppDlg::LayoutControls(cx, cy);
    if (m_list.GetSafeHwnd() == nullptr || m_status.GetSafeHwnd() == nullptr) {
        return;
    }
    const view::LayoutMetrics& m = GetMetrics();
    const int width = GetClientWidth() - 2 * m.marginX;
    const int height = GetClientHeight();
    m_list.MoveWindow(m.marginX, m.marginY, width,
                      height - m.spacingY - 2 * m.marginY - m_nStatusHeight);
    m_status.MoveWindow(m.marginX, height - m.marginY - m_nStatusHeight, width, m_nStatusHeight);
}

bool CPlaceholderMainDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case ID_APP_EXIT:
        EndDialog(IDOK);
        return true;
    case IDOK:
    case IDCANCEL:
        return true; // Enter, Escape and WM_CLOSE never close the main window
    case ID_HELP_CONTENTS:
        m_app.ShowHelp(nullptr);
        return true;
    case ID_HELP_WINDOW:
        m_app.ShowHelp("::/pages/ref_dlg_main.htm");
        return true;
    default:
        return CAppDlg::OnCommand(id, code, control);
    }
}

bool CPlaceholderMainDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_SYSCOMMAND && wParam == SC_CLOSE) {
        EndDialog(IDOK);
        return true;
    }
    return CAppDlg::OnMessage(msg, wParam, lParam, result);
}
