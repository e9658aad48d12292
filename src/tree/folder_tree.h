// The folder tree of one scan: every row of the catalogue placed at the entry of
// "hierarch.pm" its header identifier finds (the scan's FindIndex), each entry below the
// parent the walk up the table gives (as in ResolvePath), with own and total sizes and
// file counts per node. Rows the table cannot place gather under pseudo nodes at the top. Built
// without recursion, so neither a chain of any depth nor a loop of parents can exhaust the stack.
#pragma once

#include "mailbox/folder_catalogue.h"
#include "mailbox/folder_limit.h"
#include "sizes/byte_change.h"
#include "view/folder_rows.h"
#include "view/sort_compare.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tree {

enum class NodeKind : uint8_t {
    kEntry,   // an entry of the table (folder or tray)
    kFile,    // a folder file that no entry stands for: under "<???>" or the mailbox node
    kUnknown, // "<???>": what the table cannot place
    kNewMail, // the new-mail row
    kMailbox, // paths off or no table: every folder file sits below this node
};

// 64 bytes: the tree of a large mailbox keeps one of these per node and an index of its
// children, nothing else.
struct TreeNode {
    int64_t newestChange = 0; // the latest lastWrite of the branch's files; 0 unknown
    uint64_t ownSize = 0;     // the folder files sitting at this node
    uint64_t totalSize = 0;   // own plus every descendant's
    uint32_t ownFiles = 0;
    uint32_t totalFiles = 0;
    int32_t parent = -1;     // -1 for a top node
    uint32_t firstChild = 0; // position of the first child in Children()
    uint32_t childCount = 0;
    int32_t entry = -1;  // position in the table for kEntry
    int32_t record = -1; // the row for kFile, kNewMail, and for kEntry with exactly one file
    uint32_t depth = 0;  // 0 for a top node
    NodeKind kind = NodeKind::kEntry;
    FolderLimit ownLimit = FolderLimit::kBelow; // the worst of the files sitting here
};

// The columns of the tree, in the order the window shows them.
enum TreeColumn {
    kTreeColumnName = 0,
    kTreeColumnTotal = 1,
    kTreeColumnShare = 2, // follows the total
    kTreeColumnOwn = 3,
    kTreeColumnFiles = 4,   // total file count
    kTreeColumnChanged = 5, // the newest change in the branch
    kTreeColumnChange = 6,  // the branch's change since a day of the history
    kTreeColumnCount = 7,
};

// The largest branches first.
constexpr view::ColumnSort kDefaultTreeSort{kTreeColumnTotal, true};

class FolderTree {
public:
    // Rebuilds the tree from `catalogue` and `details` of the same scan. Without a
    // table (paths off, or "hierarch.pm" unreadable) every folder file sits below one
    // top node named `mailboxName`. Both must outlive the tree and stay unchanged: the
    // nodes' names are read from them. Siblings come sorted by the default sort.
    void Build(const FolderCatalogue& catalogue, const ScanDetails& details,
               const std::string& mailboxName);

    // Each branch's change in `set` (of the scan the tree was built from): the changes
    // of the files below it, and of the files gone since, each counted in the branch of
    // its folder when the tree still has that folder, else of the nearest folder above
    // it that it has; a gone file the tree has no folder of counts in no branch. A set
    // that does not fit the scan clears the changes. Sorts again when sorted by them.
    void SetChanges(const view::FolderChangeSet& set);
    bool HasChanges() const { return !m_branchChanges.empty(); }
    // `node`'s branch change; none without changes.
    ByteChange BranchChange(int node) const {
        return HasChanges() ? m_branchChanges[static_cast<size_t>(node)] : ByteChange();
    }

    // Orders every node's children by `sort`: the key column in its direction, ties by
    // name ascending with the list's text comparison, then by the order of the build.
    void Sort(const view::ColumnSort& sort);

    const std::vector<TreeNode>& Nodes() const { return m_nodes; }
    // The children of `node` in their order, or the top nodes for -1.
    const uint32_t* ChildrenBegin(int node) const;
    uint32_t ChildCount(int node) const;
    uint64_t GrandTotal() const { return m_grandTotal; }

    // The node's own name: the entry's name, the header name of a lone file, the label
    // of the new mail, "<???>" or the mailbox's name.
    std::string_view Name(int node) const;
    // What the tree shows: the name, and for an entry with exactly one folder file whose
    // header name differs, that name after it in parentheses.
    std::string DisplayName(int node) const;
    // A text that names the same node in another build of the same mailbox, for keeping
    // open branches and the selection across a rescan.
    std::string Key(int node) const;

private:
    int NewNode(NodeKind kind, int parent, int entry, int record);
    void AddFile(int node, size_t record);
    // Every node after its parent: the top nodes, then level by level.
    std::vector<uint32_t> TopDown() const;
    // The node standing for each folder text ("\Archiv\2019", folded) the records show,
    // for placing gone files.
    void IndexFolders(std::vector<std::pair<std::string, int>>& index) const;
    void PlaceEntries(const pmHierarch& hierarchy, const std::vector<int32_t>& entryIndex,
                      size_t firstRow);
    void LinkChildren();
    void AddUp();

    const FolderCatalogue* m_pCatalogue = nullptr;
    const pmHierarch* m_pHierarchy = nullptr;
    std::string m_strMailboxName;
    std::vector<TreeNode> m_nodes;
    std::vector<int32_t> m_recordNode;       // the node each record sits at
    std::vector<ByteChange> m_branchChanges; // per node; empty without changes
    std::vector<uint32_t> m_children;        // every node's children, one run per node, then tops
    uint32_t m_nTopBegin = 0;
    uint32_t m_nTopCount = 0;
    uint64_t m_grandTotal = 0;
    view::ColumnSort m_sort = kDefaultTreeSort;
};

} // namespace tree
