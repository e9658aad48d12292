// CResizableDlg: metrics, minimum size and the WM_SIZING clamp.
#include "ui/resizable_dlg.h"

#include <algorithm>

CResizableDlg::CResizableDlg(UINT templateId, HWND parent) : CDialog(templateId, parent) {}

BOOL CResizableDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    InitLayout();
    return TRUE;
}

void CResizableDlg::InitLayout() {
    m_cxClient = 0;
    m_cyClient = 0;
    RECT units = {4, 8, 0, 0};
    MapDialogRect(&units);
    m_metrics = view::ComputeLayoutMetrics(units.left, units.top);
    const RECT window = GetWindowRect();
    m_cxMinWindow = window.right - window.left;
    m_cyMinWindow = window.bottom - window.top;
    const RECT client = GetClientRect();
    m_cxMinClient = client.right - client.left;
    m_cyMinClient = client.bottom - client.top;
}

void CResizableDlg::Relayout() {
    const RECT client = GetClientRect();
    LayoutControls(client.right - client.left, client.bottom - client.top);
}

void CResizableDlg::LayoutControls(int cx, int cy) {
    m_cxClient = std::max(cx, m_cxMinClient);
    m_cyClient = std::max(cy, m_cyMinClient);
    Invalidate(TRUE);
}

void CResizableDlg::OnSize(UINT /*type*/, int cx, int cy) {
    LayoutControls(cx, cy);
}

bool CResizableDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_SIZING: {
        RECT* proposed = reinterpret_cast<RECT*>(lParam);
        view::PixelRect r = {proposed->left, proposed->top, proposed->right, proposed->bottom};
        view::ClampToMinimumSize(static_cast<int>(wParam), m_cxMinWindow, m_cyMinWindow, r);
        *proposed = {r.left, r.top, r.right, r.bottom};
        result = TRUE;
        return true;
    }
    default:
        return CDialog::OnMessage(msg, wParam, lParam, result);
    }
}
