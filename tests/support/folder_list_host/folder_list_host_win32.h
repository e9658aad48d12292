// A list under test in a live window: the main-window template opened without a modal
// loop, its list control bound to a CFolderListCtrl that gets the list's notifications as
// the main dialog hands them on. Steps run directly; posted input is pumped at once.
// Also an independent account of the order the folder list must show.
#pragma once

#include "mailbox/folder_catalogue.h"
#include "ui/folder_list_ctrl.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace uitest {

class ListHost {
public:
    explicit ListHost(CFolderListCtrl& list);
    virtual ~ListHost();
    ListHost(const ListHost&) = delete;
    ListHost& operator=(const ListHost&) = delete;

    template <class Step> void Run(Step step) {
        step();
        Pump();
    }
    // A left click on the header of `column`, as the mouse gives it.
    void ClickHeader(int column);
    HWND Hwnd() const { return m_hWnd; }
    static void Pump();

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    CFolderListCtrl& m_list;
    HWND m_hWnd = nullptr;
};

// Constructed before the host, which binds the list to its window.
struct FolderListHolder {
    CFolderListCtrl m_folderList;
};

// The folder list with its three columns, as the main dialog sets it up.
class FolderListHost : private FolderListHolder, public ListHost {
public:
    FolderListHost();
    template <class Step> void Run(Step step) {
        ListHost::Run([&] { step(m_folderList); });
    }
};

// One row as the list must show it: file name, folder path with folder name, size.
struct ExpectedRow {
    std::string fileName;
    std::string folder;
    uint64_t size = 0;
};

// `rows` in the order the list must show them when sorted by `column`, ties broken by
// the other columns in display `order` from the left. Written from the rule, not from
// the list's code: names by their bytes with only A-Z lowered, sizes by value.
std::vector<ExpectedRow> SortedRows(std::vector<ExpectedRow> rows, int column, bool descending,
                                    const std::vector<int>& order);

// Every cell's text, row by row, as the list gives it to a reader (LVM_GETITEMTEXTA).
std::vector<std::vector<std::string>> ListTexts(const CListCtrl& list);
std::vector<std::string> ColumnTexts(const CListCtrl& list, int column);
// One cell read into a buffer of `bufferSize` characters; with `guard`, bytes past the
// buffer are checked to be untouched. (Wine's list view itself writes a second zero
// byte for a one-character buffer and for a column that does not exist.)
std::string ItemText(const CListCtrl& list, int row, int column, int bufferSize, bool guard = true);
std::vector<std::string> ColumnTitles(const CListCtrl& list);
// Appends `count` plain columns.
void AddColumns(CListCtrl& list, int count);

// The default column widths a fresh folder list must have on this screen: 110, 70 and
// 240 pixels at 96 DPI, scaled, the size column at least as wide as "!! 5.368.941.430"
// in the main window's font (8 point MS Sans Serif, measured here with a font of our
// own) plus 6 pixels at 96 DPI on each side.
std::vector<int32_t> DefaultColumnWidths();

} // namespace uitest
