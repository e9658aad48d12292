// The folder list on the real main-window template: rows of a generated mailbox with
// their texts and order, header clicks, the tie-break over the display order, the
// compact and exact size forms, cut cell texts, the column state in a store, the sort
// arrows and the default widths at 96 and 144 DPI.
#include "folder_formats.h"
#include "folder_list_host_win32.h"
#include "mailgen.h"
#include "memory_store.h"
#include "settings/value_codecs.h"
#include "sizes/size_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace {

using testsupport::TempDir;
using uitest::ExpectedRow;
using uitest::FolderListHost;
using uitest::ListTexts;

const char kLabel[] = "<Posteingang>";

// The rows a correct list shows for the generated mailbox, from the generator's own
// account of what it wrote, plus the new-mail row and the hand-made tie rows.
class FolderListTest : public ::testing::Test {
protected:
    void SetUp() override {
        mailgen::Options options;
        options.seed = 77;
        options.folders = 24;
        options.maxDepth = 3;
        options.brokenFolders = 3;
        options.newMailFiles = 2;
        mailgen::Expectation expected;
        std::string error;
        ASSERT_TRUE(mailgen::Generate(m_dir / "mail\\", m_dir / "new\\", options, expected, error))
            << error;
        for (const mailgen::ExpectedRow& r : expected.folders) {
            m_expected.push_back({r.fileName, r.folderPath + r.folderName, r.size});
        }
        m_expected.push_back({"*.CNM", kLabel, expected.newMailSize});
        // Two rows of equal size whose file names and folder names sort oppositely,
        // and two rows of equal folder name: each pair differs only in a tie-break.
        const std::string pad(3000, 'x');
        AddPmm("AATIE.PMM", "Zeta", pad);
        AddPmm("ZZTIE.PMM", "Alpha", pad);
        AddPmm("BBSAME.PMM", "Gleich", pad + "yy");
        AddPmm("BASAME.PMM", "Gleich", pad + "yyyy");
        ScanRequest request;
        request.mailboxDir = m_dir / "mail\\";
        request.newmailDir = m_dir / "new\\";
        request.newMailLabel = kLabel;
        m_result = RunScan(request);
        ASSERT_TRUE(m_result->hierarchyRead);
        ASSERT_EQ(m_expected.size(), m_result->catalogue.records.size());
    }

    void AddPmm(const std::string& file, const std::string& name, const std::string& body) {
        const std::string bytes = mailgen::PmmHeader(name, "NOTINTREE") + body;
        ASSERT_TRUE(testsupport::WriteFile(m_dir / ("mail\\" + file), bytes));
        // An identifier the tree does not know gives the unknown path.
        m_expected.push_back({file, "<?\?\?>" + name, bytes.size()});
    }

    // The expected texts in the order of `sorted`, sizes in the given form.
    static std::vector<std::vector<std::string>> Texts(const std::vector<ExpectedRow>& sorted,
                                                       bool compact) {
        std::vector<std::vector<std::string>> texts;
        for (const ExpectedRow& r : sorted) {
            texts.push_back({r.fileName, FormatSize(r.size, SizeStyleFor(compact)), r.folder});
        }
        return texts;
    }

    static size_t RowOf(const std::vector<std::vector<std::string>>& texts,
                        const std::string& file) {
        for (size_t i = 0; i < texts.size(); ++i) {
            if (texts[i][0] == file) {
                return i;
            }
        }
        ADD_FAILURE() << file << " not listed";
        return texts.size();
    }

    TempDir m_dir;
    SharedScanResult m_result;
    std::vector<ExpectedRow> m_expected;
};

TEST_F(FolderListTest, RowsShowTheCatalogueSortedByFolderNameThenFileNameThenSize) {
    FolderListHost host;
    host.Run([&](CFolderListCtrl& list) {
        list.Show(m_result, false);
        EXPECT_EQ(Texts(uitest::SortedRows(m_expected, 2, false, {0, 1, 2}), false),
                  ListTexts(list));
        const auto texts = ListTexts(list);
        EXPECT_LT(RowOf(texts, "BASAME.PMM"), RowOf(texts, "BBSAME.PMM"));
    });
}

// The header's sort arrows, column by column: 'u' up, 'd' down, '-' none, '?' both.
std::string SortArrows(const CListCtrl& list) {
    HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
    std::string arrows;
    for (int i = 0; i < 3; ++i) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT;
        ::SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        const bool up = (item.fmt & HDF_SORTUP) != 0;
        const bool down = (item.fmt & HDF_SORTDOWN) != 0;
        arrows += up && down ? '?' : up ? 'u' : down ? 'd' : '-';
    }
    return arrows;
}

TEST_F(FolderListTest, HeaderClicksSortAscendingThenDescendingThenByTheOtherColumn) {
    FolderListHost host;
    struct Click {
        int column;
        bool descending;
        const char* arrows;
    } clicks[] = {{1, false, "-u-"}, {1, true, "-d-"}, {0, false, "u--"},
                  {2, false, "--u"}, {2, true, "--d"}, {1, false, "-u-"}};
    host.Run([&](CFolderListCtrl& list) {
        list.Show(m_result, true);
        EXPECT_EQ("--u", SortArrows(list));
    });
    for (const Click& click : clicks) {
        SCOPED_TRACE(testing::Message() << "click on " << click.column);
        host.ClickHeader(click.column);
        host.Run([&](CFolderListCtrl& list) {
            EXPECT_EQ(click.column, list.GetSortColumn());
            EXPECT_EQ(click.descending, list.IsSortDescending());
            EXPECT_EQ(click.arrows, SortArrows(list));
            // The header's other formats stay: the size column stays right-aligned.
            HDITEMA size = {};
            size.mask = HDI_FORMAT;
            ::SendMessageA(reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER)), HDM_GETITEMA, 1,
                           reinterpret_cast<LPARAM>(&size));
            EXPECT_EQ(HDF_RIGHT, size.fmt & HDF_JUSTIFYMASK);
            EXPECT_EQ(
                Texts(uitest::SortedRows(m_expected, click.column, click.descending, {0, 1, 2}),
                      true),
                ListTexts(list));
        });
    }
}

TEST_F(FolderListTest, SizeTiesFollowTheDisplayedColumnOrder) {
    FolderListHost host;
    host.Run([&](CFolderListCtrl& list) {
        list.Show(m_result, false);
        list.SetSort(1, false);
        list.Resort();
        auto texts = ListTexts(list);
        EXPECT_EQ(Texts(uitest::SortedRows(m_expected, 1, false, {0, 1, 2}), false), texts);
        EXPECT_EQ(RowOf(texts, "AATIE.PMM") + 1, RowOf(texts, "ZZTIE.PMM"));

        // "Ordnername" dragged to the leftmost place: the folder name breaks the tie.
        ASSERT_TRUE(list.SetColumnOrder({2, 0, 1}));
        list.Resort();
        texts = ListTexts(list);
        EXPECT_EQ(Texts(uitest::SortedRows(m_expected, 1, false, {2, 0, 1}), false), texts);
        EXPECT_EQ(RowOf(texts, "ZZTIE.PMM") + 1, RowOf(texts, "AATIE.PMM"));
    });
}

TEST_F(FolderListTest, RefillShowsTheOtherSizeForm) {
    FolderListHost host;
    host.Run([&](CFolderListCtrl& list) {
        for (bool compact : {true, false, true}) {
            list.Show(m_result, compact);
            EXPECT_EQ(compact, list.IsCompactSizes());
            EXPECT_EQ(Texts(uitest::SortedRows(m_expected, 2, false, {0, 1, 2}), compact),
                      ListTexts(list));
        }
    });
}

TEST_F(FolderListTest, CellTextIsCutToTheBufferWithItsTerminator) {
    FolderListHost host;
    host.Run([&](CFolderListCtrl& list) {
        list.Show(m_result, false);
        const std::string full = uitest::ItemText(list, 0, 2, 260);
        ASSERT_GT(full.size(), 6u);
        EXPECT_EQ(full.substr(0, 6), uitest::ItemText(list, 0, 2, 7));
        EXPECT_EQ(full.substr(0, 1), uitest::ItemText(list, 0, 2, 2));
        EXPECT_EQ("", uitest::ItemText(list, 0, 2, 1, false));
        EXPECT_EQ("", uitest::ItemText(list, 0, 7, 260, false)); // no such column
    });
}

TEST(FolderListEmptyTest, AnEmptyResultOrNoneGivesAnEmptyList) {
    FolderListHost host;
    host.Run([&](CFolderListCtrl& list) {
        list.Show(std::make_shared<ScanResult>(), true);
        EXPECT_EQ(0, list.GetItemCount());
        list.Show(nullptr, true);
        EXPECT_EQ(0, list.GetItemCount());
        EXPECT_EQ(3, list.GetColumnCount());
        EXPECT_EQ(2, list.GetSortColumn());
        EXPECT_EQ(view::kTieFromLeftmost, list.GetTieMode());
        const DWORD styles = static_cast<DWORD>(list.SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
        EXPECT_EQ(
            static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT),
            styles);
        const std::vector<std::string> titles = {"Dateiname", "Größe", "Ordnername"};
        EXPECT_EQ(titles, uitest::ColumnTitles(list));
        int32_t widths[3] = {};
        list.GetColumnWidths(widths, 3);
        EXPECT_EQ(uitest::DefaultColumnWidths(), std::vector<int32_t>(widths, widths + 3));
        LVCOLUMNA size = {};
        size.mask = LVCF_FMT;
        list.SendMessage(LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&size));
        EXPECT_EQ(LVCFMT_RIGHT, size.fmt & LVCFMT_JUSTIFYMASK);
    });
}

// Run by the test below in a process of its own: the screen's DPI is read once per
// process, from the prefix's setting.
TEST(FolderListDpiTest, ScreenHasTheDpiTheParentSet) {
    const char* wanted = std::getenv("FOLDTALLY_TEST_DPI");
    if (wanted == nullptr) {
        GTEST_SKIP() << "only in the process the DPI test starts";
    }
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(std::atoi(wanted), ::GetDeviceCaps(screen, LOGPIXELSX));
    ::ReleaseDC(nullptr, screen);
}

TEST(FolderListDpiTest, DefaultWidthsScaleWithTheScreensDpi) {
    if (std::getenv("FOLDTALLY_TEST_DPI") != nullptr) {
        GTEST_SKIP() << "the process this test started";
    }
    const char kDesktop[] = "Control Panel\\Desktop";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kDesktop, 0, nullptr, 0,
                                               KEY_READ | KEY_WRITE, nullptr, &key, nullptr));
    DWORD saved = 0;
    DWORD size = sizeof saved;
    const bool hadValue = ::RegQueryValueExA(key, "LogPixels", nullptr, nullptr,
                                             reinterpret_cast<BYTE*>(&saved), &size) == 0;
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    for (DWORD dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        ::RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                         sizeof dpi);
        ::SetEnvironmentVariableA("FOLDTALLY_TEST_DPI", std::to_string(dpi).c_str());
        // The fresh list's widths there, measured against that process's screen.
        std::string command = std::string("\"") + self +
                              "\" --gtest_filter=FolderListDpiTest.ScreenHasTheDpiTheParentSet:"
                              "FolderListEmptyTest.AnEmptyCatalogueGivesAnEmptyList";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                     nullptr, &startup, &process));
        ::WaitForSingleObject(process.hProcess, 60000);
        DWORD code = 1;
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        EXPECT_EQ(0u, code);
    }
    ::SetEnvironmentVariableA("FOLDTALLY_TEST_DPI", nullptr);
    if (hadValue) {
        ::RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved),
                         sizeof saved);
    } else {
        ::RegDeleteValueA(key, "LogPixels");
    }
    ::RegCloseKey(key);
}

TEST(FolderListSortTest, SetSortClampsTheColumnIntoTheColumnsThereAre) {
    FolderListHost host;
    host.Run([&](CFolderListCtrl& list) {
        const std::tuple<int, int> cases[] = {{0, 0}, {1, 1},         {2, 2},  {3, 2},
                                              {9, 2}, {INT32_MAX, 2}, {-1, 0}, {INT32_MIN, 0}};
        for (const auto& [column, expected] : cases) {
            list.SetSort(column, true);
            EXPECT_EQ(expected, list.GetSortColumn()) << column;
            EXPECT_TRUE(list.IsSortDescending());
        }
    });
}

using testsupport::Ints;

TEST(FolderListStateTest, ColumnStateRoundTripsThroughTheStore) {
    FolderListHost host;
    MemorySettingsStore store;
    ASSERT_TRUE(store.Open("MainDlg"));
    store.ClearLog();
    int32_t dpi = 0;
    host.Run([&](CFolderListCtrl& list) {
        const int32_t widths[] = {55, 66, 77};
        list.SetColumnWidths(widths, 3);
        ASSERT_TRUE(list.SetColumnOrder({1, 2, 0}));
        list.SetSort(0, true);
        view::WindowStateNames names = view::StateNamesOf(view::StoredWindow::kMain);
        names.placement = nullptr;
        EXPECT_TRUE(view::SaveWindowState(store, names, {}, list.GetListState()));
        EXPECT_TRUE(list.SaveOptionalColumns(store));
        dpi = list.GetDpi();
    });
    MemorySettingsStore::Section& section = store.Sections()["MainDlg"];
    EXPECT_EQ(Ints({55, 66, 77}), section["Columns"].bytes);
    EXPECT_EQ(Ints({dpi}), section["ColumnsDpi"].bytes) << "the screen's, beside the widths";
    EXPECT_EQ(Ints({1, 2, 0}), section["ColOrder"].bytes);
    EXPECT_EQ(Ints({0, 1}), section["Sort"].bytes);
    // The optional columns' own values after the three's, which keep their forms.
    const std::vector<std::string> writes = {"WriteIntArray Columns",  "ReadInt ColumnsDpi",
                                             "WriteInt ColumnsDpi",    "WriteIntArray ColOrder",
                                             "WriteBinary Sort",       "WriteIntArray ColChanged",
                                             "WriteIntArray ColChange"};
    EXPECT_EQ(writes, store.Log());

    FolderListHost again;
    again.Run([&](CFolderListCtrl& list) {
        list.LoadColumnState(store, view::StateNamesOf(view::StoredWindow::kMain));
        int32_t widths[3] = {};
        list.GetColumnWidths(widths, 3);
        EXPECT_EQ(55, widths[0]);
        EXPECT_EQ(66, widths[1]);
        EXPECT_EQ(77, widths[2]);
        EXPECT_EQ((std::vector<int32_t>{1, 2, 0}), list.GetColumnOrder());
        EXPECT_EQ(0, list.GetSortColumn());
        EXPECT_TRUE(list.IsSortDescending());
    });
}

// Every rule for stored values is the model's (window_state_test); here two of them
// reach the list: a value of another size keeps the current state, and a sort column
// beyond the last is the last, its descending direction turned round by the next click.
TEST(FolderListStateTest, UnusableStoredValuesLeaveTheCurrentState) {
    struct Case {
        const char* what;
        std::string columns;
        std::string order;
        std::string sort;
        std::vector<int32_t> expectedOrder;
        int expectedSortColumn;
        bool expectedDescending;
    } cases[] = {
        {"too short", Ints({1, 2}), Ints({2, 1}), Ints({1}), {0, 1, 2}, 2, false},
        {"column out of range",
         Ints({50, 60, 70}),
         Ints({2, 0, 1}),
         Ints({9, 1}),
         {2, 0, 1},
         2,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySettingsStore store;
        ASSERT_TRUE(store.Open("MainDlg"));
        MemorySettingsStore::Section& section = store.Sections()["MainDlg"];
        section["Columns"].bytes = c.columns;
        section["ColOrder"].bytes = c.order;
        section["Sort"].bytes = c.sort;
        FolderListHost host;
        host.Run([&](CFolderListCtrl& list) {
            list.LoadColumnState(store, view::StateNamesOf(view::StoredWindow::kMain));
            int32_t widths[3] = {};
            list.GetColumnWidths(widths, 3);
            const bool widthsFit = c.columns.size() == 12;
            EXPECT_EQ(widthsFit ? 50 : 110, widths[0]);
            EXPECT_EQ(widthsFit ? 70 : 240, widths[2]);
            EXPECT_EQ(c.expectedOrder, list.GetColumnOrder());
            EXPECT_EQ(c.expectedSortColumn, list.GetSortColumn());
            EXPECT_EQ(c.expectedDescending, list.IsSortDescending());
        });
        if (c.expectedDescending) {
            // The next click on the sort column turns it ascending.
            host.ClickHeader(c.expectedSortColumn);
            host.Run([&](CFolderListCtrl& list) { EXPECT_FALSE(list.IsSortDescending()); });
        }
    }
}

} // namespace
