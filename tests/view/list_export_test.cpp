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
        bytes *= 1000;
    }
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
              "B\xE4.MBX;954,7 MB;\"\"\"Zitat\"\"\r\nzweite Zeile\xFF\";1000000\r\n",
              view::FormatListExport(list, "Bytes", ExportFormat::kCsv));
}

// Header and rows only: a sum over the byte column must be the total, and the clipboard
// holds exactly the tab-separated file, its byte column included.
TEST(ListExportTest, TabSeparatedKeepsEveryRowOnOneLineAndCopyIsTheTabSeparatedFile) {
    const ListSnapshot list = Snapshot({
        {"A.PMM", "1,0 kB", "mit\tTab"},
        {"B.MBX", "954,7 MB", "\"Zitat\";\r\nx"},
    });
    EXPECT_EQ("Dateiname\tGr\xF6\xDF"
              "e\tOrdnername\tBytes\r\n"
              "A.PMM\t1,0 kB\tmit Tab\t1000\r\n"
              "B.MBX\t954,7 MB\t\"Zitat\";  x\t1000000\r\n",
              view::FormatListExport(list, "Bytes", ExportFormat::kTsv));
    EXPECT_EQ(view::FormatListExport(list, "Bytes", ExportFormat::kTsv),
              view::FormatListCopy(list, "Bytes"));
    // An empty list is the header alone.
    EXPECT_EQ("Dateiname;Gr\xF6\xDF"
              "e;Ordnername;Bytes\r\n",
              view::FormatListExport(Snapshot({}), "Bytes", ExportFormat::kCsv));
}

// The lines after the header, joined by "|", each without its last `dropColumns` cells.
std::string RowsOf(const std::string& text, int dropColumns) {
    std::string rows;
    size_t start = text.find("\r\n") + 2;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string line = text.substr(start, end - start);
        for (int k = 0; k < dropColumns; ++k) {
            line.erase(line.rfind('\t'));
        }
        rows += line + "|";
    }
    return rows;
}

TEST(ListExportTest, CellsASpreadsheetWouldComputeStartWithAnApostropheInEveryForm) {
    ListSnapshot list = Snapshot({
        {"-ARCHIV.PMM", "1,0 kB", "- Archiv -"},
        {"@B.MBX", "954,7 MB", "=SUMME(1);2"},
        {"+C.PMM", "1 Byte", "\tTab vorn"},
        {"D.PMM", "2 Bytes", "\rCR vorn"},
        {"E.PMM", "3 Bytes", "Mitte = Ende - @ +"},
    });
    EXPECT_EQ("'-ARCHIV.PMM;1,0 kB;'- Archiv -;1000|"
              "'@B.MBX;954,7 MB;\"'=SUMME(1);2\";1000000|"
              "'+C.PMM;1 Byte;'\tTab vorn;1000000000|"
              "D.PMM;2 Bytes;\"'\rCR vorn\";1000000000000|"
              "E.PMM;3 Bytes;Mitte = Ende - @ +;1000000000000000|",
              RowsOf(view::FormatListExport(list, "Bytes", ExportFormat::kCsv), 0));
    // Tab-separated, in the file and on the clipboard alike.
    const std::string tsvRows = "'-ARCHIV.PMM\t1,0 kB\t'- Archiv -|"
                                "'@B.MBX\t954,7 MB\t'=SUMME(1);2|"
                                "'+C.PMM\t1 Byte\t' Tab vorn|"
                                "D.PMM\t2 Bytes\t' CR vorn|"
                                "E.PMM\t3 Bytes\tMitte = Ende - @ +|";
    EXPECT_EQ(tsvRows, RowsOf(view::FormatListExport(list, "Bytes", ExportFormat::kTsv), 1));
    EXPECT_EQ(tsvRows, RowsOf(view::FormatListCopy(list, "Bytes"), 1));
}

TEST(ListExportTest, ExtensionDecidesTheFormatBeforeTheFileType) {
    EXPECT_EQ(ExportFormat::kCsv, view::ExportFormatFor("C:\\x\\Liste.CSV", 2));
    EXPECT_EQ(ExportFormat::kTsv, view::ExportFormatFor("C:\\x\\liste.txt", 1));
    EXPECT_EQ(ExportFormat::kTsv, view::ExportFormatFor("C:\\x\\liste", 2));
    EXPECT_EQ(ExportFormat::kCsv, view::ExportFormatFor("C:\\x\\liste.dat", 1));
}

TEST(ListExportTest, TheSuggestedNameCarriesTheIsoDateWithLeadingZeros) {
    EXPECT_EQ("Foldtally 2026-01-05.csv", view::SuggestedExportName(2026, 1, 5));
    EXPECT_EQ("Foldtally 1999-12-31.csv", view::SuggestedExportName(1999, 12, 31));
    EXPECT_EQ("Foldtally 0800-10-10.csv", view::SuggestedExportName(800, 10, 10));
}

TEST(ListExportTest, SaveAsStartsInTheLastExportFolderElseInTheDocuments) {
    EXPECT_EQ("C:\\Export\\", view::ExportFolderOf("C:\\Export\\liste.csv"));
    EXPECT_EQ("C:/x/", view::ExportFolderOf("C:/x/liste.csv"));
    EXPECT_EQ("\\\\srv\\share\\", view::ExportFolderOf("\\\\srv\\share\\liste.csv"));
    EXPECT_EQ("", view::ExportFolderOf("liste.csv"));
    // A folder the export would refuse (the mailbox named anew since) is never offered.
    const std::vector<std::string> mailbox = {"C:\\PMAIL\\MAIL\\"};
    const struct {
        const char* last;
        const char* documents;
        const char* start;
    } cases[] = {
        {"C:\\Export\\", "C:\\Dokumente", "C:\\Export\\"},
        {"", "C:\\Dokumente", "C:\\Dokumente"},
        {"c:\\pmail\\mail\\", "C:\\Dokumente", "C:\\Dokumente"},
        {"C:\\PMAIL\\MAIL\\Unter\\", "C:\\Dokumente", "C:\\Dokumente"},
        {"C:\\PMAIL\\", "C:\\Dokumente", "C:\\PMAIL\\"},
        {"C:\\PMAIL\\MAIL", "C:\\PMAIL\\MAIL", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.start, view::ExportStartFolder(c.last, c.documents, mailbox)) << c.last;
    }
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
