// The scan the settings ask for, and the status line and scan time as the windows and
// the report show them.
#include "view/scan_view.h"

#include <gtest/gtest.h>

namespace {

TEST(MakeScanRequest, TypedDirectoriesOnlyWhenChosenAndEachSwitchInItsField) {
    ProgramSettings s;
    s.m_strMailboxPath = "C:\\Getippt\\";
    s.m_strNewmailPath = "C:\\Neu\\";
    const struct {
        bool manual;
        bool paths;
        bool newMail;
    } cases[] = {
        {false, true, true}, {true, true, false}, {true, false, true}, {false, false, false}};
    for (const auto& c : cases) {
        s.m_bMailboxPathManual = c.manual;
        s.m_bShowFolderPath = c.paths;
        s.m_bShowNewMailFolder = c.newMail;
        const ScanRequest r =
            view::MakeScanRequest(s, "C:\\PMAIL\\MAIL\\", "C:\\PMAIL\\NEW\\", "<P>");
        EXPECT_EQ(c.manual ? "C:\\Getippt\\" : "C:\\PMAIL\\MAIL\\", r.mailboxDir);
        EXPECT_EQ(c.manual ? "C:\\Neu\\" : "C:\\PMAIL\\NEW\\", r.newmailDir);
        EXPECT_EQ(c.paths, r.resolvePaths);
        EXPECT_EQ(c.newMail, r.includeNewMail);
        EXPECT_EQ("<P>", r.newMailLabel);
    }
}

TEST(StatusLine, CountCompactAndExactTotalInTheGivenForm) {
    const struct {
        int32_t count;
        uint64_t total;
        const char* text;
    } cases[] = {
        {23, 7654321, "23 Dateien, 7,3 MB (7.654.321 Bytes)"},
        {1, 9, "1 Dateien, 9 Bytes (9 Bytes)"},
        {1, 1, "1 Dateien, 1 Byte (1 Bytes)"},
        {3, 123456789, "3 Dateien, 117,7 MB (123.456.789 Bytes)"},
        {0, 0, "0 Dateien, 0 Bytes (0 Bytes)"},
        {2, 6ull << 30, "2 Dateien, 6,0 GB (6.442.450.944 Bytes)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, view::StatusLine(view::kStatusFormat, c.count, c.total));
    }
}

TEST(ProgressLine, FilesReadOfFoundWithThousandsDots) {
    const char kForm[] = "Lese Ordnerdateien: %s von %s";
    const struct {
        uint32_t read;
        uint32_t total;
        const char* text;
    } cases[] = {
        {4512, 10000, "Lese Ordnerdateien: 4.512 von 10.000"},
        {0, 0, "Lese Ordnerdateien: 0 von 0"},
        {999, 1000, "Lese Ordnerdateien: 999 von 1.000"},
        {100000, 100000, "Lese Ordnerdateien: 100.000 von 100.000"},
        {4294967295u, 4294967295u, "Lese Ordnerdateien: 4.294.967.295 von 4.294.967.295"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, view::ProgressLine(kForm, c.read, c.total));
    }
}

TEST(ScanTimeText, TwoDigitsEach) {
    EXPECT_EQ("Stand: 09:05:07", view::ScanTimeText("Stand: %02d:%02d:%02d", 9, 5, 7));
    EXPECT_EQ("Stand: 23:59:59", view::ScanTimeText("Stand: %02d:%02d:%02d", 23, 59, 59));
}

} // namespace
