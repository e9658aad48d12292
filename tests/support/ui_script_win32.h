// Driving dialogs from inside the test program: a thread timer runs one step per tick
// inside whatever message loop is active (our own modal loop, MessageBoxA's), so a test
// can post messages to a running dialog, read its controls and close it. A script that
// does not finish in time fails the test and keeps closing dialogs until the modal
// runs return, so a broken dialog fails instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

class UiScript {
public:
    using Step = std::function<bool()>; // true: done, go to the next step

    explicit UiScript(std::vector<Step> steps, DWORD timeoutMs = 5000);
    ~UiScript();
    UiScript(const UiScript&) = delete;
    UiScript& operator=(const UiScript&) = delete;

    bool Finished() const { return m_next >= m_steps.size(); }
    bool TimedOut() const { return m_timedOut; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    void RunStep();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    DWORD m_deadline;
    bool m_timedOut = false;
    bool m_running = false;
    UINT_PTR m_timer = 0;
};

// Closes every dialog box ("#32770") of this thread that shows up while it lives, with
// IDOK, and remembers what each showed. For boxes a test expects (or must not see)
// without caring how they are driven.
class BoxCloser {
public:
    struct Box {
        HWND owner;
        std::string caption;
        std::string text; // the texts of its non-empty static controls, joined by "|"
        bool hasIcon;
        HICON icon;
        std::vector<std::string> buttons;
    };

    BoxCloser();
    // Only boxes owned by `owner`.
    explicit BoxCloser(HWND owner);
    ~BoxCloser();
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    const std::vector<Box>& Seen() const { return m_seen; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    static BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam);

    std::vector<Box> m_seen;
    std::vector<HWND> m_closed;
    HWND m_owner = nullptr;
    bool m_anyOwner = true;
    UINT_PTR m_timer = 0;
};

// A visible dialog ("#32770") of this thread owned by `owner` (null: one without owner).
HWND FindOwnedDialog(HWND owner);
// A step that waits until `owner` (a window object that may not have its window yet)
// owns a visible dialog, and keeps it in `box`.
template <class Owner> UiScript::Step OwnedDialogStep(const Owner& owner, HWND& box) {
    return [&owner, &box] {
        box = owner.GetSafeHwnd() ? FindOwnedDialog(owner.GetSafeHwnd()) : nullptr;
        return box != nullptr;
    };
}
// The visible popup menu ("#32768") of this thread, or null.
HWND FindPopupMenu();
// A visible top-level window of this thread with exactly this caption.
HWND FindThreadWindow(const std::string& caption);
std::string WindowText(HWND hWnd);
// A status line's text as one line: the lines it was wrapped into joined by a blank.
std::string StatusLineText(HWND status);
// The child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// A dialog-unit rectangle of `dialog` in pixels.
RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height);
// Posts a key press (down and up) to the window with the focus, as the keyboard would.
void PostKey(UINT virtualKey);
// Posts IDCANCEL to every visible dialog of this thread (what a timed-out script does).
void CancelThreadDialogs();

} // namespace testsupport
