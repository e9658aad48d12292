// Building the folder tree. Each entry a file reaches is placed once, by the walk up
// its parents that ResolvePath takes; the tree keeps parent positions and one array of
// children runs, and sums sizes in one pass from the leaves up, in an order found by a
// breadth-first pass from the top nodes: nothing here recurses.
#include "tree/folder_tree.h"

#include "view/folder_compare.h"

#include <algorithm>
#include <numeric>

namespace tree {

namespace {

// Written with escapes: "??>" would be a trigraph.
const char kUnknownName[] = "<\?\?\?>";
constexpr int32_t kOnTheWalk = -2; // parent of a node whose walk has not ended yet

} // namespace

int FolderTree::NewNode(NodeKind kind, int parent, int entry, int record) {
    TreeNode node;
    node.kind = kind;
    node.parent = parent;
    node.entry = entry;
    node.record = record;
    m_nodes.push_back(node);
    return static_cast<int>(m_nodes.size() - 1);
}

void FolderTree::Build(const FolderCatalogue& catalogue, const ScanDetails& details,
                       const std::string& mailboxName) {
    m_pCatalogue = &catalogue;
    m_pHierarchy = details.hierarchyRead ? &details.hierarchy : nullptr;
    m_strMailboxName = mailboxName;
    m_nodes.clear();
    m_children.clear();
    m_branchChanges.clear();
    m_recordNode.assign(catalogue.records.size(), -1);
    m_grandTotal = catalogue.totalSize;
    // At most a node per row, per entry and two pseudo nodes: one allocation, trimmed
    // below when a large table left most of it unused.
    const size_t entries = details.hierarchyRead ? details.hierarchy.Entries().size() : 0;
    m_nodes.reserve(catalogue.records.size() + entries + 2);

    const size_t rows = catalogue.records.size();
    size_t firstRow = 0;
    if (details.newMailRow && rows > 0) {
        AddFile(NewNode(NodeKind::kNewMail, -1, -1, 0), 0);
        firstRow = 1;
    }
    if (m_pHierarchy && details.entryIndex.size() == rows) {
        PlaceEntries(*m_pHierarchy, details.entryIndex, firstRow);
    } else {
        m_pHierarchy = nullptr;
        int top = -1;
        for (size_t r = firstRow; r < rows; ++r) {
            if (top < 0) {
                top = NewNode(NodeKind::kMailbox, -1, -1, -1);
            }
            AddFile(NewNode(NodeKind::kFile, top, -1, static_cast<int>(r)), r);
        }
    }
    if (m_nodes.capacity() - m_nodes.size() > m_nodes.size() / 8) {
        m_nodes.shrink_to_fit();
    }
    LinkChildren();
    AddUp();
    Sort(m_sort);
}

void FolderTree::PlaceEntries(const pmHierarch& hierarchy, const std::vector<int32_t>& entryIndex,
                              size_t firstRow) {
    const std::vector<FolderRecord>& records = m_pCatalogue->records;
    std::vector<int32_t> entryNode(hierarchy.Entries().size(), -1);
    int unknown = -1;
    auto unknownNode = [&] {
        if (unknown < 0) {
            unknown = NewNode(NodeKind::kUnknown, -1, -1, -1);
        }
        return unknown;
    };
    for (size_t r = firstRow; r < records.size(); ++r) {
        const int entry = entryIndex[r];
        if (entry < 0 || entry >= static_cast<int>(entryNode.size())) {
            AddFile(NewNode(NodeKind::kFile, unknownNode(), -1, static_cast<int>(r)), r);
            continue;
        }
        if (entryNode[entry] < 0) {
            // The walk of ResolvePath, placing each entry on the way that has no node
            // yet; it stops at the first entry placed before. A file found at a root
            // itself sits at a top node of that root's own.
            // Nodes are numbered in the order they are made, so those from walkStart
            // on are the ones on this walk.
            const int walkStart = static_cast<int>(m_nodes.size());
            int at = entry;
            int node = entryNode[at] = NewNode(NodeKind::kEntry, kOnTheWalk, at, -1);
            while (!hierarchy.IsRoot(at)) {
                const int parent = hierarchy.ParentIndex(at);
                if (parent < 0) {
                    m_nodes[node].parent = unknownNode();
                    break;
                }
                if (hierarchy.IsRoot(parent)) {
                    break;
                }
                if (entryNode[parent] >= 0) {
                    // A parent already on this walk closes a loop. The loop is cut here,
                    // at the step that would return to it, as ResolvePath ends its walk:
                    // the first file that reaches a loop finds in the tree the names its
                    // folder path shows after "<???>".
                    m_nodes[node].parent =
                        entryNode[parent] >= walkStart ? unknownNode() : entryNode[parent];
                    break;
                }
                const int up = NewNode(NodeKind::kEntry, kOnTheWalk, parent, -1);
                entryNode[parent] = up;
                m_nodes[node].parent = up;
                node = up;
                at = parent;
            }
            if (m_nodes[node].parent == kOnTheWalk) {
                m_nodes[node].parent = -1; // ended below a root, or at one
            }
        }
        TreeNode& node = m_nodes[entryNode[entry]];
        node.record = node.ownFiles == 0 ? static_cast<int>(r) : -1;
        AddFile(entryNode[entry], r);
    }
}

void FolderTree::LinkChildren() {
    // Counting sort by parent: one run per node in node order, the top nodes last.
    const size_t n = m_nodes.size();
    std::vector<uint32_t> start(n + 2, 0);
    for (const TreeNode& node : m_nodes) {
        ++start[(node.parent < 0 ? n : static_cast<size_t>(node.parent)) + 1];
    }
    std::partial_sum(start.begin(), start.end(), start.begin());
    for (size_t i = 0; i < n; ++i) {
        m_nodes[i].firstChild = start[i];
        m_nodes[i].childCount = start[i + 1] - start[i];
    }
    m_nTopBegin = start[n];
    m_nTopCount = start[n + 1] - start[n];
    m_children.assign(n, 0);
    for (size_t i = 0; i < n; ++i) {
        const int parent = m_nodes[i].parent;
        m_children[start[parent < 0 ? n : static_cast<size_t>(parent)]++] =
            static_cast<uint32_t>(i);
    }
}

void FolderTree::AddFile(int at, size_t row) {
    const FolderRecord& record = m_pCatalogue->records[row];
    m_recordNode[row] = at;
    TreeNode& node = m_nodes[static_cast<size_t>(at)];
    node.ownSize += record.size;
    ++node.ownFiles;
    node.newestChange = std::max(node.newestChange, record.lastWrite);
    node.ownLimit = std::max(node.ownLimit, LimitOf(record));
}

std::vector<uint32_t> FolderTree::TopDown() const {
    std::vector<uint32_t> order;
    order.reserve(m_nodes.size());
    order.insert(order.end(), m_children.begin() + m_nTopBegin,
                 m_children.begin() + m_nTopBegin + m_nTopCount);
    for (size_t k = 0; k < order.size(); ++k) {
        const TreeNode& node = m_nodes[order[k]];
        order.insert(order.end(), m_children.begin() + node.firstChild,
                     m_children.begin() + node.firstChild + node.childCount);
    }
    return order;
}

void FolderTree::AddUp() {
    // Breadth first from the top: every node comes after its parent, so going through
    // the order backwards adds each total to its parent's after it is complete.
    const std::vector<uint32_t> order = TopDown();
    for (uint32_t at : order) {
        TreeNode& node = m_nodes[at];
        node.depth = node.parent < 0 ? 0 : m_nodes[node.parent].depth + 1;
        node.totalSize = node.ownSize;
        node.totalFiles = node.ownFiles;
    }
    for (size_t k = order.size(); k-- > 0;) {
        const TreeNode& node = m_nodes[order[k]];
        if (node.parent >= 0) {
            m_nodes[node.parent].totalSize += node.totalSize;
            m_nodes[node.parent].totalFiles += node.totalFiles;
            int64_t& newest = m_nodes[node.parent].newestChange;
            newest = std::max(newest, node.newestChange);
        }
    }
}

namespace {

std::string FoldedFolder(std::string_view path, std::string_view name) {
    std::string text;
    view::AppendFolded(text, path);
    view::AppendFolded(text, name);
    while (!text.empty() && text.back() == '\\') {
        text.pop_back();
    }
    return text;
}

} // namespace

void FolderTree::IndexFolders(std::vector<std::pair<std::string, int>>& index) const {
    // A file's folder text names its node, and the path before the name the node's
    // parent; the first file of a text decides, as the report matches names.
    const std::vector<FolderRecord>& records = m_pCatalogue->records;
    for (size_t r = 0; r < records.size(); ++r) {
        const int node = m_recordNode[r];
        if (node < 0 || m_nodes[static_cast<size_t>(node)].kind != NodeKind::kEntry) {
            continue;
        }
        index.emplace_back(FoldedFolder(records[r].folderPath, records[r].folderName), node);
        const int parent = m_nodes[static_cast<size_t>(node)].parent;
        if (parent >= 0 && m_nodes[static_cast<size_t>(parent)].kind == NodeKind::kEntry) {
            index.emplace_back(FoldedFolder(records[r].folderPath, ""), parent);
        }
    }
    std::stable_sort(index.begin(), index.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

void FolderTree::SetChanges(const view::FolderChangeSet& set) {
    m_branchChanges.clear();
    const size_t records = m_recordNode.size();
    if (set.changes.size() != records + set.removed.size() || set.changes.empty()) {
        return;
    }
    m_branchChanges.assign(m_nodes.size(), ByteChange());
    for (size_t r = 0; r < records; ++r) {
        if (m_recordNode[r] >= 0) {
            ByteChange& sum = m_branchChanges[static_cast<size_t>(m_recordNode[r])];
            sum = AddChanges(sum, set.changes[r].bytes);
        }
    }
    if (!set.removed.empty()) {
        std::vector<std::pair<std::string, int>> index;
        IndexFolders(index);
        for (size_t i = 0; i < set.removed.size(); ++i) {
            std::string folder = FoldedFolder(set.removed[i].folderPath, set.removed[i].folderName);
            // The folder itself, else each folder above it, nearest first.
            while (!folder.empty()) {
                const auto at = std::lower_bound(
                    index.begin(), index.end(), folder,
                    [](const auto& entry, const std::string& key) { return entry.first < key; });
                if (at != index.end() && at->first == folder) {
                    ByteChange& sum = m_branchChanges[static_cast<size_t>(at->second)];
                    sum = AddChanges(sum, set.changes[records + i].bytes);
                    break;
                }
                const size_t cut = folder.rfind('\\');
                folder.resize(cut == std::string::npos ? 0 : cut);
            }
        }
    }
    const std::vector<uint32_t> order = TopDown();
    for (size_t k = order.size(); k-- > 0;) {
        const int parent = m_nodes[order[k]].parent;
        if (parent >= 0) {
            ByteChange& sum = m_branchChanges[static_cast<size_t>(parent)];
            sum = AddChanges(sum, m_branchChanges[order[k]]);
        }
    }
    if (m_sort.column == kTreeColumnChange) {
        Sort(m_sort);
    }
}

const uint32_t* FolderTree::ChildrenBegin(int node) const {
    return m_children.data() + (node < 0 ? m_nTopBegin : m_nodes[node].firstChild);
}

uint32_t FolderTree::ChildCount(int node) const {
    return node < 0 ? m_nTopCount : m_nodes[node].childCount;
}

void FolderTree::Sort(const view::ColumnSort& sort) {
    m_sort = sort;
    auto key = [&](uint32_t x, uint32_t y) -> int {
        const TreeNode& a = m_nodes[x];
        const TreeNode& b = m_nodes[y];
        switch (sort.column) {
        case kTreeColumnName:
            return 0;
        case kTreeColumnOwn:
            return a.ownSize < b.ownSize ? -1 : (a.ownSize > b.ownSize ? 1 : 0);
        case kTreeColumnFiles:
            return a.totalFiles < b.totalFiles ? -1 : (a.totalFiles > b.totalFiles ? 1 : 0);
        case kTreeColumnChanged:
            return a.newestChange < b.newestChange ? -1 : (a.newestChange > b.newestChange ? 1 : 0);
        case kTreeColumnChange:
            return HasChanges() ? CompareChanges(m_branchChanges[x], m_branchChanges[y]) : 0;
        default: // the share follows the total
            return a.totalSize < b.totalSize ? -1 : (a.totalSize > b.totalSize ? 1 : 0);
        }
    };
    const bool nameKey = sort.column == kTreeColumnName;
    auto less = [&](uint32_t a, uint32_t b) {
        int r = key(a, b);
        if (r != 0) {
            return sort.descending ? r > 0 : r < 0;
        }
        r = view::CompareFoldedText(Name(static_cast<int>(a)), Name(static_cast<int>(b)));
        if (r != 0) {
            return nameKey && sort.descending ? r > 0 : r < 0;
        }
        return a < b;
    };
    // Sorting each run by itself keeps every node's children together.
    for (const TreeNode& node : m_nodes) {
        std::sort(m_children.begin() + node.firstChild,
                  m_children.begin() + node.firstChild + node.childCount, less);
    }
    std::sort(m_children.begin() + m_nTopBegin, m_children.begin() + m_nTopBegin + m_nTopCount,
              less);
}

std::string_view FolderTree::Name(int node) const {
    const TreeNode& n = m_nodes[node];
    switch (n.kind) {
    case NodeKind::kEntry:
        return m_pHierarchy->Entries()[n.entry].name;
    case NodeKind::kUnknown:
        return kUnknownName;
    case NodeKind::kMailbox:
        return m_strMailboxName;
    default: // a lone file and the new mail show the row's name
        return m_pCatalogue->records[n.record].folderName;
    }
}

std::string FolderTree::DisplayName(int node) const {
    const TreeNode& n = m_nodes[node];
    std::string name(Name(node));
    if (n.kind == NodeKind::kEntry && n.ownFiles == 1 && n.record >= 0) {
        const std::string& header = m_pCatalogue->records[n.record].folderName;
        if (header != name) {
            name += " (" + header + ")";
        }
    }
    return name;
}

std::string FolderTree::Key(int node) const {
    const TreeNode& n = m_nodes[node];
    switch (n.kind) {
    case NodeKind::kEntry:
        return "E" + m_pHierarchy->Entries()[n.entry].id;
    case NodeKind::kFile:
        return "F" + m_pCatalogue->records[n.record].fileName;
    case NodeKind::kUnknown:
        return "U";
    case NodeKind::kNewMail:
        return "N";
    default:
        return "M";
    }
}

} // namespace tree
