// The file services behave alike on Linux and under Wine: pattern rule, directory
// search, read-only opens and the line reader.
#include "platform/files.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using testsupport::TempDir;
using testsupport::WriteFile;

TEST(MatchesPatternTest, MatchesExtensionsWithoutRegardToCase) {
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"ARCHIV.PMM", "*.PMM", true},
        {"archiv.pmm", "*.PMM", true},
        {"a.PmM", "*.PMM", true},
        {"a.PMMX", "*.PMM", false},
        {"a.PM", "*.PMM", false},
        {"PMM", "*.PMM", false},
        {".PMM", "*.PMM", true},
        {"a.b.PMM", "*.PMM", true},
        {"a.PMM.bak", "*.PMM", false},
        {"hierarch.pm", "hierarch.pm", true},
        {"HIERARCH.PM", "hierarch.pm", true},
        {"x.cnm", "*.CNM", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"aXbXc", "a*b*c", true},
        {"\xC4rger.PMM", "*.PMM", true},
        {"\xE4.pmm", "\xC4.PMM", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.match, platform::MatchesPattern(c.name, c.pattern))
            << c.name << " ~ " << c.pattern;
    }
}

std::vector<platform::DirectoryEntry> Search(const std::string& dir, const char* pattern,
                                             bool* ok = nullptr) {
    std::vector<platform::DirectoryEntry> found;
    const bool result = platform::SearchDirectory(
        dir, pattern,
        [](const platform::DirectoryEntry& e, void* ctx) {
            static_cast<std::vector<platform::DirectoryEntry>*>(ctx)->push_back(e);
            return true;
        },
        &found);
    if (ok) {
        *ok = result;
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    return found;
}

TEST(SearchDirectoryTest, FindsMatchingFilesAndDirectoriesWithTheirSizes) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "a.pmm", std::string(200, 'a')));
    ASSERT_TRUE(WriteFile(dir / "B.PMM", std::string(7, 'b')));
    ASSERT_TRUE(WriteFile(dir / "c.PMMX", "x"));
    ASSERT_TRUE(WriteFile(dir / "d.MBX", "x"));
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "sub.PMM"));

    const auto found = Search(dir.Path(), "*.PMM");
    ASSERT_EQ(3u, found.size());
    EXPECT_EQ("B.PMM", found[0].name);
    EXPECT_EQ(7u, found[0].size);
    EXPECT_FALSE(found[0].isDirectory);
    EXPECT_EQ("a.pmm", found[1].name);
    EXPECT_EQ(200u, found[1].size);
    EXPECT_EQ("sub.PMM", found[2].name);
    EXPECT_TRUE(found[2].isDirectory);
}

// The temporary directory is on the machine's own disk; a UNC path always names a
// server, whether or not it answers; nothing known is no share.
TEST(NetworkShareTest, LocalDirectoriesAreNoSharesAndServerPathsAre) {
    TempDir dir;
    EXPECT_FALSE(platform::IsOnNetworkShare(dir.Path()));
    EXPECT_FALSE(platform::IsOnNetworkShare(""));
    EXPECT_FALSE(platform::IsOnNetworkShare(dir / "missing"));
#ifdef _WIN32
    EXPECT_TRUE(platform::IsOnNetworkShare("\\\\server\\mail\\"));
    EXPECT_TRUE(platform::IsOnNetworkShare("//server/mail/"));
    EXPECT_FALSE(platform::IsOnNetworkShare("C:\\"));
#endif
}

TEST(SearchDirectoryTest, MissingDirectoryFindsNothingAndEmptyOneSucceeds) {
    TempDir dir;
    bool ok = true;
    EXPECT_TRUE(
        Search(dir / ("missing" + std::string(testsupport::Separator())), "*.PMM", &ok).empty());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(Search(dir.Path(), "*.PMM", &ok).empty());
    EXPECT_TRUE(ok);
}

TEST(SearchDirectoryTest, NamesOnlySearchFindsTheSameNamesAndFailsAlike) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "a.pmm", "a"));
    ASSERT_TRUE(WriteFile(dir / "B.PMM", "b"));
    ASSERT_TRUE(WriteFile(dir / "c.PMMX", "x"));
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "sub.PmM"));
    const auto names = [](const std::string& path, bool* ok) {
        std::vector<std::string> found;
        *ok = platform::SearchDirectoryNames(
            path, "*.PMM",
            [](const platform::DirectoryEntry& e, void* ctx) {
                static_cast<std::vector<std::string>*>(ctx)->push_back(e.name);
                return true;
            },
            &found);
        std::sort(found.begin(), found.end());
        return found;
    };
    bool ok = false;
    EXPECT_EQ((std::vector<std::string>{"B.PMM", "a.pmm", "sub.PmM"}), names(dir.Path(), &ok));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(names(dir / ("missing" + std::string(testsupport::Separator())), &ok).empty());
    EXPECT_FALSE(ok);
}

std::string ReadThrough(const std::string& path) {
    platform::ReadOnlyFile file;
    if (!file.Open(path)) {
        return "<closed>";
    }
    char buffer[16] = {};
    return std::string(buffer, file.ReadFromStart(buffer, sizeof buffer));
}

TEST(CaseFoldingScopeTest, OpensByAnyLetterCaseAndForgetsItsListingsAfterwards) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "Archiv.Pmg", "archiv"));
    {
        const platform::CaseFoldingScope scope;
        EXPECT_EQ("archiv", ReadThrough(dir / "ARCHIV.PMG"));
        EXPECT_EQ("archiv", ReadThrough(dir / "archiv.pmg"));
        EXPECT_EQ("<closed>", ReadThrough(dir / "kunden.pmg"));
        EXPECT_EQ("<closed>",
                  ReadThrough(dir / ("fehlt" + std::string(testsupport::Separator()) + "x.pmg")));
    }
    // A file made after the scope ended is found: no listing outlives its scope.
    ASSERT_TRUE(WriteFile(dir / "Kunden.pmG", "kunden"));
    EXPECT_EQ("kunden", ReadThrough(dir / "KUNDEN.PMG"));
    const platform::CaseFoldingScope again;
    EXPECT_EQ("kunden", ReadThrough(dir / "kunden.PMG"));
}

#ifndef _WIN32
TEST(CaseFoldingScopeTest, ChoosesTheSmallestNameAmongCaseVariantsAsWithoutIt) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "x.pmg", "lower"));
    ASSERT_TRUE(WriteFile(dir / "X.pmg", "upper"));
    const std::string plain = ReadThrough(dir / "X.PMG");
    EXPECT_EQ("upper", plain); // "X.pmg" < "x.pmg" in byte order
    const platform::CaseFoldingScope scope;
    EXPECT_EQ(plain, ReadThrough(dir / "X.PMG"));
    EXPECT_EQ("lower", ReadThrough(dir / "x.pmg")) << "an exact name still wins";
}
#endif

TEST(SearchDirectoryTest, VisitorCanEndTheSearch) {
    TempDir dir;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(WriteFile(dir / ("f" + std::to_string(i) + ".CNM"), "x"));
    }
    int seen = 0;
    platform::SearchDirectory(
        dir.Path(), "*.CNM",
        [](const platform::DirectoryEntry&, void* ctx) { return ++*static_cast<int*>(ctx) < 2; },
        &seen);
    EXPECT_EQ(2, seen);
}

TEST(ReadOnlyFileTest, ReadsFromTheStartAndTellsTheLength) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "f.bin", "0123456789"));
    platform::ReadOnlyFile file;
    ASSERT_TRUE(file.Open(dir / "f.bin"));
    char buffer[16] = {};
    EXPECT_EQ(10u, file.ReadFromStart(buffer, sizeof buffer));
    EXPECT_EQ(std::string("0123456789"), std::string(buffer, 10));
    EXPECT_EQ(4u, file.ReadFromStart(buffer, 4));
    EXPECT_EQ(3u, file.ReadAt(7, buffer, 8));
    EXPECT_EQ(0u, file.ReadAt(10, buffer, 8));
    EXPECT_EQ(10u, file.Length());
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(0u, file.ReadFromStart(buffer, 4));
}

TEST(ReadOnlyFileTest, DirectoriesAndMissingFilesDoNotOpen) {
    TempDir dir;
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "sub.PMM"));
    platform::ReadOnlyFile file;
    EXPECT_FALSE(file.Open(dir / "sub.PMM"));
    EXPECT_FALSE(file.Open(dir / "missing.PMM"));
    EXPECT_FALSE(file.IsOpen());
}

TEST(ReadOnlyFileTest, LastComponentMatchesWithoutRegardToCase) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "ARCHIV.PMG", "upper"));
    ASSERT_TRUE(WriteFile(dir / "hierarch.pm", "lower"));
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "Sub"));
    ASSERT_TRUE(WriteFile(dir / ("Sub" + std::string(testsupport::Separator()) + "x.pmm"), "x"));
    struct Case {
        std::string path;
        const char* content; // null: must not open
    } cases[] = {
        {dir / "archiv.PMG", "upper"},
        {dir / "Archiv.pmg", "upper"},
        {dir / "HIERARCH.PM", "lower"},
        {dir / "hierarch.pm", "lower"},
        {dir / "archiv.PMGX", nullptr},
        {dir / "archiv.PM", nullptr},
        {dir / "Sub", nullptr},
        {dir / ("Sub" + std::string(testsupport::Separator()) + "X.PMM"), "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        platform::ReadOnlyFile file;
        ASSERT_EQ(c.content != nullptr, file.Open(c.path));
        if (c.content) {
            char buffer[8] = {};
            EXPECT_EQ(std::string(c.content), std::string(buffer, file.ReadFromStart(buffer, 8)));
        }
    }
}

#ifndef _WIN32
TEST(ReadOnlyFileTest, ExactNameWinsAndAmongCaseVariantsTheSmallestIsTaken) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "a.pmg", "exact"));
    ASSERT_TRUE(WriteFile(dir / "A.pmg", "upper-a"));
    ASSERT_TRUE(WriteFile(dir / "a.PMG", "upper-ext"));
    platform::ReadOnlyFile file;
    char buffer[16] = {};
    ASSERT_TRUE(file.Open(dir / "a.pmg"));
    EXPECT_EQ("exact", std::string(buffer, file.ReadFromStart(buffer, sizeof buffer)));
    ASSERT_TRUE(file.Open(dir / "A.PMG"));
    EXPECT_EQ("upper-a", std::string(buffer, file.ReadFromStart(buffer, sizeof buffer)));
}
#endif

#ifdef _WIN32
TEST(ReadOnlyFileTest, OpensWhileAnotherProgramWritesTheFile) {
    TempDir dir;
    const std::string path = dir / "busy.PMM";
    HANDLE writer =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(writer, "abc", 3, &written, nullptr));
    platform::ReadOnlyFile file;
    EXPECT_TRUE(file.Open(path));
    EXPECT_EQ(3u, file.Length());
    ASSERT_TRUE(::WriteFile(writer, "def", 3, &written, nullptr));
    EXPECT_EQ(6u, file.Length());
    file.Close();
    CloseHandle(writer);
}
#endif

std::vector<std::string> ReadLines(const std::string& path) {
    platform::TextLineReader reader;
    std::vector<std::string> lines;
    if (!reader.Open(path)) {
        return {"<not opened>"};
    }
    std::string line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(TextLineReaderTest, EndsLinesAtLfAndCrLfOnly) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "t.txt", "one\r\ntwo\nthree\rstill\n\n\r\nlast"));
    EXPECT_EQ((std::vector<std::string>{"one", "two", "three\rstill", "", "", "last"}),
              ReadLines(dir / "t.txt"));
    ASSERT_TRUE(WriteFile(dir / "e.txt", ""));
    EXPECT_TRUE(ReadLines(dir / "e.txt").empty());
    ASSERT_TRUE(WriteFile(dir / "n.txt", "a\nb\n"));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), ReadLines(dir / "n.txt"));
    ASSERT_TRUE(WriteFile(dir / "z.txt", std::string("a\0b\n", 4)));
    EXPECT_EQ((std::vector<std::string>{std::string("a\0b", 3)}), ReadLines(dir / "z.txt"));
}

TEST(TextLineReaderTest, DeliversLinesOfAnyLengthAcrossItsBuffer) {
    TempDir dir;
    const std::string longLine(200000, 'q');
    // The CR of this CR LF falls on the reader's 64 KiB buffer boundary.
    const std::string edge(65535, 'e');
    ASSERT_TRUE(WriteFile(dir / "l.txt", edge + "\r\n" + longLine + "\nx"));
    EXPECT_EQ((std::vector<std::string>{edge, longLine, "x"}), ReadLines(dir / "l.txt"));
}

// Lines read under bounds: what each file delivers, and whether the reader stopped at a
// bound ("<too long>" last).
std::vector<std::string> ReadBounded(const std::string& path, size_t maxLine, uint64_t maxFile) {
    platform::TextLineReader reader;
    reader.SetLimits(maxLine, maxFile);
    std::vector<std::string> lines;
    if (!reader.Open(path)) {
        return {"<not opened>"};
    }
    std::string line = "poisoned";
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    EXPECT_EQ("", line);
    if (reader.TooLong()) {
        lines.push_back("<too long>");
    }
    return lines;
}

TEST(TextLineReaderTest, StopsAtTheFirstLineOrByteBeyondItsBounds) {
    TempDir dir;
    const struct {
        std::string text;
        size_t maxLine;
        uint64_t maxFile;
        std::vector<std::string> lines;
    } cases[] = {
        {"1234\r\n12345\n", 5, 100, {"1234", "12345"}},
        {"12345\r\n", 5, 100, {"12345"}},        // the CR LF is not the line's
        {"12345\r\r\n", 5, 100, {"<too long>"}}, // a CR before it is
        {"ab\n123456\nc\n", 5, 100, {"ab", "<too long>"}},
        {"ab\n123456", 5, 100, {"ab", "<too long>"}}, // the last line, without line end
        {"ab\n12345\r", 5, 100, {"ab", "<too long>"}},
        {"ab\ncd\n", 5, 6, {"ab", "cd"}},    // the file is the bound
        {"ab\ncd\ne", 5, 6, {"<too long>"}}, // one byte more: nothing is read
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFile(dir / "b.txt", c.text));
        EXPECT_EQ(c.lines, ReadBounded(dir / "b.txt", c.maxLine, c.maxFile)) << c.text;
    }
    // Across the reader's 64 KiB buffer: a line of the bound whose CR ends the buffer,
    // and a line that passes the bound only in the next buffer.
    const std::string edge(65535, 'e');
    ASSERT_TRUE(WriteFile(dir / "l.txt", edge + "\r\n" + edge + "ee\n"));
    EXPECT_EQ((std::vector<std::string>{edge, "<too long>"}),
              ReadBounded(dir / "l.txt", edge.size(), 1u << 20));
    EXPECT_EQ((std::vector<std::string>{edge, edge + "ee"}),
              ReadBounded(dir / "l.txt", edge.size() + 2, 1u << 20));
}

#ifndef _WIN32
// A pipe would block the reads and a device never ends: neither opens, nor a link to one.
TEST(TextLineReaderTest, DevicesPipesAndLinksToThemDoNotOpen) {
    TempDir dir;
    ASSERT_EQ(0, ::mkfifo((dir / "pipe").c_str(), 0600));
    ASSERT_EQ(0, ::symlink("/dev/zero", (dir / "zero").c_str()));
    ASSERT_EQ(0, ::symlink((dir / "pipe").c_str(), (dir / "to-pipe").c_str()));
    for (const std::string& path :
         {std::string("/dev/zero"), dir / "pipe", dir / "zero", dir / "to-pipe"}) {
        EXPECT_EQ((std::vector<std::string>{"<not opened>"}), ReadBounded(path, 10, 100)) << path;
    }
}
#endif

TEST(TextLineReaderTest, OpensANameThatDiffersOnlyInCase) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "HIERARCH.PM", "a\r\nb"));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), ReadLines(dir / "hierarch.pm"));
}

TEST(TextLineReaderTest, MissingFileDoesNotOpen) {
    TempDir dir;
    EXPECT_EQ((std::vector<std::string>{"<not opened>"}), ReadLines(dir / "missing.pm"));
}

} // namespace

#ifndef _WIN32
namespace {

TEST(FullPathTest, AbsolutePathsKeepTheirNamesAndLoseDotsAndEmptyComponents) {
    struct Case {
        const char* path;
        const char* full;
    } cases[] = {
        {"/mail/box/ARCHIV.PMM", "/mail/box/ARCHIV.PMM"},
        {"/mail/box/", "/mail/box/"},
        {"/", "/"},
        {"/mail/.x/..y/a..", "/mail/.x/..y/a.."},
        {"/mail/./box/a", "/mail/box/a"},
        {"/mail/../box/a", "/box/a"},
        {"/mail//box/a", "/mail/box/a"},
        {"/mail/box/.", "/mail/box"},
        {"/mail/box/..", "/mail"},
        {"/..", "/"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.full, platform::FullPath(c.path)) << c.path;
    }
}

} // namespace
#endif
