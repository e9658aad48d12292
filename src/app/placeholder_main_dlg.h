// The program's window until the real main dialog (folder list, refresh, settings)
// takes its place: the main template with the application title as caption, empty
// list and status line, laid out as the window is resized, help on F1 and in the menu,
// and closing only by "B&eenden" or the system close command.
#pragma once

#include "app/foldtally_app.h"
#include "framework/controls.h"
#include "ui/app_dlg.h"

class CPlaceholderMainDlg : public CAppDlg {
public:
    explicit CPlaceholderMainDlg(CFoldtallyApp& app);

    void InitLayout() override;
    void LayoutControls(int cx, int cy) override;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CFoldtallyApp& m_app;
    int m_nStatusHeight = 0;
    CStatic m_status;
    CListCtrl m_list;
};
