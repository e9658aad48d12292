// The folder limit and the last change in the report: a field per row in CSV and JSON
// (none for the new mail and for a removed row), a column in text and TSV only when
// --changed asks for it, and the option's own rules.
#include "report/earlier_report.h"
#include "report/report_options.h"
#include "report/report_text.h"

#include "mailbox_fixtures.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

using report::ReportFormat;
using report::ReportOptions;

using testsupport::kGiB;
constexpr int64_t kAt = 1796821380; // 2026-12-09 13:03:00 UTC

// A new-mail row, three folder files below, near and over the limit (one of them an
// .MBX in small letters) and one whose time is unknown.
FolderCatalogue Catalogue() {
    std::vector<FolderRecord> rows = {
        fixtures::Record("*.CNM", "", "<Posteingang>", 3 * kGiB),
        fixtures::Record("A.PMM", "", "Klein", 1000),
        fixtures::Record("B.PMM", "", "Fast", 3 * kGiB / 2),
        fixtures::Record("c.mbx", "", "Voll", 2 * kGiB),
        fixtures::Record("D.PMM", "", "Ohne Zeit", 10),
    };
    rows[0].lastWrite = kAt - 60;
    rows[1].lastWrite = kAt;
    rows[2].lastWrite = kAt - 3600;
    rows[3].lastWrite = kAt - 86400;
    return fixtures::CatalogueOf(rows);
}

std::string MakeReport(ReportFormat format, bool changed) {
    ReportOptions options;
    options.format = format;
    options.sortColumn = report::kSortFileName;
    options.showChanged = changed;
    return report::FormatReport(Catalogue(), options);
}

// The limit needs no clock: every platform gives the same fields.
TEST(ReportLimitAgeTest, JsonAndCsvNameTheLimitOfFolderFilesOnly) {
    const std::string json = MakeReport(ReportFormat::kJson, false);
    const std::string csv = MakeReport(ReportFormat::kCsv, false);
    const struct {
        const char* file;
        const char* json;
        const char* csv;
    } rows[] = {
        {"*.CNM", "\"limit\":null,", "3221225472,,"},
        {"A.PMM", "\"limit\":\"ok\",", "1000,ok,"},
        {"B.PMM", "\"limit\":\"near\",", "1610612736,near,"},
        {"c.mbx", "\"limit\":\"over\",", "2147483648,over,"},
    };
    for (const auto& row : rows) {
        const size_t start = json.find(std::string("{\"fileName\":\"") + row.file + "\"");
        ASSERT_NE(std::string::npos, start) << row.file;
        EXPECT_NE(std::string::npos,
                  json.substr(start, json.find('\n', start) - start).find(row.json))
            << row.file;
        const size_t line = csv.find(std::string(row.file) + ",");
        ASSERT_NE(std::string::npos, line) << row.file;
        EXPECT_NE(std::string::npos, csv.substr(line, csv.find('\n', line) - line).find(row.csv))
            << row.file;
    }
}

#ifndef _WIN32
using testsupport::ZoneScope;

TEST(ReportLimitAgeTest, CsvEndsEachRowWithItsLimitAndItsLastChange) {
    const ZoneScope utc("UTC0"); // the local times are known
    const std::string csv = MakeReport(ReportFormat::kCsv, false);
    EXPECT_EQ("Dateiname,Gr\xC3\xB6\xC3\x9F"
              "e,Ordnername,Bytes,Grenze,Ge\xC3\xA4ndert\r\n"
              "*.CNM,\"3,0 GB\",<Posteingang>,3221225472,,2026-12-09T13:02:00+00:00\r\n"
              "A.PMM,1000 Bytes,Klein,1000,ok,2026-12-09T13:03:00+00:00\r\n"
              "B.PMM,\"1,5 GB\",Fast,1610612736,near,2026-12-09T12:03:00+00:00\r\n"
              "c.mbx,\"2,0 GB\",Voll,2147483648,over,2026-12-08T13:03:00+00:00\r\n"
              "D.PMM,10 Bytes,Ohne Zeit,10,ok,\r\n",
              csv);
}

TEST(ReportLimitAgeTest, JsonGivesEveryRowALimitAndALastChangeOrNull) {
    const ZoneScope utc("UTC0"); // the local times are known
    const std::string json = MakeReport(ReportFormat::kJson, false);
    const struct {
        const char* file;
        const char* tail;
    } rows[] = {
        {"*.CNM", "\"limit\":null,\"lastChange\":\"2026-12-09T13:02:00+00:00\"}"},
        {"A.PMM", "\"limit\":\"ok\",\"lastChange\":\"2026-12-09T13:03:00+00:00\"}"},
        {"B.PMM", "\"limit\":\"near\",\"lastChange\":\"2026-12-09T12:03:00+00:00\"}"},
        {"c.mbx", "\"limit\":\"over\",\"lastChange\":\"2026-12-08T13:03:00+00:00\"}"},
        {"D.PMM", "\"limit\":\"ok\",\"lastChange\":null}"},
    };
    for (const auto& row : rows) {
        const size_t start = json.find(std::string("{\"fileName\":\"") + row.file + "\"");
        ASSERT_NE(std::string::npos, start) << row.file;
        const std::string line = json.substr(start, json.find('\n', start) - start);
        EXPECT_NE(std::string::npos, line.find(row.tail)) << line;
    }
}

TEST(ReportLimitAgeTest, TextAndTsvShowTheLastChangeOnlyWhenAsked) {
    const ZoneScope utc("UTC0"); // the local times are known
    const std::string text = MakeReport(ReportFormat::kText, true);
    EXPECT_NE(std::string::npos, text.find("Dateiname       Gr\xC3\xB6\xC3\x9F"
                                           "e  Ge\xC3\xA4ndert          Ordnername\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("A.PMM      1000 Bytes  09.12.2026 13:03  Klein\n"))
        << text;
    EXPECT_NE(std::string::npos, text.find("D.PMM        10 Bytes                    Ohne Zeit\n"))
        << text;
    const std::string tsv = MakeReport(ReportFormat::kTsv, true);
    EXPECT_NE(std::string::npos, tsv.find("Dateiname\tGr\xC3\xB6\xC3\x9F"
                                          "e\tGe\xC3\xA4ndert\tOrdnername\n"))
        << tsv;
    EXPECT_NE(std::string::npos, tsv.find("c.mbx\t2,0 GB\t2026-12-08T13:03:00+00:00\tVoll\n"))
        << tsv;
    EXPECT_NE(std::string::npos, tsv.find("D.PMM\t10 Bytes\t\tOhne Zeit\n")) << tsv;
    // Without the option neither form names a time.
    for (ReportFormat format : {ReportFormat::kText, ReportFormat::kTsv}) {
        const std::string plain = MakeReport(format, false);
        EXPECT_EQ(std::string::npos, plain.find("2026")) << plain;
        EXPECT_EQ(std::string::npos, plain.find("Ge\xC3\xA4ndert")) << plain;
    }
}
#endif

TEST(ReportLimitAgeTest, AComparedReportGivesARemovedRowNeitherLimitNorTime) {
    report::EarlierReport earlier;
    earlier.Add("GONE.PMM", "", "Weg", 5 * kGiB);
    ReportOptions options;
    options.format = ReportFormat::kCsv;
    options.sortColumn = report::kSortFileName;
    report::ReportContext context;
    context.earlier = &earlier;
    const std::string csv = report::FormatReport(Catalogue(), options, context);
    EXPECT_NE(std::string::npos, csv.find("GONE.PMM,,Weg,,entfernt,-5368709120,,\r\n")) << csv;
    options.format = ReportFormat::kText;
    options.showChanged = true;
    const std::string text = report::FormatReport(Catalogue(), options, context);
    EXPECT_TRUE(std::regex_search(text, std::regex("GONE\\.PMM +Weg +entfernt\n"))) << text;
}

TEST(ReportLimitAgeTest, TheOptionIsAFlagForTheListOnly) {
    const struct {
        std::vector<const char*> args;
        bool ok;
    } cases[] = {
        {{"--mailbox", "m", "--changed"}, true},
        {{"--changed", "--mailbox", "m", "--tsv"}, true},
        {{"--mailbox", "m", "--changed=1"}, false},
        {{"--mailbox", "m", "--changed", "--tree"}, false},
    };
    for (const auto& c : cases) {
        ReportOptions options;
        std::string error;
        EXPECT_EQ(c.ok, report::ParseReportOptions(static_cast<int>(c.args.size()), c.args.data(),
                                                   options, error))
            << error;
        if (c.ok) {
            EXPECT_TRUE(options.showChanged);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    ReportOptions plain;
    std::string error;
    const char* args[] = {"--mailbox", "m"};
    ASSERT_TRUE(report::ParseReportOptions(2, args, plain, error));
    EXPECT_FALSE(plain.showChanged);
}

} // namespace
