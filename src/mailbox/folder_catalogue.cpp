// One scan of a mailbox directory into the catalogue. Only headers are read; sizes
// come from file lengths and the directory listing, so a scan takes time with the
// number of files, not with their size.
#include "mailbox/folder_catalogue.h"

#include "mailbox/folder_headers.h"
#include "mailbox/hierarchy.h"
#include "platform/files.h"

#include <utility>

namespace {

// The names of the folder files, by kind, in the order the directory delivers them.
struct FolderFileNames {
    std::vector<std::string> pmm; // "*.PMM"
    std::vector<std::string> mbx; // "*.MBX"
};

bool CollectFolderFile(const platform::DirectoryEntry& entry, void* context) {
    auto& names = *static_cast<FolderFileNames*>(context);
    if (platform::MatchesPattern(entry.name.c_str(), "*.PMM")) {
        names.pmm.push_back(entry.name);
    } else if (platform::MatchesPattern(entry.name.c_str(), "*.MBX")) {
        names.mbx.push_back(entry.name);
    }
    return true;
}

} // namespace

bool FolderCatalogue::Scan(const std::string& mailboxDir, bool resolvePaths, bool includeNewMail,
                           const std::string& newmailDir, const std::string& newMailLabel) {
    return Scan(mailboxDir, resolvePaths, includeNewMail, newmailDir, newMailLabel, nullptr);
}

bool FolderCatalogue::Scan(const std::string& mailboxDir, bool resolvePaths, bool includeNewMail,
                           const std::string& newmailDir, const std::string& newMailLabel,
                           ScanDetails* details) {
    records.clear();
    fileCount = 0;
    totalSize = 0;
    // Companions and "hierarch.pm" in another letter case are found in one listing.
    const platform::CaseFoldingScope caseFolding;

    bool result = true;
    pmHierarch ownHierarchy;
    pmHierarch& hierarchy = details ? details->hierarchy : ownHierarchy;
    std::vector<int32_t>* entryIndex = details ? &details->entryIndex : nullptr;
    if (details) {
        details->hierarchy = pmHierarch();
        details->entryIndex.clear();
        details->newMailRow = includeNewMail;
    }
    if (resolvePaths) {
        result = hierarchy.Fill(mailboxDir);
    }
    if (details) {
        details->hierarchyRead = resolvePaths && result;
    }
    if (includeNewMail) {
        AddNewMail(newmailDir, newMailLabel);
        if (entryIndex) {
            entryIndex->push_back(-1);
        }
    }
    const pmHierarch* handedOn = result ? &hierarchy : nullptr;
    // One pass over the directory for both kinds: in a mailbox of thousands of folders
    // a pass costs as much as opening a few hundred of them. Names only, since every
    // file is opened anyway and that gives its length.
    FolderFileNames names;
    if (!mailboxDir.empty()) { // unknown directory: no folders, never the current one's files
        platform::SearchDirectoryNames(mailboxDir, "*", &CollectFolderFile, &names);
    }
    records.reserve(records.size() + names.pmm.size() + names.mbx.size());
    if (entryIndex) {
        entryIndex->reserve(records.capacity());
    }
    ScanFolderFiles<pmm>(mailboxDir, names.pmm, resolvePaths, handedOn, entryIndex);
    ScanFolderFiles<mbx>(mailboxDir, names.mbx, resolvePaths, handedOn, entryIndex);
    return result;
}

void FolderCatalogue::AddNewMail(const std::string& newmailDir, const std::string& label) {
    NewMailRecord record;
    record.Analyze(newmailDir, label);
    Append(record);
}

template <class Record>
void FolderCatalogue::ScanFolderFiles(const std::string& mailboxDir,
                                      const std::vector<std::string>& names, bool resolvePaths,
                                      const pmHierarch* hierarchy,
                                      std::vector<int32_t>* entryIndex) {
    Record record; // reused for every file: SetPath starts it clean
    for (const std::string& name : names) {
        record.SetPath(mailboxDir + name);
        record.Analyze();
        if (entryIndex) {
            // One lookup for the path and for the tree that is built from the same scan.
            const int index =
                resolvePaths && hierarchy ? hierarchy->FindIndex(record.folderId) : -1;
            entryIndex->push_back(index);
            if (resolvePaths && hierarchy) {
                record.SetFolderPath(hierarchy->ResolvePathAt(index, false));
            }
        } else if (resolvePaths && hierarchy) {
            record.SetFolderPath(hierarchy->ResolvePath(record.folderId, false));
        }
        Append(std::move(record)); // the base fields move; SetPath refills them
    }
}

void FolderCatalogue::Append(const FolderRecord& record) {
    records.push_back(record); // copies the base fields only
    ++fileCount;
    totalSize += record.size;
}

void FolderCatalogue::Append(FolderRecord&& record) {
    ++fileCount;
    totalSize += record.size;
    records.push_back(std::move(record)); // moves the base fields only
}
