// The main window on a damaged mailbox in a directory named with umlauts: a sparse
// folder of 5 GiB, names with bytes above 0x7F, a folder inside an entry whose name is
// 60 000 characters long (its path keeps its end behind the ellipsis), one inside an
// entry whose name has a NUL and one whose name has a lone
// carriage return, a loop of parents, a directory and a cut file in the place of
// folders, a directory among the new mail. Every cell and the status line read as
// specified, and the window serves and closes as always.
#include "folder_formats.h"
#include "mailbox_fixtures.h"
#include "main_dlg_fixture_win32.h"
#include "platform/files.h"
#include "resource.h"
#include "sizes/size_text.h"

#include <gtest/gtest.h>

#include <map>

namespace uitest {
namespace {

TEST_F(MainDlgTest, ADamagedMailboxShowsItsSpecifiedTextsInEveryCell) {
    const std::string mailbox = m_dir / "Besch\xE4"
                                        "digt \x80\\";
    const std::string newmail = m_dir / "Neu\xDF\\";
    ASSERT_TRUE(::CreateDirectoryA(mailbox.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(newmail.c_str(), nullptr));
    const uint64_t huge = 5ull * 1024 * 1024 * 1024 + 3;
    const std::string longName(60000, 'n');
    const std::string nul(1, '\0');
    ASSERT_TRUE(fixtures::WriteLargeFile(mailbox + "huge.MBX", "", huge));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "huge.PMG", mailgen::PmgHeader("Riesig", "H")));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "\xC4rger\x80.PMM",
                                       mailgen::PmmHeader("\xC4rger \xFF", "U")));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "k.PMM", mailgen::PmmHeader("Kunden", "K")));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "n.PMM", mailgen::PmmHeader("Notiz", "N")));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "c.PMM", mailgen::PmmHeader("Zeile", "C")));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "loop.PMM", mailgen::PmmHeader("Schleife", "A")));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "short.PMM", std::string(127, 's')));
    ASSERT_TRUE(::CreateDirectoryA((mailbox + "dir.PMM").c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteFile(mailbox + "hierarch.pm",
                                       "2,0,R,,Oben\r\n1,0,BIG,R," + longName +
                                           "\r\n1,0,K,BIG,x\r\n1,0,V,R,Vor" + nul +
                                           "Nach\r\n1,0,N,V,x\r\n1,0,CR,R,Ein\rZwei\r\n"
                                           "1,0,C,CR,x\r\n1,0,A,B,Ah\r\n1,0,B,A,Be\r\n"
                                           "1,0,U,R,x\r\n1,0,H,R,x\r\n"));
    ASSERT_TRUE(::CreateDirectoryA((newmail + "d.CNM").c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteFile(newmail + "m.CNM", std::string(10, 'm')));
    Store("MailboxPathManual", REG_BINARY, Byte(1));
    Store("MailboxPath", REG_SZ, mailbox + '\0');
    Store("NewmailPath", REG_SZ, newmail + '\0');

    const std::string unknown = "<\?\?\?>";
    // Size and folder column by file name; the list hands a reader 259 characters at most.
    const std::map<std::string, std::pair<uint64_t, std::string>> expected = {
        {"*.CNM", {10, "<Posteingang>"}},
        {"huge.MBX", {huge, "\\Riesig"}},
        {"\xC4rger\x80.PMM", {128, "\\\xC4rger \xFF"}},
        {"k.PMM", {128, ("\x85" + std::string(258, 'n'))}},
        {"n.PMM", {128, "\\Vor\\Notiz"}},
        {"c.PMM", {128, "\\Ein\rZwei\\Zeile"}},
        {"loop.PMM", {128, unknown + "\\Be\\Schleife"}},
        {"short.PMM", {0, unknown + "<Datei ist keine g\xFCltige PMM-Datei.>"}},
        {"dir.PMM",
         {0, unknown + "<Datei konnte nicht zum Lesen ge\xF6"
                       "ffnet werden.>"}},
    };
    uint64_t total = 0;
    for (const auto& [file, cells] : expected) {
        total += cells.first;
    }
    CMainDlg dlg(m_app);
    std::vector<std::vector<std::string>> first;
    HWND box = nullptr;
    RunMain(dlg,
            // The folder of 5 GiB is over the mail client's limit: told first, once.
            {testsupport::OwnedDialogStep(dlg, box),
             [&] {
                 EXPECT_EQ("WARNUNG 504: Der Ordner \"\\Riesig\" (Datei \"huge.MBX\") ist 2 GB "
                           "gro\xDF oder gr\xF6\xDF"
                           "er. Pegasus Mail arbeitet mit so gro\xDF"
                           "en Ordnern nicht zuverl\xE4ssig.",
                           StaticTexts(box));
                 ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                 return true;
             },
             WaitUntilShown(dlg),
             [&] {
                 first = ListTexts(dlg.GetFolderList());
                 std::map<std::string, std::pair<std::string, std::string>> shown;
                 for (const std::vector<std::string>& row : first) {
                     shown[row[0]] = {row[1], row[2]};
                 }
                 EXPECT_EQ(expected.size(), shown.size());
                 for (const auto& [file, cells] : expected) {
                     SCOPED_TRACE(file);
                     // The size over the limit carries its mark.
                     EXPECT_EQ((file == "huge.MBX" ? "!! " : "") +
                                   FormatSize(cells.first, SizeStyle::Compact),
                               shown[file].first);
                     EXPECT_TRUE(cells.second == shown[file].second)
                         << shown[file].second.substr(0, 80);
                 }
                 EXPECT_EQ("9 Dateien, " + FormatSize(total, SizeStyle::Compact) + " (" +
                               FormatSize(total, SizeStyle::Exact) +
                               " Bytes) \x96 Grenze von 2 GB: 1 Ordner dar\xFC"
                               "ber, 0 nahe daran",
                           testsupport::StatusLineText(dlg.GetStatusHwnd()));
                 EXPECT_EQ(0, CountOwnedDialogs(dlg.GetSafeHwnd()));
                 // Sorted by each column in both directions, every row stays.
                 CFolderListCtrl& list = dlg.GetFolderList();
                 for (int column = 0; column < 3; ++column) {
                     for (bool descending : {false, true}) {
                         list.SetSort(column, descending);
                         list.Resort();
                         EXPECT_EQ(9, list.GetItemCount());
                     }
                 }
                 list.SetSort(2, false);
                 dlg.PostMessage(WM_COMMAND, ID_VIEW_REFRESH, 0);
                 return true;
             },
             [&] { return dlg.GetRefreshCount() == 2; },
             [&] {
                 EXPECT_TRUE(first == ListTexts(dlg.GetFolderList()));
                 EXPECT_EQ(0, CountOwnedDialogs(dlg.GetSafeHwnd())) << "told once";
                 return true;
             }},
            false);
}

// "hierarch.pm" as a link to /dev/zero (made by the build on the Linux side): the first
// refresh warns 502 at once, instead of reading without end, and the window then shows
// the list without paths and serves as always.
TEST_F(MainDlgTest, AFolderTreeLinkedToAnEndlessDeviceWarnsAndTheWindowServes) {
    const std::string program = platform::ModuleFilePath();
    const std::string mailbox =
        program.substr(0, program.find_last_of("\\/") + 1) + FOLDTALLY_DEVICE_MAILBOXES + "zero\\";
    const std::string newmail = m_dir / "Neu\\";
    ASSERT_TRUE(::CreateDirectoryA(newmail.c_str(), nullptr));
    ASSERT_TRUE(testsupport::WriteFile(newmail + "m.CNM", std::string(10, 'm')));
    Store("MailboxPathManual", REG_BINARY, Byte(1));
    Store("MailboxPath", REG_SZ, mailbox + '\0');
    Store("NewmailPath", REG_SZ, newmail + '\0');
    CMainDlg dlg(m_app);
    HWND box = nullptr;
    RunMain(dlg,
            {
                testsupport::OwnedDialogStep(dlg, box),
                [&] {
                    EXPECT_EQ("WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen "
                              "ge\xF6"
                              "ffnet werden.",
                              StaticTexts(box));
                    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return true;
                },
                WaitUntilShown(dlg),
                [&] {
                    EXPECT_EQ(1, dlg.GetRefreshCount());
                    const std::vector<std::vector<std::string>> rows =
                        ListTexts(dlg.GetFolderList());
                    EXPECT_EQ(1u, rows.size());
                    EXPECT_EQ("*.CNM", rows.empty() ? std::string() : rows[0][0]);
                    EXPECT_EQ("1 Dateien, 10 Bytes (10 Bytes)",
                              testsupport::WindowText(dlg.GetStatusHwnd()));
                    return true;
                },
            },
            false);
}

} // namespace
} // namespace uitest
