// foldtally-report --all-users as a user runs it: the built program on a generated
// installation, its exit status, its status line, and its refusal of a plain mailbox.
#include "mailgen_installation.h"
#include "report/report_text.h"
#include "run_program.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(AllUsersRunTest, TheProgramListsTheInstallationAndRefusesAMailboxAsRoot) {
    testsupport::TempDir dir;
    mailgen::InstallationOptions options;
    options.users = 4;
    options.mailbox.folders = 8;
    mailgen::InstallationExpectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::GenerateInstallation(dir / "MAIL", options, expected, error)) << error;
    const testsupport::ProgramResult overview =
        testsupport::RunReport({"--all-users", dir / "MAIL", "--tsv", "--sort", "size"}, dir);
    EXPECT_EQ(overview.exitCode, 0);
    EXPECT_EQ(overview.err, "");
    const std::string status = std::to_string(options.users + options.missingFolders + 4) +
                               " Benutzer, " + std::to_string(expected.folderFiles) +
                               " Ordnerdateien, ";
    EXPECT_NE(overview.out.find("\n" + status), std::string::npos) << overview.out;

    const std::string mailbox = dir / ("MAIL" + std::string(testsupport::Separator()) + "anna");
    const testsupport::ProgramResult refused =
        testsupport::RunReport({"--all-users", mailbox}, dir);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, report::Utf8FromCp1252("foldtally-report: Im Verzeichnis \"" + mailbox +
                                                  "\" liegt keine Benutzerliste PMAIL.USR.\n"));
}

} // namespace
