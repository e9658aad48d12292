// The folder catalogue: the rows of the last scan of a mailbox, their count and their
// total size. The folder list shows the rows and keeps pointers to them as item data.
#pragma once

#include "mailbox/folder_record.h"
#include "mailbox/hierarchy.h"

#include <cstdint>
#include <string>
#include <vector>

// What a scan read besides the rows, for a view that shows the folder tree itself.
struct ScanDetails {
    pmHierarch hierarchy;       // filled when paths were wanted
    bool hierarchyRead = false; // paths were wanted and "hierarch.pm" was read
    bool newMailRow = false;    // the first row is the new-mail row
    // Per row, the table's entry its header identifier finds (FindIndex), or -1: not
    // found, the new-mail row, or no table.
    std::vector<int32_t> entryIndex;
};

class FolderCatalogue {
public:
    // Replaces the whole content: the new-mail row first (when `includeNewMail`), then
    // one row per "*.PMM" and then per "*.MBX" file of `mailboxDir`, each in the order
    // of the directory search. Both directories end with a separator. With
    // `resolvePaths` each folder-file row gets its parent path from "hierarch.pm".
    // False only when paths were wanted and "hierarch.pm" cannot be opened; then no
    // path is resolved. Files that cannot be read still give rows.
    //
    // `records` changes only here: from the end of one scan to the start of the next,
    // every row stays at its address. The caller drops its pointers before scanning.
    bool Scan(const std::string& mailboxDir, bool resolvePaths, bool includeNewMail,
              const std::string& newmailDir, const std::string& newMailLabel);
    // The same scan, keeping in `details` (when not null) the table it walked and each
    // row's identifier.
    bool Scan(const std::string& mailboxDir, bool resolvePaths, bool includeNewMail,
              const std::string& newmailDir, const std::string& newMailLabel, ScanDetails* details);

    std::vector<FolderRecord> records; // only the four base fields of each row
    int32_t fileCount = 0;             // rows, the new-mail row included
    uint64_t totalSize = 0;            // sum of the rows' sizes

private:
    void AddNewMail(const std::string& newmailDir, const std::string& label);
    template <class Record>
    void ScanFolderFiles(const std::string& mailboxDir, const std::vector<std::string>& names,
                         bool resolvePaths, const pmHierarch* hierarchy,
                         std::vector<int32_t>* entryIndex);
    void Append(const FolderRecord& record);
    void Append(FolderRecord&& record);
};
