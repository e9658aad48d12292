// CListWindow's filter line: "Filter:" and "ab:" above the list, the rows filtered as
// typed by the window's model, bad input shown in red, the list's word when no row
// passes, and the main window's filter kept while "Filter merken" is ticked.
#include "ui/list_window.h"

#include "diag/trace.h"
#include "framework/win_app.h"
#include "resource.h"
#include "settings/settings_store.h"
#include "sizes/size_text.h"

namespace {

HWND MakeFilterChild(HWND parent, const char* className, const std::string& text, DWORD style,
                     DWORD exStyle, int id) {
    HWND child = ::CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   0, 0, 0, 0, parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                                   ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(child, WM_SETFONT, ::SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
    return child;
}

std::string BoxText(HWND box) {
    std::string text(static_cast<size_t>(std::max(::GetWindowTextLengthA(box), 0)) + 1, '\0');
    text.resize(static_cast<size_t>(
        std::max(::GetWindowTextA(box, &text[0], static_cast<int>(text.size())), 0)));
    return text;
}

// The width of `text` in `control`'s font.
int FilterTextWidth(HWND control, const std::string& text) {
    SIZE size = {};
    HDC dc = ::GetDC(control);
    if (dc == nullptr) {
        return 0;
    }
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return size.cx;
}

} // namespace

void CListWindow::CreateFilterLine() {
    constexpr DWORD kLabel = SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
    constexpr DWORD kBox = WS_TABSTOP | ES_AUTOHSCROLL;
    const std::string label = LoadResourceString(IDS_FILTER_LABEL);
    const std::string sizeLabel = LoadResourceString(IDS_FILTER_SIZE_LABEL);
    m_hFilterLabel = MakeFilterChild(m_hWnd, "STATIC", label, kLabel, 0, IDC_FILTER_LABEL);
    m_hFilter = MakeFilterChild(m_hWnd, "EDIT", "", kBox, WS_EX_CLIENTEDGE, IDC_FILTER);
    m_hFilterSizeLabel =
        MakeFilterChild(m_hWnd, "STATIC", sizeLabel, kLabel, 0, IDC_FILTER_SIZE_LABEL);
    m_hFilterSize = MakeFilterChild(m_hWnd, "EDIT", "", kBox, WS_EX_CLIENTEDGE, IDC_FILTER_SIZE);
    const std::string remember = LoadResourceString(IDS_FILTER_REMEMBER);
    if (RemembersFilter()) {
        m_hFilterRemember = MakeFilterChild(m_hWnd, "BUTTON", remember,
                                            WS_TABSTOP | BS_AUTOCHECKBOX, 0, IDC_FILTER_REMEMBER);
    }
    // The line comes first in the tab order (the order of the siblings), the list after.
    HWND after = HWND_TOP;
    for (HWND control :
         {m_hFilterLabel, m_hFilter, m_hFilterSizeLabel, m_hFilterSize, m_hFilterRemember}) {
        if (control != nullptr) {
            ::SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = control;
        }
    }
    // An edit box is 12 dialog units high; a size box holds "1.234,5 MB" and more.
    const view::LayoutMetrics& m = GetMetrics();
    m_nFilterHeight = m.baseUnitY * 12 / 8;
    const int gap = m.spacingX / 2;
    m_filterWidths.filterLabel = FilterTextWidth(m_hFilterLabel, label) + gap;
    m_filterWidths.sizeLabel = FilterTextWidth(m_hFilterSizeLabel, sizeLabel) + gap;
    m_filterWidths.size = m.baseUnitX * 45 / 4;
    if (m_hFilterRemember != nullptr) {
        m_filterWidths.remember = FilterTextWidth(m_hFilterRemember, remember) +
                                  ::GetSystemMetrics(SM_CXMENUCHECK) + m.spacingX;
    }
}

void CListWindow::OnFilterChanged() {
    const bool badWords = m_filterInput.badWords;
    const bool badSize = m_filterInput.badSize;
    view::TakeFilterInput(BoxText(m_hFilter), BoxText(m_hFilterSize), m_filterInput);
    // A box draws its typing itself; it is drawn whole again only when its text turns red
    // or back.
    if (badWords != m_filterInput.badWords) {
        ::InvalidateRect(m_hFilter, nullptr, TRUE);
    }
    if (badSize != m_filterInput.badSize) {
        ::InvalidateRect(m_hFilterSize, nullptr, TRUE);
    }
    ApplyFilter(m_filterInput.filter);
    // An empty list's word is drawn over its whole ground.
    m_reportList.InvalidateRows(TRUE);
}

bool CListWindow::OnFilterCommand(UINT id, UINT code, HWND control) {
    if (control != nullptr && (control == m_hFilter || control == m_hFilterSize)) {
        if (code == EN_CHANGE) {
            OnFilterChanged();
        }
        return true;
    }
    if (control != nullptr && control == m_hFilterRemember) {
        return true; // read when the state is saved
    }
    HWND focus = ::GetFocus();
    const bool inBox = focus != nullptr && (focus == m_hFilter || focus == m_hFilterSize);
    switch (id) {
    case ID_VIEW_FILTER:
        ::SetFocus(m_hFilter);
        ::SendMessageA(m_hFilter, EM_SETSEL, 0, -1);
        return true;
    case IDOK:
        // Enter in a box: the rows follow the typing already, and the window stays.
        return inBox;
    default:
        return false;
    }
}

bool CListWindow::FilterBoxKey(const MSG& msg) {
    const bool box = msg.hwnd != nullptr && (msg.hwnd == m_hFilter || msg.hwnd == m_hFilterSize);
    if (msg.message != WM_KEYDOWN || !box) {
        return false;
    }
    // Ctrl+C copies the box's text, as in every box, not the list.
    if (msg.wParam == 'C' && ::GetKeyState(VK_CONTROL) < 0) {
        ::SendMessageA(msg.hwnd, WM_COPY, 0, 0);
        return true;
    }
    // Escape empties the box first (before the accelerator, whose menu item is disabled
    // while nothing runs); in an empty one it does what it does elsewhere.
    if (msg.wParam != VK_ESCAPE || ::GetWindowTextLengthA(msg.hwnd) == 0) {
        return false;
    }
    ::SetWindowTextA(msg.hwnd, "");
    return true;
}

bool CListWindow::ColourFilterBox(HDC dc, HWND box, LRESULT& result) const {
    const bool bad = (box == m_hFilter && m_filterInput.badWords) ||
                     (box == m_hFilterSize && m_filterInput.badSize);
    if (box == nullptr || !bad) {
        return false;
    }
    ::SetTextColor(dc, RGB(0xC0, 0x00, 0x00));
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    return true;
}

bool CListWindow::ShowsNoMatch() const {
    const view::ReportModel* model = m_reportList.GetModel();
    return !m_filterInput.filter.IsEmpty() && model != nullptr && model->RowCount() == 0;
}

void CListWindow::DrawNoMatch(HDC dc) const {
    RECT area = m_reportList.GetClientRect();
    const RECT header = m_reportList.GetHeader().GetWindowRect();
    area.top += (header.bottom - header.top) + m_nFilterHeight / 2;
    const std::string text = LoadResourceString(IDS_FILTER_NO_MATCH);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, text.c_str(), -1, &area,
                DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CListWindow::LoadFilter(SettingsStore& store) {
    if (m_hFilterRemember == nullptr || !store.ReadBool(stored_names::kFilterRemember, false)) {
        return;
    }
    ::SendMessageA(m_hFilterRemember, BM_SETCHECK, BST_CHECKED, 0);
    ::SetWindowTextA(m_hFilter, store.ReadString(stored_names::kFilterText, "").c_str());
    ::SetWindowTextA(m_hFilterSize, store.ReadString(stored_names::kFilterMinSize, "").c_str());
}

bool CListWindow::SaveFilter(SettingsStore& store) const {
    if (m_hFilterRemember == nullptr) {
        return true;
    }
    // Unticked, the texts are not written: what an earlier tick kept stays as it was.
    const bool remember = ::SendMessageA(m_hFilterRemember, BM_GETCHECK, 0, 0) == BST_CHECKED;
    bool written = store.WriteBool(stored_names::kFilterRemember, remember);
    if (remember) {
        written = store.WriteString(stored_names::kFilterText, BoxText(m_hFilter)) && written;
        written =
            store.WriteString(stored_names::kFilterMinSize, BoxText(m_hFilterSize)) && written;
    }
    return written;
}

void CListWindow::NoteExport() {
    const view::ReportModel* model = m_reportList.GetModel();
    if (m_filterInput.filter.IsEmpty() || model == nullptr) {
        return;
    }
    std::vector<std::string> parts = m_statusParts;
    parts.push_back(
        FormatText(LoadResourceString(IDS_FILTER_EXPORTED).c_str(),
                   FormatSize(static_cast<uint64_t>(model->RowCount()), SizeStyle::Exact).c_str()));
    SetStatusParts(std::move(parts));
}
