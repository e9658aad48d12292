// PathParts splits and joins alike on every platform; SplitString keeps empty pieces.
#include "diag/path_parts.h"
#include "diag/trace.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* path;
    const char* drive;
    const char* directory;
    const char* base;
    const char* extension;
};

TEST(PathPartsTest, SplitsByTheWindowsRulesWithBothSeparators) {
    const SplitCase cases[] = {
        {"C:\\PMAIL\\MAIL\\FOLDER.MBX", "C:", "\\PMAIL\\MAIL\\", "FOLDER", ".MBX"},
        {"A.B.PMM", "", "", "A.B", ".PMM"},
        {"/home/u/mail/archiv.pmm", "", "/home/u/mail/", "archiv", ".pmm"},
        {"C:mixed/dir\\name", "C:", "mixed/dir\\", "name", ""},
        {"\\\\SERVER\\SHARE\\X.PMM", "", "\\\\SERVER\\SHARE\\", "X", ".PMM"},
        {"dir.d\\noext", "", "dir.d\\", "noext", ""},
        {".hidden", "", "", "", ".hidden"},
        {"", "", "", "", ""},
        {"C:", "C:", "", "", ""},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.path);
        PathParts parts(c.path);
        EXPECT_EQ(c.drive, parts.GetDrive());
        EXPECT_EQ(c.directory, parts.GetDirectory());
        EXPECT_EQ(c.base, parts.GetBaseName());
        EXPECT_EQ(c.extension, parts.GetExtension());
        EXPECT_EQ(c.path, parts.Join());
    }
}

TEST(PathPartsTest, ReplacingTheExtensionNamesTheCompanion) {
    PathParts parts("C:\\PMAIL\\MAIL\\FOLDER.MBX");
    parts.SetExtension(".PMG");
    EXPECT_EQ("C:\\PMAIL\\MAIL\\FOLDER.PMG", parts.Join());
#ifdef _WIN32
    EXPECT_EQ("C:\\PMAIL\\MAIL\\FOLDER.PMG", parts.GetFullPath());
#endif
}

TEST(PathPartsTest, FullPathIsAbsoluteAndResolvesDots) {
    testsupport::TempDir dir;
    const std::string sep = testsupport::Separator();
    PathParts parts(dir / ("sub" + sep + ".." + sep + "file.pmm"));
    parts.SetExtension(".PMG");
    EXPECT_EQ(dir / "file.PMG", parts.GetFullPath());

    PathParts relative("name.ini");
    const std::string full = relative.GetFullPath();
    ASSERT_GT(full.size(), std::string("name.ini").size());
    EXPECT_EQ(sep + "name.ini", full.substr(full.size() - 9));
}

TEST(PathPartsTest, TooLongForTheFullPathBufferGivesTheJoinedPath) {
    const std::string longName = std::string(300, 'x') + ".PMM";
    PathParts parts(longName);
    parts.SetExtension(".PMG");
    EXPECT_EQ(std::string(300, 'x') + ".PMG", parts.GetFullPath());
}

TEST(SplitStringTest, KeepsEmptyPiecesAndCountsSeparators) {
    std::vector<std::string> pieces{"stale"};
    EXPECT_EQ(3, SplitString("A\\B\\", '\\', -1, pieces));
    EXPECT_EQ((std::vector<std::string>{"A", "B", ""}), pieces);

    EXPECT_EQ(4, SplitString("SOFTWARE\\Corvapps\\Foldtally\\", '\\', -1, pieces));
    EXPECT_EQ((std::vector<std::string>{"SOFTWARE", "Corvapps", "Foldtally", ""}), pieces);

    EXPECT_EQ(1, SplitString("", '\\', -1, pieces));
    EXPECT_EQ((std::vector<std::string>{""}), pieces);

    EXPECT_EQ(3, SplitString("\\\\", '\\', -1, pieces));
    EXPECT_EQ((std::vector<std::string>{"", "", ""}), pieces);

    EXPECT_EQ(3, SplitString("a,b,c", ',', 2, pieces));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), pieces);
}

TEST(TraceTest, WritesExactlyOneUnchangedOutputPerCall) {
    testsupport::TraceCapture capture;
    Trace("[pmm.Analyze] WARNUNG: Kann Datei \"%s\" nicht zum Lesen öffnen\n", "C:\\X.PMM");
    Trace("plain");
    const std::string big(100000, 'y');
    Trace("%s|", big.c_str());
    ASSERT_EQ(3u, capture.Lines().size());
    EXPECT_EQ("[pmm.Analyze] WARNUNG: Kann Datei \"C:\\X.PMM\" nicht zum Lesen \xF6"
              "ffnen\n",
              capture.Lines()[0]);
    EXPECT_EQ("plain", capture.Lines()[1]);
    EXPECT_EQ(big + "|", capture.Lines()[2]);
}

TEST(TraceTest, FormatTextHasNoLengthLimit) {
    const std::string big(5000, 'z');
    EXPECT_EQ("<" + big + "> 42", FormatText("<%s> %d", big.c_str(), 42));
    EXPECT_EQ("", FormatText("%s", ""));
}

} // namespace
