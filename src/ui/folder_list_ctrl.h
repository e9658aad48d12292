// CFolderListCtrl: the main window's folder list. Each row refers to one record of the
// scan result it shows, which the list keeps alive until the next result replaces it; the cells are
// the file name, the size (exact or compact) and the folder path with the folder name, made when
// the list paints them.
#pragma once

#include "mailbox/scan_result.h"
#include "ui/sort_list_ctrl.h"

class CFolderListCtrl : public CSortListCtrl {
public:
    static constexpr int kColumnCount = 3;
    static constexpr int kFileNameWidth = 110;
    static constexpr int kSizeWidth = 70;
    static constexpr int kFolderNameWidth = 240;
    // The cell's margin on each side of its text, at 96 DPI.
    static constexpr int kCellPadding = 6;

    // Where the list stands: its first visible row (a copy, since a scan destroys the
    // records) and its horizontal scroll position.
    struct Place {
        bool bHasTopRow = false;
        FolderRecord topRow;
        int nScrollX = 0;
    };

    CFolderListCtrl();

    // Once, before the saved column state is loaded: the three columns with their titles from the
    // string table, the list's extended styles, and the initial order by folder name with ties
    // broken from the leftmost column. The default widths are pixels at 96 DPI, scaled for the
    // screen; the size column is widened to hold the exact size of a 5 GiB folder in the list's
    // font.
    void InitColumns(UINT fileNameTitleId, UINT sizeTitleId, UINT folderNameTitleId);
    // After every scan: one row per record of `result`, in its order, then sorted; the
    // result shown before is let go only now.
    void Show(SharedScanResult result, bool compact);
    const SharedScanResult& GetResult() const { return m_pResult; }
    Place GetPlace() const;
    // After a refill: the same first visible row again, found by its file name, or the
    // nearest row in sort order when it is gone; and the same horizontal scroll.
    void RestorePlace(const Place& place);
    // The default widths for this list's screen and font, by column index.
    void GetDefaultWidths(int32_t widths[3]) const;
    std::vector<int32_t> GetDefaultColumnWidths() const override;

    int CompareItems(LPARAM a, LPARAM b, int column) const override;
    std::string GetItemText(LPARAM item, int column) const override;

    bool IsCompactSizes() const { return m_bCompactSizes != 0; }
    static const FolderRecord& RecordOf(LPARAM item) {
        return *reinterpret_cast<const FolderRecord*>(item);
    }

private:
    SharedScanResult m_pResult;
    int m_bCompactSizes = 0;
};
