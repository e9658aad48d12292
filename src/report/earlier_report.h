// An earlier JSON report of foldtally-report (--compare) and what changed since: the
// rows are matched by file name, in any letter case, as Windows names files.
#pragma once

#include "mailbox/folder_record.h"
#include "sizes/byte_change.h"
#include "view/folder_compare.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
class ReadOnlyFile;
}

namespace report {

// Larger earlier reports are refused before they are read: 64 MiB hold about 300 000
// rows, far more than any mailbox has folders.
constexpr uint64_t kMaxEarlierReportBytes = 64ull << 20;

// The rows of an earlier report, with texts back in the program's Windows-1252 (a
// character it lacks becomes '?'); rows that report marked removed are not among them.
// A row is its size and three lengths; the texts of all rows lie end to end in one
// string, so a report of 300 000 rows costs little more than its names.
class EarlierReport {
public:
    size_t RowCount() const { return m_rows.size(); }
    std::string_view FileName(size_t row) const;
    std::string_view FolderPath(size_t row) const;
    std::string_view FolderName(size_t row) const;
    uint64_t Size(size_t row) const { return m_rows[row].size; }
    // The sum of the sizes, at most 2^64 - 1 as the catalogue's own total.
    uint64_t TotalSize() const { return m_nTotalSize; }

    // What the report says of itself: the mailbox it scanned (Windows-1252, empty when
    // it says none) and the history format it was filed in (0: none, a plain report).
    const std::string& MailboxDir() const { return m_strMailboxDir; }
    uint64_t HistoryFormat() const { return m_nHistoryFormat; }
    void SetOrigin(std::string mailboxDir, uint64_t historyFormat) {
        m_strMailboxDir = std::move(mailboxDir);
        m_nHistoryFormat = historyFormat;
    }

    void Clear();
    void Add(std::string_view fileName, std::string_view folderPath, std::string_view folderName,
             uint64_t size);

private:
    struct Row {
        uint64_t size;
        uint32_t start; // of the file name in m_strTexts; path and name follow it
        uint32_t fileNameLength;
        uint32_t folderPathLength;
        uint32_t folderNameLength;
    };
    std::string m_strTexts;
    std::vector<Row> m_rows;
    uint64_t m_nTotalSize = 0;
    std::string m_strMailboxDir;
    uint64_t m_nHistoryFormat = 0;
};

// Hands over the next bytes of a report: fills up to `capacity` bytes of `buffer` and
// says how many; 0 at the end.
using ReportBytes = std::function<size_t(char* buffer, size_t capacity)>;

// Reads an earlier report as a stream of JSON events, keeping only its rows, and stops
// at the first thing that is not such a report (a row that is not one, nesting deeper
// than our reports ever do, more than `maxBytes`). False with `error` (Windows-1252,
// without the file name) on anything that is not such a report; `earlier` is then empty.
bool ParseEarlierReport(const ReportBytes& read, EarlierReport& earlier, std::string& error,
                        uint64_t maxBytes = kMaxEarlierReportBytes);
bool ParseEarlierReport(std::string_view json, EarlierReport& earlier, std::string& error);

// Reads the file `path`: false with `error` when it is missing, unreadable, larger than
// kMaxEarlierReportBytes or not a report.
bool ReadEarlierReport(const std::string& path, EarlierReport& earlier, std::string& error);

// As above, from the open `file`, read from its start. `cancel`, when given, is looked at
// between pieces of the file and stops the reading (false, `error` empty) once it is set;
// `bytesRead`, when given, receives how many bytes were read, whatever the outcome.
bool ReadEarlierReport(platform::ReadOnlyFile& file, EarlierReport& earlier, std::string& error,
                       const std::atomic<bool>* cancel = nullptr, uint64_t* bytesRead = nullptr);

// The rows of a report against an earlier one: the current rows first, each with its
// change, then the earlier rows no longer there (size 0, kind kRemoved); without an
// earlier report, the current rows alone. A removed row is its row in the earlier
// report, which keeps its texts: with two million rows gone since, a row here costs the
// 28 bytes of its change and index instead of a record's 120 and its texts. `current`
// and `earlier` must outlive the rows' use.
struct ComparedRows {
    size_t RowCount() const { return (current ? current->size() : 0) + removed.size(); }
    view::FolderFields Fields(size_t row) const;
    // Row `row` as a record: a current row itself, a removed one made in `scratch`.
    const FolderRecord& Row(size_t row, FolderRecord& scratch) const;

    const std::vector<FolderRecord>* current = nullptr;
    const EarlierReport* earlier = nullptr;
    std::vector<RowChange> changes; // one per row when compared, else none
    std::vector<uint32_t> removed;  // the earlier report's rows no longer there
    ByteChange totalChange;
};

void CompareRows(const std::vector<FolderRecord>& current, uint64_t currentTotal,
                 const EarlierReport& earlier, ComparedRows& compared);

} // namespace report
