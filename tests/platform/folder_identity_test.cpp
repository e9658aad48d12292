// Folder identities: the folders above a path in every root form, the decision with
// identities from a table (links, the file system's own chain, the fall-back to names),
// and on the real file system a mailbox reached through a link and other spellings,
// with the writer refusing on its own and on its second look.
#include "folder_links.h"
#include "platform/file_writer.h"
#include "platform/folder_identity.h"
#include "test_support.h"
#include "view/list_export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using platform::FolderIdentity;
using platform::PathSyntax;

TEST(FolderIdentityTest, EnclosingFoldersClimbToTheRootOfEveryForm) {
    using List = std::vector<std::string>;
    struct Case {
        const char* folder;
        PathSyntax syntax;
        List expected;
    } cases[] = {
        {"C:\\a\\b", PathSyntax::kWindows, {"C:\\a\\b", "C:\\a", "C:\\"}},
        {"c:/a//b\\", PathSyntax::kWindows, {"c:/a\\b", "c:/a", "c:/"}},
        {"C:\\", PathSyntax::kWindows, {"C:\\"}},
        {"\\\\srv\\share\\a", PathSyntax::kWindows, {"\\\\srv\\share\\a", "\\\\srv\\share\\"}},
        {"\\\\?\\C:\\P\\M",
         PathSyntax::kWindows,
         {"\\\\?\\C:\\P\\M", "\\\\?\\C:\\P", "\\\\?\\C:\\"}},
        {"\\\\.\\C:\\P", PathSyntax::kWindows, {"\\\\.\\C:\\P", "\\\\.\\C:\\"}},
        {"\\\\?\\UNC\\srv\\share\\P",
         PathSyntax::kWindows,
         {"\\\\?\\UNC\\srv\\share\\P", "\\\\?\\UNC\\srv\\share\\"}},
        {"\\\\?\\Volume{1}\\P",
         PathSyntax::kWindows,
         {"\\\\?\\Volume{1}\\P", "\\\\?\\Volume{1}\\"}},
        {"Z:\\home\\Postfach Anna..",
         PathSyntax::kWindows,
         {"Z:\\home\\Postfach Anna..", "Z:\\home", "Z:\\"}},
        {"rel\\x", PathSyntax::kWindows, {"rel\\x", "rel"}},
        {"/home/a\\b/", PathSyntax::kPosix, {"/home/a\\b", "/home", "/"}},
        {"/", PathSyntax::kPosix, {"/"}},
        {"", PathSyntax::kPosix, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, platform::EnclosingFolders(c.folder, c.syntax)) << c.folder;
    }
}

TEST(FolderIdentityTest, TheFolderOfAFileStopsAtItsRoot) {
    struct Case {
        const char* file;
        PathSyntax syntax;
        const char* folder;
    } cases[] = {
        {"C:\\a\\x.csv", PathSyntax::kWindows, "C:\\a"},
        {"C:\\a\\\\x.csv", PathSyntax::kWindows, "C:\\a"},
        {"C:\\x.csv", PathSyntax::kWindows, "C:\\"},
        {"\\\\srv\\share\\x.csv", PathSyntax::kWindows, "\\\\srv\\share\\"},
        {"\\\\?\\C:\\x.csv", PathSyntax::kWindows, "\\\\?\\C:\\"},
        {"x.csv", PathSyntax::kWindows, ""},
        {"/x.csv", PathSyntax::kPosix, "/"},
        {"/a/b\\x.csv", PathSyntax::kPosix, "/a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.folder, platform::FolderOfFile(c.file, c.syntax)) << c.file;
    }
}

// Identities from tables instead of the file system.
class TableProbe : public platform::FolderProbe {
public:
    std::map<std::string, FolderIdentity> byName;
    std::map<std::string, std::vector<FolderIdentity>> chains;

    bool Identify(const std::string& path, FolderIdentity& identity) override {
        const auto it = byName.find(path);
        if (it == byName.end()) {
            return false;
        }
        identity = it->second;
        return true;
    }
    std::vector<FolderIdentity> Ancestry(const std::string& path) override {
        const auto it = chains.find(path);
        return it == chains.end() ? std::vector<FolderIdentity>() : it->second;
    }
};

FolderIdentity Id(uint64_t volume, uint64_t index, std::string finalPath = std::string()) {
    FolderIdentity identity;
    identity.volume = volume;
    identity.index = index;
    identity.hasIndex = index != 0;
    identity.finalPath = std::move(finalPath);
    return identity;
}

TEST(FolderIdentityTest, IdentitiesAgreeByIndexOnOneVolumeOrByFinalPath) {
    EXPECT_TRUE(platform::SameFolder(Id(1, 10), Id(1, 10)));
    EXPECT_FALSE(platform::SameFolder(Id(1, 10), Id(2, 10))); // the same number elsewhere
    EXPECT_FALSE(platform::SameFolder(Id(1, 0), Id(1, 0)));   // nothing known
    EXPECT_TRUE(platform::SameFolder(Id(1, 0, "\\\\?\\c:\\p"), Id(2, 0, "\\\\?\\c:\\p")));
    EXPECT_FALSE(platform::SameFolder(Id(1, 0, "\\\\?\\c:\\p"), Id(1, 0, "\\\\?\\c:\\q")));
}

TEST(FolderIdentityTest, AFolderAboveTheFileThatIsTheMailboxRefusesIt) {
    TableProbe probe;
    const FolderIdentity mailbox = Id(1, 10);
    probe.byName = {{"C:\\PMAIL\\Postfach Anna", mailbox},
                    {"C:\\PMAIL\\POSTFA~1", mailbox},
                    {"C:\\Export\\link", mailbox},
                    {"\\\\?\\C:\\Export\\link", mailbox},
                    {"C:\\Export", Id(1, 20)},
                    {"C:\\", Id(1, 5)},
                    {"D:\\Daten\\x", Id(2, 7)},
                    {"D:\\Daten", Id(2, 6)}};
    // A junction inside the mailbox, seen from D: the file system chains it below it.
    probe.chains["D:\\Daten\\x"] = {Id(2, 7), mailbox, Id(1, 5)};
    const platform::ProtectedFolders guard(
        {"C:\\PMAIL\\Postfach Anna\\"}, view::IsInProtectedDirectory, probe, PathSyntax::kWindows);
    struct Case {
        const char* file;
        bool refused;
    } cases[] = {
        {"C:\\Export\\link\\P00000.PMM", true},
        {"C:\\Export\\link\\neu\\tief\\x.csv", true}, // folders below need not exist
        {"\\\\?\\C:\\Export\\link\\x.csv", true},
        {"C:\\PMAIL\\POSTFA~1\\x.csv", true},
        {"C:\\pmail\\postfach anna\\x.csv", true}, // by name, as before
        {"D:\\Daten\\x\\liste.csv", true},
        {"C:\\Export\\liste.csv", false},
        {"C:\\liste.csv", false},
        {"D:\\Daten\\liste.csv", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.refused, guard.Contains(c.file)) << c.file;
    }
}

TEST(FolderIdentityTest, AProtectedFolderThatCannotBeOpenedIsComparedByName) {
    TableProbe probe;
    probe.byName = {{"C:\\Export\\link", Id(1, 10)}, {"C:\\Export", Id(1, 20)}};
    const platform::ProtectedFolders guard({"C:\\Fehlt\\Post", "", "C:\\Offen"},
                                           view::IsInProtectedDirectory, probe,
                                           PathSyntax::kWindows);
    EXPECT_TRUE(guard.Contains("c:\\fehlt\\POST\\x.csv"));
    EXPECT_TRUE(guard.Contains("C:\\Offen\\unten\\x.csv"));
    // Its identity is unknown, so a link to it cannot be told from any other folder.
    EXPECT_FALSE(guard.Contains("C:\\Export\\link\\x.csv"));
    // The writer's second look goes by the same two rules.
    EXPECT_TRUE(guard.ContainsOpenFile({}, "C:\\Fehlt\\Post\\x.csv.0.tmp"));
    EXPECT_FALSE(guard.ContainsOpenFile({Id(1, 10), Id(1, 20)}, "C:\\Export\\x.csv.0.tmp"));
}

// What the file system says of a folder can change after the guard was made: under
// Wine a volume's serial number and the final path are known only once its mount
// manager runs, and a protected folder missing at first can appear. The guard asks
// again at every question, so a link is still told for what it is.
TEST(FolderIdentityTest, IdentitiesThatChangeAfterTheGuardWasMadeAreAskedForAgain) {
    TableProbe probe;
    probe.byName = {{"C:\\PMAIL\\Postfach Anna", Id(0, 10)}, {"C:\\Export", Id(1, 20)}};
    const platform::ProtectedFolders guard({"C:\\PMAIL\\Postfach Anna\\", "C:\\Neu\\"}, nullptr,
                                           probe, PathSyntax::kWindows);
    probe.byName["C:\\PMAIL\\Postfach Anna"] = Id(7, 10, "\\\\?\\c:\\pmail\\postfach anna");
    probe.byName["C:\\Export\\link"] = Id(7, 10, "\\\\?\\c:\\pmail\\postfach anna");
    probe.byName["C:\\Neu"] = Id(7, 30);
    probe.byName["C:\\Export\\neu"] = Id(7, 30);
    EXPECT_TRUE(guard.Contains("C:\\Export\\link\\x.csv"));
    EXPECT_TRUE(guard.Contains("C:\\Export\\neu\\x.csv"));
    EXPECT_TRUE(guard.ContainsOpenFile({Id(7, 30)}, "C:\\Export\\neu\\x.csv.0.tmp"));
    EXPECT_FALSE(guard.Contains("C:\\Export\\x.csv"));
}

// The mailbox "Postfach Anna" with a folder file, an export folder holding a link to
// it, and a neighbour whose name begins like the mailbox's.
class FolderIdentityDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_mailbox = m_dir / "Postfach Anna";
        m_export = m_dir / "Export";
        ASSERT_TRUE(testsupport::MakeDirectory(m_mailbox + Sep() + "Unter"));
        ASSERT_TRUE(testsupport::MakeDirectory(m_export));
        ASSERT_TRUE(testsupport::MakeDirectory(m_dir / "Postfach Anna-Archiv"));
        ASSERT_TRUE(testsupport::WriteFile(m_mailbox + Sep() + "P00000.PMM", kFolderBytes));
        m_link = m_export + Sep() + "link";
        if (!testsupport::MakeFolderLink(m_link, m_mailbox)) {
            GTEST_SKIP() << "this system does not let the test make a folder link";
        }
    }
    static std::string Sep() { return testsupport::Separator(); }

    const std::string kFolderBytes = std::string("PMM\0\x01\xFF\r\n", 8);
    testsupport::TempDir m_dir;
    std::string m_mailbox;
    std::string m_export;
    std::string m_link;
};

TEST_F(FolderIdentityDiskTest, TheMailboxIsRefusedThroughALinkAndEverySpelling) {
    const std::string s = Sep();
    std::vector<std::string> refused = {
        m_link + s + "P00000.PMM",
        m_link + s + "Unter" + s + "x.csv",
        m_export + s + ".." + s + "Postfach Anna" + s + "x.csv",
        m_dir / ("." + s + "Postfach Anna" + s + s + "x.csv"),
    };
    std::vector<std::string> allowed = {
        m_export + s + "x.csv",
        m_dir / ("Postfach Anna-Archiv" + s + "x.csv"),
        m_dir / "x.csv",
    };
#ifdef _WIN32
    char shortName[MAX_PATH];
    const DWORD n = ::GetShortPathNameA(m_mailbox.c_str(), shortName, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH);
    ASSERT_NE(m_mailbox, shortName);
    refused.push_back(std::string(shortName) + "\\x.csv");
    refused.push_back(m_mailbox + "..\\x.csv");
    refused.push_back("\\\\?\\" + m_mailbox + "\\x.csv");
    refused.push_back("\\\\.\\" + m_mailbox + "\\x.csv");
    const std::string otherDrive = testsupport::OtherDriveForm(m_mailbox);
    if (!otherDrive.empty()) {
        refused.push_back(otherDrive + "\\x.csv");
    }
    // A drive letter of its own, as SUBST or a mapped drive gives one.
    testsupport::DriveMapping drive(m_dir.Path());
    EXPECT_TRUE(otherDrive.empty() || !drive.Letter().empty()) << "Wine gave no drive letter";
    if (!drive.Letter().empty()) {
        refused.push_back(drive.Letter() + "\\Postfach Anna\\x.csv");
        allowed.push_back(drive.Letter() + "\\Export\\x.csv");
    }
#endif
    const platform::ProtectedFolders guard({m_mailbox + s}, view::IsInProtectedDirectory);
    for (const std::string& path : refused) {
        EXPECT_TRUE(guard.Contains(path)) << path;
    }
    for (const std::string& path : allowed) {
        EXPECT_FALSE(guard.Contains(path)) << path;
    }
#ifdef _WIN32
    if (!drive.Letter().empty()) {
        const platform::ProtectedFolders byDrive({drive.Letter() + "\\Postfach Anna"},
                                                 view::IsInProtectedDirectory);
        EXPECT_TRUE(byDrive.Contains(m_mailbox + "\\x.csv"));
    }
#endif
    // The mailbox named by its link: the plain path is caught all the same.
    const platform::ProtectedFolders byLink({m_link}, view::IsInProtectedDirectory);
    EXPECT_TRUE(byLink.Contains(m_mailbox + s + "x.csv"));
    EXPECT_FALSE(byLink.Contains(m_export + s + "x.csv"));
}

TEST_F(FolderIdentityDiskTest, TheWriterRefusesOnItsOwnAndLeavesTheFolderFileAsItWas) {
    const platform::ProtectedFolders guard({m_mailbox}, view::IsInProtectedDirectory);
    const std::string target = m_link + Sep() + "P00000.PMM";
    EXPECT_EQ(platform::WriteOutcome::kRefused,
              platform::ReplaceFileContents(target, "Dateiname;Bytes\r\n", guard));
    EXPECT_EQ(kFolderBytes, testsupport::ReadFile(m_mailbox + Sep() + "P00000.PMM"));
    EXPECT_EQ("", testsupport::ReadFile(target + ".0.tmp"));
    // Outside the mailbox the same writer writes.
    const std::string outside = m_export + Sep() + "liste.csv";
    EXPECT_EQ(platform::WriteOutcome::kWritten,
              platform::ReplaceFileContents(outside, "neu", guard));
    EXPECT_EQ("neu", testsupport::ReadFile(outside));
}

// Moves the export folder into the mailbox, leaving a link at its old name, at the
// last look by name before the temporary file is made: Windows asks once, before it
// makes the file by name; POSIX a second time on the folder it has opened.
struct Swap {
    std::string from;
    std::string to;
    int calls = 0;
};
Swap g_swap;
#ifdef _WIN32
constexpr int kLooksBeforeTheTemporaryFile = 1;
#else
constexpr int kLooksBeforeTheTemporaryFile = 2;
#endif

bool SwappingNameRule(const std::string& path, const std::vector<std::string>& folders) {
    if (++g_swap.calls == kLooksBeforeTheTemporaryFile) {
        EXPECT_EQ(0, std::rename(g_swap.from.c_str(), g_swap.to.c_str()));
        EXPECT_TRUE(testsupport::MakeFolderLink(g_swap.from, g_swap.to));
    }
    return view::IsInProtectedDirectory(path, folders);
}

TEST_F(FolderIdentityDiskTest, TheSecondLookCatchesAFolderSwappedInMeanwhile) {
    const std::string moved = m_mailbox + Sep() + "Export";
    ASSERT_TRUE(testsupport::WriteFile(m_export + Sep() + "liste.csv", kFolderBytes));
    g_swap = Swap{m_export, moved, 0};
    const platform::ProtectedFolders guard({m_mailbox}, SwappingNameRule);
    EXPECT_EQ(platform::WriteOutcome::kRefused,
              platform::ReplaceFileContents(m_export + Sep() + "liste.csv", "neu", guard));
    EXPECT_GT(g_swap.calls, kLooksBeforeTheTemporaryFile);
    EXPECT_EQ(kFolderBytes, testsupport::ReadFile(moved + Sep() + "liste.csv"));
    EXPECT_EQ("", testsupport::ReadFile(moved + Sep() + "liste.csv.0.tmp"));
}

} // namespace
