// The scan on helper threads gives what one thread gives: the same rows in the same
// order, the same counts, totals and result, the same trace lines in the same order,
// for every number of helpers and for helpers that cannot be started, on generated
// mailboxes with broken files, directories named like folder files, companions that
// cannot be opened and files that vanish between the listing and their open.
#include "mailbox/folder_catalogue.h"
#include "mailbox_fixtures.h"
#include "mailgen.h"
#include "platform/thread.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

using fixtures::PmgHeader;
using fixtures::PmmHeader;
using fixtures::Row;
using testsupport::TempDir;
using testsupport::TraceCapture;
using testsupport::WriteFile;

using fixtures::kLabel;
const char kPmmUnopenable[] = "<Datei konnte nicht zum Lesen ge\xF6"
                              "ffnet werden.>";
const char kMbxUnopenable[] = "<MBX-Datei konnte nicht zum Lesen ge\xF6"
                              "ffnet werden.>";
const char kPmgUnopenable[] = "<PMG-Datei konnte nicht zum Lesen ge\xF6"
                              "ffnet werden.>";

// Everything a scan gives, compared as a whole.
struct Outcome {
    bool result = false;
    std::vector<Row> rows; // in the catalogue's order
    int32_t fileCount = 0;
    uint64_t totalSize = 0;
    std::vector<std::string> trace;
    // What the folder tree takes from the scan, when it was asked for.
    std::vector<int32_t> entryIndex;
    bool hierarchyRead = false;
    bool newMailRow = false;
    bool operator==(const Outcome& o) const {
        return result == o.result && rows == o.rows && fileCount == o.fileCount &&
               totalSize == o.totalSize && trace == o.trace && entryIndex == o.entryIndex &&
               hierarchyRead == o.hierarchyRead && newMailRow == o.newMailRow;
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    out << "result " << o.result << ", " << o.fileCount << " rows, " << o.totalSize << " bytes, "
        << o.trace.size() << " trace lines";
    for (size_t i = 0; i < o.rows.size() && i < 8; ++i) {
        out << "\n  " << o.rows[i];
    }
    return out;
}

// A mailbox the generator writes, plus what it does not: companions that exist but
// cannot be opened, and three files the scan's listing names but its opens no longer
// find (a .PMM, an .MBX, and the companion of another .MBX).
class DamagedMailbox {
public:
    explicit DamagedMailbox(const mailgen::Options& options) {
        std::string error;
        mailgen::Expectation expected;
        m_bReady = mailgen::Generate(Mailbox(), Newmail(), options, expected, error);
        EXPECT_TRUE(m_bReady) << error;
        m_bReady = m_bReady && MakeUnopenableCompanions();
    }
    ~DamagedMailbox() {
#ifdef _WIN32
        if (m_hLocked != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_hLocked);
        }
#endif
    }
    DamagedMailbox(const DamagedMailbox&) = delete;
    DamagedMailbox& operator=(const DamagedMailbox&) = delete;

    bool Ready() const {
        return m_bReady;
    }
    std::string Mailbox() const {
        return m_dir / ("mb" + std::string(testsupport::Separator()));
    }
    std::string Newmail() const {
        return m_dir / ("nm" + std::string(testsupport::Separator()));
    }

    // Writes the three files again; `Vanish` removes them once the scan has listed.
    bool PlaceVanishing() const {
        return WriteFile(Mailbox() + "WEG.PMM", PmmHeader("Weg", "W1")) &&
               WriteFile(Mailbox() + "WEG.MBX", std::string(40, 'w')) &&
               WriteFile(Mailbox() + "WEG.PMG", PmgHeader("Weg", "W2")) &&
               WriteFile(Mailbox() + "OHNE.MBX", std::string(50, 'o')) &&
               WriteFile(Mailbox() + "OHNE.PMG", PmgHeader("Ohne", "W3"));
    }
    static void Vanish(void* context) {
        const auto& self = *static_cast<const DamagedMailbox*>(context);
        testsupport::RemoveFile(self.Mailbox() + "WEG.PMM");
        testsupport::RemoveFile(self.Mailbox() + "WEG.MBX");
        testsupport::RemoveFile(self.Mailbox() + "OHNE.PMG");
    }

private:
    // A directory in the place of one companion, and a second one that opens as no
    // regular file (a pipe) or not at all (held by another opener without sharing).
    bool MakeUnopenableCompanions() {
        if (!WriteFile(Mailbox() + "DIRPMG.MBX", std::string(30, 'd')) ||
            !testsupport::MakeDirectory(Mailbox() + "DIRPMG.PMG") ||
            !WriteFile(Mailbox() + "HELD.MBX", std::string(20, 'h'))) {
            return false;
        }
#ifdef _WIN32
        if (!WriteFile(Mailbox() + "HELD.PMG", PmgHeader("Gesperrt", "H"))) {
            return false;
        }
        m_hLocked = ::CreateFileA((Mailbox() + "HELD.PMG").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return m_hLocked != INVALID_HANDLE_VALUE;
#else
        return ::mkfifo((Mailbox() + "HELD.PMG").c_str(), 0600) == 0;
#endif
    }

    TempDir m_dir;
    bool m_bReady = false;
#ifdef _WIN32
    HANDLE m_hLocked = INVALID_HANDLE_VALUE;
#endif
};

Outcome ScanWith(DamagedMailbox& mailbox, const ScanThreading& threading, bool resolvePaths,
                 bool includeNewMail, bool withDetails = false) {
    EXPECT_TRUE(mailbox.PlaceVanishing());
    FolderCatalogue catalogue;
    ScanThreading seams = threading;
    seams.afterListing = &DamagedMailbox::Vanish;
    seams.afterListingContext = &mailbox;
    const ScanRequest request{mailbox.Mailbox(), mailbox.Newmail(), resolvePaths, includeNewMail,
                              kLabel};
    Outcome outcome;
    ScanDetails details;
    {
        TraceCapture trace;
        outcome.result = catalogue.Scan(request, withDetails ? &details : nullptr, seams);
        outcome.trace = trace.Lines();
    }
    outcome.entryIndex = details.entryIndex;
    outcome.hierarchyRead = details.hierarchyRead;
    outcome.newMailRow = details.newMailRow;
    for (const FolderRecord& r : catalogue.records) {
        outcome.rows.push_back({r.fileName, r.folderPath, r.folderName, r.size});
    }
    outcome.fileCount = catalogue.fileCount;
    outcome.totalSize = catalogue.totalSize;
    return outcome;
}

ScanThreading Helpers(int helpers, uint32_t failingStarts = 0) {
    ScanThreading threading;
    threading.helpers = helpers;
    threading.failingStarts = failingStarts;
    return threading;
}

const Row* FindRow(const Outcome& outcome, const std::string& fileName) {
    for (const Row& row : outcome.rows) {
        if (row.fileName == fileName) {
            return &row;
        }
    }
    return nullptr;
}

struct MailboxCase {
    const char* what;
    uint32_t seed;
    int folders;
    int broken;
    int orphans;
    bool caseVariants;
    bool writeHierarchy;
};

const MailboxCase kMailboxes[] = {
    {"broken files and orphans", 3, 150, 25, 5, false, true},
    {"mixed letter case", 4, 120, 10, 0, true, true},
    {"no hierarchy file", 5, 90, 10, 0, false, false},
    {"fewer files than helpers", 6, 2, 0, 0, false, true},
};

// The reference is the calling thread alone (no helper), which reads the files in the
// order one thread always did; each count of helpers must reproduce it exactly.
TEST(ParallelScanTest, EveryNumberOfHelpersGivesWhatOneThreadGives) {
    for (const MailboxCase& m : kMailboxes) {
        SCOPED_TRACE(m.what);
        mailgen::Options options;
        options.seed = m.seed;
        options.folders = m.folders;
        options.brokenFolders = m.broken;
        options.orphans = m.orphans;
        options.caseVariants = m.caseVariants;
        options.writeHierarchy = m.writeHierarchy;
        options.maxDepth = 6;
        DamagedMailbox mailbox(options);
        ASSERT_TRUE(mailbox.Ready());
        for (const bool resolvePaths : {true, false}) {
            const bool includeNewMail = resolvePaths; // both switches, each way once
            SCOPED_TRACE(resolvePaths ? "with paths and new mail" : "bare");
            const Outcome one = ScanWith(mailbox, Helpers(0), resolvePaths, includeNewMail);
            ASSERT_EQ(one.rows.size(), static_cast<size_t>(one.fileCount));
            // The damage is really there: the listing named the vanished files.
            ASSERT_NE(nullptr, FindRow(one, "WEG.PMM"));
            EXPECT_EQ(kPmmUnopenable, FindRow(one, "WEG.PMM")->folderName);
            EXPECT_EQ(kMbxUnopenable, FindRow(one, "WEG.MBX")->folderName);
            EXPECT_EQ(kPmgUnopenable, FindRow(one, "OHNE.MBX")->folderName);
            EXPECT_EQ(kPmgUnopenable, FindRow(one, "HELD.MBX")->folderName);
            EXPECT_EQ(kPmgUnopenable, FindRow(one, "DIRPMG.MBX")->folderName);
            EXPECT_EQ(50u, FindRow(one, "OHNE.MBX")->size);
            EXPECT_EQ(resolvePaths && !m.writeHierarchy, !one.result);
            EXPECT_LE(5u + m.broken, one.trace.size());
            for (const int helpers : {1, 2, 3, 7, ScanThreading::kMaxWaitingHelpers}) {
                EXPECT_EQ(one, ScanWith(mailbox, Helpers(helpers), resolvePaths, includeNewMail))
                    << helpers << " helpers";
            }
            EXPECT_EQ(one, ScanWith(mailbox, ScanThreading(), resolvePaths, includeNewMail))
                << "helpers chosen by the machine";
            // The folder tree's scan keeps each row's entry; helpers must find the same.
            const Outcome detailed =
                ScanWith(mailbox, Helpers(0), resolvePaths, includeNewMail, true);
            EXPECT_EQ(one.rows, detailed.rows);
            ASSERT_EQ(one.rows.size(), detailed.entryIndex.size());
            EXPECT_EQ(resolvePaths && m.writeHierarchy, detailed.hierarchyRead);
            for (const int helpers : {2, 7}) {
                EXPECT_EQ(detailed,
                          ScanWith(mailbox, Helpers(helpers), resolvePaths, includeNewMail, true))
                    << helpers << " helpers, with the tree's details";
            }
        }
    }
}

// A helper the platform refuses is a missing helper, never a failed scan: the others and
// the calling thread read its share, down to the calling thread alone.
TEST(ParallelScanTest, HelpersThatCannotStartLeaveTheirShareToTheOthers) {
    mailgen::Options options;
    options.seed = 8;
    options.folders = 200;
    options.brokenFolders = 15;
    DamagedMailbox mailbox(options);
    ASSERT_TRUE(mailbox.Ready());
    const Outcome one = ScanWith(mailbox, Helpers(0), true, true);
    for (const uint32_t failing : {0x7Fu, 0x01u, 0x55u, 0x3Eu}) {
        EXPECT_EQ(one, ScanWith(mailbox, Helpers(7, failing), true, true))
            << "failing starts " << failing;
    }
}

void WaitAsOnAShare(void*) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Opens that wait (a millisecond each, as a file server answers) bring the helpers a
// share gets, a fast open keeps the machine's few; the outcome is the one thread's in
// every case, also when some of the added helpers cannot start.
TEST(ParallelScanTest, SlowOpensBringMoreHelpersAndTheSameOutcome) {
    mailgen::Options options;
    options.seed = 16;
    options.folders = 160;
    options.brokenFolders = 10;
    DamagedMailbox mailbox(options);
    ASSERT_TRUE(mailbox.Ready());
    const Outcome one = ScanWith(mailbox, Helpers(0), true, true, true);
    const uint32_t local =
        std::min<uint32_t>(platform::ProcessorCount(), ScanThreading::kMaxHelpers);
    const struct {
        const char* what;
        bool slow;
        uint32_t slowOpenMicros;
        uint32_t failingStarts;
        uint32_t helpers;
    } cases[] = {
        {"slow opens", true, ScanThreading::kSlowOpenMicros, 0, ScanThreading::kMaxWaitingHelpers},
        {"slow opens, some added helpers refused", true, ScanThreading::kSlowOpenMicros, 0x0F00u,
         ScanThreading::kMaxWaitingHelpers - 4},
        {"opens faster than the measure", true, 1000000000u, 0, local},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScanControl control;
        ScanThreading threading;
        threading.control = &control;
        threading.failingStarts = c.failingStarts;
        threading.slowOpenMicros = c.slowOpenMicros;
        if (c.slow) {
            threading.afterFileRead = &WaitAsOnAShare;
        }
        EXPECT_EQ(one, ScanWith(mailbox, threading, true, true, true));
        EXPECT_EQ(c.helpers, control.helpers.load());
    }
}

} // namespace
