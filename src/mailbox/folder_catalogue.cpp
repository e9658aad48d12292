// One scan of a mailbox directory into the catalogue. Only headers are read; sizes
// come from file lengths and the directory listing, so a scan takes time with the
// number of files, not with their size.
//
// That time is spent waiting for opens (three round trips to Wine's server each, one to
// the server of a network share), not working, so the folder files are read on a few
// helper threads and on the calling thread at once. Each takes the next file by one
// atomic index and writes only that file's row and slot; after all have joined, the
// calling thread resolves the paths and writes the trace lines in the files' order, so
// the outcome is that of one thread reading the files in turn.
#include "mailbox/folder_catalogue.h"

#include "diag/trace.h"
#include "mailbox/folder_headers.h"
#include "mailbox/hierarchy.h"
#include "platform/files.h"
#include "platform/thread.h"
#include "text/ascii_case.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <unordered_map>
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
    std::unordered_map<std::string, int64_t> pmgTimes; // by FoldedStem, only known ones

    // The later of an .MBX's listed time and its companion's.
    int64_t MbxTime(size_t i) const {
        if (pmgTimes.empty()) {
            return mbxTimes[i];
        }
        const auto companion = pmgTimes.find(FoldedStem(mbx[i]));
        return companion == pmgTimes.end() ? mbxTimes[i] : std::max(mbxTimes[i], companion->second);
    }
};

bool CollectFolderFile(const platform::DirectoryEntry& entry, void* context) {
    auto& names = *static_cast<FolderFileNames*>(context);
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
                     FolderRecord* rows, FileSlot* slots)
        : m_strMailboxDir(mailboxDir), m_names(names), m_pRows(rows), m_pSlots(slots),
          m_nCount(names.pmm.size() + names.mbx.size()) {}

    // Reads the next file not yet taken, until none is left. Records are reused from
    // file to file: SetPath starts each one clean.
    void ReadUntilDone() {
        pmm pmmRecord;
        mbx mbxRecord;
        for (;;) {
            const size_t i = m_nNext.fetch_add(1, std::memory_order_relaxed);
            if (i >= m_nCount) {
                return;
            }
            if (i < m_names.pmm.size()) {
                Read(pmmRecord, m_names.pmm[i], m_pRows[i], m_pSlots[i]);
                m_pRows[i].lastWrite = std::max(m_pRows[i].lastWrite, m_names.pmmTimes[i]);
            } else {
                const size_t k = i - m_names.pmm.size();
                Read(mbxRecord, m_names.mbx[k], m_pRows[i], m_pSlots[i]);
                m_pRows[i].lastWrite = std::max(m_pRows[i].lastWrite, m_names.MbxTime(k));
            }
        }
    }

private:
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
    HelperThreads(FolderFileReader& reader, int count, uint32_t failingStarts)
        : m_helpers(count > 0 ? new Helper[static_cast<size_t>(count)] : nullptr),
          m_nCount(count > 0 ? count : 0) {
        for (int i = 0; i < m_nCount; ++i) {
            m_helpers[i].pReader = &reader;
            const bool refused = i < 32 && ((failingStarts >> i) & 1u) != 0;
            if (!refused) {
                m_helpers[i].thread.Start(&Helper::Main, &m_helpers[i]);
            }
        }
    }
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    // Waits for every helper, then rethrows the first failure of one.
    void Join() {
        for (int i = 0; i < m_nCount; ++i) {
            m_helpers[i].thread.Join();
        }
        for (int i = 0; i < m_nCount; ++i) {
            if (m_helpers[i].error) {
                std::rethrow_exception(m_helpers[i].error);
            }
        }
    }

private:
    std::unique_ptr<Helper[]> m_helpers; // in place: each thread holds its helper's address
    int m_nCount;
};

int HelperCount(const ScanThreading& threading, size_t folderFiles) {
    if (threading.helpers != ScanThreading::kAutomatic) {
        return std::max(threading.helpers, 0);
    }
    if (folderFiles < ScanThreading::kMinFilesForHelpers) {
        return 0;
    }
    const unsigned processors = platform::ProcessorCount();
    return static_cast<int>(std::min<unsigned>(processors, ScanThreading::kMaxHelpers));
}

} // namespace

bool FolderCatalogue::Scan(const std::string& mailboxDir, bool resolvePaths, bool includeNewMail,
                           const std::string& newmailDir, const std::string& newMailLabel) {
    return Scan(mailboxDir, resolvePaths, includeNewMail, newmailDir, newMailLabel, nullptr);
}

bool FolderCatalogue::Scan(const std::string& mailboxDir, bool resolvePaths, bool includeNewMail,
                           const std::string& newmailDir, const std::string& newMailLabel,
                           ScanDetails* details) {
    ScanRequest request;
    request.mailboxDir = mailboxDir;
    request.newmailDir = newmailDir;
    request.resolvePaths = resolvePaths;
    request.includeNewMail = includeNewMail;
    request.newMailLabel = newMailLabel;
    return Scan(request, details);
}

bool FolderCatalogue::Scan(const ScanRequest& request, ScanDetails* details,
                           const ScanThreading& threading) {
    const std::string& mailboxDir = request.mailboxDir;
    const bool resolvePaths = request.resolvePaths;
    const bool includeNewMail = request.includeNewMail;
    records.clear();
    fileCount = 0;
    totalSize = 0;
    // Companions and "hierarch.pm" in another letter case are found in one listing.
    const platform::CaseFoldingScope caseFolding;

    // One pass over the directory for both kinds: in a mailbox of thousands of folders
    // a pass costs as much as opening a few hundred of them. Names only, since every
    // file is opened anyway and that gives its length; the last writes come with the
    // names where the listing has them, else from the opens.
    FolderFileNames names;
    if (!mailboxDir.empty()) { // unknown directory: no folders, never the current one's files
        platform::SearchDirectoryNames(mailboxDir, "*", &CollectFolderFile, &names);
    }
    if (threading.afterListing) {
        threading.afterListing(threading.afterListingContext);
    }
    const size_t first = includeNewMail ? 1 : 0;
    const size_t files = names.pmm.size() + names.mbx.size();
    // Sized once before any helper starts: no row moves while they write.
    records.resize(first + files);
    std::vector<FileSlot> slots(files);
    FolderFileReader reader(mailboxDir, names, records.data() + first, slots.data());

    bool result = true;
    pmHierarch ownHierarchy;
    pmHierarch& hierarchy = details ? details->hierarchy : ownHierarchy;
    if (details) {
        details->hierarchy = pmHierarch();
        details->entryIndex.clear();
        details->newMailRow = includeNewMail;
    }
    {
        HelperThreads helpers(reader, HelperCount(threading, files), threading.failingStarts);
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
        reader.ReadUntilDone();
        helpers.Join();
    }

    // Without a readable tree no path is resolved.
    const bool resolve = resolvePaths && result;
    std::vector<int32_t>* entryIndex = details ? &details->entryIndex : nullptr;
    if (details) {
        details->hierarchyRead = resolve;
        entryIndex->reserve(records.size());
        entryIndex->resize(first, -1); // the new-mail row
    }
    for (size_t i = 0; i < files; ++i) {
        for (const std::string& line : slots[i].traceLines) {
            TraceText(line);
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
    fileCount = static_cast<int32_t>(records.size());
    for (const FolderRecord& record : records) {
        totalSize += record.size;
    }
    return result;
}
