// The installation's root and the users' folders: which names are never joined to the
// root, how a line finds its folder in any letter case, and which folders are strays.
#include "mailbox/folder_headers.h"
#include "mailbox/installation.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using testsupport::MakeDirectory;
using testsupport::Separator;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(InstallationTest, UserNamesThatLeaveTheRootOrNameNoFolderAreRefused) {
    const struct {
        std::string name;
        UserNameProblem problem;
    } cases[] = {
        {"anna", UserNameProblem::kNone},
        {"M\xFCller", UserNameProblem::kNone},
        {"a.b", UserNameProblem::kNone},
        {"com0", UserNameProblem::kNone},
        {"console", UserNameProblem::kNone},
        {"lpt", UserNameProblem::kNone},
        {"", UserNameProblem::kEmpty},
        {"..\\..\\Windows", UserNameProblem::kSeparator},
        {"a/b", UserNameProblem::kSeparator},
        {"C:", UserNameProblem::kSeparator},
        {"..", UserNameProblem::kDotDot},
        {"a..b", UserNameProblem::kDotDot},
        {"CON", UserNameProblem::kDevice},
        {"con.txt", UserNameProblem::kDevice},
        {"Nul ", UserNameProblem::kDevice},
        {"aux .x", UserNameProblem::kDevice},
        {"PRN", UserNameProblem::kDevice},
        {"COM1", UserNameProblem::kDevice},
        {"lpt9.log", UserNameProblem::kDevice},
        {"CONIN$", UserNameProblem::kDevice},
        {"conout$.a", UserNameProblem::kDevice},
        {std::string("an\0na", 5), UserNameProblem::kControl},
        {"tab\there", UserNameProblem::kControl},
        {"del\x7F", UserNameProblem::kControl},
        {"wer?", UserNameProblem::kReserved},
        {"a*", UserNameProblem::kReserved},
        {"a|b", UserNameProblem::kReserved},
        {"\"q\"", UserNameProblem::kReserved},
        {"<x>", UserNameProblem::kReserved},
        {".", UserNameProblem::kReserved},
        {"anna.", UserNameProblem::kReserved},
        {"anna ", UserNameProblem::kReserved},
        {std::string(kMaxUserNameBytes, 'n'), UserNameProblem::kNone},
        {std::string(kMaxUserNameBytes + 1, 'n'), UserNameProblem::kTooLong},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckUserName(c.name), c.problem) << c.name;
    }
}

TEST(InstallationTest, EveryFaultHasItsOwnTextInAngleBrackets) {
    std::set<std::string> texts;
    const UserFault faults[] = {UserFault::kMalformedLine, UserFault::kDuplicate,
                                UserFault::kMissingFolder, UserFault::kUnreadable,
                                UserFault::kStray,         UserFault::kNoHierarchy};
    for (const UserFault fault : faults) {
        texts.insert(UserFaultText(fault));
    }
    for (int p = static_cast<int>(UserNameProblem::kEmpty);
         p <= static_cast<int>(UserNameProblem::kTooLong); ++p) {
        texts.insert(UserFaultText(UserFault::kUnsafeName, static_cast<UserNameProblem>(p)));
    }
    EXPECT_EQ(texts.size(), 6u + 7u);
    for (const std::string& text : texts) {
        ASSERT_GE(text.size(), 3u);
        EXPECT_EQ(text.front(), '<') << text;
        EXPECT_EQ(text.back(), '>') << text;
        // Never mistaken for a folder file that cannot be read.
        EXPECT_FALSE(IsFailureText(text)) << text;
    }
    EXPECT_EQ(UserFaultText(UserFault::kNone), "");
}

TEST(InstallationTest, TheRootIsTheMailboxParentHoldingTheListInAnyCase) {
    TempDir dir;
    const std::string sep = Separator();
    ASSERT_TRUE(MakeDirectory(dir / "mail"));
    ASSERT_TRUE(MakeDirectory(dir / ("mail" + sep + "anna")));
    const std::string mailbox = dir / ("mail" + sep + "anna" + sep);
    EXPECT_EQ(InstallationRootOf(mailbox), "");
    EXPECT_EQ(UserListPath(dir / ("mail" + sep)), "");
    ASSERT_TRUE(WriteFile(dir / ("mail" + sep + "pmail.usr"), "U;anna;Anna\n"));
    EXPECT_EQ(InstallationRootOf(mailbox), dir / ("mail" + sep));
    EXPECT_EQ(InstallationRootOf(dir / ("mail" + sep + "anna")), dir / ("mail" + sep));
    EXPECT_EQ(UserListPath(dir / ("mail" + sep)), dir / ("mail" + sep + "pmail.usr"));
    EXPECT_EQ(InstallationRootOf("anna"), "");
}

class PlanTest : public ::testing::Test {
protected:
    std::string Dir(const std::string& name) { return m_dir / (name + Separator()); }
    std::vector<PlannedUser> Plan(const std::string& list) {
        return PlanInstallation(m_dir.Path(), ParseUserList(list));
    }
    TempDir m_dir;
};

TEST_F(PlanTest, LinesFindTheirFoldersInAnyCaseAndTheRestAreStrays) {
    for (const char* name : {"anna", "BERND", "\xC4rger", "zeta", "Alpha"}) {
        ASSERT_TRUE(MakeDirectory(m_dir / name));
    }
    ASSERT_TRUE(WriteFile(m_dir / "carla", "a file, not a folder"));
    const std::vector<PlannedUser> rows =
        Plan("U;Anna;A\nU;bernd;B\nU;\xE4rger;C\nU;carla;D\nU;BERND;E\nU;CON;F\nxx\n");
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0].folderDir, Dir("anna"));
    EXPECT_EQ(rows[1].folderDir, Dir("BERND"));
    EXPECT_EQ(rows[2].folderDir, Dir("\xC4rger")); // Windows-1252 letters fold too
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i].fault, UserFault::kNone) << i;
    }
    EXPECT_EQ(rows[3].fault, UserFault::kMissingFolder);
    EXPECT_EQ(rows[4].fault, UserFault::kDuplicate);
    EXPECT_EQ(rows[5].fault, UserFault::kUnsafeName);
    EXPECT_EQ(rows[5].problem, UserNameProblem::kDevice);
    EXPECT_EQ(rows[6].fault, UserFault::kMalformedLine);
    for (int i = 3; i < 7; ++i) {
        EXPECT_EQ(rows[i].folderDir, "") << i;
    }
    // The strays by name in any case, and read like any mailbox.
    EXPECT_EQ(rows[7].line.userName, "Alpha");
    EXPECT_EQ(rows[8].line.userName, "zeta");
    for (int i = 7; i < 9; ++i) {
        EXPECT_EQ(rows[i].origin, PlannedUser::Origin::kStray);
        EXPECT_EQ(rows[i].fault, UserFault::kStray);
        EXPECT_EQ(rows[i].folderDir, Dir(rows[i].line.userName));
    }
}

#ifndef _WIN32
// Only a file system that keeps such names can hold these folders; the names must
// still never be used, neither from a line nor as a stray.
TEST_F(PlanTest, AnUnsafeNameIsNeverOpenedEvenWhereItsFolderExists) {
    ASSERT_TRUE(MakeDirectory(m_dir / "anna."));
    ASSERT_TRUE(MakeDirectory(m_dir / "a\tb"));
    const std::vector<PlannedUser> rows = Plan("U;anna.;A\nU;a\tb;B\nU;..;C\n");
    ASSERT_EQ(rows.size(), 5u);
    for (const PlannedUser& row : rows) {
        EXPECT_EQ(row.folderDir, "") << row.line.userName;
    }
    EXPECT_EQ(rows[0].problem, UserNameProblem::kReserved);
    EXPECT_EQ(rows[1].problem, UserNameProblem::kControl);
    EXPECT_EQ(rows[2].problem, UserNameProblem::kDotDot);
    EXPECT_EQ(rows[3].fault, UserFault::kStray);
    EXPECT_EQ(rows[4].fault, UserFault::kStray);
}

TEST_F(PlanTest, AnExactSpellingWinsOverOneThatDiffersInCase) {
    ASSERT_TRUE(MakeDirectory(m_dir / "ANNA"));
    ASSERT_TRUE(MakeDirectory(m_dir / "anna"));
    const std::vector<PlannedUser> rows = Plan("U;anna;A\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].folderDir, Dir("anna"));
    EXPECT_EQ(rows[1].line.userName, "ANNA");
    EXPECT_EQ(rows[1].fault, UserFault::kStray);
}
#endif

TEST_F(PlanTest, AnOverlongNameFromTheListIsRefusedAsTooLong) {
    const std::vector<PlannedUser> rows = Plan("U;" + std::string(5000, 'n') + ";Lang\n");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].fault, UserFault::kUnsafeName);
    EXPECT_EQ(rows[0].problem, UserNameProblem::kTooLong);
}

TEST(FolderIndexTest, EachUserFindsTheFolderOfItsNameWithoutAWalkOverAll) {
    constexpr size_t kFolders = 20000;
    std::vector<std::string> names;
    for (size_t i = 0; i < kFolders; ++i) {
        names.push_back("Benutzer" + std::to_string(i));
    }
    names.push_back("benutzer7"); // a twin in other letters: only its exact spelling finds it
    const FolderIndex index(names);
    for (size_t i = 0; i < kFolders; ++i) {
        ASSERT_EQ(index.Find("Benutzer" + std::to_string(i)), i);
        ASSERT_EQ(index.Find("BENUTZER" + std::to_string(i)), i);
    }
    EXPECT_EQ(index.Find("benutzer7"), kFolders);
    EXPECT_EQ(index.Find("niemand"), names.size());
    // About one a look-up; each user against every folder would be 4 * 10^8.
    EXPECT_LE(index.Comparisons(), 2 * (2 * kFolders + 2));
}

} // namespace
