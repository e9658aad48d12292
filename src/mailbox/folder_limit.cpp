// Which rows the folder limit applies to.
#include "mailbox/folder_limit.h"

#include "platform/files.h"

bool IsFolderFile(const FolderRecord& record) {
    return platform::MatchesPattern(record.fileName.c_str(), "*.PMM") ||
           platform::MatchesPattern(record.fileName.c_str(), "*.MBX");
}

FolderLimit LimitOf(const FolderRecord& record) {
    return IsFolderFile(record) ? LimitForSize(record.size) : FolderLimit::kBelow;
}
