// foldtally-report in English: the forms a person reads follow --lang or the locale
// variables, the machine forms stay what scripts read in every language.
#include "mailgen.h"
#include "report/report_text.h"
#include "run_program.h"
#include "sizes/size_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using testsupport::ProgramResult;
using testsupport::RunReport;

class ReportEnglishTest : public ::testing::Test {
protected:
    void SetUp() override {
        mailgen::Options options;
        options.brokenFolders = 3;
        std::string error;
        ASSERT_TRUE(mailgen::Generate(m_dir / "mb", m_dir / "nm", options, m_expected, error))
            << error;
    }
    ProgramResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--mailbox", m_dir / "mb", "--newmail", m_dir / "nm"});
        return RunReport(args, m_dir);
    }

    testsupport::TempDir m_dir;
    mailgen::Expectation m_expected;
};

TEST_F(ReportEnglishTest, TextAndExcelSpeakEnglishWithEnglishNumbers) {
    const ProgramResult text = Run({"--lang", "en"});
    ASSERT_EQ(0, text.exitCode) << text.err;
    EXPECT_EQ(0u, text.out.find("File Name ")) << text.out;
    EXPECT_NE(std::string::npos, text.out.find("<New Mail>"));
    EXPECT_NE(std::string::npos, text.out.find("<File is not a valid PMM file.>"));
    uint64_t total = m_expected.newMailSize;
    for (const mailgen::ExpectedRow& row : m_expected.folders) {
        total += row.size;
    }
    const testsupport::LanguageForTest english(Language::English);
    const std::string status = std::to_string(m_expected.folders.size() + 1) + " files, " +
                               FormatSize(total, SizeStyle::Compact) + " (" +
                               FormatSize(total, SizeStyle::Exact) + " bytes)\n";
    EXPECT_EQ(text.out.size() - status.size(), text.out.rfind(status)) << text.out;

    const ProgramResult excel = Run({"--lang", "en", "--format", "excel"});
    EXPECT_EQ(0u, excel.rawOut.find("\xEF\xBB\xBF"
                                    "File Name,Size,Folder Name,Bytes\r\n"));
    for (const mailgen::ExpectedRow& row : m_expected.folders) {
        if (row.folderName[0] == '<') {
            continue; // the generator writes down the German failure texts
        }
        EXPECT_NE(std::string::npos,
                  excel.rawOut.find(report::Utf8FromCp1252(row.folderPath + row.folderName)))
            << row.fileName;
    }
}

TEST_F(ReportEnglishTest, MachineFormsAreTheSameInBothLanguages) {
    for (const char* format : {"json", "tsv", "csv"}) {
        std::string outputs[2];
        for (int english = 0; english < 2; ++english) {
            const ProgramResult run = Run({"--format", format, "--lang", english ? "en" : "de"});
            // JSON from its rows on, past the time of the scan; the others whole (npos + 1).
            outputs[english] = run.out.substr(run.out.find("\"rows\"") + 1);
        }
        EXPECT_EQ(outputs[0], outputs[1]) << format;
    }
}

TEST_F(ReportEnglishTest, HelpAndOptionErrorsFollowTheLanguage) {
    EXPECT_NE(std::string::npos,
              RunReport({"--help", "--lang", "en"}, m_dir).out.find("instead of \"117.7 MB\""));
    const ProgramResult bad = Run({"--lang", "en", "--sort", "bogus"});
    EXPECT_EQ(2, bad.exitCode);
    EXPECT_EQ("foldtally-report: The sort column \"bogus\" is unknown.\n"
              "\"foldtally-report --help\" shows all options.\n",
              bad.err);
    const ProgramResult unknown = Run({"--lang", "fr"});
    EXPECT_EQ(2, unknown.exitCode);
    EXPECT_EQ(0u, unknown.err.find("foldtally-report: Die Sprache \"fr\" ist unbekannt"));
#ifndef _WIN32
    setenv("LC_MESSAGES", "C.UTF-8", 1);
    const ProgramResult byLocale = Run({"--sort", "bogus"});
    setenv("LC_MESSAGES", "de_DE.UTF-8", 1);
    EXPECT_EQ(0u, byLocale.err.find("foldtally-report: The sort column")) << byLocale.err;
#endif
}

} // namespace
