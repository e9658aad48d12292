// An earlier JSON report of foldtally-report (--compare) and what changed since: the
// rows are matched by file name, in any letter case, as Windows names files.
#pragma once

#include "mailbox/folder_record.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// Larger earlier reports are refused before they are read: 64 MiB hold about 300 000
// rows, far more than any mailbox has folders.
constexpr uint64_t kMaxEarlierReportBytes = 64ull << 20;

// The rows of an earlier report, with texts back in the program's Windows-1252 (a
// character it lacks becomes '?'); rows that report marked removed are not among them.
struct EarlierReport {
    std::vector<FolderRecord> rows;
    uint64_t totalSize = 0;
};

// Reads the JSON text of an earlier report. False with `error` (Windows-1252, without
// the file name) on anything that is not such a report; `earlier` is then empty.
bool ParseEarlierReport(std::string_view json, EarlierReport& earlier, std::string& error);

// Reads the file `path`: false with `error` when it is missing, unreadable, larger than
// kMaxEarlierReportBytes or not a report.
bool ReadEarlierReport(const std::string& path, EarlierReport& earlier, std::string& error);

struct RowChange {
    enum Kind : uint8_t { kChanged, kNew, kRemoved };
    Kind kind = kChanged;
    int64_t bytes = 0; // now minus then; a new row its size, a removed one minus its size
};

// The rows of a report against an earlier one: the current rows first, each with its
// change, then the earlier rows no longer there (size 0, kind kRemoved).
struct ComparedRows {
    std::vector<const FolderRecord*> rows;
    std::vector<RowChange> changes; // one per row
    std::vector<int64_t> bytes;     // the changes' bytes, for sorting
    std::vector<FolderRecord> removed;
    int64_t totalChange = 0;
};

void CompareRows(const std::vector<FolderRecord>& current, uint64_t currentTotal,
                 const EarlierReport& earlier, ComparedRows& compared);

} // namespace report
