// CResizableDlg: a resizable dialog that lays out its controls from metrics in dialog
// units and never lets its window be dragged smaller than the size it opened with.
#pragma once

#include "framework/dialog.h"
#include "view/layout.h"

class CResizableDlg : public CDialog {
public:
    CResizableDlg(UINT templateId, HWND parent);

    // Takes the metrics from the dialog's font and the minimum sizes from the window as
    // it is now (during initialisation: the template's size).
    virtual void InitLayout();
    // Lays the controls out for the current client size.
    virtual void Relayout();
    // Records the client size, raised to the minimum, and invalidates the window.
    // Derived dialogs call this first and then move their controls.
    virtual void LayoutControls(int cx, int cy);

    const view::LayoutMetrics& GetMetrics() const { return m_metrics; }
    int GetClientWidth() const { return m_cxClient; }
    int GetClientHeight() const { return m_cyClient; }
    int GetMinWindowWidth() const { return m_cxMinWindow; }
    int GetMinWindowHeight() const { return m_cyMinWindow; }
    int GetMinClientWidth() const { return m_cxMinClient; }
    int GetMinClientHeight() const { return m_cyMinClient; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnSize(UINT type, int cx, int cy) override;

private:
    int m_cxClient = 0;
    int m_cyClient = 0;
    view::LayoutMetrics m_metrics;
    int m_cxMinWindow = 0;
    int m_cyMinWindow = 0;
    int m_cxMinClient = 0;
    int m_cyMinClient = 0;
};
