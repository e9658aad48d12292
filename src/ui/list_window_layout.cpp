// CListWindow's layout: the list, the status line wrapped into lines at the window's
// width, the progress bar and, where the window has them, its buttons.
#include "ui/list_window.h"

#include "view/main_layout.h"
#include "view/tree_layout.h"

#include <algorithm>

namespace {

void Place(HWND control, const view::ControlPlace& at) {
    ::MoveWindow(control, at.x, at.y, at.width, at.height, TRUE);
}

// The text's width and the height of a line in `control`'s font.
SIZE TextExtent(HWND control, const std::string& text) {
    SIZE size = {};
    HDC dc = ::GetDC(control);
    if (dc == nullptr) {
        return size;
    }
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32A(dc, text.empty() ? " " : text.c_str(),
                            text.empty() ? 1 : static_cast<int>(text.size()), &size);
    if (text.empty()) {
        size.cx = 0;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return size;
}

} // namespace

void CListWindow::InitLayout() {
    CAppDlg::InitLayout();
    const RECT status = m_status.GetWindowRect();
    m_nStatusHeight = status.bottom - status.top;
    m_nLineHeight = TextExtent(m_status.GetSafeHwnd(), "Ag").cy;
}

void CListWindow::LayoutControls(int cx, int cy) {
    CAppDlg::LayoutControls(cx, cy);
    if (m_reportList.GetSafeHwnd() == nullptr) {
        return;
    }
    HWND help = ::GetDlgItem(m_hWnd, ID_HELP_BUTTON);
    std::string text;
    // List, status line and, where the window has them, the two buttons at the bottom
    // right. The status line's width does not follow its height: its wrap at that
    // width decides the height.
    const auto treeLayout = [&](int statusHeight) {
        return view::ComputeTreeLayout(GetClientWidth(), GetClientHeight(), GetMetrics(),
                                       statusHeight);
    };
    const auto mainLayout = [&](int statusHeight) {
        return view::ComputeMainLayout(GetClientWidth(), GetClientHeight(), GetMetrics(),
                                       statusHeight);
    };
    if (m_bStatusParts) {
        text = WrapStatus(StatusWidth(), m_nStatusLines);
    }
    const int statusHeight = GetStatusAreaHeight();
    view::ControlPlace status;
    if (help != nullptr) {
        const view::TreeLayout l = treeLayout(statusHeight);
        Place(m_reportList.GetSafeHwnd(), PlaceFilterLine(l.list));
        Place(help, l.help);
        Place(::GetDlgItem(m_hWnd, IDCANCEL), l.close);
        status = l.status;
    } else {
        const view::MainLayout l = mainLayout(statusHeight);
        Place(m_reportList.GetSafeHwnd(), PlaceFilterLine(l.list));
        status = l.status;
    }
    Place(m_status.GetSafeHwnd(), status);
    if (m_bStatusParts && m_status.GetWindowText() != text) {
        m_status.SetWindowText(text);
    }
    if (m_hProgress != nullptr) {
        // Beside the progress text, on the first line.
        Place(m_hProgress, view::ProgressBarPlace({status.x, status.y, status.width,
                                                   std::min(status.height, m_nStatusHeight)}));
    }
}

int CListWindow::StatusWidth() const {
    // The width does not depend on the line's height: one line's layout tells it.
    return ::GetDlgItem(m_hWnd, ID_HELP_BUTTON) != nullptr
               ? view::ComputeTreeLayout(GetClientWidth(), GetClientHeight(), GetMetrics(),
                                         m_nStatusHeight)
                     .status.width
               : view::ComputeMainLayout(GetClientWidth(), GetClientHeight(), GetMetrics(),
                                         m_nStatusHeight)
                     .status.width;
}

view::ControlPlace CListWindow::PlaceFilterLine(const view::ControlPlace& list) {
    if (m_hFilter == nullptr) {
        return list;
    }
    const view::FilterLinePlaces line =
        view::PlaceFilterLine(list, m_nFilterHeight, GetMetrics(), m_filterWidths);
    Place(m_hFilterLabel, line.filterLabel);
    Place(m_hFilter, line.filter);
    Place(m_hFilterSizeLabel, line.sizeLabel);
    Place(m_hFilterSize, line.size);
    if (m_hFilterRemember != nullptr) {
        Place(m_hFilterRemember, line.remember);
    }
    return line.list;
}

int CListWindow::GetStatusAreaHeight() const {
    return view::StatusHeightFor(m_nStatusLines, m_nStatusHeight, m_nLineHeight);
}

void CListWindow::SetStatusParts(std::vector<std::string> parts) {
    m_statusParts = std::move(parts);
    m_bStatusParts = true;
    // Each key in the filter writes the line anew, and seldom changes how many lines it
    // takes: then the controls stay where they are, and the window is not repainted
    // whole for a line of text.
    size_t lines = 0;
    const std::string text = WrapStatus(StatusWidth(), lines);
    if (lines != m_nStatusLines || m_reportList.GetSafeHwnd() == nullptr) {
        Relayout();
    } else if (m_status.GetWindowText() != text) {
        m_status.SetWindowText(text);
    }
}

std::string CListWindow::WrapStatus(int width, size_t& lines) const {
    std::vector<int> widths;
    for (const std::string& part : m_statusParts) {
        widths.push_back(TextExtent(m_status.GetSafeHwnd(), part).cx);
    }
    // The sunken frame takes a pixel or two on each side.
    const view::StatusWrap wrap = view::WrapStatusParts(widths, width - 4);
    lines = wrap.lines;
    std::string text;
    size_t next = 0;
    for (size_t i = 0; i < m_statusParts.size(); ++i) {
        if (next < wrap.breaks.size() && wrap.breaks[next] == i) {
            ++next;
            const size_t start = m_statusParts[i].find_first_not_of(' ');
            text += "\r\n";
            text += start == std::string::npos ? std::string() : m_statusParts[i].substr(start);
        } else {
            text += m_statusParts[i];
        }
    }
    return text;
}
