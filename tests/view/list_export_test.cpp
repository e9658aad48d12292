// The export and clipboard texts and the rule of protected directories.
#include "view/list_export.h"

#include "text/spreadsheet_cell.h"

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

// Every CSV and TSV the program writes goes through one line writer: the window's
// export (';' and tabs) and the report's CSV (',').
TEST(SpreadsheetLineTest, QuotesBlanksAndMarksFormulasAsEachSeparatorAsks) {
    using text::CellSeparator;
    const struct {
        CellSeparator separator;
        std::vector<std::string> cells;
        const char* line;
    } cases[] = {
        {CellSeparator::kSemicolon,
         {"A.PMM", "1,0 kB", "\\Kunden; Lieferanten"},
         "A.PMM;1,0 kB;\"\\Kunden; Lieferanten\"\r\n"},
        {CellSeparator::kSemicolon,
         {"B\xE4", "\"Zitat\"\r\nzwei\xFF", ""},
         "B\xE4;\"\"\"Zitat\"\"\r\nzwei\xFF\";\r\n"},
        {CellSeparator::kComma,
         {"1,0 kB", "a;b", "\"", "x\ny"},
         "\"1,0 kB\",a;b,\"\"\"\",\"x\ny\"\r\n"},
        {CellSeparator::kTab,
         {"mit\tTab", "\"Zitat\";\r\nx", "a,b"},
         "mit Tab\t\"Zitat\";  x\ta,b\r\n"},
        // A cell a spreadsheet would compute starts with an apostrophe, inside the quotes
        // where it has them; one that only holds such a character stays as it is.
        {CellSeparator::kSemicolon,
         {"-A", "@B", "=SUMME(1);2", "+C", "\rCR", "Mitte = Ende - @ +"},
         "'-A;'@B;\"'=SUMME(1);2\";'+C;\"'\rCR\";Mitte = Ende - @ +\r\n"},
        {CellSeparator::kComma, {"+1,1 MB", "\tTab vorn"}, "\"'+1,1 MB\",'\tTab vorn\r\n"},
        {CellSeparator::kTab,
         {"=SUMME(1);2", "\tTab vorn", "\rCR vorn"},
         "'=SUMME(1);2\t' Tab vorn\t' CR vorn\r\n"},
    };
    for (const auto& c : cases) {
        std::string out;
        text::SpreadsheetLine line(out, c.separator);
        for (const std::string& cell : c.cells) {
            line.Text(cell);
        }
        line.End();
        EXPECT_EQ(c.line, out);
    }
    // A number keeps its sign: "-300" is no formula.
    std::string out;
    text::SpreadsheetLine(out, CellSeparator::kComma).Number("-300").Text("-300").End();
    EXPECT_EQ("-300,'-300\r\n", out);
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
