// CWnd: a borrowed window handle and the one-line operations the dialogs use on it.
// The wrapper never destroys its window: windows belong to the platform's dialog
// manager, which destroys children with their dialog.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() {
        HWND h = m_hWnd;
        m_hWnd = nullptr;
        return h;
    }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, msg, wParam, lParam);
    }
    void SetWindowText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL ShowWindow(int cmdShow) const { return ::ShowWindow(m_hWnd, cmdShow); }
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) const {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    RECT GetWindowRect() const {
        RECT r = {};
        ::GetWindowRect(m_hWnd, &r);
        return r;
    }
    RECT GetClientRect() const {
        RECT r = {};
        ::GetClientRect(m_hWnd, &r);
        return r;
    }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, BOOL redraw = TRUE) const {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    BOOL Invalidate(BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, nullptr, erase); }

protected:
    HWND m_hWnd = nullptr;
};
