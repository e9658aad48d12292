// CDialog: creation, the modal loop and the dialog procedure. Nothing thrown by a
// handler unwinds through the platform: the dialog procedure keeps the exception, ends
// the loop, and DoModal throws it again once the window is gone.
#include "framework/dialog.h"

#include "framework/menu.h"
#include "framework/win_app.h"
#include "view/layout.h"

namespace {

// The dialog being created on this thread: the messages that arrive before
// WM_INITDIALOG (WM_SETFONT, the list view's WM_NOTIFYFORMAT) reach it too.
thread_local CDialog* t_pCreating = nullptr;

// Messages whose result the dialog procedure returns itself instead of DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) {
    switch (msg) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
        return true;
    default:
        return false;
    }
}

// The menu a dialog template names by number (the only way the program's templates name
// one), or 0. The menu field follows the fixed header: 26 bytes in the extended form,
// 18 in the classic one; 0xFFFF there announces a number.
UINT TemplateMenuId(const DLGTEMPLATE* dialogTemplate) {
    const auto* words = reinterpret_cast<const WORD*>(dialogTemplate);
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    const WORD* menu = words + (extended ? 13 : 9);
    return menu[0] == 0xFFFF ? menu[1] : 0;
}

} // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_nTemplateId(templateId), m_hParent(parent) {}

CDialog::CDialog(HWND parent) : m_hParent(parent) {}

CDialog::~CDialog() {
    // A dialog object destroyed while its window lives (never in the program's own
    // flow) must not leave the window pointing at freed memory.
    if (m_hWnd != nullptr) {
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
}

void CDialog::InitModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent) {
    m_pTemplate = dialogTemplate;
    m_nTemplateId = 0;
    m_hParent = parent;
}

HWND CDialog::Create() {
    HWND owner = m_hParent != nullptr ? ::GetAncestor(m_hParent, GA_ROOT) : nullptr;
    CDialog* outer = t_pCreating;
    t_pCreating = this;
    HWND hWnd = nullptr;
    if (m_pTemplate != nullptr) {
        hWnd = ::CreateDialogIndirectParamA(GetResourceInstance(), m_pTemplate, owner, DialogProc,
                                            reinterpret_cast<LPARAM>(this));
    } else {
        // The template of the program's language: the dialog manager itself would take
        // the one of the thread's locale.
        HRSRC found = FindProgramResource(RT_DIALOG, MAKEINTRESOURCEA(m_nTemplateId));
        HGLOBAL loaded = found != nullptr ? ::LoadResource(GetResourceInstance(), found) : nullptr;
        const auto* dialogTemplate =
            static_cast<const DLGTEMPLATE*>(loaded != nullptr ? ::LockResource(loaded) : nullptr);
        m_nTemplateMenuId = dialogTemplate != nullptr ? TemplateMenuId(dialogTemplate) : 0;
        if (dialogTemplate != nullptr) {
            hWnd = ::CreateDialogIndirectParamA(GetResourceInstance(), dialogTemplate, owner,
                                                DialogProc, reinterpret_cast<LPARAM>(this));
        }
    }
    t_pCreating = outer;
    return hWnd;
}

INT_PTR CDialog::DoModal() {
    if (m_bInModal || m_hWnd != nullptr) {
        return -1;
    }
    m_bEndModal = false;
    m_nModalResult = -1;
    m_pendingException = nullptr;

    HWND owner = m_hParent != nullptr ? ::GetAncestor(m_hParent, GA_ROOT) : nullptr;
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner) {
        ::EnableWindow(owner, FALSE);
    }
    HWND hWnd = Create();
    if (hWnd != nullptr) {
        if (!m_bEndModal) {
            if (!::IsWindowVisible(hWnd)) {
                ::ShowWindow(hWnd, SW_SHOWNORMAL);
            }
            RunModalLoop();
        }
        // The owner is enabled before the dialog goes, so activation returns to it.
        if (disableOwner) {
            ::EnableWindow(owner, TRUE);
        }
        if (owner != nullptr && ::GetActiveWindow() == hWnd) {
            ::SetActiveWindow(owner);
        }
        ::DestroyWindow(hWnd);
    } else if (disableOwner) {
        ::EnableWindow(owner, TRUE);
    }
    m_hWnd = nullptr;
    if (m_pendingException) {
        std::exception_ptr pending = m_pendingException;
        m_pendingException = nullptr;
        std::rethrow_exception(pending);
    }
    return hWnd != nullptr ? m_nModalResult : -1;
}

void CDialog::RunModalLoop() {
    m_bInModal = true;
    MSG msg;
    while (!m_bEndModal) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Someone ended the thread's message loop: pass the request on outward.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        BOOL consumed = FALSE;
        try {
            consumed = PreTranslateMessage(&msg);
        } catch (...) {
            if (!m_pendingException) {
                m_pendingException = std::current_exception();
            }
            EndDialog(-1);
            consumed = TRUE;
        }
        if (!consumed) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    m_bInModal = false;
}

void CDialog::EndDialog(INT_PTR result) {
    m_nModalResult = result;
    m_bEndModal = true;
    if (m_hWnd != nullptr) {
        // Wakes the loop if it waits in GetMessage.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    return m_hWnd != nullptr && ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::CenterWindow(HWND over) const {
    const bool useOver = over != nullptr && ::IsWindowVisible(over) && !::IsIconic(over);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(
        ::MonitorFromWindow(over != nullptr ? over : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT area = work;
    if (useOver) {
        ::GetWindowRect(over, &area);
    }
    const RECT own = GetWindowRect();
    const view::PixelPoint at = view::CenterInWorkArea(
        own.right - own.left, own.bottom - own.top, {area.left, area.top, area.right, area.bottom},
        {work.left, work.top, work.right, work.bottom});
    ::SetWindowPos(m_hWnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialog::IsOwnMessage(const MSG* msg) const {
    return m_hWnd != nullptr && msg->hwnd != nullptr &&
           (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd));
}

void CDialog::CenterOverOwnerUnlessPlaced(const RECT& beforeInit) const {
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    const RECT now = GetWindowRect();
    const bool placed = now.left != beforeInit.left || now.top != beforeInit.top;
    if (owner != nullptr && !placed && !(::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD)) {
        CenterWindow(owner);
    }
}

void CDialog::UseMenuOfProgramLanguage() {
    // The dialog manager loaded the template's menu in the thread's language; the
    // program's own replaces it before the window uses it.
    CMenu menu;
    if (m_nTemplateMenuId == 0 || !menu.LoadMenu(m_nTemplateMenuId)) {
        return;
    }
    HMENU old = ::GetMenu(m_hWnd);
    if (::SetMenu(m_hWnd, menu.GetSafeHmenu())) {
        static_cast<void>(menu.Detach());
        if (old != nullptr) {
            ::DestroyMenu(old);
        }
    }
}

bool CDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_INITDIALOG:
        UseMenuOfProgramLanguage();
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        result = 0;
        return header != nullptr && OnNotify(static_cast<int>(header->idFrom), header, result);
    }
    case WM_TIMER:
        result = 0;
        return OnTimer(static_cast<UINT_PTR>(wParam));
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return false; // the platform's own processing still runs
    default:
        return false;
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

bool CDialog::OnCommand(UINT id, UINT /*code*/, HWND /*control*/) {
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CDialog* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (self == nullptr) {
        if (t_pCreating == nullptr) {
            return FALSE;
        }
        self = t_pCreating;
        t_pCreating = nullptr;
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    return self->Dispatch(msg, wParam, lParam);
}

INT_PTR CDialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hWnd = m_hWnd;
    LRESULT result = 0;
    bool handled = false;
    RECT beforeInit = {};
    if (msg == WM_INITDIALOG) {
        ::GetWindowRect(hWnd, &beforeInit);
    }
    try {
        handled = OnMessage(msg, wParam, lParam, result);
        // As the platform's application framework does: a dialog that did not place
        // itself opens over its owner, not at the template's place in the owner's corner.
        if (msg == WM_INITDIALOG && m_hWnd == hWnd) {
            CenterOverOwnerUnlessPlaced(beforeInit);
        }
    } catch (...) {
        if (!m_pendingException) {
            m_pendingException = std::current_exception();
        }
        EndDialog(-1);
        handled = false;
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        // A window destroyed behind the loop's back must still end the loop.
        if (m_bInModal) {
            m_bEndModal = true;
        }
        return FALSE;
    }
    if (!handled) {
        return FALSE;
    }
    if (ReturnsResultDirectly(msg)) {
        return static_cast<INT_PTR>(result);
    }
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.GetSafeHwnd() == nullptr) {
        control.Attach(pDX->m_pDlgWnd->GetDlgItem(id));
    }
}

void DDX_Radio(CDataExchange* pDX, int firstId, int& index) {
    HWND button = pDX->m_pDlgWnd->GetDlgItem(firstId);
    if (pDX->m_bSaveAndValidate) {
        index = -1;
    }
    int position = 0;
    while (button != nullptr) {
        if (::SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                    index = position;
                }
            } else {
                ::SendMessageA(button, BM_SETCHECK, position == index ? BST_CHECKED : BST_UNCHECKED,
                               0);
            }
            ++position;
        }
        button = ::GetWindow(button, GW_HWNDNEXT);
        if (button == nullptr || (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP)) {
            break;
        }
    }
}
