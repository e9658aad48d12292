// CFolderListCtrl: columns, filling from the catalogue, cell texts and comparison.
#include "ui/folder_list_ctrl.h"

#include "framework/win_app.h"
#include "sizes/size_text.h"
#include "view/folder_compare.h"

CFolderListCtrl::CFolderListCtrl() {
    // The rows only refer to the catalogue's records; the catalogue frees them.
    m_bOwnsItemData = 0;
}

void CFolderListCtrl::InitColumns(UINT fileNameTitleId, UINT sizeTitleId, UINT folderNameTitleId) {
    int32_t widths[3];
    GetDefaultWidths(widths);
    const struct {
        UINT titleId;
        int format;
        int width;
    } columns[] = {
        {fileNameTitleId, LVCFMT_LEFT, widths[0]},
        {sizeTitleId, LVCFMT_RIGHT, widths[1]},
        {folderNameTitleId, LVCFMT_LEFT, widths[2]},
    };
    int index = 0;
    for (const auto& c : columns) {
        std::string title = LoadResourceString(c.titleId);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = c.format;
        column.cx = c.width;
        column.pszText = &title[0];
        column.iSubItem = index;
        InsertColumn(index, column);
        ++index;
    }
    SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT);
    SetSort(view::kColumnFolderName, false);
    m_nTieMode = view::kTieFromLeftmost;
}

namespace {

// Drawing held back while the rows go in: a visible list view that redraws after each
// insertion takes milliseconds per row (seconds for a large mailbox under Wine); held
// back, the whole fill is one insertion per row and one repaint at the end.
class RedrawPause {
public:
    explicit RedrawPause(const CWnd& list) : m_list(list) {
        m_list.SendMessage(WM_SETREDRAW, FALSE);
    }
    ~RedrawPause() {
        m_list.SendMessage(WM_SETREDRAW, TRUE);
        m_list.Invalidate(TRUE);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    const CWnd& m_list;
};

} // namespace

void CFolderListCtrl::Show(SharedScanResult result, bool compact) {
    RedrawPause pause(*this);
    DeleteAllItems();
    m_pResult = std::move(result);
    m_bCompactSizes = compact ? 1 : 0;
    if (m_pResult != nullptr) {
        for (const FolderRecord& record : m_pResult->catalogue.records) {
            InsertItemData(reinterpret_cast<LPARAM>(&record), -1);
        }
    }
    Resort();
}

void CFolderListCtrl::GetDefaultWidths(int32_t widths[3]) const {
    HDC dc = ::GetDC(m_hWnd);
    const int dpi = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc != nullptr) {
        ::ReleaseDC(m_hWnd, dc);
    }
    widths[0] = view::ScaleForDpi(kFileNameWidth, dpi);
    widths[1] = view::FitColumnWidth(view::ScaleForDpi(kSizeWidth, dpi),
                                     GetStringWidth(view::kWidestSizeText),
                                     view::ScaleForDpi(kCellPadding, dpi));
    widths[2] = view::ScaleForDpi(kFolderNameWidth, dpi);
}

std::vector<int32_t> CFolderListCtrl::GetDefaultColumnWidths() const {
    int32_t widths[3];
    GetDefaultWidths(widths);
    return std::vector<int32_t>(widths, widths + 3);
}

CFolderListCtrl::Place CFolderListCtrl::GetPlace() const {
    Place place;
    const int top = GetTopIndex();
    if (top >= 0 && top < GetItemCount()) {
        place.bHasTopRow = true;
        place.topRow = RecordOf(GetItemData(top));
    }
    place.nScrollX = GetScrollX();
    return place;
}

void CFolderListCtrl::RestorePlace(const Place& place) {
    if (place.bHasTopRow) {
        const std::string& name = place.topRow.fileName;
        ScrollToKeptRow(reinterpret_cast<LPARAM>(&place.topRow),
                        [&name](LPARAM item) { return RecordOf(item).fileName == name; });
    }
    ScrollToX(place.nScrollX);
}

int CFolderListCtrl::CompareItems(LPARAM a, LPARAM b, int column) const {
    return view::CompareFolderItems(RecordOf(a), RecordOf(b), column);
}

std::string CFolderListCtrl::GetItemText(LPARAM item, int column) const {
    const FolderRecord& record = RecordOf(item);
    switch (column) {
    case view::kColumnFileName:
        return record.fileName;
    case view::kColumnSize:
        return FormatSize(record.size, SizeStyleFor(m_bCompactSizes != 0));
    case view::kColumnFolderName:
        return record.folderPath + record.folderName;
    default:
        return std::string();
    }
}
