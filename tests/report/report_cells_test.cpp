// Names a stranger chose, in every form of the report: control characters never reach a
// terminal (nor the line forms anywhere), files and pipes get every byte of CSV and
// JSON, and a CSV cell a spreadsheet would compute starts with an apostrophe.
#include "report/report.h"
#include "report/report_options.h"
#include "report/report_text.h"

#include "mailbox_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// A row without a folder path: the cells under test are the names.
FolderRecord Cell(const std::string& file, const std::string& name, uint64_t size) {
    return fixtures::Record(file, "", name, size);
}

using report::ReportFormat;
using report::ReportOptions;

// ESC and BEL of a colour sequence, DEL, and the five bytes Windows-1252 leaves
// undefined, which are the C1 controls U+0081, U+008D, U+008F, U+0090 (DCS) and
// U+009D (OSC) in UTF-8.
const char kHostileName[] = "\x1B]0;rot\x07|\x7F|\x81\x8D\x8F\x90\x9D|Ende";
const char kHostileFile[] = "\x1B[2J.PMM";

FolderCatalogue HostileCatalogue() {
    return fixtures::CatalogueOf(
        {Cell(kHostileFile, kHostileName, 10), Cell("ZEILE.PMM", "a\r\nb\tc", 20)});
}

// The code points of UTF-8 text; a byte that is not UTF-8 fails the test.
std::vector<unsigned> CodePoints(const std::string& utf8) {
    std::vector<unsigned> points;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        unsigned code = n == 1 ? b : b & (0x7F >> n);
        for (int k = 1; k < n; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        points.push_back(code);
        i += static_cast<size_t>(n);
    }
    return points;
}

// The first control character of `text` that is not a line end or a tab, or 0.
unsigned FirstControl(const std::string& text) {
    for (unsigned c : CodePoints(text)) {
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || (c >= 0x7F && c < 0xA0)) {
            return c;
        }
    }
    return 0;
}

std::string Report(ReportFormat format, bool terminal) {
    ReportOptions options;
    options.format = format;
    options.toTerminal = terminal;
    options.sortColumn = report::kSortFileName;
    return report::FormatReport(HostileCatalogue(), options);
}

const ReportFormat kFormats[] = {ReportFormat::kText, ReportFormat::kTsv, ReportFormat::kCsv,
                                 ReportFormat::kJson};

TEST(ReportCellsTest, OnATerminalNoFormCarriesAControlCharacter) {
    for (ReportFormat format : kFormats) {
        const std::string out = Report(format, true);
        EXPECT_EQ(0u, FirstControl(out)) << static_cast<int>(format) << ": " << out;
        EXPECT_NE(std::string::npos, out.find("?]0;rot?|?|?????|Ende")) << out;
        EXPECT_NE(std::string::npos, out.find("?[2J.PMM")) << out;
    }
    // A line break inside a name breaks no line on the terminal either.
    EXPECT_NE(std::string::npos, Report(ReportFormat::kCsv, true).find("a??b?c"));
}

TEST(ReportCellsTest, TextAndTsvNeverCarryControlCharactersWhereverTheyGo) {
    for (ReportFormat format : {ReportFormat::kText, ReportFormat::kTsv}) {
        const std::string out = Report(format, false);
        EXPECT_EQ(0u, FirstControl(out)) << out;
        EXPECT_NE(std::string::npos, out.find("?]0;rot?|?|?????|Ende")) << out;
    }
}

TEST(ReportCellsTest, FilesAndPipesGetEveryByteOfCsvAndJson) {
    const std::string csv = Report(ReportFormat::kCsv, false);
    EXPECT_NE(std::string::npos,
              csv.find("\x1B[2J.PMM,10 Bytes,\x1B]0;rot\x07|\x7F|\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90"
                       "\xC2\x9D|Ende,10,ok,\r\n"))
        << csv;
    EXPECT_NE(std::string::npos, csv.find("\"a\r\nb\tc\""));
    const std::string json = Report(ReportFormat::kJson, false);
    EXPECT_NE(std::string::npos, json.find("\"fileName\":\"\\u001b[2J.PMM\"")) << json;
    EXPECT_NE(std::string::npos,
              json.find("\"folderName\":\"\\u001b]0;rot\\u0007|\x7F|\xC2\x81\xC2\x8D\xC2\x8F"
                        "\xC2\x90\xC2\x9D|Ende\""))
        << json;
}

TEST(ReportCellsTest, CsvCellsASpreadsheetWouldComputeStartWithAnApostrophe) {
    const FolderCatalogue catalogue = fixtures::CatalogueOf({
        Cell("-A.PMM", "- Archiv -", 1300000),
        Cell("B.PMM", "=SUMME(1)", 5),
        Cell("@C.PMM", "+49 Telefon", 7),
        Cell("D.PMM", "Mitte = Ende", 9),
    });
    report::EarlierReport earlier;
    std::string error;
    ASSERT_TRUE(report::ParseEarlierReport(
        R"({"rows":[{"fileName":"-A.PMM","size":100000},{"fileName":"B.PMM","size":305}]})",
        earlier, error))
        << error;
    ReportOptions options;
    options.format = ReportFormat::kCsv;
    options.sortColumn = report::kSortFileName;
    report::ReportContext context;
    context.earlier = &earlier;
    const std::string csv = report::FormatReport(catalogue, options, context);
    EXPECT_NE(std::string::npos, csv.find("'-A.PMM,\"1,2 MB\",'- Archiv -,1300000,\"'+1,1 MB\","
                                          "1200000,ok,\r\n"))
        << csv;
    // A negative count of bytes is a number, not a formula, and stays one.
    EXPECT_NE(std::string::npos, csv.find("B.PMM,5 Bytes,'=SUMME(1),5,'-300 Bytes,-300,ok,\r\n"))
        << csv;
    EXPECT_NE(std::string::npos, csv.find("'@C.PMM,7 Bytes,'+49 Telefon,7,neu,7,ok,\r\n")) << csv;
    EXPECT_NE(std::string::npos, csv.find("D.PMM,9 Bytes,Mitte = Ende,9,neu,9,ok,\r\n")) << csv;

    // JSON stays exact.
    options.format = ReportFormat::kJson;
    const std::string json = report::FormatReport(catalogue, options, context);
    EXPECT_NE(std::string::npos, json.find("\"fileName\":\"-A.PMM\""));
    EXPECT_NE(std::string::npos, json.find("\"changeText\":\"+1,1 MB\""));
    EXPECT_EQ(std::string::npos, json.find('\''));
}

TEST(ReportCellsTest, MessagesOnATerminalQuoteNamesWithoutTheirControlCharacters) {
    std::string line;
    report::AppendErrorLine(line, "Datei \"\x1B[2J\x9D.PMM\"\n", report::Controls::kMask);
    EXPECT_EQ("Datei \"?[2J?.PMM\"\n", line);
    line.clear();
    report::AppendErrorLine(line, "Datei \"\x1B[2J\x9D.PMM\"\n", report::Controls::kKeep);
    EXPECT_EQ("Datei \"\x1B[2J\xC2\x9D.PMM\"\n", line);
}

#ifndef _WIN32
// Windows file names cannot hold control characters; POSIX ones can.
TEST(ReportCellsTest, TraceLinesOnATerminalNameBrokenFilesWithoutControlCharacters) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("report_cells_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / kHostileFile) << "kein Ordner";
    ReportOptions options;
    options.mailboxDir = dir.string();
    options.resolvePaths = false;
    options.trace = true;
    std::string out;
    std::string err;
    for (bool terminal : {false, true}) {
        options.errorsToTerminal = terminal;
        ASSERT_EQ(report::kExitOk, report::RunReport(options, out, err));
        EXPECT_EQ(!terminal, err.find(kHostileFile) != std::string::npos) << err;
        EXPECT_EQ(terminal, err.find("?[2J.PMM") != std::string::npos) << err;
        EXPECT_EQ(terminal, FirstControl(err) == 0) << err;
    }
    std::filesystem::remove_all(dir);
}
#endif

} // namespace
