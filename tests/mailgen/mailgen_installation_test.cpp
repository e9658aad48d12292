// The installation generator writes the list and the folders it says it wrote: the
// list's lines with their comments and CR LF, a folder per read user in the letter
// case it names, none for the missing one, the strays, and the same bytes per seed.
#include "mailgen_installation.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

using testsupport::ReadFile;
using testsupport::TempDir;

std::set<std::string> FolderNames(const std::string& root) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        if (entry.is_directory()) {
            names.insert(entry.path().filename().string());
        }
    }
    return names;
}

TEST(MailgenInstallationTest, TheListAndTheFoldersAreWhatTheExpectationSays) {
    TempDir dir;
    mailgen::InstallationOptions options;
    options.users = 4;
    options.mailbox.folders = 3;
    mailgen::InstallationExpectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::GenerateInstallation(dir / "MAIL", options, expected, error)) << error;
    const std::string list = ReadFile(dir / "MAIL/PMAIL.USR");
    // Comments and a blank line first, CR LF throughout, every listed user on a line.
    EXPECT_EQ(list.rfind("; ", 0), 0u);
    EXPECT_NE(list.find("\r\n\r\n"), std::string::npos);
    EXPECT_EQ(list.find('\n'), list.find("\r\n") + 1);
    std::set<std::string> folders;
    int oddCase = 0;
    for (const mailgen::ExpectedUser& user : expected.users) {
        SCOPED_TRACE(user.userName);
        if (user.kind != mailgen::ExpectedUser::Kind::kStray) {
            EXPECT_NE(list.find(std::string(1, user.flag) + ";" + user.userName + ";" +
                                user.personalName + "\r\n"),
                      std::string::npos);
        } else {
            EXPECT_EQ(list.find(user.userName), std::string::npos);
        }
        if (!user.folderName.empty()) {
            folders.insert(user.folderName);
            oddCase += user.folderName != user.userName ? 1 : 0;
            EXPECT_TRUE(
                std::filesystem::exists(dir / ("MAIL/" + user.folderName + "/hierarch.pm")));
        }
        EXPECT_EQ(user.folderName.empty(), user.kind == mailgen::ExpectedUser::Kind::kMissing ||
                                               user.kind == mailgen::ExpectedUser::Kind::kUnsafe);
    }
    EXPECT_EQ(FolderNames(dir / "MAIL"), folders);
    EXPECT_EQ(oddCase, 2); // every second of the four users
    EXPECT_EQ(expected.users.size(), 4u + 1u + 4u + 1u);
}

TEST(MailgenInstallationTest, TheSameSeedWritesTheSameListAndMailboxes) {
    TempDir dir;
    mailgen::InstallationOptions options;
    options.users = 2;
    options.mailbox.folders = 4;
    mailgen::InstallationExpectation first;
    mailgen::InstallationExpectation second;
    std::string error;
    ASSERT_TRUE(mailgen::GenerateInstallation(dir / "a", options, first, error)) << error;
    ASSERT_TRUE(mailgen::GenerateInstallation(dir / "b", options, second, error)) << error;
    EXPECT_EQ(ReadFile(dir / "a/PMAIL.USR"), ReadFile(dir / "b/PMAIL.USR"));
    EXPECT_EQ(ReadFile(dir / "a/anna/hierarch.pm"), ReadFile(dir / "b/anna/hierarch.pm"));
    EXPECT_EQ(first.totalSize, second.totalSize);
    // Each user's mailbox has a seed of its own.
    EXPECT_NE(ReadFile(dir / "a/anna/hierarch.pm"), ReadFile(dir / "a/BERND/hierarch.pm"));
    EXPECT_FALSE(mailgen::GenerateInstallation(dir / "a", options, first, error));
    EXPECT_NE(error.find("not an empty directory"), std::string::npos) << error;
}

} // namespace
