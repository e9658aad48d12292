// The users' mailboxes read side by side. One mailbox of 400 folder files is read on
// one thread in a few milliseconds, almost all of it waiting for opens; starting a
// scan's own helpers for each would cost more than it saves, so each mailbox is read
// whole on one thread, and several threads each take the next user until none is left.
#include "mailbox/all_users_scan.h"

#include "diag/trace.h"
#include "mailbox/folder_headers.h"
#include "mailbox/hierarchy.h"
#include "platform/files.h"
#include "platform/thread.h"
#include "sizes/byte_change.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>

namespace {

// What the threads of one overview share; only the index and the counts are written by
// two threads, each row by one.
struct Work {
    AllUsersResult* result = nullptr;
    const AllUsersThreading* threading = nullptr;
    std::atomic<size_t> next{0};
    // Each row's trace lines, written by the calling thread once all are read: the
    // trace goes out in the rows' order, and never from two threads at once.
    std::vector<std::vector<std::string>> traceLines;
};

bool Cancelled(const AllUsersThreading& threading) {
    return threading.control && threading.control->IsCancelled();
}

// A user's scan ends at its next file once the overview is cancelled, and counts its
// files into the overview's totals as it goes.
struct UserScanHooks {
    ScanControl own;
    ScanControl* overview = nullptr;

    static void AfterListing(void* context) {
        auto& self = *static_cast<UserScanHooks*>(context);
        self.overview->filesTotal.fetch_add(self.own.filesTotal.load(std::memory_order_relaxed),
                                            std::memory_order_relaxed);
    }
    static void AfterFile(void* context) {
        auto& self = *static_cast<UserScanHooks*>(context);
        self.overview->filesRead.fetch_add(1, std::memory_order_relaxed);
        if (self.overview->IsCancelled()) {
            self.own.Cancel();
        }
    }
};

// The parent path of the largest folder file of `row`: the one path the overview names,
// so the tree is read for it alone, and the file's header again for its key.
std::string LargestFolderPath(const UserMailbox& row) {
    pmHierarch tree;
    if (!tree.Fill(row.user.folderDir)) {
        return std::string();
    }
    const std::string path = row.user.folderDir + row.largestFile;
    const bool isMbx = platform::MatchesPattern(row.largestFile.c_str(), "*.MBX");
    pmm folderPmm;
    mbx folderMbx;
    FolderFileRecord& file = isMbx ? static_cast<FolderFileRecord&>(folderMbx) : folderPmm;
    file.SetPath(path);
    const bool read = isMbx ? folderMbx.Analyze() : folderPmm.Analyze();
    return read ? tree.ResolvePath(file.folderId, false) : std::string();
}

void ReadMailbox(UserMailbox& row, const AllUsersThreading& threading,
                 std::vector<std::string>& traceLines) {
    // The overview shows no folder paths: reading and walking each user's tree would
    // cost a third of the time. Whether the tree can be read is still said, by opening it.
    const ScanRequest request = UserScanRequest(row.user, false, "<Posteingang>");
    ScanThreading scanThreading;
    scanThreading.helpers = threading.helpersPerMailbox;
    UserScanHooks hooks;
    scanThreading.control = &hooks.own;
    if (threading.control) {
        hooks.overview = threading.control;
        scanThreading.afterListing = &UserScanHooks::AfterListing;
        scanThreading.afterListingContext = &hooks;
        scanThreading.afterFileRead = &UserScanHooks::AfterFile;
        scanThreading.afterFileReadContext = &hooks;
    }
    SharedScanResult scan;
    {
        const TraceBuffer trace(traceLines);
        scan = RunScan(request, scanThreading);
    }
    if (scan) {
        platform::ReadOnlyFile hierarchy;
        SummariseMailbox(row, std::move(scan), hierarchy.Open(row.user.folderDir + "hierarch.pm"));
        if (!row.largestFile.empty() && row.fault == UserFault::kNone) {
            row.largestFolder = LargestFolderPath(row) + row.largestFolder;
        }
    }
}

void ReadUntilDone(Work& work) {
    const AllUsersThreading& threading = *work.threading;
    std::vector<UserMailbox>& rows = work.result->rows;
    for (;;) {
        if (Cancelled(threading)) {
            return;
        }
        const size_t i = work.next.fetch_add(1, std::memory_order_relaxed);
        if (i >= rows.size()) {
            return;
        }
        if (rows[i].user.folderDir.empty()) {
            // Nothing to read: the row is its fault alone.
        } else {
            ReadMailbox(rows[i], threading, work.traceLines[i]);
            if (Cancelled(threading)) {
                return; // a row read only in part is not reported done
            }
            if (threading.control) {
                threading.control->mailboxesRead.fetch_add(1, std::memory_order_relaxed);
            }
        }
        if (threading.rowDone) {
            threading.rowDone(i, threading.rowDoneContext);
        }
    }
}

struct Reader {
    platform::Thread thread;
    Work* work = nullptr;
    std::exception_ptr error;

    static unsigned Main(void* argument) {
        Reader& self = *static_cast<Reader*>(argument);
        try {
            ReadUntilDone(*self.work);
        } catch (...) {
            self.error = std::current_exception();
        }
        return 0;
    }
};

int ThreadsFor(const AllUsersThreading& threading, const AllUsersResult& result, size_t toRead) {
    if (threading.mailboxesAtOnce != AllUsersThreading::kAutomatic) {
        return std::max(threading.mailboxesAtOnce, 1);
    }
    int wanted;
    if (platform::IsOnNetworkShare(result.root)) {
        // Every open waits for the file server: threads that wait side by side cost nothing.
        wanted = AllUsersThreading::kMaxMailboxesOnShare;
    } else {
        // One a processor. Under Wine every open is a round trip to its one server
        // process: on a loaded machine mailboxes read side by side only queue there, on
        // a quiet one two read in 0.43 of the loop's time against 1.06 for one
        // (docs/performance.md).
        wanted = static_cast<int>(
            std::min<unsigned>(platform::ProcessorCount(), AllUsersThreading::kMaxMailboxesAtOnce));
    }
    return static_cast<int>(
        std::min<size_t>(static_cast<size_t>(std::max(wanted, 1)), std::max<size_t>(toRead, 1)));
}

} // namespace

ScanRequest UserScanRequest(const PlannedUser& user, bool resolvePaths,
                            const std::string& newMailLabel) {
    return {user.folderDir, user.folderDir, resolvePaths, true, newMailLabel};
}

void SummariseMailbox(UserMailbox& row, SharedScanResult scan, bool hierarchyReadable) {
    const FolderCatalogue& catalogue = scan->catalogue;
    const size_t first = scan->details.newMailRow ? 1 : 0;
    row.folderFiles = 0;
    row.largestFile.clear();
    row.largestFolder.clear();
    row.largestSize = 0;
    for (size_t i = first; i < catalogue.records.size(); ++i) {
        const FolderRecord& record = catalogue.records[i];
        ++row.folderFiles;
        // The first of equal sizes, so the same mailbox always names the same file.
        if (row.largestFile.empty() || record.size > row.largestSize) {
            row.largestFile = record.fileName;
            row.largestFolder = record.folderPath + record.folderName;
            row.largestSize = record.size;
        }
    }
    row.newMailSize = first ? catalogue.records.front().size : 0;
    row.newMailLastWrite = first ? catalogue.records.front().lastWrite : 0;
    row.totalSize = catalogue.totalSize;
    row.limits = CountLimits(catalogue.records);
    if (!hierarchyReadable && row.fault == UserFault::kNone) {
        row.fault = UserFault::kNoHierarchy;
    }
    row.scan = std::move(scan);
}

void ScanPlannedUsers(AllUsersResult& result, const AllUsersThreading& threading) {
    size_t toRead = 0;
    for (const UserMailbox& row : result.rows) {
        toRead += row.user.folderDir.empty() ? 0 : 1;
    }
    if (threading.control) {
        threading.control->mailboxesTotal.store(static_cast<uint32_t>(toRead),
                                                std::memory_order_relaxed);
    }
    Work work;
    work.result = &result;
    work.threading = &threading;
    work.traceLines.resize(result.rows.size());
    {
        const int threads = ThreadsFor(threading, result, toRead);
        std::unique_ptr<Reader[]> readers(new Reader[static_cast<size_t>(threads)]);
        for (int i = 1; i < threads; ++i) { // the calling thread is the first reader
            readers[i].work = &work;
            static_cast<void>(readers[i].thread.Start(&Reader::Main, &readers[i]));
            // One that cannot start is simply missing: the others read its share.
        }
        ReadUntilDone(work);
        for (int i = 1; i < threads; ++i) {
            readers[i].thread.Join();
        }
        for (int i = 1; i < threads; ++i) {
            if (readers[i].error) {
                std::rethrow_exception(readers[i].error);
            }
        }
    }
    for (const std::vector<std::string>& lines : work.traceLines) {
        for (const std::string& line : lines) {
            TraceText(line);
        }
    }
    result.folderFiles = 0;
    result.totalSize = 0;
    for (const UserMailbox& row : result.rows) {
        result.folderFiles += row.folderFiles;
        result.totalSize = AddSizes(result.totalSize, row.totalSize);
    }
}

bool PlanAllUsers(const std::string& root, AllUsersResult& result, const ScanControl* control) {
    result = AllUsersResult();
    result.root = root;
    const std::string listPath = UserListPath(root);
    if (listPath.empty()) {
        return false;
    }
    UserList users;
    const UserListStatus status = ReadUserList(listPath, users, control);
    if (status != UserListStatus::kRead) {
        result.userListTooLong = status == UserListStatus::kTooLong;
        return false;
    }
    for (PlannedUser& planned : PlanInstallation(root, users, control)) {
        UserMailbox row;
        row.fault = planned.fault;
        row.user = std::move(planned);
        result.rows.push_back(std::move(row));
    }
    return true;
}

bool ScanAllUsers(const std::string& root, AllUsersResult& result,
                  const AllUsersThreading& threading) {
    if (!PlanAllUsers(root, result)) {
        return false;
    }
    ScanPlannedUsers(result, threading);
    return true;
}
