// The program's own folders: made with every missing folder above them, emptied file by
// file, and the place per-user data lives.
#include "platform/files.h"
#include "platform/local_folders.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using testsupport::TempDir;

bool IsFolder(const std::string& path) {
    return platform::SearchDirectory(
        path + testsupport::Separator(), "*",
        [](const platform::DirectoryEntry&, void*) { return false; }, nullptr);
}

TEST(LocalFoldersTest, MakesEveryMissingFolderAndAcceptsOneThatIsThere) {
    TempDir dir;
    const std::string sep = testsupport::Separator();
    const std::string deep = dir / ("a" + sep + "b" + sep + "c");
    EXPECT_TRUE(platform::MakeFolders(deep));
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_TRUE(platform::MakeFolders(deep + sep)); // there already, with a final separator
    ASSERT_TRUE(testsupport::WriteFile(dir / "file", "x"));
    EXPECT_FALSE(platform::MakeFolders(dir / "file"));
    EXPECT_FALSE(platform::MakeFolders(dir / ("file" + sep + "below")));
    EXPECT_FALSE(platform::MakeFolders(""));
}

TEST(LocalFoldersTest, RemovesFilesAndOnlyEmptyFolders) {
    TempDir dir;
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "full"));
    ASSERT_TRUE(
        testsupport::WriteFile(dir / ("full" + std::string(testsupport::Separator()) + "f"), "x"));
    EXPECT_FALSE(platform::RemoveEmptyFolder(dir / "full"));
    EXPECT_TRUE(IsFolder(dir / "full"));
    EXPECT_TRUE(platform::RemoveFile(dir / ("full" + std::string(testsupport::Separator()) + "f")));
    EXPECT_TRUE(platform::RemoveFile(dir / "never-was"));
    EXPECT_TRUE(platform::RemoveEmptyFolder(dir / "full"));
    EXPECT_FALSE(IsFolder(dir / "full"));
}

#ifndef _WIN32
// The XDG rule: an absolute $XDG_DATA_HOME, else ~/.local/share; a relative one counts
// as unset.
TEST(LocalFoldersTest, UserDataFollowsTheXdgRule) {
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string data = savedData ? savedData : "";
    const std::string home = savedHome ? savedHome : "";
    ::setenv("HOME", "/home/anna", 1);
    ::setenv("XDG_DATA_HOME", "/data/anna", 1);
    EXPECT_EQ(platform::LocalAppDataFolder(), "/data/anna/");
    ::setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(platform::LocalAppDataFolder(), "/home/anna/.local/share/");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/anna/", 1);
    EXPECT_EQ(platform::LocalAppDataFolder(), "/home/anna/.local/share/");
    ::unsetenv("HOME");
    EXPECT_EQ(platform::LocalAppDataFolder(), "");
    savedData ? ::setenv("XDG_DATA_HOME", data.c_str(), 1) : ::unsetenv("XDG_DATA_HOME");
    savedHome ? ::setenv("HOME", home.c_str(), 1) : ::unsetenv("HOME");
}
#else
TEST(LocalFoldersTest, UserDataIsTheLocalApplicationDataFolder) {
    const std::string folder = platform::LocalAppDataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(IsFolder(folder.substr(0, folder.size() - 1))) << folder;
}
#endif

} // namespace
