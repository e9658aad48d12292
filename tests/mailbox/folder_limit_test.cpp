// The folder limit and the last change as a scan gives them: the limit's boundaries on
// sparse folder files of both kinds, which rows it applies to, and each row's last
// change from the files' own times (an .MBX with its .PMG, the new mail's newest file).
#include "mailbox/folder_catalogue.h"
#include "mailbox/folder_limit.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using fixtures::PmgHeader;
using fixtures::PmmHeader;
using testsupport::SetLastWrite;
using testsupport::TempDir;
using testsupport::WriteFile;

using testsupport::kGiB;
constexpr uint64_t kHalfGiB = kGiB / 2;
// Times well apart in 2025 and 2026, on whole seconds as every file system keeps them.
constexpr int64_t kOlder = 1735732800;  // 2025-01-01 12:00 UTC
constexpr int64_t kNewer = 1781006400;  // 2026-06-09 12:00 UTC
constexpr int64_t kNewest = 1796817600; // 2026-12-09 12:00 UTC

const FolderRecord* Find(const FolderCatalogue& c, const std::string& fileName) {
    const auto at = std::find_if(c.records.begin(), c.records.end(),
                                 [&](const FolderRecord& r) { return r.fileName == fileName; });
    return at == c.records.end() ? nullptr : &*at;
}

TEST(FolderLimitTest, SizesAtTheBoundariesOfBothKindsGiveTheirState) {
    struct Case {
        uint64_t size;
        FolderLimit expected;
    };
    const Case cases[] = {
        {3 * kHalfGiB - 1, FolderLimit::kBelow}, {3 * kHalfGiB, FolderLimit::kNear},
        {2 * kGiB - 1, FolderLimit::kNear},      {2 * kGiB, FolderLimit::kOver},
        {5 * kGiB, FolderLimit::kOver},
    };
    TempDir mailbox;
    int n = 0;
    for (const Case& c : cases) {
        const std::string stem = "F" + std::to_string(n++);
        ASSERT_TRUE(
            fixtures::WriteLargeFile(mailbox / (stem + ".PMM"), PmmHeader(stem, stem), c.size));
        ASSERT_TRUE(fixtures::WriteLargeFile(mailbox / (stem + ".mbx"), "", c.size));
        ASSERT_TRUE(WriteFile(mailbox / (stem + ".PMG"), PmgHeader(stem, stem + "m")));
    }
    FolderCatalogue catalogue;
    ASSERT_TRUE(catalogue.Scan({mailbox.Path(), "", false, false, ""}));
    n = 0;
    for (const Case& c : cases) {
        const std::string stem = "F" + std::to_string(n++);
        for (const std::string& name : {stem + ".PMM", stem + ".mbx"}) {
            const FolderRecord* row = Find(catalogue, name);
            ASSERT_NE(nullptr, row) << name;
            EXPECT_EQ(c.size, row->size) << name;
            EXPECT_EQ(c.expected, LimitOf(*row)) << name << " of " << c.size << " bytes";
        }
    }
    const LimitCounts counts = CountLimits(catalogue.records);
    EXPECT_EQ(4, counts.nearLimit);
    EXPECT_EQ(4, counts.overLimit);
}

TEST(FolderLimitTest, OnlyFolderFilesHaveALimit) {
    FolderRecord newMail;
    newMail.fileName = "*.CNM";
    newMail.size = 3 * kGiB; // a pile of new mail is no folder file the client holds
    EXPECT_EQ(FolderLimit::kBelow, LimitOf(newMail));
    FolderRecord other = newMail;
    other.fileName = "archiv.pmmx";
    EXPECT_EQ(FolderLimit::kBelow, LimitOf(other));
    other.fileName = "archiv.Mbx";
    EXPECT_EQ(FolderLimit::kOver, LimitOf(other));
    other.fileName = "a.pMm";
    other.size = 2 * kGiB - 1;
    EXPECT_EQ(FolderLimit::kNear, LimitOf(other));
}

TEST(LastChangeTest, EachFolderFileHasItsOwnTimeAndAnMbxTheLaterOfItsTwoFiles) {
    TempDir mailbox;
    ASSERT_TRUE(WriteFile(mailbox / "A.PMM", PmmHeader("A", "a")));
    ASSERT_TRUE(SetLastWrite(mailbox / "A.PMM", kNewer));
    // The message went into the .MBX last.
    ASSERT_TRUE(WriteFile(mailbox / "B.MBX", "From x\r\n"));
    ASSERT_TRUE(WriteFile(mailbox / "B.PMG", PmgHeader("B", "b")));
    ASSERT_TRUE(SetLastWrite(mailbox / "B.MBX", kNewest));
    ASSERT_TRUE(SetLastWrite(mailbox / "B.PMG", kOlder));
    // Only the index changed (a message marked read), in another letter case.
    ASSERT_TRUE(WriteFile(mailbox / "c.mbx", "From x\r\n"));
    ASSERT_TRUE(WriteFile(mailbox / "C.pmg", PmgHeader("C", "c")));
    ASSERT_TRUE(SetLastWrite(mailbox / "c.mbx", kOlder));
    ASSERT_TRUE(SetLastWrite(mailbox / "C.pmg", kNewest));
    // No companion: the .MBX's own time still stands.
    ASSERT_TRUE(WriteFile(mailbox / "D.MBX", "From x\r\n"));
    ASSERT_TRUE(SetLastWrite(mailbox / "D.MBX", kOlder));

    FolderCatalogue catalogue;
    ASSERT_TRUE(catalogue.Scan({mailbox.Path(), "", false, false, ""}));
    const struct {
        const char* name;
        int64_t expected;
    } cases[] = {{"A.PMM", kNewer}, {"B.MBX", kNewest}, {"c.mbx", kNewest}, {"D.MBX", kOlder}};
    for (const auto& c : cases) {
        const FolderRecord* row = Find(catalogue, c.name);
        ASSERT_NE(nullptr, row) << c.name;
        EXPECT_EQ(c.expected, row->lastWrite) << c.name;
    }
}

TEST(LastChangeTest, TheNewMailRowHasTheNewestNewMailFileAndNoneWithoutFiles) {
    TempDir mailbox;
    TempDir newmail;
    ASSERT_TRUE(WriteFile(newmail / "1.CNM", "x"));
    ASSERT_TRUE(WriteFile(newmail / "2.cnm", "y"));
    ASSERT_TRUE(WriteFile(newmail / "3.TXT", "not new mail"));
    ASSERT_TRUE(SetLastWrite(newmail / "1.CNM", kOlder));
    ASSERT_TRUE(SetLastWrite(newmail / "2.cnm", kNewer));
    ASSERT_TRUE(SetLastWrite(newmail / "3.TXT", kNewest));
    FolderCatalogue catalogue;
    ASSERT_TRUE(catalogue.Scan({mailbox.Path(), newmail.Path(), false, true, "<Posteingang>"}));
    ASSERT_EQ(1u, catalogue.records.size());
    EXPECT_EQ(kNewer, catalogue.records[0].lastWrite);

    TempDir empty;
    ASSERT_TRUE(catalogue.Scan({mailbox.Path(), empty.Path(), false, true, "<Posteingang>"}));
    EXPECT_EQ(0, catalogue.records[0].lastWrite);
}

TEST(LastChangeTest, ARescanSeesATimeThatMovedAndAReusedRecordKeepsNoOldTime) {
    TempDir mailbox;
    ASSERT_TRUE(WriteFile(mailbox / "A.PMM", PmmHeader("A", "a")));
    ASSERT_TRUE(SetLastWrite(mailbox / "A.PMM", kNewest));
    ASSERT_TRUE(WriteFile(mailbox / "B.PMM", "short")); // no header: a failed row
    ASSERT_TRUE(SetLastWrite(mailbox / "B.PMM", kNewer));
    FolderCatalogue catalogue;
    ASSERT_TRUE(catalogue.Scan({mailbox.Path(), "", false, false, ""}));
    ASSERT_TRUE(SetLastWrite(mailbox / "A.PMM", kOlder));
    ASSERT_TRUE(catalogue.Scan({mailbox.Path(), "", false, false, ""}));
    EXPECT_EQ(kOlder, Find(catalogue, "A.PMM")->lastWrite);
    // A file that cannot be read as a folder was still written at that time.
    EXPECT_EQ(kNewer, Find(catalogue, "B.PMM")->lastWrite);
}

} // namespace
