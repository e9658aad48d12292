// Which rows the folder limit applies to.
#include "mailbox/folder_limit.h"

#include "platform/files.h"

bool IsFolderFile(const FolderRecord& record) {
    return platform::MatchesPattern(record.fileName.c_str(), "*.PMM") ||
           platform::MatchesPattern(record.fileName.c_str(), "*.MBX");
}

FolderLimit LimitOf(const FolderRecord& record) {
    // The size first: a tree and a status line ask this of every row, and nearly every
    // row is far below the limit.
    const FolderLimit bySize = LimitForSize(record.size);
    return bySize != FolderLimit::kBelow && IsFolderFile(record) ? bySize : FolderLimit::kBelow;
}
