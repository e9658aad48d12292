// The catalogue row and the new-mail row.
#include "mailbox/folder_record.h"

#include "mailbox/folder_headers.h"
#include "platform/files.h"

#include <algorithm>

void FolderRecord::Clear() {
    fileName.clear();
    folderPath.clear();
    folderName.clear();
    size = 0;
    lastWrite = 0;
}

bool FolderRecord::IsEmpty() const {
    return fileName.empty() && folderPath.empty() && folderName.empty() && size == 0 &&
           lastWrite == 0;
}

void FolderRecord::SetFolderPath(const std::string& path) {
    folderPath = path;
}

bool NewMailRecord::Analyze(const std::string& newmailDir, const std::string& label) {
    Clear();
    folderName = label;
    fileName = kNewMailFileName;
    if (newmailDir.empty()) {
        return true; // unknown directory: no new mail, and never the current directory's files
    }
    const bool read = platform::SearchDirectory(
        newmailDir, kNewMailFileName,
        [](const platform::DirectoryEntry& entry, void* context) {
            auto& row = *static_cast<NewMailRecord*>(context);
            row.size += entry.size;
            row.lastWrite = std::max(row.lastWrite, entry.lastWrite);
            return true;
        },
        this);
    if (!read) {
        size = 0;
        lastWrite = 0;
        folderName = FailureText(FolderFailure::kNewmailDir);
    }
    return read;
}
