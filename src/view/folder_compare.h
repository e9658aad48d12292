// How the folder list compares two rows in one column: names without regard to the case
// of the ASCII letters, sizes as numbers. The list control and the report tool both
// sort with this, so the report shows the order the window will show.
#pragma once

#include "mailbox/folder_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace view {

enum FolderColumn {
    kColumnFileName = 0,
    kColumnSize = 1,
    kColumnFolderName = 2, // folder path followed directly by folder name
    kFolderColumnCount = 3,
    // The main list's optional columns follow the three; the report has none of them.
    kColumnChanged = 3, // the last change
    kColumnChange = 4,  // the change since a day of the history
    kAllFolderColumns = 5,
};

// The fields of one row that sorting looks at.
struct FolderFields {
    std::string_view fileName;
    std::string_view folderPath;
    std::string_view folderName;
    uint64_t size = 0;
    int64_t lastWrite = 0;
};

// Byte by byte with 'A'-'Z' taken as 'a'-'z' and every other byte (umlauts included)
// by its unsigned value; on a common prefix the shorter text is the smaller. -1, 0, +1.
int CompareFoldedText(std::string_view a, std::string_view b);

// As CompareFoldedText on the concatenations a1 + a2 and b1 + b2, without building them.
int CompareFoldedText(std::string_view a1, std::string_view a2, std::string_view b1,
                      std::string_view b2);

// Appends `text` with 'A'-'Z' as 'a'-'z'. Two texts folded so compare with
// std::string::compare (bytes as unsigned values, the shorter first on a common
// prefix) exactly as CompareFoldedText compares the originals: sort keys for sorting
// many rows, each folded once instead of at every comparison.
void AppendFolded(std::string& out, std::string_view text);

// Columns 0 and 2 by CompareFoldedText, column 1 by size, the change's column by the
// last change (unknown first); any other column is equal.
int CompareFolderItems(const FolderFields& a, const FolderFields& b, int column);

inline FolderFields FieldsOf(const FolderRecord& record) {
    return FolderFields{record.fileName, record.folderPath, record.folderName, record.size,
                        record.lastWrite};
}

// The same for two rows of the catalogue, as the list and the report hold them.
inline int CompareFolderItems(const FolderRecord& a, const FolderRecord& b, int column) {
    return CompareFolderItems(FieldsOf(a), FieldsOf(b), column);
}

} // namespace view
