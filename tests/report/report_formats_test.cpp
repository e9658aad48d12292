// The report's machine-readable forms and --compare as a user runs them: the JSON
// report read back row by row, a later scan against it with rows added, removed,
// grown and shrunk, and every kind of earlier report it must refuse.
#include "mailgen.h"
#include "report/report_text.h"
#include "run_program.h"
#include "sizes/size_text.h"
#include "test_support.h"
#include "text/spreadsheet_cell.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace {

using nlohmann::json;
using testsupport::ProgramResult;
using testsupport::RunReport;
using testsupport::TempDir;

class ReportFormatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        mailgen::Options options;
        options.seed = 77;
        options.folders = 60;
        options.brokenFolders = 5;
        options.hugeFolders = 1;
        options.awkwardNames = true;
        std::string error;
        ASSERT_TRUE(mailgen::Generate(m_dir / "mb", m_dir / "nm", options, m_expected, error))
            << error;
    }
    std::vector<std::string> Args(std::vector<std::string> extra) const {
        std::vector<std::string> args = {"--mailbox", m_dir / "mb", "--newmail", m_dir / "nm"};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
    // The rows of a JSON report by file name; every row must be an object.
    static std::map<std::string, json> RowsByName(const json& report) {
        std::map<std::string, json> rows;
        for (const json& row : report.at("rows")) {
            rows[row.at("fileName").get<std::string>()] = row;
        }
        return rows;
    }

    TempDir m_dir;
    mailgen::Expectation m_expected;
};

TEST_F(ReportFormatsTest, JsonHoldsEveryRowWithItsBytesFailureAndTheTotals) {
    const ProgramResult result = RunReport(Args({"--format", "json", "--sort", "size"}), m_dir);
    ASSERT_EQ(0, result.exitCode) << result.err;
    const json report = json::parse(result.out); // throws, and fails, on invalid UTF-8
    std::map<std::string, json> rows = RowsByName(report);
    ASSERT_EQ(m_expected.folders.size() + 1, rows.size());
    uint64_t total = m_expected.newMailSize;
    for (const mailgen::ExpectedRow& expected : m_expected.folders) {
        const std::string name = report::Utf8FromCp1252(expected.fileName);
        ASSERT_EQ(1u, rows.count(name)) << name;
        const json& row = rows[name];
        EXPECT_EQ(report::Utf8FromCp1252(expected.folderPath), row.at("folderPath")) << name;
        EXPECT_EQ(report::Utf8FromCp1252(expected.folderName), row.at("folderName")) << name;
        EXPECT_EQ(expected.size, row.at("size").get<uint64_t>()) << name;
        const bool failed = expected.folderName.size() > 1 && expected.folderName[0] == '<';
        EXPECT_EQ(failed, row.at("failed").get<bool>()) << name;
        EXPECT_EQ(failed ? row.at("folderName") : json(nullptr), row.at("failure")) << name;
        total += expected.size;
    }
    EXPECT_EQ(m_expected.newMailSize, rows["*.CNM"].at("size").get<uint64_t>());
    EXPECT_FALSE(rows["*.CNM"].at("failed").get<bool>());
    // In the order asked for, the totals and where and when the scan was.
    uint64_t previous = 0;
    for (const json& row : report.at("rows")) {
        EXPECT_LE(previous, row.at("size").get<uint64_t>());
        previous = row.at("size").get<uint64_t>();
    }
    EXPECT_EQ(total, report.at("totals").at("size").get<uint64_t>());
    EXPECT_EQ(static_cast<int>(rows.size()), report.at("totals").at("files").get<int>());
    const std::string time = report.at("scanTime");
    EXPECT_EQ(20u, time.size()) << time;
    EXPECT_TRUE(time[4] == '-' && time[10] == 'T' && time.back() == 'Z') << time;
    EXPECT_NE(std::string::npos, report.at("mailbox").get<std::string>().find("mb"));
}

TEST_F(ReportFormatsTest, CompareShowsGrownShrunkNewAndRemovedRowsAndTheTotalChange) {
    const ProgramResult before = RunReport(Args({"--format", "json"}), m_dir);
    ASSERT_EQ(0, before.exitCode);
    ASSERT_TRUE(testsupport::WriteFile(m_dir / "earlier.json", before.out));
    // Grow a .PMM, shrink an .MBX, take one folder away, add one under a new name.
    namespace fs = std::filesystem;
    std::string grown, shrunk, removed;
    uint64_t removedSize = 0;
    for (const mailgen::ExpectedRow& row : m_expected.folders) {
        const fs::path path = fs::u8path(m_dir / "mb") / row.fileName;
        const bool readable = row.folderName[0] != '<';
        if (grown.empty() && readable && row.fileName.find(".PMM") != std::string::npos) {
            grown = row.fileName;
            fs::resize_file(path, row.size + 1000);
        } else if (shrunk.empty() && readable && row.size > 200 &&
                   row.fileName.find(".MBX") != std::string::npos) {
            shrunk = row.fileName;
            fs::resize_file(path, row.size - 100);
        } else if (removed.empty() && readable && row.fileName.find(".PMM") != std::string::npos) {
            removed = row.fileName;
            removedSize = row.size;
            fs::rename(path, fs::u8path(m_dir / "mb") / "NEU00001.PMM");
        }
    }
    ASSERT_FALSE(grown.empty() || shrunk.empty() || removed.empty());
    const ProgramResult after =
        RunReport(Args({"--tsv", "--exact", "--compare", m_dir / "earlier.json", "--sort", "change",
                        "--desc"}),
                  m_dir);
    ASSERT_EQ(0, after.exitCode) << after.err;
    std::map<std::string, std::string> change;
    std::vector<std::string> order;
    size_t start = after.out.find('\n') + 1;
    EXPECT_EQ("Dateiname\tGr\xC3\xB6\xC3\x9F"
              "e\tOrdnername\t\xC3\x84nderung\n",
              after.out.substr(0, start));
    for (size_t end; (end = after.out.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = after.out.substr(start, end - start);
        if (line.find('\t') == std::string::npos) {
            EXPECT_NE(std::string::npos, line.find(", \xC3\x84nderung +900 Bytes")) << line;
            continue;
        }
        change[line.substr(0, line.find('\t'))] = line.substr(line.rfind('\t') + 1);
        order.push_back(line.substr(0, line.find('\t')));
    }
    EXPECT_EQ("+1.000", change[grown]);
    EXPECT_EQ("-100", change[shrunk]);
    EXPECT_EQ("entfernt", change[removed]);
    EXPECT_EQ("neu", change["NEU00001.PMM"]);
    EXPECT_EQ("0", change["*.CNM"]);
    EXPECT_EQ(m_expected.folders.size() + 2, change.size());
    // Largest growth first; the removed row counts minus its whole size.
    EXPECT_EQ(removedSize > 1000 ? "NEU00001.PMM" : grown, order.front());
    EXPECT_EQ(removedSize > 100 ? removed : shrunk, order.back());
}

TEST_F(ReportFormatsTest, UnusableEarlierReportsAreRefusedWithStatus2AndNoOutput) {
    namespace fs = std::filesystem;
    const std::string deep = std::string(100, '[') + std::string(100, ']');
    const struct {
        const char* name;
        std::string content;
        const char* says;
    } cases[] = {
        {"text.json", "Dies ist kein JSON.", "kein JSON"},
        {"cut.json", "{\"rows\": [{\"fileName\": \"A.PMM\", \"size\": 1", "kein JSON"},
        {"array.json", "[1, 2, 3]", "kein JSON-Objekt"},
        {"norows.json", "{\"rows\": 5}", "\"rows\""},
        {"badrow.json", "{\"rows\": [{\"fileName\": 7, \"size\": 1}]}", "Zeile 1"},
        {"negative.json", "{\"rows\": [{\"fileName\": \"A\", \"size\": -1}]}", "Zeile 1"},
        {"deep.json", deep, "verschachtelt"},
        {"bytes.json", "{\"rows\": [{\"fileName\": \"\xFF\xFE\", \"size\": 1}]}", "kein JSON"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(testsupport::WriteFile(m_dir / c.name, c.content));
    }
    {
        std::ofstream huge(fs::u8path(m_dir / "huge.json"), std::ios::binary);
        huge << "{\"rows\": []}";
    }
    fs::resize_file(fs::u8path(m_dir / "huge.json"), (64u << 20) + 1);
    std::vector<std::pair<std::string, std::string>> inputs;
    for (const auto& c : cases) {
        inputs.push_back({m_dir / c.name, c.says});
    }
    inputs.push_back({m_dir / "huge.json", "zu gro\xC3\x9F"});
    inputs.push_back({m_dir / "fehlt.json", "kann nicht gelesen werden"});
    inputs.push_back({m_dir / "mb", "kann nicht gelesen werden"}); // a directory
    for (const auto& [path, says] : inputs) {
        const ProgramResult result = RunReport(Args({"--compare", path}), m_dir);
        EXPECT_EQ(2, result.exitCode) << path;
        EXPECT_EQ("", result.out) << path;
        EXPECT_EQ(0u, result.err.find("foldtally-report: Der fr\xC3\xBChere Bericht \""))
            << result.err;
        EXPECT_NE(std::string::npos, result.err.find(says)) << path << ": " << result.err;
    }
    // One message whole: the reason reads as the rest of the sentence.
    const ProgramResult badRow = RunReport(Args({"--compare", m_dir / "badrow.json"}), m_dir);
    EXPECT_EQ("foldtally-report: Der fr\xC3\xBChere Bericht \"" + (m_dir / "badrow.json") +
                  "\" hat in Zeile 1 von \"rows\" keinen g\xC3\xBCltigen Eintrag "
                  "(\"fileName\" als Text, \"size\" als Zahl ab 0).\n",
              badRow.err);
    const ProgramResult noCompare = RunReport(Args({"--sort", "change"}), m_dir);
    EXPECT_EQ(2, noCompare.exitCode);
    EXPECT_NE(std::string::npos, noCompare.err.find("--compare")) << noCompare.err;
}

TEST_F(ReportFormatsTest, HugeEarlierReportsOfBadRowsEndAtTheFirstRow) {
    // 60 MiB that once took gigabytes before the answer, or ended the program.
    for (const std::string row : {"0,", "{},"}) {
        std::string text = "{\"rows\":[";
        while (text.size() < (60u << 20)) {
            text += row;
        }
        text += "0]}";
        ASSERT_TRUE(testsupport::WriteFile(m_dir / "bad.json", text));
        text = std::string();
        const ProgramResult result = RunReport(Args({"--compare", m_dir / "bad.json"}), m_dir);
        EXPECT_EQ(2, result.exitCode) << row;
        EXPECT_EQ("", result.out) << row;
        EXPECT_EQ("foldtally-report: Der fr\xC3\xBChere Bericht \"" + (m_dir / "bad.json") +
                      "\" hat in Zeile 1 von \"rows\" keinen g\xC3\xBCltigen Eintrag "
                      "(\"fileName\" als Text, \"size\" als Zahl ab 0).\n",
                  result.err)
            << row;
    }
}

TEST_F(ReportFormatsTest, ChangesOfSizesBeyond2To63PrintWhole) {
    std::string kept;
    for (const mailgen::ExpectedRow& row : m_expected.folders) {
        if (row.folderName[0] != '<' && row.size < 1000000) {
            kept = row.fileName;
        }
    }
    ASSERT_FALSE(kept.empty());
    // One folder that has shrunk from 2^64 - 1 bytes, two removed ones of 2^63 and more.
    ASSERT_TRUE(testsupport::WriteFile(
        m_dir / "earlier.json",
        "{\"rows\":[{\"fileName\":\"GONE1.PMM\",\"size\":9223372036854775808},"
        "{\"fileName\":\"" +
            kept +
            "\",\"size\":18446744073709551615},"
            "{\"fileName\":\"GONE2.PMM\",\"size\":18446744073709551615}]}"));
    const ProgramResult csv = RunReport(
        Args({"--format", "csv", "--sort", "change", "--compare", m_dir / "earlier.json"}), m_dir);
    ASSERT_EQ(0, csv.exitCode) << csv.err;
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = csv.out.find('\n', start)) != std::string::npos;
         start = end + 1) {
        lines.push_back(csv.out.substr(start, end - start));
        if (!lines.back().empty() && lines.back().back() == '\r') {
            lines.back().pop_back(); // Windows' text mode writes CR CR LF for CSV's CR LF
        }
    }
    ASSERT_GT(lines.size(), 4u);
    // The largest losses first: whole, not wrapped around into gains.
    EXPECT_EQ(0u, lines[1].find("GONE2.PMM,,")) << lines[1];
    // A removed row has no limit and no last change.
    EXPECT_EQ(",entfernt,-18446744073709551615,,", lines[1].substr(lines[1].size() - 33))
        << lines[1];
    EXPECT_EQ(0u, lines[2].find(kept + ",")) << lines[2];
    EXPECT_EQ(0u, lines[3].find("GONE1.PMM,,")) << lines[3];
    EXPECT_EQ(",entfernt,-9223372036854775808,,", lines[3].substr(lines[3].size() - 32))
        << lines[3];
    const ProgramResult text =
        RunReport(Args({"--format", "json", "--compare", m_dir / "earlier.json"}), m_dir);
    ASSERT_EQ(0, text.exitCode) << text.err;
    const size_t gone2 = text.out.find("{\"fileName\":\"GONE2.PMM\"");
    ASSERT_NE(std::string::npos, gone2);
    const std::string row = text.out.substr(gone2, text.out.find('\n', gone2) - gone2);
    EXPECT_NE(std::string::npos,
              row.find("\"change\":-18446744073709551615,\"changeText\":\"entfernt\","
                       "\"removed\":true,\"limit\":null,\"lastChange\":null}"))
        << row;
    // The earlier total stops at 2^64 - 1 instead of wrapping round to 2^63 - 2.
    EXPECT_NE(std::string::npos, text.out.find("\"changeText\":\"-16777216,0 TB\"}}")) << text.out;
}

TEST_F(ReportFormatsTest, TsvSynonymAndFormatTsvGiveTheSameBytes) {
    const ProgramResult synonym = RunReport(Args({"--tsv"}), m_dir);
    const ProgramResult format = RunReport(Args({"--format", "tsv"}), m_dir);
    const ProgramResult text = RunReport(Args({"--format=text"}), m_dir);
    const ProgramResult plain = RunReport(Args({}), m_dir);
    EXPECT_EQ(0, synonym.exitCode);
    EXPECT_EQ(synonym.out, format.out);
    EXPECT_EQ(plain.out, text.out);
    const ProgramResult bad = RunReport(Args({"--format", "xml"}), m_dir);
    EXPECT_EQ(2, bad.exitCode);
    EXPECT_EQ(0u, bad.err.find("foldtally-report: Das Format \"xml\" ist unbekannt.\n")) << bad.err;
    EXPECT_NE(std::string::npos, bad.err.find("foldtally-report --help")) << bad.err;
}

// The fields of one line of the window's export (';', quotes doubled inside quotes).
std::vector<std::string> ExcelFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"' && (quoted || fields.back().empty())) {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// --format excel: Windows-1252 with ';', the header and the rows only, so a sum over
// "Bytes" is the total; sizes as --exact says; every line ends in one CR LF, also on
// Windows, whose C runtime would add a CR of its own.
TEST_F(ReportFormatsTest, ExcelFormatIsTheWindowsExportFileWithoutAStatusLine) {
    for (const bool exact : {false, true}) {
        const ProgramResult result =
            RunReport(Args(exact ? std::vector<std::string>{"--format=excel", "--exact"}
                                 : std::vector<std::string>{"--format", "excel"}),
                      m_dir);
        ASSERT_EQ(0, result.exitCode) << result.err;
        EXPECT_EQ(0u, result.rawOut.find("Dateiname;Gr\xF6\xDF"
                                         "e;Ordnername;Bytes\r\n"));
        EXPECT_EQ(std::string::npos, result.rawOut.find("\r\r"));
        for (size_t i = 0; i < result.rawOut.size(); ++i) {
            if (result.rawOut[i] == '\n') {
                ASSERT_TRUE(i > 0 && result.rawOut[i - 1] == '\r') << "a bare LF at " << i;
            }
        }
        std::map<std::string, std::vector<std::string>> rows;
        uint64_t sum = 0;
        size_t start = result.out.find('\n') + 1;
        // A name may hold a line end inside its quotes: lines end where no quote is open.
        for (size_t end = start; end < result.out.size(); ++end) {
            if (result.out[end] == '\n' &&
                std::count(result.out.begin() + start, result.out.begin() + end, '"') % 2 == 0) {
                const std::vector<std::string> fields =
                    ExcelFields(result.out.substr(start, end - start));
                ASSERT_EQ(4u, fields.size()) << result.out.substr(start, end - start);
                rows[fields[0]] = fields;
                sum += std::stoull(fields[3]);
                start = end + 1;
            }
        }
        EXPECT_EQ(result.out.size(), start) << "the last line ends with its line end";
        ASSERT_EQ(m_expected.folders.size() + 1, rows.size());
        uint64_t total = m_expected.newMailSize;
        for (const mailgen::ExpectedRow& expected : m_expected.folders) {
            const auto cell = [](const std::string& text) {
                return (text::StartsLikeFormula(text) ? "'" : "") + text;
            };
            const std::vector<std::string> want = {
                cell(expected.fileName),
                FormatSize(expected.size, exact ? SizeStyle::Exact : SizeStyle::Compact),
                cell(expected.folderPath + expected.folderName), std::to_string(expected.size)};
            EXPECT_EQ(want, rows[cell(expected.fileName)]) << expected.fileName;
            total += expected.size;
        }
        EXPECT_EQ(total, sum);
    }
    const ProgramResult compared =
        RunReport(Args({"--format", "excel", "--compare", "x.json"}), m_dir);
    EXPECT_EQ(2, compared.exitCode);
    EXPECT_NE(std::string::npos, compared.err.find("ohne --compare")) << compared.err;
}

} // namespace
