// Reading .PMM headers and .PMG companions: valid headers at their exact lengths,
// fields that fill their space to the last byte, every failure with its row text and
// its trace line, and records reused from one file to the next.
#include "mailbox/folder_headers.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using fixtures::PmgHeader;
using fixtures::PmmHeader;
using testsupport::TempDir;
using testsupport::TraceCapture;
using testsupport::WriteFile;

// The texts as the program's 8-bit code page (Windows-1252) spells them.
const char kPmmOpenFailed[] = "<Datei konnte nicht zum Lesen ge\xF6"
                              "ffnet werden.>";
const char kPmmTooShort[] = "<Datei ist keine g\xFC"
                            "ltige PMM-Datei.>";
const char kMbxOpenFailed[] = "<MBX-Datei konnte nicht zum Lesen ge\xF6"
                              "ffnet werden.>";
const char kPmgOpenFailed[] = "<PMG-Datei konnte nicht zum Lesen ge\xF6"
                              "ffnet werden.>";
const char kPmgTooShort[] = "<Ordner hat keine g\xFC"
                            "ltige PMG-Datei.>";

std::string OpenTrace(const char* kind, const std::string& path) {
    return std::string("[") + kind + ".Analyze] WARNUNG: Kann Datei \"" + path +
           "\" nicht zum Lesen \xF6"
           "ffnen\n";
}

TEST(PmmHeaderTest, ReadsNameIdentifierAndSizeAtTheFieldLimits) {
    const std::string full64(64, 'N');
    const std::string id42(42, 'I');
    struct Case {
        const char* what;
        std::string bytes;
        bool ok;
        std::string name;
        std::string id;
        uint64_t size;
    } cases[] = {
        {"exactly the header", PmmHeader("Posteingang", "FOL1"), true, "Posteingang", "FOL1", 128},
        {"header and messages", PmmHeader("Archiv", "A7") + std::string(5000, 'm'), true, "Archiv",
         "A7", 5128},
        {"name without zero in bytes 0 to 63", PmmHeader(full64, "X"), true, full64.substr(0, 63),
         "X", 128},
        {"name starting with zero", PmmHeader("", "X"), true, "", "X", 128},
        {"identifier filling bytes 86 to 127", PmmHeader("N", id42), true, "N", id42.substr(0, 41),
         128},
        {"8-bit characters", PmmHeader("Entw\xFCrfe \x80", "\xE4"), true, "Entw\xFCrfe \x80",
         "\xE4", 128},
        {"one byte short", PmmHeader("Kurz", "K").substr(0, 127), false, kPmmTooShort, "", 0},
        {"empty file", "", false, kPmmTooShort, "", 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFile(dir / "F.PMM", c.bytes));
        pmm record;
        record.SetPath(dir / "F.PMM");
        EXPECT_EQ(c.ok, record.Analyze());
        EXPECT_EQ(c.name, record.folderName);
        EXPECT_EQ(c.id, record.folderId);
        EXPECT_EQ(c.size, record.size);
        EXPECT_EQ("F.PMM", record.fileName);
        EXPECT_EQ(dir / "F.PMM", record.filePath);
        EXPECT_EQ("", record.folderPath);
    }
}

TEST(PmmHeaderTest, FailuresWriteOneTraceLineWithTheFilePath) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "short.PMM", std::string(127, 'x')));
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "sub.PMM"));
    TraceCapture trace;
    pmm record;

    record.SetPath(dir / "short.PMM");
    EXPECT_FALSE(record.Analyze());
    record.SetPath(dir / "sub.PMM");
    EXPECT_FALSE(record.Analyze());
    EXPECT_EQ(kPmmOpenFailed, record.folderName);
    EXPECT_EQ(0u, record.size);
    record.SetPath(dir / "missing.PMM");
    EXPECT_FALSE(record.Analyze());

    const std::vector<std::string> expected = {
        "[pmm.Analyze] WARNUNG: Datei \"" + (dir / "short.PMM") +
            "\" ist keine g\xFCltige PMM-Datei\n",
        OpenTrace("pmm", dir / "sub.PMM"),
        OpenTrace("pmm", dir / "missing.PMM"),
    };
    EXPECT_EQ(expected, trace.Lines());
}

TEST(MbxHeaderTest, TakesTheFolderSizeAndReadsTheCompanion) {
    const std::string full58(58, 'N');
    const std::string id32(32, 'I');
    struct Case {
        const char* what;
        const char* pmg; // null: no companion
        std::string pmgBytes;
        bool ok;
        std::string name;
        std::string id;
    } cases[] = {
        {"exactly the header", "F.PMG", PmgHeader("Kunden", "MBX1"), true, "Kunden", "MBX1"},
        {"fields without zero", "F.PMG", PmgHeader(full58, id32), true, full58.substr(0, 57),
         id32.substr(0, 31)},
        {"longer companion", "F.PMG", PmgHeader("Lang", "L") + "rest", true, "Lang", "L"},
        {"companion in other case", "f.pmg", PmgHeader("Klein", "k"), true, "Klein", "k"},
        {"companion one byte short", "F.PMG", PmgHeader("Kurz", "K").substr(0, 89), false,
         kPmgTooShort, ""},
        {"no companion", nullptr, "", false, kPmgOpenFailed, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        ASSERT_TRUE(WriteFile(dir / "F.MBX", std::string(5000, 'm')));
        if (c.pmg) {
            ASSERT_TRUE(WriteFile(dir / c.pmg, c.pmgBytes));
        }
        mbx record;
        record.SetPath(dir / "F.MBX");
        EXPECT_EQ(c.ok, record.Analyze());
        EXPECT_EQ(c.name, record.folderName);
        EXPECT_EQ(c.id, record.folderId);
        EXPECT_EQ(5000u, record.size);
        EXPECT_EQ("F.MBX", record.fileName);
    }
}

TEST(MbxHeaderTest, FailuresNameTheFileThatFailed) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "nopmg.MBX", "abc"));
    ASSERT_TRUE(WriteFile(dir / "short.mbx", "abcd"));
    ASSERT_TRUE(WriteFile(dir / "short.PMG", std::string(89, 'p')));
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "sub.MBX"));
    TraceCapture trace;
    mbx record;

    record.SetPath(dir / "nopmg.MBX");
    EXPECT_FALSE(record.Analyze());
    EXPECT_EQ(3u, record.size);
    record.SetPath(dir / "short.mbx");
    EXPECT_FALSE(record.Analyze());
    EXPECT_EQ(4u, record.size);
    record.SetPath(dir / "sub.MBX");
    EXPECT_FALSE(record.Analyze());
    EXPECT_EQ(kMbxOpenFailed, record.folderName);
    EXPECT_EQ(0u, record.size);

    // The companion's path is built with the extension in capitals, as traced.
    const std::vector<std::string> expected = {
        OpenTrace("mbx", dir / "nopmg.PMG"),
        "[mbx.Analyze] WARNUNG: Datei \"" + (dir / "short.PMG") +
            "\" ist keine g\xFCltige PMG-Datei\n",
        OpenTrace("mbx", dir / "sub.MBX"),
    };
    EXPECT_EQ(expected, trace.Lines());
}

TEST(FolderFileRecordTest, ReusedRecordStartsCleanForTheNextFile) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "a.PMM", PmmHeader("Erster", "ID1") + "xyz"));
    ASSERT_TRUE(WriteFile(dir / "b.PMM", "short"));
    ASSERT_TRUE(WriteFile(dir / "a.MBX", "12345"));
    ASSERT_TRUE(WriteFile(dir / "a.PMG", PmgHeader("Zweiter", "ID2")));
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "b.MBX"));

    pmm p;
    p.SetPath(dir / "a.PMM");
    ASSERT_TRUE(p.Analyze());
    p.SetFolderPath("\\Alt\\");
    p.SetPath(dir / "b.PMM");
    EXPECT_EQ("", p.folderName);
    EXPECT_EQ("", p.folderPath);
    EXPECT_EQ("", p.folderId);
    EXPECT_EQ(0u, p.size);
    EXPECT_FALSE(p.Analyze());
    EXPECT_EQ("", p.folderId);
    EXPECT_EQ(0u, p.size);

    mbx m;
    m.SetPath(dir / "a.MBX");
    ASSERT_TRUE(m.Analyze());
    m.SetPath(dir / "b.MBX");
    EXPECT_FALSE(m.Analyze());
    EXPECT_EQ("", m.folderId);
    EXPECT_EQ(0u, m.size);
    EXPECT_EQ(kMbxOpenFailed, m.folderName);
}

TEST(FolderFileRecordTest, ClearAndIsEmptyCoverTheExtraFieldsThroughTheBase) {
    pmm p;
    mbx m;
    FolderRecord* records[] = {&p, &m};
    p.filePath = "x";
    m.folderId = "y";
    for (FolderRecord* r : records) {
        EXPECT_FALSE(r->IsEmpty());
        r->Clear();
        EXPECT_TRUE(r->IsEmpty());
        r->SetFolderPath("\\P\\");
        EXPECT_FALSE(r->IsEmpty());
        r->Clear();
        r->size = 1;
        EXPECT_FALSE(r->IsEmpty());
    }
    EXPECT_EQ("", p.filePath);
    EXPECT_EQ("", m.folderId);
}

TEST(FolderFileRecordTest, SetPathMakesThePathAbsoluteAndKeepsTheNameAsFound) {
    TempDir dir;
    const std::string sep = testsupport::Separator();
    pmm p;
    p.SetPath(dir / ("sub" + sep + ".." + sep + "MiXeD.pMm"));
    EXPECT_EQ(dir / "MiXeD.pMm", p.filePath);
    EXPECT_EQ("MiXeD.pMm", p.fileName);

    mbx m;
    m.SetPath("relative.MBX");
    EXPECT_EQ("relative.MBX", m.fileName);
    ASSERT_GT(m.filePath.size(), std::string("relative.MBX").size());
    EXPECT_EQ(sep + "relative.MBX", m.filePath.substr(m.filePath.size() - 13));
}

} // namespace
