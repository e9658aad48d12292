// Scanning whole mailbox directories: which files become rows and in what order, the
// new-mail row, counts and totals (beyond 4 GiB too), names matched without regard to
// case, and the hierarchy switch with its result.
#include "mailbox/folder_catalogue.h"
#include "mailbox/folder_headers.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using fixtures::HierarchyLine;
using fixtures::PmgHeader;
using fixtures::PmmHeader;
using testsupport::TempDir;
using testsupport::TraceCapture;
using testsupport::WriteFile;

using fixtures::kLabel;
using fixtures::kUnknown;
using testsupport::kGiB;

using fixtures::Row;

// The rows of one kind of file in name order: the directory search's order is the
// file system's, and only the grouping by kind is promised.
std::vector<Row> Rows(const FolderCatalogue& catalogue) {
    std::vector<Row> rows;
    for (const FolderRecord& r : catalogue.records) {
        rows.push_back({r.fileName, r.folderPath, r.folderName, r.size});
    }
    return rows;
}

std::vector<Row> Sorted(std::vector<Row> rows) {
    std::sort(rows.begin(), rows.end(),
              [](const Row& a, const Row& b) { return a.fileName < b.fileName; });
    return rows;
}

void ExpectConsistent(const FolderCatalogue& c) {
    uint64_t sum = 0;
    for (const FolderRecord& r : c.records) {
        sum += r.size;
    }
    EXPECT_EQ(static_cast<int32_t>(c.records.size()), c.fileCount);
    EXPECT_EQ(sum, c.totalSize);
}

TEST(ScanTest, EmptyMailboxGivesNoRowsOrOnlyTheNewMailRow) {
    TempDir mailbox;
    TempDir newmail;
    FolderCatalogue c;
    EXPECT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, false, kLabel}));
    EXPECT_TRUE(c.records.empty());
    EXPECT_EQ(0, c.fileCount);
    EXPECT_EQ(0u, c.totalSize);

    EXPECT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, true, kLabel}));
    EXPECT_EQ((std::vector<Row>{{"*.CNM", "", kLabel, 0}}), Rows(c));
    EXPECT_EQ(1, c.fileCount);
    EXPECT_EQ(0u, c.totalSize);
}

TEST(ScanTest, NewMailRowSumsEveryNewMailFileIntoOneRow) {
    TempDir mailbox;
    TempDir newmail;
    ASSERT_TRUE(WriteFile(newmail / "a.CNM", std::string(100, 'a')));
    ASSERT_TRUE(WriteFile(newmail / "b.cnm", std::string(200, 'b')));
    ASSERT_TRUE(WriteFile(newmail / "c.Cnm", std::string(300, 'c')));
    ASSERT_TRUE(WriteFile(newmail / "d.CNMX", std::string(1000, 'd')));
    ASSERT_TRUE(WriteFile(newmail / "e.TMP", std::string(1000, 'e')));
    ASSERT_TRUE(WriteFile(mailbox / "f.PMM", PmmHeader("Ordner", "F")));
    FolderCatalogue c;
    EXPECT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, true, kLabel}));
    EXPECT_EQ((std::vector<Row>{{"*.CNM", "", kLabel, 600}, {"f.PMM", "", "Ordner", 128}}),
              Rows(c));
    EXPECT_EQ(2, c.fileCount);
    EXPECT_EQ(728u, c.totalSize);
}

// A new-mail directory that cannot be read says so in its row, as a folder file that
// cannot be read does; an existing one without new mail is the plain "0 Bytes" row.
TEST(ScanTest, AnUnreadableNewMailDirectoryPutsItsFailureTextInTheNewMailRow) {
    TempDir root;
    const std::string sep = testsupport::Separator();
    ASSERT_TRUE(testsupport::MakeDirectory(root / "leer"));
    ASSERT_TRUE(WriteFile(root / "datei", "x"));
    const char kFailure[] = "<Posteingang-Verzeichnis konnte nicht gelesen werden.>";
    const struct {
        std::string newmail;
        const char* name;
    } cases[] = {
        {root / ("nonew" + sep), kFailure},
        {root / ("datei" + sep), kFailure},
        {root / ("leer" + sep), kLabel.c_str()},
    };
    for (const auto& c : cases) {
        FolderCatalogue catalogue;
        TraceCapture trace;
        EXPECT_TRUE(catalogue.Scan({root / ("nomailbox" + sep), c.newmail, false, true, kLabel}));
        EXPECT_EQ((std::vector<Row>{{"*.CNM", "", c.name, 0}}), Rows(catalogue)) << c.newmail;
        EXPECT_EQ(c.name == kFailure, IsFailureText(catalogue.records.front().folderName));
        EXPECT_EQ(1, catalogue.fileCount);
        EXPECT_TRUE(trace.Lines().empty());
    }
}

// An unknown directory (the mail client's key missing, nothing typed in) is empty text.
// It must not turn into the current directory, whose files have nothing to do with mail.
TEST(ScanTest, EmptyDirectoriesFindNothingEvenWhereTheCurrentDirectoryHasFolders) {
    TempDir cwd;
    ASSERT_TRUE(WriteFile(cwd / "STRAY.PMM", PmmHeader("Fremd", "S1") + "body"));
    ASSERT_TRUE(WriteFile(cwd / "STRAY.CNM", std::string(50, 'n')));
    ASSERT_TRUE(WriteFile(cwd / "hierarch.pm", HierarchyLine(2, "S1", "", "Oben")));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(cwd.Path());

    FolderCatalogue c;
    TraceCapture trace;
    const bool result = c.Scan({"", "", true, true, kLabel});
    std::filesystem::current_path(previous);

    EXPECT_FALSE(result);
    EXPECT_EQ((std::vector<Row>{{"*.CNM", "", kLabel, 0}}), Rows(c));
    EXPECT_TRUE(c.mailboxListed) << "unknown is not unreadable: warning 501 told it";
    ExpectConsistent(c);
    EXPECT_EQ((std::vector<std::string>{
                  "[pmHierarch.Fill] WARNUNG: Kann Datei \"hierarch.pm\" nicht zum Lesen "
                  "\xF6"
                  "ffnen\n"}),
              trace.Lines());
}

TEST(ScanTest, RowsStandNewMailFirstThenPmmThenMbx) {
    TempDir mailbox;
    TempDir newmail;
    ASSERT_TRUE(WriteFile(mailbox / "Z.PMM", PmmHeader("Zett", "Z") + "12"));
    ASSERT_TRUE(WriteFile(mailbox / "a.pmm", PmmHeader("Ah", "A")));
    ASSERT_TRUE(WriteFile(mailbox / "A.MBX", std::string(5000, 'm')));
    ASSERT_TRUE(WriteFile(mailbox / "A.PMG", PmgHeader("Mbx-Ah", "MA")));
    ASSERT_TRUE(WriteFile(mailbox / "same.PMM", PmmHeader("Gleich P", "S1")));
    ASSERT_TRUE(WriteFile(mailbox / "same.MBX", "1234567"));
    ASSERT_TRUE(WriteFile(mailbox / "same.PMG", PmgHeader("Gleich M", "S2")));
    ASSERT_TRUE(WriteFile(newmail / "n.CNM", "12345"));
    FolderCatalogue c;
    ASSERT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, true, kLabel}));
    const std::vector<Row> rows = Rows(c);
    ASSERT_EQ(6u, rows.size());
    EXPECT_EQ((Row{"*.CNM", "", kLabel, 5}), rows[0]);
    EXPECT_EQ((std::vector<Row>{{"Z.PMM", "", "Zett", 130},
                                {"a.pmm", "", "Ah", 128},
                                {"same.PMM", "", "Gleich P", 128}}),
              Sorted({rows.begin() + 1, rows.begin() + 4}));
    EXPECT_EQ((std::vector<Row>{{"A.MBX", "", "Mbx-Ah", 5000}, {"same.MBX", "", "Gleich M", 7}}),
              Sorted({rows.begin() + 4, rows.end()}));
    ExpectConsistent(c);
}

TEST(ScanTest, UnreadableFilesStillGiveRowsWithTheirFailureTexts) {
    TempDir mailbox;
    ASSERT_TRUE(WriteFile(mailbox / "short.PMM", std::string(127, 's')));
    ASSERT_TRUE(testsupport::MakeDirectory(mailbox / "sub.PMM"));
    ASSERT_TRUE(testsupport::MakeDirectory(mailbox / "sub.MBX"));
    ASSERT_TRUE(WriteFile(mailbox / "lonely.MBX", std::string(5000, 'l')));
    ASSERT_TRUE(WriteFile(mailbox / "cut.MBX", std::string(10, 'c')));
    ASSERT_TRUE(WriteFile(mailbox / "cut.PMG", std::string(89, 'c')));
    ASSERT_TRUE(WriteFile(mailbox / "not.PMMX", PmmHeader("Nein", "N")));
    ASSERT_TRUE(WriteFile(mailbox / "not.MBXX", "x"));
    ASSERT_TRUE(WriteFile(mailbox / "not.PM", PmmHeader("Nein", "N")));
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan({mailbox.Path(), "", false, false, kLabel}));
    EXPECT_EQ((std::vector<Row>{
                  {"cut.MBX", "", "<Ordner hat keine g\xFCltige PMG-Datei.>", 10},
                  {"lonely.MBX", "",
                   "<PMG-Datei konnte nicht zum Lesen ge\xF6"
                   "ffnet werden.>",
                   5000},
                  {"short.PMM", "", "<Datei ist keine g\xFCltige PMM-Datei.>", 0},
                  {"sub.MBX", "",
                   "<MBX-Datei konnte nicht zum Lesen ge\xF6"
                   "ffnet werden.>",
                   0},
                  {"sub.PMM", "",
                   "<Datei konnte nicht zum Lesen ge\xF6"
                   "ffnet werden.>",
                   0},
              }),
              Sorted(Rows(c)));
    EXPECT_EQ(5010u, c.totalSize);
    EXPECT_EQ(5u, trace.Lines().size());
    ExpectConsistent(c);
}

TEST(ScanTest, SizesAndTotalsBeyond4GiBKeepTheirValue) {
    TempDir mailbox;
    TempDir newmail;
    ASSERT_TRUE(fixtures::WriteLargeFile(mailbox / "big.PMM", PmmHeader("Gross", "B"), 5 * kGiB));
    ASSERT_TRUE(fixtures::WriteLargeFile(mailbox / "big.MBX", "", kGiB + 7));
    ASSERT_TRUE(WriteFile(mailbox / "big.PMG", PmgHeader("Auch gross", "M")));
    ASSERT_TRUE(fixtures::WriteLargeFile(newmail / "a.CNM", "", 3 * kGiB));
    ASSERT_TRUE(fixtures::WriteLargeFile(newmail / "b.CNM", "", 2 * kGiB));
    FolderCatalogue c;
    ASSERT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, true, kLabel}));
    EXPECT_EQ((std::vector<Row>{{"*.CNM", "", kLabel, 5 * kGiB},
                                {"big.PMM", "", "Gross", 5 * kGiB},
                                {"big.MBX", "", "Auch gross", kGiB + 7}}),
              Rows(c));
    EXPECT_EQ(11 * kGiB + 7, c.totalSize);
}

TEST(ScanTest, NamesAndCompanionsMatchWithoutRegardToCase) {
    TempDir mailbox;
    ASSERT_TRUE(WriteFile(mailbox / "archiv.pmm", PmmHeader("Archiv", "a1")));
    ASSERT_TRUE(WriteFile(mailbox / "kunden.mbx", "0123456789"));
    ASSERT_TRUE(WriteFile(mailbox / "KUNDEN.pmg", PmgHeader("Kunden", "K1")));
    ASSERT_TRUE(WriteFile(mailbox / "HIERARCH.PM", HierarchyLine(2, "ROOT", "", "Oben") +
                                                       HierarchyLine(1, "A1", "ROOT", "Archiv") +
                                                       HierarchyLine(1, "k1", "A1", "Kunden")));
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan({mailbox.Path(), "", true, false, kLabel}));
    EXPECT_EQ((std::vector<Row>{{"archiv.pmm", "\\", "Archiv", 128},
                                {"kunden.mbx", "\\Archiv\\", "Kunden", 10}}),
              Rows(c));
    EXPECT_TRUE(trace.Lines().empty());
}

TEST(ScanTest, FolderPathsComeFromTheHierarchyWhenWanted) {
    TempDir mailbox;
    ASSERT_TRUE(WriteFile(mailbox / "f.PMM", PmmHeader("Kunden", "F")));
    ASSERT_TRUE(WriteFile(mailbox / "t.PMM", PmmHeader("Archiv", "T")));
    ASSERT_TRUE(WriteFile(mailbox / "r.PMM", PmmHeader("Oben", "R")));
    ASSERT_TRUE(WriteFile(mailbox / "x.PMM", PmmHeader("Fremd", "X")));
    ASSERT_TRUE(WriteFile(mailbox / "bad.PMM", "kurz"));
    ASSERT_TRUE(WriteFile(mailbox / "o.MBX", ""));
    ASSERT_TRUE(WriteFile(mailbox / "o.PMG", PmgHeader("Waise", "O")));
    ASSERT_TRUE(WriteFile(mailbox / "hierarch.pm",
                          HierarchyLine(2, "R", "", "Oben") + HierarchyLine(1, "T", "R", "Archiv") +
                              HierarchyLine(1, "F", "T", "Kunden") + "kaputt\r\n" +
                              HierarchyLine(1, "O", "GONE", "Waise")));
    TempDir newmail;
    FolderCatalogue c;
    TraceCapture trace;
    ASSERT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), true, true, kLabel}));
    const std::vector<Row> rows = Rows(c);
    ASSERT_EQ(7u, rows.size());
    EXPECT_EQ((Row{"*.CNM", "", kLabel, 0}), rows[0]) << "new mail is never looked up";
    EXPECT_EQ((std::vector<Row>{{"bad.PMM", kUnknown, "<Datei ist keine g\xFCltige PMM-Datei.>", 0},
                                {"f.PMM", "\\Archiv\\", "Kunden", 128},
                                {"r.PMM", "", "Oben", 128},
                                {"t.PMM", "\\", "Archiv", 128},
                                {"x.PMM", kUnknown, "Fremd", 128}}),
              Sorted({rows.begin() + 1, rows.begin() + 6}));
    EXPECT_EQ((Row{"o.MBX", std::string(kUnknown) + "\\", "Waise", 0}), rows[6]);
    ASSERT_EQ(2u, trace.Lines().size());
    EXPECT_EQ("[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"kaputt\".\n", trace.Lines()[0]);
}

TEST(ScanTest, WithoutAReadableHierarchyNoPathIsResolved) {
    TempDir mailbox;
    ASSERT_TRUE(WriteFile(mailbox / "f.PMM", PmmHeader("Kunden", "F")));
    FolderCatalogue c;
    {
        TraceCapture trace;
        EXPECT_FALSE(c.Scan({mailbox.Path(), "", true, false, kLabel}));
        EXPECT_EQ((std::vector<Row>{{"f.PMM", "", "Kunden", 128}}), Rows(c));
        EXPECT_EQ((std::vector<std::string>{"[pmHierarch.Fill] WARNUNG: Kann Datei \"" +
                                            (mailbox / "hierarch.pm") +
                                            "\" nicht zum Lesen \xF6"
                                            "ffnen\n"}),
                  trace.Lines());
    }
    // Switched off, the file is not even opened: a directory in its place goes unnoticed.
    ASSERT_TRUE(testsupport::MakeDirectory(mailbox / "hierarch.pm"));
    {
        TraceCapture trace;
        EXPECT_TRUE(c.Scan({mailbox.Path(), "", false, false, kLabel}));
        EXPECT_EQ((std::vector<Row>{{"f.PMM", "", "Kunden", 128}}), Rows(c));
        EXPECT_TRUE(trace.Lines().empty());
        EXPECT_FALSE(c.Scan({mailbox.Path(), "", true, false, kLabel}));
        EXPECT_EQ(1u, trace.Lines().size());
    }
}

TEST(ScanTest, EveryScanStartsFromAnEmptyCatalogue) {
    TempDir mailbox;
    TempDir newmail;
    ASSERT_TRUE(WriteFile(mailbox / "a.PMM", PmmHeader("A", "A") + std::string(1000, 'a')));
    ASSERT_TRUE(WriteFile(mailbox / "b.PMM", PmmHeader("B", "B")));
    ASSERT_TRUE(WriteFile(newmail / "n.CNM", "12"));
    FolderCatalogue c;
    ASSERT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, true, kLabel}));
    EXPECT_EQ(3, c.fileCount);
    EXPECT_EQ(1258u, c.totalSize);

    ASSERT_TRUE(testsupport::RemoveFile(mailbox / "a.PMM"));
    ASSERT_TRUE(c.Scan({mailbox.Path(), newmail.Path(), false, false, kLabel}));
    EXPECT_EQ((std::vector<Row>{{"b.PMM", "", "B", 128}}), Rows(c));
    EXPECT_EQ(1, c.fileCount);
    EXPECT_EQ(128u, c.totalSize);
}

} // namespace
