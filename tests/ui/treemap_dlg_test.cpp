// The window Ordnerkarte run in-process on a hand-made mailbox: what only the window
// shows. Its rules (neighbours, zoom, keeping both across scans) are tested natively in
// treemap_nav_test; here the mouse reaches the status line and the selection, the keys
// reach the zoom and the moves, and closing stores its colour and placement.
#include "folder_formats.h"
#include "recording_app.h"
#include "resource.h"
#include "settings/program_settings.h"
#include "sizes/size_text.h"
#include "test_support.h"
#include "tree/treemap_nav.h"
#include "ui/treemap_dlg.h"
#include "ui_script_win32.h"
#include "view/placement.h"
#include "view/stored_values.h"

#include <gtest/gtest.h>

namespace {

using testsupport::UiScript;

std::string HierarchyEntry(const std::string& id, const std::string& parent,
                           const std::string& name) {
    return mailgen::HierarchyLine(parent.empty() ? 2 : 1, 0, id, parent, name) + "\r\n";
}

// Where a node's tile is: a point inside it that no child covers (its name band for a
// branch, else its middle), and its rectangle.
tree::TreemapRect RectOf(const CTreemapDlg& dlg, int node) {
    const int32_t tile = node >= 0 ? dlg.GetMap().tileOfNode[static_cast<size_t>(node)] : -1;
    return tile >= 0 ? dlg.GetMap().tiles[static_cast<size_t>(tile)].rect : tree::TreemapRect{};
}

LPARAM PointIn(const CTreemapDlg& dlg, int node) {
    const tree::TreemapRect r = RectOf(dlg, node);
    const bool branch = dlg.GetTree().ChildCount(node) > 0;
    return MAKELPARAM(branch ? r.left + 4 : (r.left + r.right) / 2,
                      branch ? r.top + 3 : (r.top + r.bottom) / 2);
}

int NodeNamed(const CTreemapDlg& dlg, const std::string& path) {
    for (size_t n = 0; n < dlg.GetTree().Nodes().size(); ++n) {
        if (tree::NodePath(dlg.GetTree(), static_cast<int>(n)) == path) {
            return static_cast<int>(n);
        }
    }
    return -1;
}

UiScript::Step Do(std::function<void()> action) {
    return [action] {
        action();
        return true;
    };
}

// "Archiv" with "2019" and "2020", and "Kunden", in `box`.
SharedScanResult ScanOfSmallMailbox(const testsupport::TempDir& box) {
    EXPECT_TRUE(testsupport::WriteFile(
        box / "hierarch.pm",
        HierarchyEntry("ROOT", "", "Mein Postfach") + HierarchyEntry("A", "ROOT", "Archiv") +
            HierarchyEntry("A1", "A", "2019") + HierarchyEntry("A2", "A", "2020") +
            HierarchyEntry("K", "ROOT", "Kunden")));
    for (const auto& [id, body] :
         {std::pair<std::string, size_t>{"A1", 1000}, {"A2", 600}, {"K", 300}}) {
        EXPECT_TRUE(testsupport::WriteFile(box / (id + ".PMM"),
                                           mailgen::PmmHeader(id, id) + std::string(body, 'm')));
    }
    ScanRequest request;
    request.mailboxDir = box.Path();
    return RunScan(request);
}

TEST(TreemapDlgTest, MouseAndKeysReachStatusSelectionZoomAndMovesAndClosingStoresItsState) {
    testsupport::TempDir box;
    RecordingApp app;
    CTreemapDlg dlg(nullptr, app, false, ScanOfSmallMailbox(box));
    HWND hwnd = nullptr;
    int archiv = -1;
    int kunden = -1;
    std::vector<std::string> statuses;
    std::vector<int> roots;
    std::vector<int> selections;
    const auto note = [&] {
        statuses.push_back(testsupport::WindowText(dlg.GetStatusHwnd()));
        roots.push_back(dlg.GetRoot());
        selections.push_back(dlg.GetSelectedNode());
    };
    const auto key = [&](WPARAM vk) {
        return Do([&, vk] { ::PostMessageA(hwnd, WM_KEYDOWN, vk, 1); });
    };
    // Each arrow from "Kunden": the tile it moves to lies wholly beyond that edge.
    std::vector<std::pair<tree::TreemapRect, tree::TreemapRect>> moves;
    std::vector<UiScript::Step> steps = {
        [&] {
            hwnd = dlg.GetSafeHwnd();
            return hwnd != nullptr && dlg.IsWindowVisible() && !dlg.GetMap().tiles.empty();
        },
        Do([&] {
            archiv = NodeNamed(dlg, "\\Archiv");
            kunden = NodeNamed(dlg, "\\Kunden");
            ::PostMessageA(hwnd, WM_MOUSEMOVE, 0, PointIn(dlg, NodeNamed(dlg, "\\Archiv\\2020")));
        }),
        Do(note),
        Do([&] { ::PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, PointIn(dlg, archiv)); }),
        Do([&] { ::PostMessageA(hwnd, WM_MOUSELEAVE, 0, 0); }),
        Do(note),
        key(VK_RETURN),
        Do(note),
        key(VK_BACK),
        Do(note),
    };
    for (const WPARAM arrow : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
        steps.push_back(
            Do([&] { ::PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, PointIn(dlg, kunden)); }));
        steps.push_back(key(arrow));
        steps.push_back(Do(
            [&] { moves.emplace_back(RectOf(dlg, kunden), RectOf(dlg, dlg.GetSelectedNode())); }));
    }
    steps.push_back(Do([&] { ::PostMessageA(hwnd, WM_COMMAND, ID_TREEMAP_COLOUR_AGE, 0); }));
    steps.push_back(key(VK_ESCAPE));
    UiScript script(std::move(steps));
    EXPECT_EQ(IDCANCEL, app.RunModal(dlg));
    ASSERT_TRUE(script.Finished()) << "the script did not run to its end";

    // 128-byte headers: 1128 + 728 of 2284 bytes below "Archiv".
    const auto exact = [](uint64_t n) { return FormatSize(n, SizeStyle::Exact); };
    ASSERT_EQ(4u, statuses.size());
    EXPECT_EQ("\\Archiv\\2020   " + exact(728) + "   31,9 %", statuses[0]);
    EXPECT_EQ("\\Archiv   " + exact(1856) + "   81,3 %", statuses[1]) << "the click selects";
    // Enter zooms into the selected branch, Backspace goes back up with it selected.
    EXPECT_EQ((std::vector<int>{-1, -1, archiv, -1}), roots);
    EXPECT_EQ(archiv, selections[1]);
    EXPECT_NE(archiv, selections[2]);
    EXPECT_EQ(archiv, selections[3]);
    ASSERT_EQ(4u, moves.size());
    const int moved[] = {
        moves[0].second.right <= moves[0].first.left, moves[1].second.left >= moves[1].first.right,
        moves[2].second.bottom <= moves[2].first.top, moves[3].second.top >= moves[3].first.bottom};
    int stayed = 0;
    for (size_t d = 0; d < 4; ++d) {
        const bool same = moves[d].first.left == moves[d].second.left &&
                          moves[d].first.top == moves[d].second.top;
        stayed += same ? 1 : 0;
        EXPECT_TRUE(same || moved[d]) << "direction " << d;
    }
    EXPECT_LT(stayed, 4) << "some arrow moves away from \"Kunden\"";
    ASSERT_TRUE(app.m_store.Open(settings_names::kSection));
    EXPECT_EQ(1, app.m_store.ReadInt(stored_names::kTreemapColour, -1));
    EXPECT_EQ(view::kPlacementSize,
              app.m_store.Sections()[settings_names::kSection][stored_names::kTreemapPlacement]
                  .bytes.size());
}

TEST(TreemapDlgTest, APictureIsSavedAsPngOrSvgButNeverIntoTheMailbox) {
    testsupport::TempDir box;
    testsupport::TempDir out;
    RecordingApp app;
    CTreemapDlg dlg(nullptr, app, false, ScanOfSmallMailbox(box));
    // The saves ask for these in turn: the refused one asks again; none left cancels.
    std::vector<std::string> answers = {box / "karte.png", out / "karte.png", out / "karte.svg"};
    dlg.SetSavePrompt([&](HWND, const std::string&, std::string& path, int&) {
        if (answers.empty()) {
            return false;
        }
        path = answers.front();
        answers.erase(answers.begin());
        return true;
    });
    UiScript script({[&] { return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible(); },
                     Do([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_TREEMAP_SAVE, 0); }),
                     Do([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, ID_TREEMAP_SAVE, 0); }),
                     Do([&] { ::PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0); })});
    app.RunModal(dlg);
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<uint32_t>{IDS_ERROR_007}), app.m_errors);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((box / "karte.png").c_str()));
    EXPECT_EQ(0u, testsupport::ReadFile(out / "karte.png").find("\x89PNG\r\n"));
    const std::string svg = testsupport::ReadFile(out / "karte.svg");
    EXPECT_NE(std::string::npos, svg.find("<svg")) << svg.substr(0, 80);
    EXPECT_NE(std::string::npos, svg.find("Kunden")) << "the tiles with their titles";
}

} // namespace
