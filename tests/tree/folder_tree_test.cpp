// The folder tree built from real scans: a hand-made mailbox whose every node is known,
// generated mailboxes of many seeds with damaged tables, and the deepest and longest
// tables, all checked against the invariants.
#include "folder_formats.h"
#include "mailbox_fixtures.h"
#include "mailgen.h"
#include "test_support.h"
#include "tree/tree_scan.h"
#include "tree/tree_text.h"
#include "tree_invariants.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using fixtures::HierarchyLine;
using testsupport::TempDir;
using testsupport::WriteFile;

void WritePmm(const TempDir& dir, const std::string& file, const std::string& name,
              const std::string& id, size_t body) {
    ASSERT_TRUE(WriteFile(dir / file, mailgen::PmmHeader(name, id) + std::string(body, 'm')));
}

ScanRequest SettingsFor(const TempDir& box, const TempDir& news, bool paths, bool newMail) {
    return {box.Path(), news.Path(), paths, newMail, "<Posteingang>"};
}

// The tree as text: one line per node in shown order, indented by depth, with name,
// total, own size and total files.
std::string Outline(const tree::FolderTree& t) {
    std::string text;
    for (uint32_t n : tree::ShownNodes(t, nullptr, -1)) {
        const tree::TreeNode& node = t.Nodes()[n];
        text += std::string(2 * node.depth, ' ') + t.DisplayName(static_cast<int>(n)) + " " +
                std::to_string(node.totalSize) + "/" + std::to_string(node.ownSize) + "/" +
                std::to_string(node.totalFiles) + "\n";
    }
    return text;
}

// A mailbox with every case of placement once: nesting, two files at one entry, a header
// name that differs, a file at a root, a missing parent, a loop, an unknown identifier,
// a tray no file reaches, and new mail.
class HandMadeTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFile(
            box / "hierarch.pm",
            HierarchyLine(2, "ROOT", "", "Mein Postfach") +
                HierarchyLine(1, "A", "ROOT", "Archiv") + HierarchyLine(1, "A1", "a", "2019") +
                HierarchyLine(1, "A2", "A", "2020") + HierarchyLine(3, "T", "ROOT", "Leer") +
                HierarchyLine(1, "K", "ROOT", "Kunden") + HierarchyLine(1, "O", "GONE", "Waise") +
                HierarchyLine(1, "L1", "L2", "Ring1") + HierarchyLine(1, "L2", "L1", "Ring2") +
                HierarchyLine(1, "A", "ROOT", "Doppelt")));
        WritePmm(box, "A1.PMM", "2019", "A1", 1000);     // 1128 bytes
        WritePmm(box, "A2.PMM", "Alt 2020", "a2", 2000); // 2128, found in another case
        WritePmm(box, "K1.PMM", "Kunden", "K", 100);     // 228: two files at one entry
        WritePmm(box, "K2.PMM", "Kunden", "K", 300);     // 428
        WritePmm(box, "R.PMM", "Wurzel", "ROOT", 0);     // 128 at the root itself
        WritePmm(box, "O.PMM", "Waise", "O", 50);        // 178 below a missing parent
        WritePmm(box, "L.PMM", "Ring", "L1", 22);        // 150 in a loop
        WritePmm(box, "X.PMM", "Fremd", "NIX", 72);      // 200 not in the table
        ASSERT_TRUE(WriteFile(news / "1.CNM", std::string(500, 'n')));
    }
    TempDir box;
    TempDir news;
};

TEST_F(HandMadeTree, PlacesEveryRowAndSumsEveryBranch) {
    tree::TreeScan scan;
    ASSERT_TRUE(scan.Run(SettingsFor(box, news, true, true)));
    EXPECT_EQ("", treecheck::TreeFault(scan));
    EXPECT_EQ("Archiv 3256/0/2\n"
              "  2020 (Alt 2020) 2128/2128/1\n"
              "  2019 1128/1128/1\n"
              "Kunden 656/656/2\n"
              "<\?\?\?> 528/0/3\n"
              "  Fremd 200/200/1\n"
              "  Waise 178/178/1\n"
              "  Ring2 150/0/1\n"
              "    Ring1 (Ring) 150/150/1\n"
              "<Posteingang> 500/500/1\n"
              "Mein Postfach (Wurzel) 128/128/1\n",
              Outline(scan.tree));
    EXPECT_EQ(scan.catalogue.totalSize, scan.tree.GrandTotal());
}

TEST_F(HandMadeTree, AFilterKeepsThePassingNodesAndTheWayDownToThem) {
    tree::TreeScan scan;
    ASSERT_TRUE(scan.Run(SettingsFor(box, news, true, true)));
    const auto kept = [&](const char* words, uint64_t minimum) {
        view::RowFilter filter;
        EXPECT_TRUE(filter.SetWords(words));
        filter.SetMinimumSize(minimum);
        const std::vector<uint8_t> flags =
            tree::NodesKeptBy(scan.tree, scan.catalogue.records, filter);
        std::string text;
        for (uint32_t n : tree::ShownNodes(scan.tree, nullptr, -1)) {
            if (flags[n] != 0) {
                text += std::string(flags[n] == tree::kNodePasses ? "" : "~") +
                        scan.tree.DisplayName(static_cast<int>(n)) + ";";
            }
        }
        return text;
    };
    // Words on the way down: "archiv" above, "2019" at the node.
    EXPECT_EQ("~Archiv;2019;", kept("ARCHIV 2019", 0));
    // A word of a name above lets the branch pass; one left out takes a node away.
    EXPECT_EQ("Archiv;2020 (Alt 2020);", kept("archiv -2019", 0));
    // The file's name counts, and the minimum is a node's total.
    EXPECT_EQ("~<\?\?\?>;Fremd;", kept("x.pmm", 0));
    EXPECT_EQ("Archiv;2020 (Alt 2020);", kept("", 2000));
}

TEST_F(HandMadeTree, WithoutTheTableEveryFileSitsBelowTheMailbox) {
    for (bool paths : {false, true}) {
        tree::TreeScan scan;
        if (paths) {
            // Paths wanted but "hierarch.pm" missing: the same tree as with paths off.
            ASSERT_TRUE(testsupport::RemoveFile(box / "hierarch.pm"));
        }
        EXPECT_EQ(!paths, scan.Run(SettingsFor(box, news, paths, false)));
        EXPECT_EQ("", treecheck::TreeFault(scan));
        const std::string name = tree::MailboxNodeName(box.Path());
        EXPECT_EQ(name + " 4568/0/8\n"
                         "  Alt 2020 2128/2128/1\n"
                         "  2019 1128/1128/1\n"
                         "  Kunden 428/428/1\n"
                         "  Kunden 228/228/1\n"
                         "  Fremd 200/200/1\n"
                         "  Waise 178/178/1\n"
                         "  Ring 150/150/1\n"
                         "  Wurzel 128/128/1\n",
                  Outline(scan.tree))
            << "paths " << paths;
    }
}

TEST_F(HandMadeTree, SortsByEveryColumnBothWays) {
    tree::TreeScan scan;
    scan.Run(SettingsFor(box, news, true, true));
    auto tops = [&] {
        std::string names;
        for (uint32_t k = 0; k < scan.tree.ChildCount(-1); ++k) {
            names += std::string(scan.tree.Name(scan.tree.ChildrenBegin(-1)[k])) + ";";
        }
        return names;
    };
    const struct {
        int column;
        bool descending;
        std::string order;
    } cases[] = {
        {tree::kTreeColumnName, false, "<\?\?\?>;<Posteingang>;Archiv;Kunden;Mein Postfach;"},
        {tree::kTreeColumnName, true, "Mein Postfach;Kunden;Archiv;<Posteingang>;<\?\?\?>;"},
        {tree::kTreeColumnTotal, false, "Mein Postfach;<Posteingang>;<\?\?\?>;Kunden;Archiv;"},
        {tree::kTreeColumnShare, true, "Archiv;Kunden;<\?\?\?>;<Posteingang>;Mein Postfach;"},
        // Equal own sizes (0) keep the name order whichever way the key runs.
        {tree::kTreeColumnOwn, true, "Kunden;<Posteingang>;Mein Postfach;<\?\?\?>;Archiv;"},
        {tree::kTreeColumnOwn, false, "<\?\?\?>;Archiv;Mein Postfach;<Posteingang>;Kunden;"},
        {tree::kTreeColumnFiles, true, "<\?\?\?>;Archiv;Kunden;<Posteingang>;Mein Postfach;"},
    };
    for (const auto& c : cases) {
        scan.tree.Sort(view::ColumnSort{c.column, c.descending});
        EXPECT_EQ(c.order, tops()) << c.column << " " << c.descending;
    }
    // A rescan keeps the sort.
    scan.Run(SettingsFor(box, news, true, true));
    EXPECT_EQ(cases[6].order, tops());
}

TEST_F(HandMadeTree, KeysNameTheSameNodesInTheNextScan) {
    tree::TreeScan first;
    first.Run(SettingsFor(box, news, true, true));
    WritePmm(box, "N.PMM", "Neu", "NIX2", 5000); // a new node, and a new order
    tree::TreeScan second;
    second.Run(SettingsFor(box, news, true, true));
    std::map<std::string, int> inSecond;
    for (size_t i = 0; i < second.tree.Nodes().size(); ++i) {
        inSecond[second.tree.Key(static_cast<int>(i))] = static_cast<int>(i);
    }
    EXPECT_EQ(second.tree.Nodes().size(), inSecond.size()) << "keys are unique";
    EXPECT_EQ(first.tree.Nodes().size() + 1, second.tree.Nodes().size());
    for (size_t i = 0; i < first.tree.Nodes().size(); ++i) {
        const std::string key = first.tree.Key(static_cast<int>(i));
        ASSERT_EQ(1u, inSecond.count(key)) << key;
        EXPECT_EQ(first.tree.Name(static_cast<int>(i)), second.tree.Name(inSecond[key]));
    }
}

// Loops and duplicate identifiers the generator does not write: lines put in front of
// its table take over some of its identifiers (the first entry of an identifier wins),
// so folder files land in loops and below missing parents.
std::string DamagingLines(uint32_t seed, const pmHierarch& table) {
    std::string lines;
    uint32_t x = seed * 2654435761u + 1;
    auto next = [&] { return x = x * 1664525u + 1013904223u; };
    const size_t n = table.Entries().size();
    for (int i = 0; n > 0 && i < 1 + static_cast<int>(seed % 5); ++i) {
        const std::string& taken = table.Entries()[next() % n].id;
        const std::string& other = table.Entries()[next() % n].id;
        const std::string ring = "RING" + std::to_string(i);
        switch (next() % 3) {
        case 0: // a loop of two through a new entry
            lines +=
                HierarchyLine(1, taken, ring, "Schleife") + HierarchyLine(1, ring, taken, "Ring");
            break;
        case 1: // a loop through another folder of the table
            lines +=
                HierarchyLine(1, taken, other, "Quer") + HierarchyLine(1, other, taken, "Zurück");
            break;
        default: // a parent that does not exist
            lines += HierarchyLine(1, taken, "FEHLT" + std::to_string(i), "Verwaist");
        }
    }
    return lines;
}

TEST(FolderTreeTest, InvariantsHoldOnGeneratedMailboxesOfManySeeds) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        TempDir box;
        TempDir news;
        mailgen::Options options;
        options.seed = seed;
        options.folders = 5 + static_cast<int>(seed * 7 % 60);
        options.maxDepth = 1 + static_cast<int>(seed % 7);
        options.roots = 1 + static_cast<int>(seed % 3);
        options.brokenFolders = seed % 4 == 0 ? 3 : 0;
        options.orphans = static_cast<int>(seed % 5);
        options.caseVariants = seed % 3 == 0;
        options.writeHierarchy = seed % 11 != 0;
        mailgen::Expectation expected;
        std::string error;
        ASSERT_TRUE(mailgen::Generate(box.Path(), news.Path(), options, expected, error)) << error;
        if (options.writeHierarchy && !options.caseVariants && seed % 2 == 0) {
            pmHierarch table;
            ASSERT_TRUE(table.Fill(box.Path()));
            ASSERT_TRUE(
                WriteFile(box / "hierarch.pm",
                          DamagingLines(seed, table) + testsupport::ReadFile(box / "hierarch.pm")));
        }
        for (int variant = 0; variant < 3; ++variant) {
            const bool paths = variant != 2;
            const bool newMail = variant != 1;
            tree::TreeScan scan;
            scan.Run(SettingsFor(box, news, paths, newMail));
            EXPECT_EQ("", treecheck::TreeFault(scan))
                << "seed " << seed << " paths " << paths << " new mail " << newMail;
            EXPECT_EQ(newMail, scan.details.newMailRow);
        }
    }
}

TEST(FolderTreeTest, AnEmptyMailboxHasNoNodesAndNoShares) {
    TempDir box;
    TempDir news;
    tree::TreeScan scan;
    scan.Run(SettingsFor(box, news, false, false));
    EXPECT_TRUE(scan.tree.Nodes().empty());
    EXPECT_EQ(0u, scan.tree.ChildCount(-1));
    scan.Run(SettingsFor(box, news, false, true)); // only the empty new-mail row
    ASSERT_EQ(1u, scan.tree.Nodes().size());
    EXPECT_EQ(0u, tree::ShareTenths(scan.tree.Nodes()[0].totalSize, scan.tree.GrandTotal()));
    EXPECT_EQ("", treecheck::TreeFault(scan));
}

TEST(FolderTreeTest, DeepChainsAndHugeTablesBuildWithoutDeepCalls) {
    // A chain of 100 000 entries with a file at its bottom, and the table made up to a
    // million lines with entries of which a few have files.
    TempDir box;
    TempDir news;
    const int depth = 100000;
    const int lines = 1000000;
    std::string table = HierarchyLine(2, "R", "", "Wurzel");
    table.reserve(static_cast<size_t>(lines) * 24);
    for (int i = 0; i < depth; ++i) {
        table += HierarchyLine(1, "C" + std::to_string(i),
                               i == 0 ? "R" : "C" + std::to_string(i - 1), "k");
    }
    for (int i = depth; i < lines - 1; ++i) {
        table += HierarchyLine(1, "W" + std::to_string(i), "R", "w");
    }
    ASSERT_TRUE(WriteFile(box / "hierarch.pm", table));
    WritePmm(box, "DEEP.PMM", "Tief", "C" + std::to_string(depth - 1), 10);
    WritePmm(box, "WIDE.PMM", "Breit", "W" + std::to_string(lines - 2), 20);
    tree::TreeScan scan;
    ASSERT_TRUE(scan.Run(SettingsFor(box, news, true, false)));
    EXPECT_EQ(static_cast<size_t>(depth + 1), scan.tree.Nodes().size());
    uint32_t deepest = 0;
    for (const tree::TreeNode& n : scan.tree.Nodes()) {
        deepest = n.depth > deepest ? n.depth : deepest;
    }
    EXPECT_EQ(static_cast<uint32_t>(depth - 1), deepest);
    EXPECT_EQ(static_cast<size_t>(depth + 1), tree::ShownNodes(scan.tree, nullptr, -1).size());
    EXPECT_EQ("", treecheck::TreeFault(scan));
}

} // namespace
