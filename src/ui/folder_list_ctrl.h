// CFolderListCtrl: the main window's folder list. Each row refers to one record of the
// folder catalogue, which owns it; the cells are the file name, the size (exact or
// compact) and the folder path with the folder name, made when the list paints them.
#pragma once

#include "ui/sort_list_ctrl.h"

class FolderCatalogue;
class FolderRecord;

class CFolderListCtrl : public CSortListCtrl {
public:
    static constexpr int kFileNameWidth = 110;
    static constexpr int kSizeWidth = 70;
    static constexpr int kFolderNameWidth = 240;

    CFolderListCtrl();

    // Once, before the saved column state is loaded: the catalogue to show, the three
    // columns with their titles from the string table, the list's extended styles, and
    // the initial order by folder name with ties broken from the leftmost column.
    void InitColumns(FolderCatalogue* catalogue, UINT fileNameTitleId, UINT sizeTitleId,
                     UINT folderNameTitleId);
    // After every scan: one row per record, in catalogue order, then sorted.
    void FillFromCatalogue(bool compact);

    int CompareItems(LPARAM a, LPARAM b, int column) const override;
    std::string GetItemText(LPARAM item, int column) const override;

    bool IsCompactSizes() const { return m_bCompactSizes != 0; }
    static const FolderRecord& RecordOf(LPARAM item) {
        return *reinterpret_cast<const FolderRecord*>(item);
    }

private:
    FolderCatalogue* m_pCatalogue = nullptr;
    int m_bCompactSizes = 0;
};
