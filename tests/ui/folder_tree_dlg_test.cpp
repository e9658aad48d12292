// The window Ordnerbaum run in-process on its real template over a hand-made mailbox:
// what only the window shows. The rules of its rows (keys, sort, rescan) are tested
// natively in tree_rows_test; here the rows, indents and cells reach the list, the
// bars are painted to their share, keys, clicks and header clicks reach the rows, the
// header shows the sort, F5 rescans, its help, Escape, and its placement and widths
// in the store.
#include "folder_formats.h"
#include "memory_store.h"
#include "recording_app.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "sizes/size_text.h"
#include "test_support.h"
#include "tree/tree_text.h"
#include "ui/folder_tree_dlg.h"
#include "ui/treemap_dlg.h"
#include "ui_script_win32.h"
#include "view/placement.h"

#include <gtest/gtest.h>

#include <atomic>

using testsupport::TempDir;
using testsupport::UiScript;

namespace {

std::string Line(int type, const std::string& id, const std::string& parent,
                 const std::string& name) {
    return mailgen::HierarchyLine(type, 0, id, parent, name) + "\r\n";
}

using testsupport::Ints;

std::string Cell(HWND list, int row, int column) {
    char text[260] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

int Indent(HWND list, int row) {
    LVITEMA item = {};
    item.mask = LVIF_INDENT;
    item.iItem = row;
    item.iIndent = -1;
    ::SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iIndent;
}

// The first column of every row with its indent: "Archiv;.2019;" for two rows.
std::string Outline(HWND list) {
    std::string text;
    const int rows = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        text += std::string(static_cast<size_t>(Indent(list, r)), '.') + Cell(list, r, 0) + ";";
    }
    return text;
}

void Select(HWND list, int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = item.stateMask;
    ::SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void Key(HWND list, UINT key) {
    ::PostMessageA(list, WM_KEYDOWN, key, 1);
    ::PostMessageA(list, WM_KEYUP, key, 0xC0000001);
}

void ClickAt(HWND target, int x, int y) {
    ::PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(target, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void ClickHeader(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT r = {};
    ::SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&r));
    ClickAt(header, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

UiScript::Step Do(std::function<void()> action) {
    return [action] {
        action();
        return true;
    };
}

// A tree of two levels below "Archiv", a branch "Kunden" and new mail.
class FolderTreeDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::WriteFile(
            box / "hierarch.pm", Line(2, "ROOT", "", "Mein Postfach") +
                                     Line(1, "A", "ROOT", "Archiv") + Line(1, "A1", "A", "2019") +
                                     Line(1, "A2", "A", "2020") + Line(1, "A21", "A2", "Q1") +
                                     Line(1, "K", "ROOT", "Kunden")));
        Pmm("A1.PMM", "2019", "A1", 1000);
        Pmm("A2.PMM", "2020", "A2", 400);
        Pmm("A21.PMM", "Q1", "A21", 200);
        Pmm("K.PMM", "Kunden", "K", 300);
        ASSERT_TRUE(testsupport::WriteFile(news / "1.CNM", std::string(100, 'n')));
        settings.mailboxDir = box.Path();
        settings.newmailDir = news.Path();
        settings.newMailLabel = "<Posteingang>";
    }
    void Pmm(const std::string& file, const std::string& name, const std::string& id, size_t body) {
        ASSERT_TRUE(testsupport::WriteFile(box / file,
                                           mailgen::PmmHeader(name, id) + std::string(body, 'm')));
    }
    // Runs the dialog with `steps` once it is up; the last step should close it.
    // Each step runs once no scan runs or waits, the first once the window shows its
    // first scan.
    INT_PTR Run(CFolderTreeDlg& dlg, std::vector<UiScript::Step> steps, bool waitForScans = true) {
        for (UiScript::Step& step : steps) {
            if (waitForScans) {
                step = [&dlg, step] { return !dlg.IsScanBusy() && step(); };
            }
        }
        steps.insert(steps.begin(), [&dlg] {
            return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible() && dlg.GetScanCount() > 0;
        });
        UiScript script(std::move(steps));
        const INT_PTR result = app.RunModal(dlg);
        EXPECT_TRUE(script.Finished()) << "the script did not run to its end";
        return result;
    }
    TempDir box;
    TempDir news;
    RecordingApp app;
    ScanRequest settings;
};

TEST_F(FolderTreeDlgTest, OpensWithTheFirstLevelOpenAndTheCellsOfTheTree) {
    CFolderTreeDlg dlg(nullptr, app, settings, false);
    std::string outline;
    std::vector<std::vector<std::string>> cells;
    std::string status;
    std::string caption;
    std::vector<std::string> changed;
    Run(dlg, {Do([&] {
                  HWND list = dlg.GetListHwnd();
                  outline = Outline(list);
                  for (int r = 0; r < 5; ++r) {
                      cells.push_back(
                          {Cell(list, r, 1), Cell(list, r, 2), Cell(list, r, 3), Cell(list, r, 4)});
                      changed.push_back(Cell(list, r, tree::kTreeColumnChanged));
                  }
                  status = testsupport::WindowText(dlg.GetDlgItem(IDC_TREE_STATUS));
                  caption = testsupport::WindowText(dlg.GetSafeHwnd());
              }),
              Do([&] { Key(dlg.GetListHwnd(), VK_ESCAPE); })});
    EXPECT_EQ("Ordnerbaum", caption);
    EXPECT_EQ("Archiv;.2019;.2020;Kunden;<Posteingang>;", outline);
    const auto exact = [](uint64_t n) { return FormatSize(n, SizeStyle::Exact); };
    // 128-byte headers: 1128, 528 + 328, 428; new mail 100; 2512 in all.
    const std::vector<std::vector<std::string>> expected = {
        {exact(1984), "79,0 %", exact(0), "3"},  {exact(1128), "44,9 %", exact(1128), "1"},
        {exact(856), "34,1 %", exact(528), "2"}, {exact(428), "17,0 %", exact(428), "1"},
        {exact(100), "4,0 %", exact(100), "1"},
    };
    EXPECT_EQ(expected, cells);
    // Each branch's newest change, "09.12.2026 14:03" (the files' own times: the model's
    // test sets them).
    for (const std::string& text : changed) {
        EXPECT_EQ(16u, text.size()) << text;
        EXPECT_EQ(':', text.size() == 16 ? text[13] : ' ') << text;
    }
    // No folder near the limit: the status line has nothing to add.
    EXPECT_EQ(0u, status.find("5 Dateien, " + FormatSize(2512, SizeStyle::Compact) + " (" +
                              exact(2512) + " Bytes)    Stand: "))
        << status;
    EXPECT_EQ(status.size(), status.find("Stand: ") + 15) << "Stand: HH:MM:SS";
}

// Every key's rule is the model's (tree_rows_test); here each kind of input reaches it:
// a key the list hands on, the number pad's branch key, a click on a box.
TEST_F(FolderTreeDlgTest, KeysAndClicksReachTheRowsAndTheListFollows) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    std::vector<std::string> seen;
    std::vector<int> selected;
    HWND list = nullptr;
    auto note = [&] {
        seen.push_back(Outline(list));
        selected.push_back(dlg.GetSelectedRow());
    };
    Run(dlg, {Do([&] {
                  list = dlg.GetListHwnd();
                  Select(list, 2); // 2020
                  Key(list, VK_RIGHT);
              }),
              Do(note), Do([&] { Key(list, VK_RIGHT); }),    // open: to the first child
              Do(note), Do([&] { Select(list, 0); }),        // Archiv by the list's own keys
              Do([&] { Key(list, VK_LEFT); }),               // closes Archiv
              Do(note), Do([&] { Key(list, VK_MULTIPLY); }), // the whole branch
              Do(note), Do([&] {
                  RECT icon = {};
                  icon.left = LVIR_ICON;
                  ::SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon));
                  ClickAt(list, (icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
              }),
              Do(note), Do([&] { Key(list, VK_ESCAPE); })});
    const std::vector<std::string> expected = {
        "Archiv;.2019;.2020;..Q1;Kunden;<Posteingang>;",
        "Archiv;.2019;.2020;..Q1;Kunden;<Posteingang>;",
        "Archiv;Kunden;<Posteingang>;",
        "Archiv;.2019;.2020;..Q1;Kunden;<Posteingang>;",
        "Archiv;Kunden;<Posteingang>;",
    };
    EXPECT_EQ(expected, seen);
    EXPECT_EQ((std::vector<int>{2, 3, 0, 0, 0}), selected);
}

// The header's sort arrows, column by column: 'u' up, 'd' down, '-' none.
std::string SortArrows(HWND list) {
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    std::string arrows;
    for (int i = 0; i < tree::kTreeColumnCount; ++i) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT;
        ::SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
        arrows += (item.fmt & HDF_SORTUP) ? 'u' : (item.fmt & HDF_SORTDOWN) ? 'd' : '-';
    }
    return arrows;
}

// The order of every click is the model's (tree_rows_test); here the clicks reach it
// and the header shows the sort.
TEST_F(FolderTreeDlgTest, HeaderClicksSortAndTheHeaderShowsTheSortArrow) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    std::vector<std::string> seen;
    HWND list = nullptr;
    auto click = [&](int column) {
        return Do([&, column] {
            seen.push_back(SortArrows(list) + " " + Outline(list));
            ClickHeader(list, column);
        });
    };
    Run(dlg, {Do([&] { list = dlg.GetListHwnd(); }), click(0), click(0), click(3), Do([&] {
                  seen.push_back(SortArrows(list) + " " + Outline(list));
                  Key(list, VK_ESCAPE);
              })});
    const std::vector<std::string> expected = {
        "-d----- Archiv;.2019;.2020;Kunden;<Posteingang>;", // by total, largest first
        "u------ <Posteingang>;Archiv;.2019;.2020;Kunden;", // name ascending
        "d------ Kunden;Archiv;.2020;.2019;<Posteingang>;", // name descending
        "---d--- Kunden;<Posteingang>;Archiv;.2019;.2020;", // own size, largest first
    };
    EXPECT_EQ(expected, seen);
}

// The list asks its parent for typed names (with 16-bit text under Wine); the number
// pad's keys arrive as characters as well and find no name.
TEST_F(FolderTreeDlgTest, TypedLettersSelectANameAndTheNumberPadsStarKeepsTheSelection) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    std::vector<int> selected;
    HWND list = nullptr;
    DWORD typed = 0;
    Run(dlg, {Do([&] {
                  list = dlg.GetListHwnd();
                  Select(list, 2); // 2020
                  ::SetFocus(list);
                  Key(list, VK_MULTIPLY);
                  ::PostMessageA(list, WM_CHAR, '*', 1);
              }),
              Do([&] {
                  selected.push_back(dlg.GetSelectedRow());
                  typed = ::GetTickCount();
              }),
              // The list takes letters after a pause as a new name.
              [&] { return ::GetTickCount() - typed > 1100; },
              Do([&] { ::PostMessageA(list, WM_CHAR, 'k', 1); }), Do([&] {
                  selected.push_back(dlg.GetSelectedRow());
                  typed = ::GetTickCount();
              }),
              [&] { return ::GetTickCount() - typed > 1100; },
              Do([&] { ::PostMessageA(list, WM_CHAR, '2', 1); }), Do([&] {
                  selected.push_back(dlg.GetSelectedRow());
                  Key(list, VK_ESCAPE);
              })});
    // Archiv;.2019;.2020;..Q1;Kunden;<Posteingang> after the star opened 2020.
    EXPECT_EQ((std::vector<int>{2, 4, 1}), selected);
}

// Shift-F10 opens the context menu at the selected row, with the sort checked; its
// "Sortieren nach" sorts as a header click does, from the keyboard too.
TEST_F(FolderTreeDlgTest, ShiftF10OpensTheMenuAtTheSelectedRowAndItsSortChoiceSorts) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    HWND list = nullptr;
    HWND popup = nullptr;
    POINT expected = {};
    std::string arrows;
    std::string selectedName;
    bool totalChecked = false;
    auto setShift = [](bool down) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    };
    Run(dlg, {Do([&] {
                  list = dlg.GetListHwnd();
                  Select(list, 3); // Kunden
                  ::SetFocus(list);
                  RECT label = {};
                  label.left = LVIR_LABEL;
                  ::SendMessageA(list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&label));
                  expected = {label.left + (label.bottom - label.top) / 2, label.bottom};
                  ::ClientToScreen(list, &expected);
                  setShift(true);
                  ::PostMessageA(list, WM_SYSKEYDOWN, VK_F10, 1);
              }),
              [&] {
                  popup = testsupport::FindPopupMenu();
                  return popup != nullptr;
              },
              Do([&] {
                  RECT shown = {};
                  ::GetWindowRect(popup, &shown);
                  EXPECT_EQ(expected.x, shown.left);
                  EXPECT_EQ(expected.y, shown.top);
                  HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
                  totalChecked = (::GetMenuState(menu, ID_VIEW_SORT_FIRST + tree::kTreeColumnTotal,
                                                 MF_BYCOMMAND) &
                                  MF_CHECKED) != 0;
                  // "&Sortieren nach", then "&Gesamt": the sort by total turns round.
                  ::PostMessageA(popup, WM_CHAR, 's', 1);
                  ::PostMessageA(popup, WM_CHAR, 'g', 1);
              }),
              [&] { return testsupport::FindPopupMenu() == nullptr; }, Do([&] {
                  setShift(false);
                  ::PostMessageA(list, WM_SYSKEYUP, VK_F10, 0xC0000001);
              }),
              Do([&] {
                  arrows = SortArrows(list);
                  selectedName = Cell(list, dlg.GetSelectedRow(), 0);
                  GUITHREADINFO info = {};
                  info.cbSize = sizeof info;
                  ::GetGUIThreadInfo(::GetCurrentThreadId(), &info);
                  EXPECT_EQ(0u, info.flags & GUI_INMENUMODE) << "a menu is still active";
                  ::EndMenu();
                  Key(list, VK_ESCAPE);
              })});
    EXPECT_TRUE(totalChecked);
    EXPECT_EQ("-u-----", arrows);
    EXPECT_EQ("Kunden", selectedName);
}

TEST_F(FolderTreeDlgTest, F5KeepsOpenBranchesAndTheSelectionWhereTheEntriesStillExist) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    HWND list = nullptr;
    std::string before;
    std::string after;
    std::string selected;
    int scans = 0;
    Run(dlg, {Do([&] {
                  list = dlg.GetListHwnd();
                  Select(list, 2);
                  Key(list, VK_RIGHT); // 2020 open
              }),
              Do([&] {
                  Select(list, 3); // Q1
                  before = Outline(list);
                  Pmm("K2.PMM", "Kunden", "K", 5000); // Kunden now the largest
                  ::PostMessageA(list, WM_KEYDOWN, VK_F5, 1);
              }),
              [&] { return dlg.GetScanCount() == 2; }, Do([&] {
                  after = Outline(list);
                  const int row = dlg.GetSelectedRow();
                  selected = row >= 0 ? Cell(list, row, 0) : "";
                  scans = dlg.GetScanCount();
                  Key(list, VK_ESCAPE);
              })});
    EXPECT_EQ("Archiv;.2019;.2020;..Q1;Kunden;<Posteingang>;", before);
    EXPECT_EQ("Kunden;Archiv;.2019;.2020;..Q1;<Posteingang>;", after);
    EXPECT_EQ("Q1", selected);
    EXPECT_EQ(2, scans);
}

// The main window's source of changes reaches the column "Änderung" after each scan;
// the sums themselves are the model's (tree_rows_test).
TEST_F(FolderTreeDlgTest, EachScanAsksTheChangeSourceAndTheColumnShowsTheBranchChange) {
    CFolderTreeDlg dlg(nullptr, app, settings, false);
    int asked = 0;
    dlg.SetChangeSource([&asked](const ScanResult& result) {
        ++asked;
        view::FolderChangeSet set;
        for (const FolderRecord& record : result.catalogue.records) {
            set.changes.push_back(
                {RowChange::kChanged, ChangeBetween(record.size + 10, record.size)});
        }
        return set;
    });
    std::vector<std::string> seen;
    Run(dlg,
        {Do([&] {
             seen.push_back(Cell(dlg.GetListHwnd(), 0, tree::kTreeColumnName) + " " +
                            Cell(dlg.GetListHwnd(), 0, tree::kTreeColumnChange));
             ::PostMessageA(dlg.GetListHwnd(), WM_KEYDOWN, VK_F5, 1);
         }),
         [&] { return dlg.GetScanCount() == 2; }, Do([&] { Key(dlg.GetListHwnd(), VK_ESCAPE); })});
    EXPECT_EQ(2, asked);
    // Archiv holds three folder files: 30 bytes more.
    EXPECT_EQ((std::vector<std::string>{"Archiv +30"}), seen);
}

TEST_F(FolderTreeDlgTest, BarsArePaintedInProportionToTheShare) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    std::vector<std::pair<int, int>> widths; // painted, expected
    Run(dlg, {Do([&] {
                  // No selection: a selected row's bar takes the selection's text colour.
                  LVITEMA none = {};
                  none.stateMask = LVIS_SELECTED;
                  ::SendMessageA(dlg.GetListHwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(&none));
                  ::UpdateWindow(dlg.GetListHwnd());
              }),
              Do([&] {
                  HWND list = dlg.GetListHwnd();
                  HDC dc = ::GetDC(list);
                  for (int row = 0; row < 5; ++row) {
                      const RECT bar = dlg.GetBarRect(row);
                      // The whole cell's width on the bar's middle line.
                      RECT cell = {};
                      cell.top = tree::kTreeColumnShare;
                      cell.left = LVIR_BOUNDS;
                      ::SendMessageA(list, LVM_GETSUBITEMRECT, row,
                                     reinterpret_cast<LPARAM>(&cell));
                      const int y = (bar.top + bar.bottom) / 2;
                      int painted = 0;
                      for (int x = cell.left; x < cell.right; ++x) {
                          painted += ::GetPixel(dc, x, y) == CFolderTreeDlg::BarColor() ? 1 : 0;
                      }
                      const tree::TreeNode& node = dlg.GetTree().Nodes()[dlg.GetRows()[row]];
                      const tree::ShareCellMetrics& m = dlg.GetShareMetrics();
                      const int room =
                          static_cast<int>(cell.right - cell.left) - m.textRoom - 2 * m.barInset;
                      widths.push_back(
                          {painted, tree::BarWidth(tree::ShareTenths(node.totalSize, 2512), room)});
                  }
                  ::ReleaseDC(list, dc);
                  Key(list, VK_ESCAPE);
              })});
    ASSERT_EQ(5u, widths.size());
    for (const auto& w : widths) {
        EXPECT_NEAR(w.second, w.first, 1) << "painted " << w.first << " expected " << w.second;
    }
    EXPECT_GT(widths[0].first, 4 * widths[4].first) << "79 % against 4 %";
}

// The map starts on the tree's selection; the tile clicked there is the tree's selection
// once Escape closes the map, the branches above it open.
TEST_F(FolderTreeDlgTest, TheMapStartsOnTheSelectedRowAndHandsItsOwnSelectionBack) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    const CTreemapDlg* map = nullptr;
    std::string rows; // the outline, then the selected row
    Run(dlg, {Do([&] {
                  Select(dlg.GetListHwnd(), 4); // <Posteingang>
                  ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_VIEW_TREEMAP, 0);
              }),
              [&] { return (map = dlg.GetTreemapDlg()) && !map->GetMap().tiles.empty(); }, Do([&] {
                  EXPECT_EQ("\\<Posteingang>",
                            tree::NodePath(map->GetTree(), map->GetSelectedNode()));
                  for (const tree::TreemapTile& t : map->GetMap().tiles) {
                      if (tree::NodePath(map->GetTree(), t.node) == "\\Archiv\\2020\\Q1") {
                          ::PostMessageA(map->GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                                         MAKELPARAM(t.rect.left + 2, t.rect.top + 2));
                      }
                  }
                  ::PostMessageA(map->GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
              }),
              [&] { return dlg.GetTreemapDlg() == nullptr; }, Do([&] {
                  rows = Outline(dlg.GetListHwnd()) + std::to_string(dlg.GetSelectedRow());
                  Key(dlg.GetListHwnd(), VK_ESCAPE);
              })});
    EXPECT_EQ("Archiv;.2019;.2020;..Q1;Kunden;<Posteingang>;3", rows);
}

// While set, every folder file read waits as on a far share.
std::atomic<bool> g_slowShare{false};
void SlowShare(void*) {
    if (g_slowShare.load()) {
        ::Sleep(150);
    }
}

TEST_F(FolderTreeDlgTest, EscapeDuringAScanCancelsItKeepingTheRowsAndClosesAfterwards) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    ScanThreading threading;
    threading.helpers = 0;
    threading.afterFileRead = &SlowShare;
    dlg.GetScans().SetThreading(threading);
    HWND list = nullptr;
    std::string outline;
    std::string status;
    auto statusText = [&] {
        return testsupport::WindowText(::GetDlgItem(dlg.GetSafeHwnd(), IDC_TREE_STATUS));
    };
    const INT_PTR result = Run(dlg,
                               {Do([&] {
                                    list = dlg.GetListHwnd();
                                    outline = Outline(list);
                                    status = statusText();
                                    g_slowShare = true;
                                    ::PostMessageA(list, WM_KEYDOWN, VK_F5, 1);
                                }),
                                [&] {
                                    const std::string text = statusText();
                                    return text.rfind("Lese Ordnerdateien: ", 0) == 0 &&
                                           text.substr(text.size() - 6) == " von 4";
                                },
                                Do([&] {
                                    EXPECT_TRUE(dlg.IsScanBusy());
                                    EXPECT_EQ(outline, Outline(list))
                                        << "rows went before the scan was complete";
                                    Key(list, VK_ESCAPE);
                                }),
                                [&] { return !dlg.IsScanBusy(); }, Do([&] {
                                    g_slowShare = false;
                                    EXPECT_TRUE(::IsWindowVisible(dlg.GetSafeHwnd()))
                                        << "Escape closed the window during a scan";
                                    EXPECT_EQ(outline, Outline(list));
                                    EXPECT_EQ(status, statusText());
                                    EXPECT_EQ(1, dlg.GetScanCount());
                                    Key(list, VK_ESCAPE);
                                })},
                               false);
    g_slowShare = false;
    EXPECT_EQ(IDCANCEL, result);
}

TEST_F(FolderTreeDlgTest, HelpOpensItsTopicAndEscapeCloses) {
    CFolderTreeDlg dlg(nullptr, app, settings, true);
    const INT_PTR result =
        Run(dlg, {Do([&] { ::PostMessageA(dlg.GetListHwnd(), WM_KEYDOWN, VK_F1, 1); }),
                  [&] { return !app.m_help.empty(); },
                  Do([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_HELP_BUTTON, 0); }),
                  [&] { return app.m_help.size() == 2; },
                  Do([&] { Key(dlg.GetListHwnd(), VK_ESCAPE); })});
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ((std::vector<std::string>{CFolderTreeDlg::kHelpTopic, CFolderTreeDlg::kHelpTopic}),
              app.m_help);
}

TEST_F(FolderTreeDlgTest, PlacementAndWidthsComeFromTheStoreAndGoBackToIt) {
    auto& section = app.m_store.Sections()[settings_names::kSection];
    view::WindowPlacementRecord record;
    record.length = sizeof(WINDOWPLACEMENT);
    record.showCmd = SW_SHOWNORMAL;
    record.normal = {40, 30, 740, 530};
    uint8_t placement[view::kPlacementSize];
    view::EncodePlacement(record, placement);
    section[stored_names::kTreePlacement] = {MemorySettingsStore::Kind::Binary,
                                             std::string(placement, placement + sizeof placement)};
    section[stored_names::kTreeColumns] = {MemorySettingsStore::Kind::Binary,
                                           Ints({150, 70, 140, 80, 50})};
    std::vector<int> widths;
    RECT window = {};
    {
        CFolderTreeDlg dlg(nullptr, app, settings, true);
        Run(dlg, {Do([&] {
                for (int c = 0; c < 5; ++c) {
                    widths.push_back(static_cast<int>(
                        ::SendMessageA(dlg.GetListHwnd(), LVM_GETCOLUMNWIDTH, c, 0)));
                }
                ::GetWindowRect(dlg.GetSafeHwnd(), &window);
                ::SendMessageA(dlg.GetListHwnd(), LVM_SETCOLUMNWIDTH, 0, 177);
                Key(dlg.GetListHwnd(), VK_ESCAPE);
            })});
    }
    EXPECT_EQ((std::vector<int>{150, 70, 140, 80, 50}), widths);
    EXPECT_EQ(700, window.right - window.left);
    EXPECT_EQ(500, window.bottom - window.top);
    // Five widths, as a version without the columns "Geändert" and "Änderung" kept them,
    // are read; the seven go back, the new ones at their defaults.
    EXPECT_EQ(Ints({177, 70, 140, 80, 50, 110, 90}), section[stored_names::kTreeColumns].bytes);
    EXPECT_EQ(view::kPlacementSize, section[stored_names::kTreePlacement].bytes.size());

    // A value of another size or type gives the defaults, and is replaced on closing.
    section[stored_names::kTreeColumns] = {MemorySettingsStore::Kind::Binary,
                                           Ints({150, 70, 140, 80}) + "x"};
    section[stored_names::kTreePlacement] = {MemorySettingsStore::Kind::Text, "40,30"};
    widths.clear();
    {
        CFolderTreeDlg dlg(nullptr, app, settings, true);
        Run(dlg, {Do([&] {
                for (int c = 0; c < 5; ++c) {
                    widths.push_back(static_cast<int>(
                        ::SendMessageA(dlg.GetListHwnd(), LVM_GETCOLUMNWIDTH, c, 0)));
                }
                Key(dlg.GetListHwnd(), VK_ESCAPE);
            })});
    }
    // The size columns as wide as "!! 5.368.941.430" needs in the list's font.
    EXPECT_EQ((std::vector<int>{230, 106, 130, 106, 60}), widths);
    EXPECT_EQ(MemorySettingsStore::Kind::Binary, section[stored_names::kTreePlacement].kind);
}

} // namespace
