// Mailboxes that no mail client writes but a user's disk may hold: directories in the
// place of companions and new mail, files cut at every length around the headers, a
// sparse folder of 5 GiB, and file names with every byte from 0x80 to 0xFF. Each gives
// its specified row, size and trace line; nothing is read beyond the headers.
#include "mailbox/folder_catalogue.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

using fixtures::HierarchyLine;
using fixtures::PmgHeader;
using fixtures::PmmHeader;
using testsupport::TempDir;
using testsupport::TraceCapture;
using testsupport::WriteFile;

const char kLabel[] = "<Posteingang>";
const char kPmmTooShort[] = "<Datei ist keine g\xFC"
                            "ltige PMM-Datei.>";
const char kPmgOpenFailed[] = "<PMG-Datei konnte nicht zum Lesen ge\xF6"
                              "ffnet werden.>";
const char kPmgTooShort[] = "<Ordner hat keine g\xFC"
                            "ltige PMG-Datei.>";

using fixtures::Row;

// The rows by file name: the directory's order is the file system's.
std::map<std::string, Row> RowsByName(const FolderCatalogue& catalogue) {
    std::map<std::string, Row> rows;
    for (const FolderRecord& r : catalogue.records) {
        rows[r.fileName] = {r.fileName, r.folderPath, r.folderName, r.size};
    }
    return rows;
}

// A directory made through the narrow name, so its bytes reach Windows as the program
// will spell them (the standard library's paths would convert them otherwise).
bool MakeNarrowDirectory(const std::string& path) {
#ifdef _WIN32
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
#else
    return ::mkdir(path.c_str(), 0700) == 0;
#endif
}

std::string OpenTrace(const std::string& path) {
    return "[mbx.Analyze] WARNUNG: Kann Datei \"" + path +
           "\" nicht zum Lesen \xF6"
           "ffnen\n";
}

TEST(DamagedMailboxTest, DirectoriesInThePlaceOfCompanionsAndNewMailCountAsMissing) {
    TempDir mailbox;
    TempDir newmail;
    ASSERT_TRUE(WriteFile(mailbox / "dir.MBX", std::string(300, 'm')));
    ASSERT_TRUE(testsupport::MakeDirectory(mailbox / "dir.PMG"));
    ASSERT_TRUE(testsupport::MakeDirectory(newmail / "folder.CNM"));
    ASSERT_TRUE(WriteFile(newmail / "mail.CNM", std::string(70, 'n')));
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, true, kLabel}));
    EXPECT_EQ((std::map<std::string, Row>{{"*.CNM", {"*.CNM", "", kLabel, 70}},
                                          {"dir.MBX", {"dir.MBX", "", kPmgOpenFailed, 300}}}),
              RowsByName(c));
    EXPECT_EQ(370u, c.totalSize);
    EXPECT_EQ((std::vector<std::string>{OpenTrace(mailbox / "dir.PMG")}), trace.Lines());
}

// The lengths around both headers that the header tests leave out, each in the kind of
// file where it matters: 89 bytes are too short for a .PMM, 127 bytes are plenty for a
// .PMG, and empty folders, companions and new-mail files.
TEST(DamagedMailboxTest, FilesCutAroundTheHeaderLengthsGiveTheirRowsAndSizes) {
    TempDir mailbox;
    TempDir newmail;
    const std::string pmg = PmgHeader("Lang genug", "L");
    ASSERT_TRUE(WriteFile(mailbox / "p89.PMM", PmmHeader("Kurz", "K").substr(0, 89)));
    ASSERT_TRUE(WriteFile(mailbox / "g127.MBX", std::string(11, 'm')));
    ASSERT_TRUE(WriteFile(mailbox / "g127.PMG", pmg + std::string(127 - pmg.size(), 'x')));
    ASSERT_TRUE(WriteFile(mailbox / "g0.MBX", std::string(12, 'm')));
    ASSERT_TRUE(WriteFile(mailbox / "g0.PMG", ""));
    ASSERT_TRUE(WriteFile(mailbox / "m0.MBX", ""));
    ASSERT_TRUE(WriteFile(mailbox / "m0.PMG", PmgHeader("Leer", "E")));
    ASSERT_TRUE(WriteFile(newmail / "empty.CNM", ""));
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, true, kLabel}));
    EXPECT_EQ((std::map<std::string, Row>{
                  {"*.CNM", {"*.CNM", "", kLabel, 0}},
                  {"p89.PMM", {"p89.PMM", "", kPmmTooShort, 0}},
                  {"g127.MBX", {"g127.MBX", "", "Lang genug", 11}},
                  {"g0.MBX", {"g0.MBX", "", kPmgTooShort, 12}},
                  {"m0.MBX", {"m0.MBX", "", "Leer", 0}},
              }),
              RowsByName(c));
    EXPECT_EQ(5, c.fileCount);
    EXPECT_EQ(23u, c.totalSize);
    EXPECT_EQ(2u, trace.Lines().size());
}

TEST(DamagedMailboxTest, ASparseMbxOfFiveGiBKeepsItsWholeSize) {
    const uint64_t size = 5ull * 1024 * 1024 * 1024 + 3;
    TempDir mailbox;
    ASSERT_TRUE(fixtures::WriteLargeFile(mailbox / "huge.MBX", "", size));
    ASSERT_TRUE(WriteFile(mailbox / "huge.PMG", PmgHeader("Riesig", "H")));
    ASSERT_TRUE(WriteFile(mailbox / "small.PMM", PmmHeader("Klein", "S")));
    FolderCatalogue c;
    ASSERT_TRUE(c.Scan({mailbox.Path(), "", false, false, kLabel}));
    EXPECT_EQ((std::map<std::string, Row>{{"huge.MBX", {"huge.MBX", "", "Riesig", size}},
                                          {"small.PMM", {"small.PMM", "", "Klein", 128}}}),
              RowsByName(c));
    EXPECT_EQ(size + 128, c.totalSize);
}

// One folder per byte from 0x80 to 0xFF, in its file name, its header name and its
// identifier, half of them .PMM and half .MBX with companion, all inside one tree entry
// whose name has such bytes too, in a mailbox directory named with them as well. The
// hexadecimal prefix keeps names that differ only in the case of an accented letter
// apart where the file system ignores that case.
TEST(DamagedMailboxTest, NamesWithEveryByteFrom0x80To0xFFKeepTheirBytes) {
    TempDir root;
    const std::string mailboxDir = root / "J\xFCrgen \x80\x9F\xFF";
    ASSERT_TRUE(MakeNarrowDirectory(mailboxDir));
    const std::string mailbox = mailboxDir + testsupport::Separator();
    std::string tree = HierarchyLine(2, "R", "", "Oben") + HierarchyLine(1, "P\xA4", "R",
                                                                         "Entw\xFC"
                                                                         "rfe \x80\x9F\xFF");
    std::map<std::string, Row> expected;
    for (int b = 0x80; b <= 0xFF; ++b) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(b));
        const std::string byte(1, static_cast<char>(b));
        const std::string stem = std::string(hex) + "-" + byte + "x" + byte;
        const std::string id = "i" + std::string(hex) + byte;
        const std::string name = "Ordner " + byte + byte;
        tree += HierarchyLine(1, id, "P\xA4", name);
        const bool asMbx = b % 2 != 0;
        const std::string fileName = stem + (asMbx ? ".MBX" : ".PMM");
        if (asMbx) {
            ASSERT_TRUE(WriteFile(mailbox + fileName, std::string(b, 'm')));
            ASSERT_TRUE(WriteFile(mailbox + stem + ".PMG", PmgHeader(name, id)));
        } else {
            ASSERT_TRUE(WriteFile(mailbox + fileName, PmmHeader(name, id) + std::string(b, 'm')));
        }
        const uint64_t size = asMbx ? b : 128 + b;
        expected[fileName] = {fileName, "\\Entw\xFCrfe \x80\x9F\xFF\\", name, size};
    }
    ASSERT_TRUE(WriteFile(mailbox + "hierarch.pm", tree));
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan({mailbox, "", true, false, kLabel}));
    EXPECT_EQ(expected, RowsByName(c));
    EXPECT_EQ(128, c.fileCount);
    EXPECT_TRUE(trace.Lines().empty());
}

} // namespace
