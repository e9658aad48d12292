// One scan of a mailbox directory into the catalogue. Only headers are read; sizes
// come from file lengths and the directory listing, so a scan takes time with the
// number of files, not with their size.
#include "mailbox/folder_catalogue.h"

#include "mailbox/folder_headers.h"
#include "mailbox/hierarchy.h"
#include "platform/files.h"

namespace {

template <class Record> struct FolderFileScan {
    FolderCatalogue* catalogue;
    const std::string* mailboxDir;
    bool resolvePaths;
    const pmHierarch* hierarchy;
    Record record; // reused for every file: SetPath starts it clean
};

} // namespace

bool FolderCatalogue::Scan(const std::string& mailboxDir, bool resolvePaths, bool includeNewMail,
                           const std::string& newmailDir, const std::string& newMailLabel) {
    records.clear();
    fileCount = 0;
    totalSize = 0;

    bool result = true;
    pmHierarch hierarchy;
    if (resolvePaths) {
        result = hierarchy.Fill(mailboxDir);
    }
    if (includeNewMail) {
        AddNewMail(newmailDir, newMailLabel);
    }
    const pmHierarch* handedOn = result ? &hierarchy : nullptr;
    ScanFolderFiles<pmm>(mailboxDir, "*.PMM", resolvePaths, handedOn);
    ScanFolderFiles<mbx>(mailboxDir, "*.MBX", resolvePaths, handedOn);
    return result;
}

void FolderCatalogue::AddNewMail(const std::string& newmailDir, const std::string& label) {
    NewMailRecord record;
    record.Analyze(newmailDir, label);
    Append(record);
}

template <class Record>
void FolderCatalogue::ScanFolderFiles(const std::string& mailboxDir, const char* pattern,
                                      bool resolvePaths, const pmHierarch* hierarchy) {
    if (mailboxDir.empty()) {
        return; // unknown directory: no folders, and never the current directory's files
    }
    FolderFileScan<Record> scan{this, &mailboxDir, resolvePaths, hierarchy, Record()};
    // Names only: every file is opened anyway, and that gives its length.
    platform::SearchDirectoryNames(
        mailboxDir, pattern,
        [](const platform::DirectoryEntry& entry, void* context) {
            auto& s = *static_cast<FolderFileScan<Record>*>(context);
            s.record.SetPath(*s.mailboxDir + entry.name);
            s.record.Analyze();
            if (s.resolvePaths && s.hierarchy) {
                s.record.SetFolderPath(s.hierarchy->ResolvePath(s.record.folderId, false));
            }
            s.catalogue->Append(s.record);
            return true;
        },
        &scan);
}

void FolderCatalogue::Append(const FolderRecord& record) {
    records.push_back(record); // copies the base fields only
    ++fileCount;
    totalSize += record.size;
}
