// The export and clipboard texts and the rule of protected directories.
#include "view/list_export.h"

#include <gtest/gtest.h>

namespace {

using view::ExportFormat;
using view::ListSnapshot;

ListSnapshot Snapshot(std::vector<std::vector<std::string>> rows) {
    ListSnapshot list;
    list.titles = {"Dateiname",
                   "Gr\xF6\xDF"
                   "e",
                   "Ordnername"};
    uint64_t bytes = 1000;
    for (auto& cells : rows) {
        list.rows.push_back({cells, bytes});
        list.totalBytes += bytes;
        bytes *= 1000;
    }
    list.statusLine = "2 Dateien, 954,6 MB (1.001.000.000 Bytes)";
    return list;
}

TEST(ListExportTest, CsvQuotesExactlyTheFieldsThatNeedItAndEndsLinesWithCrLf) {
    const ListSnapshot list = Snapshot({
        {"A.PMM", "1,0 kB", "\\Kunden; Lieferanten"},
        {"B\xE4.MBX", "954,7 MB", "\"Zitat\"\r\nzweite Zeile\xFF"},
    });
    EXPECT_EQ("Dateiname;Gr\xF6\xDF"
              "e;Ordnername;Bytes\r\n"
              "A.PMM;1,0 kB;\"\\Kunden; Lieferanten\";1000\r\n"
              "B\xE4.MBX;954,7 MB;\"\"\"Zitat\"\"\r\nzweite Zeile\xFF\";1000000\r\n"
              "2 Dateien, 954,6 MB (1.001.000.000 Bytes);;;1001000\r\n",
              view::FormatListExport(list, "Bytes", ExportFormat::kCsv));
}

TEST(ListExportTest, TabSeparatedKeepsEveryRowOnOneLineAndCopyLeavesOutBytesAndStatus) {
    const ListSnapshot list = Snapshot({
        {"A.PMM", "1,0 kB", "mit\tTab"},
        {"B.MBX", "954,7 MB", "\"Zitat\";\r\nx"},
    });
    EXPECT_EQ("Dateiname\tGr\xF6\xDF"
              "e\tOrdnername\tBytes\r\n"
              "A.PMM\t1,0 kB\tmit Tab\t1000\r\n"
              "B.MBX\t954,7 MB\t\"Zitat\";  x\t1000000\r\n"
              "2 Dateien, 954,6 MB (1.001.000.000 Bytes)\t\t\t1001000\r\n",
              view::FormatListExport(list, "Bytes", ExportFormat::kTsv));
    EXPECT_EQ("Dateiname\tGr\xF6\xDF"
              "e\tOrdnername\r\n"
              "A.PMM\t1,0 kB\tmit Tab\r\n"
              "B.MBX\t954,7 MB\t\"Zitat\";  x\r\n",
              view::FormatListCopy(list));
}

TEST(ListExportTest, ExtensionDecidesTheFormatBeforeTheFileType) {
    EXPECT_EQ(ExportFormat::kCsv, view::ExportFormatFor("C:\\x\\Liste.CSV", 2));
    EXPECT_EQ(ExportFormat::kTsv, view::ExportFormatFor("C:\\x\\liste.txt", 1));
    EXPECT_EQ(ExportFormat::kTsv, view::ExportFormatFor("C:\\x\\liste", 2));
    EXPECT_EQ(ExportFormat::kCsv, view::ExportFormatFor("C:\\x\\liste.dat", 1));
}

TEST(ListExportTest, ProtectedDirectoriesInAnySpellingAndBelow) {
    const std::vector<std::string> dirs = {"C:\\PMAIL\\MAIL\\", "c:\\pmail\\new",
                                           "D:\\Programme\\F\xC4LDER\\", ""};
    struct Case {
        const char* path;
        bool refused;
    } cases[] = {
        {"C:\\PMAIL\\MAIL\\liste.csv", true},
        {"c:\\pmail\\mail\\liste.csv", true},
        {"C:\\PMAIL\\MAIL\\\\liste.csv", true},
        {"C:/PMAIL/MAIL/liste.csv", true},
        {"C:\\PMAIL\\MAIL\\ANNA\\liste.csv", true},
        {"C:\\PMAIL\\NEW\\liste.csv", true},
        {"d:\\programme\\f\xE4lder\\liste.csv", true},
        {"C:\\PMAIL\\MAILARCHIV\\liste.csv", false},
        {"C:\\PMAIL\\liste.csv", false},
        {"C:\\Dokumente\\liste.csv", false},
        {"D:\\Programme\\liste.csv", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.refused, view::IsInProtectedDirectory(c.path, dirs)) << c.path;
    }
}

} // namespace
