// Header-only wrappers for the standard controls the dialogs attach by data exchange:
// each holds only the borrowed HWND and turns a control message into a named call.
#pragma once

#include "framework/wnd.h"

#include <commctrl.h>

#include <string>

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON icon) const {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
};

class CEdit : public CWnd {
public:
    void LimitText(int maxChars) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxChars)); }
    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, start, end); }
    void ScrollCaret() const { SendMessage(EM_SCROLLCARET); }
};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

// The header above a report-view list: its columns' count, formats and rectangles.
class CHeaderCtrl : public CWnd {
public:
    explicit CHeaderCtrl(HWND hWnd) : CWnd(hWnd) {}
    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    BOOL GetItem(int index, HDITEMA& item) const {
        return static_cast<BOOL>(
            SendMessage(HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItem(int index, const HDITEMA& item) const {
        return static_cast<BOOL>(
            SendMessage(HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    }
    RECT GetItemRect(int index) const {
        RECT r = {};
        SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // The sort arrow on `column`, up or down, and none on every other column.
    void SetSortArrow(int column, bool descending) const {
        const int count = GetItemCount();
        for (int i = 0; i < count; ++i) {
            HDITEMA item = {};
            item.mask = HDI_FORMAT;
            if (!GetItem(i, item)) {
                continue;
            }
            const int arrow = i != column ? 0 : descending ? HDF_SORTDOWN : HDF_SORTUP;
            const int format = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | arrow;
            if (format != item.fmt) {
                item.fmt = format;
                SetItem(i, item);
            }
        }
    }
};

// The report-view list control (SysListView32) with the operations the program uses:
// every list-view message a window sends goes through one of these, so no window
// spells out a message, its casts and its result.
class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // For a list with owner data: the number of rows, keeping the scroll place with
    // LVSICF_NOSCROLL.
    BOOL SetItemCount(int count, DWORD flags = 0) const {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), flags));
    }
    DWORD SetExtendedStyle(DWORD style) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
    BOOL DeleteColumn(int index) const {
        return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(index)));
    }
    int InsertColumn(int index, const LVCOLUMNA& column) const {
        return static_cast<int>(
            SendMessage(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
    }
    // The title of `column`, up to 255 characters.
    std::string GetColumnTitle(int column) const {
        char text[256] = {};
        LVCOLUMNA info = {};
        info.mask = LVCF_TEXT;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        return text;
    }
    int GetColumnWidth(int column) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    }
    BOOL SetColumnWidth(int column, int width) const {
        return static_cast<BOOL>(
            SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
    }
    BOOL GetColumnOrderArray(int* order, int count) const {
        return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count),
                                             reinterpret_cast<LPARAM>(order)));
    }
    BOOL SetColumnOrderArray(const int* order, int count) const {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(count),
                                             reinterpret_cast<LPARAM>(order)));
    }
    CHeaderCtrl GetHeader() const {
        return CHeaderCtrl(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)));
    }
    HIMAGELIST SetImageList(HIMAGELIST images, int kind) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                                                        reinterpret_cast<LPARAM>(images)));
    }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    // In report view `dy` is in pixels, taken in whole rows.
    BOOL Scroll(int dx, int dy) const { return static_cast<BOOL>(SendMessage(LVM_SCROLL, dx, dy)); }
    BOOL EnsureVisible(int index, BOOL partialOk = FALSE) const {
        return static_cast<BOOL>(
            SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOk));
    }
    int GetStringWidth(const char* text) const {
        return static_cast<int>(
            SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    }
    // The next row after `start` (-1: from the first) with the LVNI_ flags.
    int GetNextItem(int start, UINT flags) const {
        return static_cast<int>(
            SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    UINT GetItemState(int index, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
    }
    BOOL SetItemState(int index, UINT state, UINT mask) const {
        LVITEMA item = {};
        item.mask = LVIF_STATE;
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(
            SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)));
    }
    int SetSelectionMark(int index) const {
        return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, index));
    }
    // The rectangle of `index`'s part `code` (LVIR_BOUNDS, LVIR_ICON, ...); false when
    // there is no such row.
    BOOL GetItemRect(int index, RECT& rect, int code) const {
        rect.left = code;
        return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&rect)));
    }
    BOOL GetSubItemRect(int index, int column, int code, RECT& rect) const {
        rect.top = column;
        rect.left = code;
        return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&rect)));
    }
    // The row under `info.pt`, with its column and part in `info`; -1 for none.
    int SubItemHitTest(LVHITTESTINFO& info) const {
        return static_cast<int>(
            SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    }
};
