// CDialog: a modal dialog from a resource template or from a template in memory, run by
// our own modal loop so that every message passes PreTranslateMessage first (that is
// where accelerators and the message box's F1 live). A dialog overrides one message
// handler, OnMessage, and a few typed hooks (OnInitDialog, OnCommand, OnNotify, OnTimer,
// OnSize); `this` travels in DWLP_USER and message results go back through
// DWLP_MSGRESULT.
#pragma once

#include "framework/wnd.h"

#include <exception>

class CDialog;

// The direction and the dialog of one data exchange between members and controls.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
};

// Binds a wrapper to the dialog's control `id` (both directions; it only attaches).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// The radio group starting at button `firstId`: the index of the checked button, -1
// when none is; toward the controls, checks button `index` and clears the others.
void DDX_Radio(CDataExchange* pDX, int firstId, int& index);

class CDialog : public CWnd {
public:
    // A dialog from template resource `templateId`; `parent` may be null.
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, disables the owner, runs the loop until EndDialog and destroys
    // the window. Returns the EndDialog result, or -1 when the window cannot be created.
    // Whatever a handler threw is thrown again here, after the window is gone.
    virtual INT_PTR DoModal();
    // Ends the modal loop with `result` (the window goes when the loop has ended).
    void EndDialog(INT_PTR result);

    // Runs DoDataExchange in the given direction; FALSE when the dialog has no window.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Called by the modal loop with every message before it is translated and
    // dispatched; TRUE consumes the message. The base runs IsDialogMessage.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    HWND GetParentHwnd() const { return m_hParent; }
    // Dialog units to pixels for this dialog's font.
    BOOL MapDialogRect(RECT* rect) const { return ::MapDialogRect(m_hWnd, rect); }
    // Centres the window over `over` (over the work area when `over` is null, hidden
    // or minimized), kept inside the work area of the monitor `over` is on (without
    // `over`: the dialog's own).
    void CenterWindow(HWND over) const;
    // Whether `msg` is for this dialog or one of its child windows: a dialog's keys act
    // on its own messages only, not on those of other windows of the thread (a help
    // window, a window the dialog does not own) that pass through its modal loop.
    bool IsOwnMessage(const MSG* msg) const;

protected:
    // For dialogs whose template is built in memory: call InitModalIndirect before
    // DoModal. The template must live until DoModal returns.
    explicit CDialog(HWND parent);
    void InitModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent);

    // The one message handler. Returns true when the message was handled, with its
    // result in `result` (the dialog procedure passes it on as the platform expects).
    // The base turns WM_INITDIALOG, WM_COMMAND, WM_NOTIFY, WM_TIMER and WM_SIZE into the
    // hooks below.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    // Data exchange toward the controls; TRUE lets the platform set the focus.
    virtual BOOL OnInitDialog();
    // Returns true when the command was handled. The base sends IDOK and IDCANCEL to
    // OnOK and OnCancel.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // A control's notification, `id` being the control's; true when handled, with the
    // result in `result`.
    virtual bool OnNotify(int /*id*/, NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    // True when the timer `id` was the dialog's own.
    virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
    // The client area's new size; the platform's own processing runs after it.
    virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) {}
    // Data exchange from the controls, then EndDialog(IDOK).
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    HWND Create();
    void RunModalLoop();
    void CenterOverOwnerUnlessPlaced(const RECT& beforeInit) const;
    void UseMenuOfProgramLanguage();

    UINT m_nTemplateId = 0;
    UINT m_nTemplateMenuId = 0; // the menu the template names, loaded again in the language
    const DLGTEMPLATE* m_pTemplate = nullptr;
    HWND m_hParent = nullptr;
    bool m_bInModal = false;
    bool m_bEndModal = false;
    INT_PTR m_nModalResult = -1;
    std::exception_ptr m_pendingException;
};
