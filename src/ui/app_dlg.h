// CAppDlg: a resizable dialog with its own big icon and its own accelerator table, whose
// keys work whichever of its controls has the focus because they are translated before
// the message reaches the control; keys for other windows (the help viewer) are theirs.
// Shift-F10 and the context-menu key ask the control with the focus for its context
// menu (a WM_CONTEXTMENU with -1 coordinates, which a list hands on to this dialog),
// and the release of Alt after an accelerator leaves the menu bar alone.
#pragma once

#include "ui/resizable_dlg.h"
#include "view/menu_keys.h"

class CAppDlg : public CResizableDlg {
public:
    // Ids of 0 mean "none".
    CAppDlg(UINT iconId, UINT acceleratorId, UINT templateId, HWND parent);

    // Loads the icon (shared, never destroyed); sets it at once on an initialised
    // dialog. Returns whether an icon was loaded.
    bool SetDialogIcon(UINT iconId);
    // Loads the accelerator table (shared). Returns whether one was loaded.
    bool SetAccelerators(UINT acceleratorId);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    HICON GetDialogIcon() const { return m_hIcon; }
    bool IsInitialised() const { return m_bInitialised; }

protected:
    BOOL OnInitDialog() override;

private:
    bool FilterMenuKeys(const MSG& msg, view::KeyEvent& event);

    HICON m_hIcon = nullptr;
    view::MenuKeyFilter m_menuKeys;
    HACCEL m_hAccelerators = nullptr;
    bool m_bInitialised = false;
};
