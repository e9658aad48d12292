// What every folder tree must satisfy, whatever the mailbox: the rows all placed once,
// sums that add up, no node its own ancestor, parents as the table names them, paths as
// the list shows them, siblings in order. Shared by the tests and the fuzz target, so it
// reports a fault as text instead of asserting.
#pragma once

#include "tree/tree_scan.h"
#include "view/folder_compare.h"

#include <string>
#include <vector>

namespace treecheck {

// The first fault found, or empty.
inline std::string TreeFault(const tree::TreeScan& scan) {
    using tree::NodeKind;
    const tree::FolderTree& t = scan.tree;
    const std::vector<tree::TreeNode>& nodes = t.Nodes();
    const FolderCatalogue& cat = scan.catalogue;
    const pmHierarch* h = scan.details.hierarchyRead ? &scan.details.hierarchy : nullptr;

    uint64_t topSize = 0;
    uint64_t topFiles = 0;
    uint64_t ownFiles = 0;
    for (uint32_t k = 0; k < t.ChildCount(-1); ++k) {
        const tree::TreeNode& top = nodes[t.ChildrenBegin(-1)[k]];
        if (top.parent != -1 || top.depth != 0) {
            return "a top node has a parent";
        }
        topSize += top.totalSize;
        topFiles += top.totalFiles;
    }
    if (topSize != cat.totalSize || topFiles != static_cast<uint64_t>(cat.fileCount)) {
        return "the top nodes do not add up to the catalogue's totals";
    }
    std::vector<int> entryNode(h ? h->Entries().size() : 0, -1);
    std::vector<int> seenAsChild(nodes.size(), 0);
    for (size_t i = 0; i < nodes.size(); ++i) {
        const tree::TreeNode& n = nodes[i];
        ownFiles += n.ownFiles;
        uint64_t size = n.ownSize;
        uint64_t files = n.ownFiles;
        for (uint32_t k = 0; k < n.childCount; ++k) {
            const uint32_t c = t.ChildrenBegin(static_cast<int>(i))[k];
            if (nodes[c].parent != static_cast<int>(i)) {
                return "a child names another parent";
            }
            ++seenAsChild[c];
            size += nodes[c].totalSize;
            files += nodes[c].totalFiles;
            if (k > 0) {
                const uint32_t p = t.ChildrenBegin(static_cast<int>(i))[k - 1];
                const int byName = view::CompareFoldedText(t.Name(p), t.Name(c));
                if (nodes[p].totalSize < nodes[c].totalSize ||
                    (nodes[p].totalSize == nodes[c].totalSize && byName > 0)) {
                    return "siblings out of order";
                }
            }
        }
        if (size != n.totalSize || files != n.totalFiles) {
            return "a total is not its own size plus its children's totals";
        }
        if (n.totalFiles == 0) {
            return "a node that no file reaches";
        }
        // One level below its parent: depths fall strictly on the way up, so the way
        // ends at a top node and no node is its own ancestor.
        if (n.parent >= 0 &&
            (n.parent >= static_cast<int>(nodes.size()) || n.depth != nodes[n.parent].depth + 1)) {
            return "a node is not one level below its parent";
        }
        if (n.kind == NodeKind::kEntry) {
            if (!h || entryNode[n.entry] >= 0) {
                return "an entry with two nodes";
            }
            entryNode[n.entry] = static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (seenAsChild[i] != (nodes[i].parent >= 0 ? 1 : 0)) {
            return "a node missing from its parent's children";
        }
        const tree::TreeNode& n = nodes[i];
        if (n.kind == NodeKind::kEntry && n.parent >= 0 &&
            nodes[n.parent].kind == NodeKind::kEntry &&
            h->ParentIndex(n.entry) != nodes[n.parent].entry) {
            return "an entry below another than its parent";
        }
        if (n.kind == NodeKind::kEntry && n.parent < 0 && !h->IsRoot(n.entry) &&
            (h->ParentIndex(n.entry) < 0 || !h->IsRoot(h->ParentIndex(n.entry)))) {
            return "a top entry that is not below a root";
        }
    }
    if (ownFiles != cat.records.size()) {
        return "rows placed more or less than once";
    }
    // Each row: at the node of its entry with the path the list shows, or below "<???>"
    // where the list's path starts with it.
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].kind == NodeKind::kFile || nodes[i].kind == NodeKind::kNewMail) {
            if (nodes[i].record < 0 || nodes[i].ownFiles != 1) {
                return "a file node without its row";
            }
        }
    }
    if (scan.details.newMailRow && !cat.records.empty() &&
        (nodes.empty() || t.Name(0) != cat.records[0].folderName)) {
        return "the new-mail row has no node of its own";
    }
    if (!h) {
        return std::string();
    }
    for (size_t i = 0; i < nodes.size(); ++i) {
        const tree::TreeNode& n = nodes[i];
        if (n.kind != NodeKind::kEntry || n.ownFiles != 1 || n.record < 0) {
            continue;
        }
        std::vector<int> way;
        int at = n.parent;
        for (; at >= 0 && nodes[at].kind == NodeKind::kEntry; at = nodes[at].parent) {
            way.push_back(at);
        }
        std::string expected = at >= 0 ? "<\?\?\?>" : "";
        for (size_t k = way.size(); k-- > 0;) {
            expected += '\\';
            expected += t.Name(way[k]);
        }
        if (!h->IsRoot(n.entry)) {
            expected += '\\';
        }
        // Below "<???>" the path is the same where a missing parent ended the way; where
        // a loop did, the list's walk may have been cut at another step of it.
        const int topEntry = nodes[way.empty() ? static_cast<int>(i) : way.back()].entry;
        const bool exact = at < 0 || h->ParentIndex(topEntry) < 0;
        const std::string& shown = cat.records[n.record].folderPath;
        // A path past the list's bound keeps only its end, a loop's included.
        KeepPathEnd(expected, pmHierarch::kMaxPathLength);
        const bool cut = expected.size() == pmHierarch::kMaxPathLength &&
                         shown.size() == pmHierarch::kMaxPathLength;
        if (exact || cut ? shown != expected : shown.compare(0, 5, "<\?\?\?>") != 0) {
            return "a path that is not the list's: " + expected + " against " + shown;
        }
    }
    return std::string();
}

} // namespace treecheck
