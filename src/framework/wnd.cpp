// CWnd operations that need more than one call.
#include "framework/wnd.h"

std::string CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}
