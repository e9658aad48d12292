// Folder trees no mail client writes, read by whole scans: a "hierarch.pm" of a million
// lines, single lines of 10 MB, NUL bytes, lone carriage returns and loops of parents.
// Each scan ends with the specified paths and trace lines; the million-line file is
// written once per test program, since it takes longer to write than to read.
#include "mailbox/folder_catalogue.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

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
    ASSERT_TRUE(c.Scan(s_dir->Path(), true, false, "", "<Posteingang>"));
    std::map<std::string, std::string> expected;
    for (const auto& f : folders) {
        expected[f.file] = f.path;
    }
    EXPECT_EQ(expected, PathsByName(c));
    ASSERT_EQ(999u, trace.Lines().size());
    EXPECT_EQ(kParseFailed + "kaputt 1000\".\n", trace.Lines().front());
    EXPECT_EQ(kParseFailed + "kaputt " + std::to_string(kEntries) + "\".\n", trace.Lines().back());
}

// A name of 10 MB parses and reaches the path of the folder inside it; a line of 10 MB
// without a comma, and one that ends the file inside an open quote, are traced whole.
TEST(LongLineTreeTest, LinesOfTenMegabytesAreReadWhole) {
    const size_t tenMb = 10u << 20;
    const std::string longName(tenMb, 'n');
    const std::string noComma(tenMb, 'g');
    const std::string openQuote = "1,0,\"" + std::string(tenMb, 'q');
    TempDir mailbox;
    ASSERT_TRUE(WriteFile(mailbox / "hierarch.pm", "2,0,R,,Oben\r\n1,0,BIG,R," + longName + "\r\n" +
                                                       noComma + "\r\n1,0,K,BIG,Kunden\r\n" +
                                                       openQuote));
    ASSERT_TRUE(WriteFile(mailbox / "k.PMM", PmmHeader("Kunden", "k")));
    ASSERT_TRUE(WriteFile(mailbox / "big.PMM", PmmHeader("Lang", "big")));
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan(mailbox.Path(), true, false, "", "<Posteingang>"));
    EXPECT_EQ(
        (std::map<std::string, std::string>{{"big.PMM", "\\"}, {"k.PMM", "\\" + longName + "\\"}}),
        PathsByName(c));
    ASSERT_EQ(2u, trace.Lines().size());
    EXPECT_TRUE(trace.Lines()[0] == kParseFailed + noComma + "\".\n");
    EXPECT_TRUE(trace.Lines()[1] == kParseFailed + openQuote + "\".\n");
}

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
    ASSERT_TRUE(c.Scan(mailbox.Path(), true, false, "", "<Posteingang>"));
    EXPECT_EQ(expected, PathsByName(c));
    for (const FolderRecord& r : c.records) {
        EXPECT_EQ("Ordner", r.folderName);
    }
    EXPECT_EQ((std::vector<std::string>{kParseFailed + "1,0,\"N2\".\n", kParseFailed + "\".\n"}),
              trace.Lines());
}

} // namespace
