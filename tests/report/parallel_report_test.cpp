// The report of a scan read on helper threads is the report of one thread's scan, byte
// for byte, in its formats and every sort: rows that tie in the sort column keep the
// catalogue's order, so a row out of place would show here.
#include "mailbox/folder_catalogue.h"
#include "mailgen.h"
#include "report/report_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

std::string Report(const std::string& mailbox, const std::string& newmail, int helpers,
                   const report::ReportOptions& options) {
    ScanThreading threading;
    threading.helpers = helpers;
    FolderCatalogue catalogue;
    catalogue.Scan({mailbox, newmail, options.resolvePaths, true, "<Posteingang>"}, nullptr,
                   threading);
    return report::FormatReport(catalogue, options);
}

TEST(ParallelReportTest, EveryNumberOfHelpersPrintsTheSameReport) {
    testsupport::TempDir dir;
    const std::string sep = testsupport::Separator();
    const std::string mailbox = dir / ("mb" + sep);
    const std::string newmail = dir / ("nm" + sep);
    mailgen::Options generated;
    generated.seed = 21;
    generated.folders = 160;
    generated.brokenFolders = 12;
    generated.orphans = 4;
    generated.caseVariants = true;
    mailgen::Expectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(mailbox, newmail, generated, expected, error)) << error;
    const report::ReportFormat formats[] = {report::ReportFormat::kTsv, report::ReportFormat::kText,
                                            report::ReportFormat::kJson};
    for (const int column : {0, 1, 2}) {
        report::ReportOptions options;
        options.sortColumn = column;
        options.format = formats[column];
        options.exactSizes = column == 1;
        options.resolvePaths = column != 0;
        const std::string one = Report(mailbox, newmail, 0, options);
        ASSERT_NE(std::string::npos, one.find(expected.folders.front().fileName))
            << one.substr(0, 200);
        for (const int helpers : {1, 2, 3, 7}) {
            EXPECT_EQ(one, Report(mailbox, newmail, helpers, options))
                << helpers << " helpers, sort column " << column;
        }
    }
}

} // namespace
