// One scan of a mailbox directory into the catalogue. Only headers are read; sizes
// come from file lengths and the directory listing, so a scan takes time with the
// number of files, not with their size.
//
// That time is spent waiting for opens (three round trips to Wine's server each, one to
// the server of a network share), not working, so the folder files are read on a few
// helper threads and on the calling thread at once; on a file server, or when the
// first opens are measured slow, on many more. Each takes the next file by one
// atomic index and writes only that file's row and slot; after all have joined, the
// calling thread resolves the paths and writes the trace lines in the files' order, so
// the outcome is that of one thread reading the files in turn.
#include "mailbox/folder_catalogue.h"

#include "diag/trace.h"
#include "mailbox/folder_headers.h"
#include "mailbox/hierarchy.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keyed_hash.h"
#include "platform/thread.h"
#include "sizes/byte_change.h"
#include "text/ascii_case.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <utility>

namespace {

// The base name folded to lower case: an .MBX and its .PMG meet under it.
std::string FoldedStem(const std::string& name) {
    std::string stem = name.substr(0, name.size() - 4); // the patterns end in ".XXX"
    for (char& c : stem) {
        c = text::FoldAscii(c);
    }
    return stem;
}

// The names of the folder files, by kind, in the order the directory delivers them,
// and their last writes where the listing carries them (Windows; 0 elsewhere, where
// the opens tell them instead).
struct FolderFileNames {
    std::vector<std::string> pmm; // "*.PMM"
    std::vector<std::string> mbx; // "*.MBX"
    std::vector<int64_t> pmmTimes;
    std::vector<int64_t> mbxTimes;
    platform::KeyedMap<int64_t> pmgTimes; // by FoldedStem, only known ones

    // The later of an .MBX's listed time and its companion's.
    int64_t MbxTime(size_t i) const {
        if (pmgTimes.empty()) {
            return mbxTimes[i];
        }
        const auto companion = pmgTimes.find(FoldedStem(mbx[i]));
        return companion == pmgTimes.end() ? mbxTimes[i] : std::max(mbxTimes[i], companion->second);
    }
};

// The listing's visitor: the names so far, and the mark that ends the listing early.
struct Listing {
    FolderFileNames names;
    const ScanControl* control = nullptr;
};

bool CollectFolderFile(const platform::DirectoryEntry& entry, void* context) {
    auto& listing = *static_cast<Listing*>(context);
    if (listing.control && listing.control->IsCancelled()) {
        return false; // a directory of a hundred thousand names takes a while to list
    }
    FolderFileNames& names = listing.names;
    if (platform::MatchesPattern(entry.name.c_str(), "*.PMM")) {
        names.pmm.push_back(entry.name);
        names.pmmTimes.push_back(entry.lastWrite);
    } else if (platform::MatchesPattern(entry.name.c_str(), "*.MBX")) {
        names.mbx.push_back(entry.name);
        names.mbxTimes.push_back(entry.lastWrite);
    } else if (entry.lastWrite != 0 && platform::MatchesPattern(entry.name.c_str(), "*.PMG")) {
        // Where two differ only in case (POSIX), the later counts: either may be opened.
        int64_t& time = names.pmgTimes[FoldedStem(entry.name)];
        time = std::max(time, entry.lastWrite);
    }
    return true;
}

// What reading one file leaves besides its row, kept until every file has been read:
// the identifier to look up once the tree is complete, and the trace lines, which must
// come out in the files' order.
struct FileSlot {
    std::string folderId;
    std::vector<std::string> traceLines;
};

// The files of one scan, the index that hands them out and the rows and slots they
// fill. Files [0, pmm) are the .PMM folders, the rest the .MBX folders, as the rows
// stand. Nothing but the index is written by two threads.
class FolderFileReader {
public:
    FolderFileReader(const std::string& mailboxDir, const FolderFileNames& names,
                     FolderRecord* rows, FileSlot* slots, const ScanThreading& threading)
        : m_strMailboxDir(mailboxDir), m_names(names), m_pRows(rows), m_pSlots(slots),
          m_nCount(names.pmm.size() + names.mbx.size()), m_threading(threading) {}

    // Reads the next file not yet taken, until none is left or the scan is cancelled.
    void ReadUntilDone() {
        Records records;
        while (ReadNext(records)) {
        }
    }
    // The same for at most `count` files; how many this thread read.
    size_t ReadSome(size_t count) {
        Records records;
        size_t read = 0;
        while (read < count && ReadNext(records)) {
            ++read;
        }
        return read;
    }

private:
    // Reused from file to file: SetPath starts each one clean.
    struct Records {
        pmm pmmRecord;
        mbx mbxRecord;
    };

    // Takes the next file and reads it; false when none is left or the scan is cancelled.
    bool ReadNext(Records& records) {
        ScanControl* control = m_threading.control;
        if (control && control->IsCancelled()) {
            return false;
        }
        const size_t i = m_nNext.fetch_add(1, std::memory_order_relaxed);
        if (i >= m_nCount) {
            return false;
        }
        if (i < m_names.pmm.size()) {
            Read(records.pmmRecord, m_names.pmm[i], m_pRows[i], m_pSlots[i]);
            m_pRows[i].lastWrite = std::max(m_pRows[i].lastWrite, m_names.pmmTimes[i]);
        } else {
            const size_t k = i - m_names.pmm.size();
            Read(records.mbxRecord, m_names.mbx[k], m_pRows[i], m_pSlots[i]);
            m_pRows[i].lastWrite = std::max(m_pRows[i].lastWrite, m_names.MbxTime(k));
        }
        if (control) {
            control->filesRead.fetch_add(1, std::memory_order_relaxed);
        }
        if (m_threading.afterFileRead) {
            m_threading.afterFileRead(m_threading.afterFileReadContext);
        }
        return true;
    }

    // Analyze closes every file it opens before it returns, so no file is open while
    // its row is filled, and an .MBX is closed before its companion opens.
    template <class Record>
    void Read(Record& record, const std::string& name, FolderRecord& row, FileSlot& slot) {
        {
            const TraceBuffer trace(slot.traceLines);
            record.SetPath(m_strMailboxDir + name);
            record.Analyze();
        }
        slot.folderId = std::move(record.folderId);
        row = std::move(record); // the base fields move; SetPath refills them
    }

    const std::string& m_strMailboxDir;
    const FolderFileNames& m_names;
    FolderRecord* m_pRows;
    FileSlot* m_pSlots;
    const size_t m_nCount;
    const ScanThreading& m_threading;
    std::atomic<size_t> m_nNext{0};
};

// One helper thread and what escaped from it: the scan rethrows that on the calling
// thread, where one thread reading every file would have thrown it.
struct Helper {
    platform::Thread thread;
    FolderFileReader* pReader = nullptr;
    std::exception_ptr error;

    static unsigned Main(void* argument) {
        Helper& self = *static_cast<Helper*>(argument);
        try {
            self.pReader->ReadUntilDone();
        } catch (...) {
            self.error = std::current_exception();
        }
        return 0;
    }
};

// The helpers of one scan. A helper that cannot be started is simply missing: the
// others and the calling thread read its share. Joined at the latest when destroyed,
// so none outlives the reader and rows it writes.
class HelperThreads {
public:
    // Room for `capacity` helpers, of which none has started yet.
    HelperThreads(FolderFileReader& reader, int capacity, uint32_t failingStarts)
        : m_helpers(capacity > 0 ? new Helper[static_cast<size_t>(capacity)] : nullptr),
          m_nCapacity(capacity > 0 ? capacity : 0), m_nFailingStarts(failingStarts) {
        for (int i = 0; i < m_nCapacity; ++i) {
            m_helpers[i].pReader = &reader;
        }
    }
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    // Starts helpers until `count` were tried (at most the capacity); returns how many
    // of all tried are running.
    int StartUpTo(int count) {
        for (; m_nTried < count && m_nTried < m_nCapacity; ++m_nTried) {
            const bool refused = m_nTried < 32 && ((m_nFailingStarts >> m_nTried) & 1u) != 0;
            if (!refused && m_helpers[m_nTried].thread.Start(&Helper::Main, &m_helpers[m_nTried])) {
                ++m_nStarted;
            }
        }
        return m_nStarted;
    }
    int Tried() const { return m_nTried; }
    int Started() const { return m_nStarted; }

    // Waits for every helper, then rethrows the first failure of one.
    void Join() {
        for (int i = 0; i < m_nCapacity; ++i) {
            m_helpers[i].thread.Join();
        }
        for (int i = 0; i < m_nCapacity; ++i) {
            if (m_helpers[i].error) {
                std::rethrow_exception(m_helpers[i].error);
            }
        }
    }

private:
    std::unique_ptr<Helper[]> m_helpers; // in place: each thread holds its helper's address
    int m_nCapacity;
    uint32_t m_nFailingStarts;
    int m_nTried = 0;
    int m_nStarted = 0;
};

bool Cancelled(const ScanThreading& threading) {
    return threading.control && threading.control->IsCancelled();
}

// How many helpers a scan starts at once, and how many it may grow to when its first
// opens turn out slow.
struct HelperPlan {
    int first = 0;
    int most = 0;
};

HelperPlan PlanHelpers(const ScanThreading& threading, size_t folderFiles,
                       const std::string& mailboxDir) {
    if (threading.helpers != ScanThreading::kAutomatic) {
        const int forced = std::max(threading.helpers, 0);
        return {forced, forced};
    }
    if (folderFiles < ScanThreading::kMinFilesForHelpers) {
        return {0, 0};
    }
    if (platform::IsOnNetworkShare(mailboxDir)) {
        return {ScanThreading::kMaxWaitingHelpers, ScanThreading::kMaxWaitingHelpers};
    }
    const unsigned processors = platform::ProcessorCount();
    const int local = static_cast<int>(std::min<unsigned>(processors, ScanThreading::kMaxHelpers));
    return {local, ScanThreading::kMaxWaitingHelpers};
}

// The calling thread times its first few files one by one: when they waited (a share
// the platform does not name as one, a slow disk, a virus scanner) the scan starts the
// rest of its helpers. The median, so that a local disk on a busy machine, where the
// thread now and then loses the processor in the middle of an open, keeps its few.
void ReadAndGrowWhenSlow(FolderFileReader& reader, HelperThreads& helpers, const HelperPlan& plan,
                         const ScanThreading& threading) {
    if (plan.most <= helpers.Tried()) {
        return;
    }
    uint64_t times[ScanThreading::kSampleFiles];
    for (size_t i = 0; i < ScanThreading::kSampleFiles; ++i) {
        const uint64_t started = platform::MonotonicMicroseconds();
        if (reader.ReadSome(1) == 0) {
            return; // the files are all taken: nothing left to share out
        }
        times[i] = platform::MonotonicMicroseconds() - started;
    }
    uint64_t* middle = times + ScanThreading::kSampleFiles / 2;
    std::nth_element(times, middle, times + ScanThreading::kSampleFiles);
    if (*middle >= threading.slowOpenMicros) {
        helpers.StartUpTo(plan.most);
    }
}

} // namespace

bool FolderCatalogue::Scan(const ScanRequest& request, ScanDetails* details,
                           const ScanThreading& threading) {
    const std::string& mailboxDir = request.mailboxDir;
    const bool resolvePaths = request.resolvePaths;
    const bool includeNewMail = request.includeNewMail;
    records.clear();
    fileCount = 0;
    totalSize = 0;
    mailboxListed = true;
    // Companions and "hierarch.pm" in another letter case are found in one listing.
    const platform::CaseFoldingScope caseFolding;

    // One pass over the directory for both kinds: in a mailbox of thousands of folders
    // a pass costs as much as opening a few hundred of them. Names only, since every
    // file is opened anyway and that gives its length; the last writes come with the
    // names where the listing has them, else from the opens.
    Listing listing;
    listing.control = threading.control;
    if (!mailboxDir.empty()) { // unknown directory: no folders, never the current one's files
        mailboxListed =
            platform::SearchDirectoryNames(mailboxDir, "*", &CollectFolderFile, &listing);
    }
    const FolderFileNames& names = listing.names;
    const size_t files = names.pmm.size() + names.mbx.size();
    if (threading.control && !threading.control->IsCancelled()) {
        threading.control->filesTotal.store(static_cast<uint32_t>(files),
                                            std::memory_order_relaxed);
    }
    if (threading.afterListing) {
        threading.afterListing(threading.afterListingContext);
    }
    if (Cancelled(threading)) {
        return false;
    }
    const size_t first = includeNewMail ? 1 : 0;
    // Sized once before any helper starts: no row moves while they write.
    records.resize(first + files);
    std::vector<FileSlot> slots(files);
    FolderFileReader reader(mailboxDir, names, records.data() + first, slots.data(), threading);

    bool result = true;
    pmHierarch ownHierarchy;
    pmHierarch& hierarchy = details ? details->hierarchy : ownHierarchy;
    if (details) {
        details->hierarchy = pmHierarch();
        details->entryIndex.clear();
        details->newMailRow = includeNewMail;
    }
    {
        const HelperPlan plan = PlanHelpers(threading, files, mailboxDir);
        HelperThreads helpers(reader, plan.most, threading.failingStarts);
        helpers.StartUpTo(plan.first);
        // The tree and the new mail are read while the helpers read folder files; their
        // trace lines go out now, as they come before every folder file's.
        if (resolvePaths) {
            result = hierarchy.Fill(mailboxDir);
        }
        if (includeNewMail) {
            NewMailRecord newMail;
            static_cast<void>(newMail.Analyze(request.newmailDir, request.newMailLabel));
            records.front() = newMail; // copies the base fields only
        }
        ReadAndGrowWhenSlow(reader, helpers, plan, threading);
        reader.ReadUntilDone();
        if (threading.control) {
            threading.control->helpers.store(static_cast<uint32_t>(helpers.Started()),
                                             std::memory_order_relaxed);
        }
        helpers.Join();
    }
    // A cancel during the reading leaves rows that were never read.
    if (Cancelled(threading)) {
        records.clear();
        return false;
    }

    if (threading.beforePaths) {
        threading.beforePaths(threading.beforePathsContext);
    }

    // Without a readable tree no path is resolved.
    const bool resolve = resolvePaths && result;
    std::vector<int32_t>* entryIndex = details ? &details->entryIndex : nullptr;
    if (details) {
        details->hierarchyRead = resolve;
        entryIndex->reserve(records.size());
        entryIndex->resize(first, -1); // the new-mail row
    }
    // Resolving a path walks the tree and writes no trace line, so the paths come first,
    // where a cancel may still end the scan, and the trace lines all go out after them.
    for (size_t i = 0; i < files; ++i) {
        if (Cancelled(threading)) {
            records.clear();
            if (details) {
                details->entryIndex.clear();
            }
            return false;
        }
        if (entryIndex) {
            // One lookup for the path and for the tree built from the same scan.
            const int index = resolve ? hierarchy.FindIndex(slots[i].folderId) : -1;
            entryIndex->push_back(index);
            if (resolve) {
                records[first + i].SetFolderPath(hierarchy.ResolvePathAt(index, false));
            }
        } else if (resolve) {
            records[first + i].SetFolderPath(hierarchy.ResolvePath(slots[i].folderId, false));
        }
    }
    for (const FileSlot& slot : slots) {
        for (const std::string& line : slot.traceLines) {
            TraceText(line);
        }
    }
    fileCount = static_cast<int32_t>(records.size());
    for (const FolderRecord& record : records) {
        totalSize = AddSizes(totalSize, record.size);
    }
    return result;
}
