// The live list host and the independent account of the folder list's order.
#include "folder_list_host_win32.h"

#include "framework/win_app.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace uitest {

ListHost::ListHost(CFolderListCtrl& list) : m_list(list) {
    m_hWnd = ::CreateDialogParamA(GetResourceInstance(), MAKEINTRESOURCEA(IDD_FOLDTALLY_DIALOG),
                                  nullptr, DialogProc, reinterpret_cast<LPARAM>(this));
    EXPECT_NE(nullptr, m_hWnd);
    m_list.Attach(::GetDlgItem(m_hWnd, IDC_FOLDERLIST));
    // Room for every column header, so a click can reach each of them.
    ::MoveWindow(m_hWnd, 0, 0, 760, 560, TRUE);
    m_list.MoveWindow(5, 5, 700, 480);
    Pump();
}

ListHost::~ListHost() {
    ::DestroyWindow(m_hWnd);
    m_list.Detach();
}

INT_PTR CALLBACK ListHost::DialogProc(HWND hWnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        return TRUE;
    }
    ListHost* self = reinterpret_cast<ListHost*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (msg == WM_NOTIFY && self != nullptr) {
        // What the main window hands on to its list.
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (header->hwndFrom != self->m_list.GetSafeHwnd()) {
            return FALSE;
        }
        if (header->code == NM_CUSTOMDRAW) {
            result = self->m_list.OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
        } else if (header->code == LVN_COLUMNCLICK) {
            self->m_list.SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        } else if (!self->m_list.OnNotify(header, result)) {
            return FALSE;
        }
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    return FALSE;
}

void ListHost::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void ListHost::ClickHeader(int column) {
    HWND header = reinterpret_cast<HWND>(m_list.SendMessage(LVM_GETHEADER));
    RECT r = {};
    ASSERT_TRUE(::SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&r)));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(header, WM_LBUTTONUP, 0, at);
    Pump();
}

FolderListHost::FolderListHost() : ListHost(m_folderList) {
    m_folderList.InitColumns(IDS_COLUMN_FILENAME, IDS_COLUMN_SIZE, IDS_COLUMN_FOLDERNAME);
}

namespace {

std::string Folded(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

int Compare(const ExpectedRow& a, const ExpectedRow& b, int column) {
    if (column == 1) {
        return a.size < b.size ? -1 : (a.size > b.size ? 1 : 0);
    }
    const std::string x = Folded(column == 0 ? a.fileName : a.folder);
    const std::string y = Folded(column == 0 ? b.fileName : b.folder);
    const int r = std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                               [](char p, char q) {
                                                   return static_cast<unsigned char>(p) <
                                                          static_cast<unsigned char>(q);
                                               })
                      ? -1
                      : (x == y ? 0 : 1);
    return r;
}

} // namespace

std::vector<ExpectedRow> SortedRows(std::vector<ExpectedRow> rows, int column, bool descending,
                                    const std::vector<int>& order) {
    std::vector<int> keys = {column};
    for (int c : order) {
        if (c != column) {
            keys.push_back(c);
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const ExpectedRow& a, const ExpectedRow& b) {
        for (int key : keys) {
            const int r = descending ? Compare(b, a, key) : Compare(a, b, key);
            if (r != 0) {
                return r < 0;
            }
        }
        return false;
    });
    return rows;
}

std::string ItemText(const CListCtrl& list, int row, int column, int bufferSize, bool guard) {
    std::vector<char> buffer(static_cast<size_t>(bufferSize) + 16, 'Z');
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = bufferSize;
    list.SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    for (size_t i = static_cast<size_t>(bufferSize); guard && i < buffer.size(); ++i) {
        EXPECT_EQ('Z', buffer[i]) << "written past the buffer at " << i;
    }
    // The reader's view: the text up to the terminator inside the buffer.
    const auto end = std::find(buffer.begin(), buffer.begin() + bufferSize, '\0');
    EXPECT_NE(buffer.begin() + bufferSize, end) << "no terminator inside the buffer";
    return std::string(buffer.begin(), end);
}

std::vector<std::string> ColumnTexts(const CListCtrl& list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        texts.push_back(ItemText(list, row, column, 260));
    }
    return texts;
}

std::vector<std::vector<std::string>> ListTexts(const CListCtrl& list) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        rows.push_back({ItemText(list, row, 0, 260), ItemText(list, row, 1, 260),
                        ItemText(list, row, 2, 260)});
    }
    return rows;
}

std::vector<std::string> ColumnTitles(const CListCtrl& list) {
    std::vector<std::string> titles;
    for (int i = 0;; ++i) {
        char text[64] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        if (!list.SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(i),
                              reinterpret_cast<LPARAM>(&column))) {
            break;
        }
        titles.push_back(text);
    }
    return titles;
}

void AddColumns(CListCtrl& list, int count) {
    for (int i = 0; i < count; ++i) {
        char title[] = "x";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = title;
        column.cx = 50;
        column.iSubItem = i;
        list.InsertColumn(i, column);
    }
}

std::vector<int32_t> DefaultColumnWidths() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    LOGFONTA face = {};
    face.lfHeight = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    face.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(face.lfFaceName, "MS Sans Serif");
    HFONT font = ::CreateFontIndirectA(&face);
    HGDIOBJ previous = ::SelectObject(screen, font);
    SIZE text = {};
    const char widest[] = "!! 5.368.941.430";
    ::GetTextExtentPoint32A(screen, widest, lstrlenA(widest), &text);
    ::SelectObject(screen, previous);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, screen);
    auto scaled = [dpi](int pixels) { return ::MulDiv(pixels, dpi, 96); };
    return {scaled(110), std::max(scaled(70), static_cast<int32_t>(text.cx + 2 * scaled(6))),
            scaled(240)};
}

} // namespace uitest
