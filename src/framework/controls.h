// Header-only wrappers for the standard controls the dialogs attach by data exchange:
// each holds only the borrowed HWND and turns a control message into a named call.
#pragma once

#include "framework/wnd.h"

#include <commctrl.h>

class CStatic : public CWnd {
public:
    HICON SetIcon(HICON icon) const {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
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

// The report-view list control (SysListView32) with the few operations the program
// uses; the folder list builds its columns, rows and sorting on top of it.
class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    DWORD SetExtendedStyle(DWORD style) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
    int InsertColumn(int index, const LVCOLUMNA& column) const {
        return static_cast<int>(
            SendMessage(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
    }
    int InsertItem(const LVITEMA& item) const {
        return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    LPARAM GetItemData(int index) const {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = index;
        return SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
    }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    // In report view `dy` is in pixels, taken in whole rows.
    BOOL Scroll(int dx, int dy) const { return static_cast<BOOL>(SendMessage(LVM_SCROLL, dx, dy)); }
    int GetStringWidth(const char* text) const {
        return static_cast<int>(
            SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
    }
    BOOL SetItemState(int index, UINT state, UINT mask) const {
        LVITEMA item = {};
        item.mask = LVIF_STATE;
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(
            SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)));
    }
};
