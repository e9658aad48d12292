// UiScript and the small window helpers of the in-process GUI tests.
#include "ui_script_win32.h"

#include <gtest/gtest.h>

#include <map>

namespace testsupport {

namespace {

std::map<UINT_PTR, UiScript*>& Scripts() {
    static std::map<UINT_PTR, UiScript*> scripts;
    return scripts;
}

struct FindContext {
    HWND owner;
    const std::string* caption;
    HWND found;
};

bool IsDialogClass(HWND hWnd) {
    char name[16] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    return std::string(name) == "#32770";
}

BOOL CALLBACK FindOwned(HWND hWnd, LPARAM lParam) {
    FindContext* c = reinterpret_cast<FindContext*>(lParam);
    if (::IsWindowVisible(hWnd) && IsDialogClass(hWnd) && ::GetWindow(hWnd, GW_OWNER) == c->owner) {
        c->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindCaption(HWND hWnd, LPARAM lParam) {
    FindContext* c = reinterpret_cast<FindContext*>(lParam);
    if (::IsWindowVisible(hWnd) && WindowText(hWnd) == *c->caption) {
        c->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK Cancel(HWND hWnd, LPARAM) {
    if (::IsWindowVisible(hWnd) && IsDialogClass(hWnd)) {
        ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

} // namespace

UiScript::UiScript(std::vector<Step> steps, DWORD timeoutMs)
    : m_steps(std::move(steps)), m_deadline(::GetTickCount() + timeoutMs) {
    m_timer = ::SetTimer(nullptr, 0, 20, Tick);
    Scripts()[m_timer] = this;
}

UiScript::~UiScript() {
    ::KillTimer(nullptr, m_timer);
    Scripts().erase(m_timer);
    if (!Finished() && !m_timedOut) {
        ADD_FAILURE() << "UI script ended at step " << m_next << " of " << m_steps.size();
    }
}

void CALLBACK UiScript::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Scripts().find(id);
    if (it != Scripts().end()) {
        it->second->RunStep();
    }
}

void UiScript::RunStep() {
    // A step may run a nested message loop (it opens a box); its ticks must not
    // re-enter the step that is still running.
    if (m_running) {
        return;
    }
    if (m_timedOut || (!Finished() && static_cast<LONG>(::GetTickCount() - m_deadline) > 0)) {
        if (!m_timedOut) {
            ADD_FAILURE() << "UI script timed out at step " << m_next << " of " << m_steps.size();
            m_timedOut = true;
        }
        CancelThreadDialogs();
        return;
    }
    if (Finished()) {
        return;
    }
    // One step per tick, so the messages a step posts are handled before the next.
    m_running = true;
    bool done = false;
    try {
        done = m_steps[m_next]();
    } catch (...) {
        ADD_FAILURE() << "UI script step " << m_next << " threw";
        done = true;
    }
    if (done) {
        ++m_next;
    }
    m_running = false;
}

namespace {
std::map<UINT_PTR, BoxCloser*>& Closers() {
    static std::map<UINT_PTR, BoxCloser*> closers;
    return closers;
}
} // namespace

BoxCloser::BoxCloser() {
    m_timer = ::SetTimer(nullptr, 0, 20, Tick);
    Closers()[m_timer] = this;
}

BoxCloser::BoxCloser(HWND owner) : BoxCloser() {
    m_owner = owner;
    m_anyOwner = false;
}

BoxCloser::~BoxCloser() {
    ::KillTimer(nullptr, m_timer);
    Closers().erase(m_timer);
}

void CALLBACK BoxCloser::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Closers().find(id);
    if (it != Closers().end()) {
        ::EnumThreadWindows(::GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(it->second));
    }
}

BOOL CALLBACK BoxCloser::Visit(HWND hWnd, LPARAM lParam) {
    BoxCloser* self = reinterpret_cast<BoxCloser*>(lParam);
    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    if (!::IsWindowVisible(hWnd) || !IsDialogClass(hWnd) ||
        (!self->m_anyOwner && owner != self->m_owner)) {
        return TRUE;
    }
    for (HWND closed : self->m_closed) {
        if (closed == hWnd) {
            return TRUE;
        }
    }
    Box box = {owner, WindowText(hWnd), "", false, nullptr, {}};
    for (HWND child = ::GetWindow(hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        ::GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Static") == 0) {
            if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                box.hasIcon = true;
                box.icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
            } else if (!WindowText(child).empty()) {
                box.text += (box.text.empty() ? "" : "|") + WindowText(child);
            }
        } else if (lstrcmpiA(name, "Button") == 0 && ::IsWindowVisible(child)) {
            box.buttons.push_back(WindowText(child));
        }
    }
    self->m_seen.push_back(box);
    self->m_closed.push_back(hWnd);
    ::PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

HWND FindOwnedDialog(HWND owner) {
    FindContext c = {owner, nullptr, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOwned, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

namespace {
BOOL CALLBACK FindMenuWindow(HWND hWnd, LPARAM lParam) {
    char name[16] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    if (::IsWindowVisible(hWnd) && std::string(name) == "#32768") {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindPopupMenu() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindThreadWindow(const std::string& caption) {
    FindContext c = {nullptr, &caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindCaption, reinterpret_cast<LPARAM>(&c));
    return c.found;
}

std::string WindowText(HWND hWnd) {
    char text[2048] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

std::string StatusLineText(HWND status) {
    std::string text = WindowText(status);
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.replace(at, 2, " ");
    }
    return text;
}

RECT ChildRect(HWND child) {
    RECT r = {};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height) {
    RECT r = {x, y, x + width, y + height};
    ::MapDialogRect(dialog, &r);
    return r;
}

void PostKey(UINT virtualKey) {
    HWND target = ::GetFocus();
    const UINT scan = ::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    ::PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    ::PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
}

void CancelThreadDialogs() {
    ::EnumThreadWindows(::GetCurrentThreadId(), Cancel, 0);
}

} // namespace testsupport
