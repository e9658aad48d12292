// The folder catalogue: the rows of the last scan of a mailbox, their count and their
// total size. The folder list shows the rows and keeps pointers to them as item data.
// A scan starts, waits and ends on the calling thread; the folder files' headers are
// read on a few helper threads that live only during the call.
#pragma once

#include "mailbox/folder_record.h"
#include "mailbox/hierarchy.h"
#include "mailbox/scan_control.h"
#include "mailbox/scan_request.h"

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

// How a scan spreads the reading of folder files over helper threads. The default
// follows the machine; benchmarks and tests pass their own to the scan to force counts,
// failed starts or a file that vanishes after the listing.
struct ScanThreading {
    static constexpr int kAutomatic = -1;
    static constexpr int kMaxHelpers = 4;             // opens wait on the file system, not on work
    static constexpr size_t kMinFilesForHelpers = 64; // below, starting threads costs more
    // On a file server each open waits for a round trip: threads that wait side by side
    // cost nothing, and each one more shortens the scan.
    static constexpr int kMaxWaitingHelpers = 16;
    // An open slower than this, the median of the calling thread's first files, is
    // waiting, not working (a local open takes tens of microseconds, even under Wine).
    static constexpr uint32_t kSlowOpenMicros = 400;
    static constexpr size_t kSampleFiles = 16;

    // Helper threads to start: kAutomatic gives none below kMinFilesForHelpers folder
    // files and otherwise one per processor, at most kMaxHelpers, and kMaxWaitingHelpers
    // for a mailbox on a file server or once the first files' opens were measured slow;
    // 0 or more forces that many whatever the number of files.
    int helpers = kAutomatic;
    // The measure of a slow open for kAutomatic; tests move it.
    uint32_t slowOpenMicros = kSlowOpenMicros;
    // Bit i set: the start of helper i fails as if the platform had refused the thread.
    uint32_t failingStarts = 0;
    // Called on the calling thread once the directory is listed, before any folder file
    // is opened: tests remove files there that the listing still names.
    void (*afterListing)(void* context) = nullptr;
    void* afterListingContext = nullptr;
    // Called on whichever thread read it, after each folder file: tests cancel there
    // in the middle of the reading.
    void (*afterFileRead)(void* context) = nullptr;
    void* afterFileReadContext = nullptr;
    // Called on the calling thread once every folder file is read, before the paths are
    // resolved: tests cancel there.
    void (*beforePaths)(void* context) = nullptr;
    void* beforePathsContext = nullptr;
    // Not null: the scan counts its files there and stops once it is cancelled.
    ScanControl* control = nullptr;
};

class FolderCatalogue {
public:
    // Replaces the whole content: the new-mail row first (when `request.includeNewMail`), then
    // one row per "*.PMM" and then per "*.MBX" file of `request.mailboxDir`, in the order
    // of the directory search. Both directories end with a separator. With
    // `resolvePaths` each folder-file row gets its parent path from "hierarch.pm".
    // False only when paths were wanted and "hierarch.pm" cannot be opened; then no
    // path is resolved. Files that cannot be read still give rows.
    //
    // `records` changes only here: from the end of one scan to the start of the next,
    // every row stays at its address. The caller drops its pointers before scanning.
    //
    // The rows, their paths and the trace lines are those of one thread reading every
    // file in turn, whatever number of helpers read them; "hierarch.pm" is read on the
    // calling thread while the helpers run. Never entered twice at the same time.
    //
    // A scan cancelled through `threading.control` stops at the next file on every
    // thread and leaves the catalogue empty, writes no folder file's trace lines and
    // returns false; the caller tells it from a failed tree by the control's mark.
    //
    // `details`, when not null, keeps the table the scan walked and each row's identifier;
    // the folder files are read as `threading` says.
    bool Scan(const ScanRequest& request, ScanDetails* details = nullptr,
              const ScanThreading& threading = ScanThreading());

    std::vector<FolderRecord> records; // only the four base fields of each row
    int32_t fileCount = 0;             // rows, the new-mail row included
    uint64_t totalSize = 0;            // sum of the rows' sizes, at most 2^64 - 1
    // False when the mailbox directory was named but could not be listed (missing, not a
    // directory, no right to read it): then the only row is the new-mail row.
    bool mailboxListed = true;
};
