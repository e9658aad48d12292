// ReplaceFileContents: the new content replaces the old only whole, a temporary name
// already taken is passed over, and a write that cannot happen leaves no trace.
#include "platform/file_writer.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    return static_cast<bool>(std::ifstream(path));
}

TEST(FileWriterTest, ReplacesAnExistingFileAndPassesOverATakenTemporaryName) {
    testsupport::TempDir dir;
    const std::string path = dir / "liste.csv";
    ASSERT_TRUE(testsupport::WriteFile(path, "alt"));
    ASSERT_TRUE(testsupport::WriteFile(path + ".0.tmp", "fremd"));
    const std::string content("neu\r\n\0\xFF", 7);
    ASSERT_TRUE(platform::ReplaceFileContents(path, content));
    EXPECT_EQ(content, Read(path));
    EXPECT_EQ("fremd", Read(path + ".0.tmp"));
    EXPECT_FALSE(Exists(path + ".1.tmp"));
    ASSERT_TRUE(platform::ReplaceFileContents(path, ""));
    EXPECT_EQ("", Read(path));
}

TEST(FileWriterTest, AMissingFolderFailsWithoutWritingAnything) {
    testsupport::TempDir dir;
    const std::string path = dir / "fehlt/liste.csv";
    EXPECT_FALSE(platform::ReplaceFileContents(path, "x"));
    EXPECT_FALSE(Exists(path));
}

} // namespace
