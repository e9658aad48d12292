// The mail client's limit on a folder file: a .PMM or .MBX of 2 GiB or more misbehaves
// in it, so one that big is over the limit and one from 1.5 GiB on near it. The
// new-mail row and anything else that is no folder file has no limit.
#pragma once

#include "mailbox/folder_record.h"

#include <cstdint>

enum class FolderLimit : uint8_t { kBelow, kNear, kOver };

constexpr uint64_t kFolderLimitBytes = 2147483648ull;     // 2 GiB
constexpr uint64_t kFolderNearLimitBytes = 1610612736ull; // 1.5 GiB

// The state of a folder file of `size` bytes.
constexpr FolderLimit LimitForSize(uint64_t size) {
    return size >= kFolderLimitBytes       ? FolderLimit::kOver
           : size >= kFolderNearLimitBytes ? FolderLimit::kNear
                                           : FolderLimit::kBelow;
}

// True for a row of a folder file (name ending ".PMM" or ".MBX" in any case).
bool IsFolderFile(const FolderRecord& record);

// The state of `record`: by its size for a folder file, kBelow for any other row.
FolderLimit LimitOf(const FolderRecord& record);

// How many rows of `records` are near and over the limit.
struct LimitCounts {
    int nearLimit = 0;
    int overLimit = 0;
};
template <class Records> LimitCounts CountLimits(const Records& records) {
    LimitCounts counts;
    for (const FolderRecord& record : records) {
        const FolderLimit limit = LimitOf(record);
        counts.nearLimit += limit == FolderLimit::kNear ? 1 : 0;
        counts.overLimit += limit == FolderLimit::kOver ? 1 : 0;
    }
    return counts;
}
