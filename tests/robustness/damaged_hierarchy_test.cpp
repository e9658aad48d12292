// Folder trees no mail client writes, read by whole scans: a "hierarch.pm" of a million
// lines, lines and files past the bounds, a chain of 100 000 levels, pipes and devices
// in its place, NUL bytes, lone carriage returns and loops of parents.
// Each scan ends with the specified paths and trace lines; the million-line file is
// written once per test program, since it takes longer to write than to read.
#include "mailbox/folder_catalogue.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#ifdef _WIN32
#include "platform/files.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using fixtures::HierarchyLine;
using fixtures::PmmHeader;
using testsupport::TempDir;
using testsupport::TraceCapture;
using testsupport::WriteFile;

const std::string kUnknown = "<\?\?\?>";
const std::string kParseFailed = "[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"";

// Folder path by file name, for the rows of a scan.
std::map<std::string, std::string> PathsByName(const FolderCatalogue& catalogue) {
    std::map<std::string, std::string> paths;
    for (const FolderRecord& r : catalogue.records) {
        paths[r.fileName] = r.folderPath;
    }
    return paths;
}

// A million lines: the root, entries e1 ... e999000 where entry i lies inside entry i/2
// (so every chain is about twenty deep), and after every 1000th entry a line that does
// not parse. About 25 MB.
class MillionLineTreeTest : public ::testing::Test {
protected:
    static constexpr int kEntries = 999000;
    static constexpr int kBrokenEvery = 1000;

    static void SetUpTestSuite() {
        s_dir = new TempDir;
        std::string text = "2,0,R,,Oben\r\n";
        text.reserve(26u << 20);
        int lines = 1;
        for (int i = 1; i <= kEntries; ++i) {
            const std::string parent = i == 1 ? std::string("R") : "e" + std::to_string(i / 2);
            text += "1,0,e" + std::to_string(i) + "," + parent + ",N" + std::to_string(i) + "\r\n";
            ++lines;
            if (i % kBrokenEvery == 0) {
                text += "kaputt " + std::to_string(i) + "\r\n";
                ++lines;
            }
        }
        ASSERT_EQ(1000000, lines);
        ASSERT_TRUE(WriteFile(*s_dir / "hierarch.pm", text));
    }

    static void TearDownTestSuite() {
        delete s_dir;
        s_dir = nullptr;
    }

    // The path the tree gives entry i: its ancestors below the root, from the top.
    static std::string PathOf(int i) {
        std::string path = "\\";
        for (int j = i / 2; j >= 1; j /= 2) {
            path.insert(0, "\\N" + std::to_string(j));
        }
        return path;
    }

    static TempDir* s_dir;
};

TempDir* MillionLineTreeTest::s_dir = nullptr;

TEST_F(MillionLineTreeTest, EveryFolderFindsItsPlaceAndEveryBadLineIsTraced) {
    ASSERT_NE(nullptr, s_dir);
    const struct {
        const char* file;
        const char* id;
        std::string path;
    } folders[] = {
        {"first.PMM", "e1", PathOf(1)},
        {"middle.PMM", "E500000", PathOf(500000)},
        {"last.PMM", "e999000", PathOf(kEntries)},
        {"root.PMM", "R", ""},
        {"stray.PMM", "e999000x", kUnknown},
    };
    for (const auto& f : folders) {
        ASSERT_TRUE(WriteFile(*s_dir / f.file, PmmHeader("Ordner", f.id)));
    }
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan({s_dir->Path(), "", true, false, "<Posteingang>"}));
    std::map<std::string, std::string> expected;
    for (const auto& f : folders) {
        expected[f.file] = f.path;
    }
    EXPECT_EQ(expected, PathsByName(c));
    ASSERT_EQ(999u, trace.Lines().size());
    EXPECT_EQ(kParseFailed + "kaputt 1000\".\n", trace.Lines().front());
    EXPECT_EQ(kParseFailed + "kaputt " + std::to_string(kEntries) + "\".\n", trace.Lines().back());
}

const std::string kTooLong = "[pmHierarch.Fill] WARNUNG: Datei \"";

// A scan with paths of a mailbox whose folder "k.PMM" lies inside the entry "BIG": the
// folder paths, the trace lines, and whether "hierarch.pm" counted as read.
struct TreeOutcome {
    bool read = false;
    std::map<std::string, std::string> paths;
    std::vector<std::string> trace;
};

TreeOutcome ScanWithTree(const TempDir& mailbox) {
    TreeOutcome outcome;
    FolderCatalogue c;
    TraceCapture trace;
    outcome.read = c.Scan({mailbox.Path(), "", true, false, "<Posteingang>"});
    outcome.paths = PathsByName(c);
    outcome.trace = trace.Lines();
    return outcome;
}

// A line as long as the bound is read, its name kept as far as a folder path holds it;
// a line one byte longer, a line of 10 MB (with or without a line end) make the whole
// tree unreadable, as a missing one: no folder is placed by half a file. The long line
// is never held whole.
TEST(LongLineTreeTest, ALineOfTheBoundIsReadAndALongerOneMakesTheTreeUnreadable) {
    const std::string head = "1,0,BIG,R,";
    const std::string name(pmHierarch::kMaxLineBytes - head.size(), 'n');
    const std::string lines[] = {
        head + name + "\r\n",                      // the bound, CR LF not counted
        head + name + "\n",                        // the same with LF
        head + name + "x\r\n",                     // one byte more
        head + name + "x",                         // one byte more, at the end of the file
        head + std::string(10u << 20, 'g') + "\n", // 10 MB
        std::string(10u << 20, '\0'),              // 10 MB of NUL bytes, no line end
    };
    for (size_t k = 0; k < std::size(lines); ++k) {
        TempDir mailbox;
        ASSERT_TRUE(
            WriteFile(mailbox / "hierarch.pm", "2,0,R,,Oben\r\n1,0,K,BIG,Kunden\r\n" + lines[k]));
        ASSERT_TRUE(WriteFile(mailbox / "k.PMM", PmmHeader("Kunden", "k")));
        const TreeOutcome outcome = ScanWithTree(mailbox);
        if (k < 2) {
            EXPECT_TRUE(outcome.read) << k;
            std::string path = "\\" + name + "\\";
            KeepPathEnd(path, pmHierarch::kMaxPathLength);
            EXPECT_EQ(path, outcome.paths.at("k.PMM")) << k;
            EXPECT_EQ(std::vector<std::string>{}, outcome.trace) << k;
        } else {
            EXPECT_FALSE(outcome.read) << k;
            EXPECT_EQ("", outcome.paths.at("k.PMM")) << k;
            ASSERT_EQ(1u, outcome.trace.size()) << k;
            EXPECT_EQ(0u, outcome.trace[0].find(kTooLong + mailbox.Path() + "hierarch.pm\" ist "))
                << outcome.trace[0];
        }
    }
}

// A file of the bound is read; a file of 1 GiB (sparse: it takes no disk) is not read
// at all, so it costs neither the time nor the memory of a gigabyte.
TEST(LongFileTreeTest, AFileOfTheBoundIsReadAndALargerOneIsNot) {
    TempDir mailbox;
    ASSERT_TRUE(WriteFile(mailbox / "k.PMM", PmmHeader("Kunden", "k")));
    std::string text = "2,0,R,,Oben\r\n1,0,K,R,Kunden\r\n";
    const std::string filler = "1,0,F,R," + std::string(60000, 'f') + "\r\n";
    while (text.size() + filler.size() <= pmHierarch::kMaxFileBytes) {
        text += filler;
    }
    text += "1,0,L,R," + std::string(pmHierarch::kMaxFileBytes - text.size() - 10, 'l') + "\r\n";
    ASSERT_EQ(pmHierarch::kMaxFileBytes, text.size());
    ASSERT_TRUE(WriteFile(mailbox / "hierarch.pm", text));
    TreeOutcome outcome = ScanWithTree(mailbox);
    EXPECT_TRUE(outcome.read);
    EXPECT_EQ("\\", outcome.paths.at("k.PMM"));

    std::filesystem::resize_file(mailbox / "hierarch.pm", uint64_t{1} << 30);
    outcome = ScanWithTree(mailbox);
    EXPECT_FALSE(outcome.read);
    EXPECT_EQ("", outcome.paths.at("k.PMM"));
    ASSERT_EQ(1u, outcome.trace.size());
    EXPECT_EQ(0u, outcome.trace[0].find(kTooLong));
}

// 100 000 entries, each inside the next, with 300 folder files at the bottom: every
// folder path keeps the end of the chain behind the ellipsis, within the bound, so the
// rows take 300 times the bound instead of 300 times the 790 000 characters of the chain.
TEST(DeepChainTreeTest, FoldersAtTheBottomOfAHundredThousandLevelsKeepTheEndOfTheirPath) {
    TempDir mailbox;
    const int depth = 100000;
    std::string text = "2,0,R,,Oben\r\n";
    for (int i = 0; i < depth; ++i) {
        const std::string parent = i == 0 ? std::string("R") : "c" + std::to_string(i - 1);
        text += "1,0,c" + std::to_string(i) + "," + parent + ",Ebene" + std::to_string(i) + "\r\n";
    }
    ASSERT_TRUE(WriteFile(mailbox / "hierarch.pm", text));
    const int folders = 300;
    for (int f = 0; f < folders; ++f) {
        ASSERT_TRUE(WriteFile(mailbox / ("f" + std::to_string(f) + ".PMM"),
                              PmmHeader("Unten", "c" + std::to_string(depth - 1 - f % 3))));
    }
    const TreeOutcome outcome = ScanWithTree(mailbox);
    ASSERT_TRUE(outcome.read);
    ASSERT_EQ(static_cast<size_t>(folders), outcome.paths.size());
    for (const auto& [file, path] : outcome.paths) {
        ASSERT_EQ(pmHierarch::kMaxPathLength, path.size()) << file;
        EXPECT_EQ('\x85', path[0]) << file;
        const int level = depth - 1 - std::stoi(file.substr(1)) % 3;
        const std::string end = "\\Ebene" + std::to_string(level - 1) + "\\";
        EXPECT_EQ(end, path.substr(path.size() - end.size())) << file;
    }
}

#ifndef _WIN32
// A pipe would block the open and the reads, a device never ends: neither is read, as
// a link to one is not, and the scan goes on without a tree.
TEST(DeviceTreeTest, APipeADeviceAndLinksToThemAreNoTree) {
    for (const char* kind : {"fifo", "link to fifo", "link to zero"}) {
        TempDir mailbox;
        TempDir elsewhere;
        ASSERT_TRUE(WriteFile(mailbox / "k.PMM", PmmHeader("Kunden", "k")));
        const std::string fifo = elsewhere / "fifo";
        ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
        const std::string target = std::strstr(kind, "zero") ? "/dev/zero" : fifo;
        const std::string place = mailbox / "hierarch.pm";
        if (std::strncmp(kind, "link", 4) == 0) {
            ASSERT_EQ(0, ::symlink(target.c_str(), place.c_str()));
        } else {
            ASSERT_EQ(0, ::mkfifo(place.c_str(), 0600));
        }
        const TreeOutcome outcome = ScanWithTree(mailbox);
        EXPECT_FALSE(outcome.read) << kind;
        EXPECT_EQ("", outcome.paths.at("k.PMM")) << kind;
        EXPECT_EQ((std::vector<std::string>{"[pmHierarch.Fill] WARNUNG: Kann Datei \"" + place +
                                            "\" nicht zum Lesen \xF6" + "ffnen\n"}),
                  outcome.trace)
            << kind;
    }
}
#else
// Under Wine a link to /dev/zero or to a pipe opens as a character device or a pipe:
// neither is read. The links are made beside the test program by the build, which
// runs on the Linux side (see CMakeLists.txt).
TEST(DeviceTreeTest, LinksToADeviceAndToAPipeAreNoTree) {
    const std::string program = platform::ModuleFilePath();
    const std::string boxes =
        program.substr(0, program.find_last_of("\\/") + 1) + FOLDTALLY_DEVICE_MAILBOXES;
    for (const char* kind : {"zero", "fifo"}) {
        const std::string mailbox = boxes + kind + "\\";
        FolderCatalogue c;
        TraceCapture trace;
        EXPECT_FALSE(c.Scan({mailbox, "", true, false, "<Posteingang>"})) << kind;
        EXPECT_TRUE(c.records.empty()) << kind;
        ASSERT_EQ(1u, trace.Lines().size()) << kind;
        EXPECT_NE(std::string::npos, trace.Lines()[0].find("Kann Datei")) << trace.Lines()[0];
    }
}
#endif

// A NUL ends the text of its line, as for every C text: what follows it on the line is
// not read, so a name never hides the folder's own name behind a NUL in the list. A
// carriage return ends a line only before a line feed; elsewhere it is part of the
// text. Loops of parents end in "<???>".
TEST(DamagedTreeTest, NulBytesCarriageReturnsAndLoopsGiveDefinedPaths) {
    TempDir mailbox;
    const std::string nul(1, '\0');
    ASSERT_TRUE(WriteFile(mailbox / "hierarch.pm", "2,0,R,,Oben\r\n"
                                                   "1,0,N1,R,Vor" +
                                                       nul + "Nach,mehr\r\n" +
                                                       "1,0,K1,N1,Kind\r\n" + "1,0,\"N2" + nul +
                                                       "\",R,Zwei\r\n" + nul + "1,0,N3,R,Drei\r\n" +
                                                       "1,0,C1,R,Ein\rZwei\r\n"
                                                       "1,0,K2,C1,Kind\n"
                                                       "1,0,C2,R,Ende\r\r\n"
                                                       "1,0,K3,C2,Kind\r\n"
                                                       "1,0,C3,R,Alt\r1,0,C4,R,Mac\r\n"
                                                       "1,0,K4,C3,Kind\r\n"
                                                       "1,0,A,B,Ah\r\n"
                                                       "1,0,B,A,Be\r\n"
                                                       "1,0,K5,A,Kind\r\n"));
    const std::map<std::string, std::string> expected = {
        {"k1.PMM", "\\Vor\\"},    {"n2.PMM", kUnknown},
        {"n3.PMM", kUnknown},     {"k2.PMM", "\\Ein\rZwei\\"},
        {"k3.PMM", "\\Ende\r\\"}, {"c4.PMM", kUnknown},
        {"k4.PMM", "\\Alt\r1\\"}, {"k5.PMM", kUnknown + "\\Be\\Ah\\"},
    };
    for (const auto& [file, path] : expected) {
        const std::string id(1, static_cast<char>(file[0] - 'a' + 'A'));
        ASSERT_TRUE(WriteFile(mailbox / file, PmmHeader("Ordner", id + file[1])));
    }
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan({mailbox.Path(), "", true, false, "<Posteingang>"}));
    EXPECT_EQ(expected, PathsByName(c));
    for (const FolderRecord& r : c.records) {
        EXPECT_EQ("Ordner", r.folderName);
    }
    EXPECT_EQ((std::vector<std::string>{kParseFailed + "1,0,\"N2\".\n", kParseFailed + "\".\n"}),
              trace.Lines());
}

} // namespace
