// The tree window's rows: open branches as one flag per node, the shown rows made again
// from them after every change, the selection held as a node so it survives a new
// order or a new scan.
#include "tree/tree_rows.h"

#include "platform/keyed_hash.h"
#include "sizes/date_text.h"
#include "tree/tree_scan.h"
#include "tree/tree_text.h"
#include "tree/treemap_nav.h"
#include "view/list_rules.h"

#include <algorithm>
#include <string>

namespace tree {

namespace {

constexpr uint32_t kMaxIndent = 200;
// The gap between the bar at its longest and the percentage, at 96 DPI.
constexpr int kShareTextGap = 4;

} // namespace

bool DescendingOnFirstClick(int column) {
    return column != kTreeColumnName;
}

void TreeRows::SetResult(SharedScanResult result, const view::FolderChangeSet& changes) {
    // Open branches and the selection by their keys, which name the same nodes in the
    // next scan.
    const bool first = m_pResult == nullptr;
    platform::KeyedSet open;
    std::string selected;
    for (size_t n = 0; n < m_expanded.size(); ++n) {
        if (m_expanded[n]) {
            open.insert(m_tree.Key(static_cast<int>(n)));
        }
    }
    if (m_nSelectedNode >= 0) {
        selected = m_tree.Key(m_nSelectedNode);
    }
    FolderTree next;
    next.Sort(m_sort);
    next.Build(result->catalogue, result->details, MailboxNodeName(result->request.mailboxDir));
    next.SetChanges(changes);
    m_tree = std::move(next);
    m_pResult = std::move(result);
    const std::vector<TreeNode>& nodes = m_tree.Nodes();
    m_expanded.assign(nodes.size(), 0);
    m_nSelectedNode = -1;
    if (first) {
        // The first level open, so the window starts with the top branches' parts in view.
        const uint32_t* tops = m_tree.ChildrenBegin(-1);
        for (uint32_t k = 0; k < m_tree.ChildCount(-1); ++k) {
            m_expanded[tops[k]] = 1;
        }
        ShowRows();
        m_nSelectedNode = m_rows.empty() ? -1 : static_cast<int>(m_rows[0]);
        return;
    }
    for (size_t n = 0; n < nodes.size(); ++n) {
        const std::string key = m_tree.Key(static_cast<int>(n));
        if (open.count(key)) {
            m_expanded[n] = 1;
        }
        if (!selected.empty() && key == selected) {
            m_nSelectedNode = static_cast<int>(n);
        }
    }
    SelectNode(m_nSelectedNode);
}

void TreeRows::SelectNode(int node) {
    const std::vector<TreeNode>& nodes = m_tree.Nodes();
    m_nSelectedNode = node >= 0 && static_cast<size_t>(node) < nodes.size() ? node : -1;
    // A selected node inside a branch that is not open is shown by opening it.
    for (int at = m_nSelectedNode >= 0 ? nodes[m_nSelectedNode].parent : -1; at >= 0;
         at = nodes[at].parent) {
        m_expanded[at] = 1;
    }
    ShowRows();
}

std::vector<std::string> TreeRows::SelectedChain() const {
    return KeyChain(m_tree, m_nSelectedNode);
}

void TreeRows::SelectChain(const std::vector<std::string>& chain) {
    int node = FindByChain(m_tree, chain);
    while (node >= 0 && !m_kept.empty() && m_kept[static_cast<size_t>(node)] == 0) {
        node = m_tree.Nodes()[static_cast<size_t>(node)].parent;
    }
    if (node >= 0) {
        SelectNode(node);
    }
}

void TreeRows::ShowRows() {
    if (m_filter.IsEmpty() || m_pResult == nullptr) {
        m_kept.clear();
        m_rows = ShownNodes(m_tree, &m_expanded, -1);
        return;
    }
    m_kept = NodesKeptBy(m_tree, m_pResult->catalogue.records, m_filter);
    m_rows = ShownNodes(m_tree, nullptr, -1);
    m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(),
                                [this](uint32_t node) { return m_kept[node] == 0; }),
                 m_rows.end());
}

void TreeRows::SetFilter(const view::RowFilter& filter) {
    m_filter = filter;
    ShowRows();
}

bool TreeRows::IsGreyed(int row) const {
    return ValidRow(row) && !m_kept.empty() && m_kept[m_rows[row]] == kNodeOnTheWay;
}

int32_t TreeRows::ShownFileCount() const {
    int32_t files = 0;
    for (size_t n = 0; n < m_kept.size(); ++n) {
        files += m_kept[n] == kNodePasses && m_tree.Nodes()[n].record >= 0 ? 1 : 0;
    }
    return files;
}

uint64_t TreeRows::ShownSize() const {
    const std::vector<FolderRecord>& records = m_pResult->catalogue.records;
    uint64_t bytes = 0;
    for (size_t n = 0; n < m_kept.size(); ++n) {
        const int32_t record = m_tree.Nodes()[n].record;
        if (m_kept[n] == kNodePasses && record >= 0 &&
            static_cast<size_t>(record) < records.size()) {
            bytes = AddSizes(bytes, records[static_cast<size_t>(record)].size);
        }
    }
    return bytes;
}

int TreeRows::SelectedRow() const {
    if (m_nSelectedNode < 0) {
        return -1;
    }
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (m_rows[r] == static_cast<uint32_t>(m_nSelectedNode)) {
            return static_cast<int>(r);
        }
    }
    return -1;
}

void TreeRows::SelectRow(int row) {
    m_nSelectedNode = ValidRow(row) ? static_cast<int>(m_rows[row]) : -1;
}

void TreeRows::SetExpanded(int row, bool open, bool branch) {
    if (!ValidRow(row)) {
        return;
    }
    const uint32_t node = m_rows[row];
    m_expanded[node] = open ? 1 : 0;
    if (branch) {
        // Every node below, found by a list of nodes still to visit instead of calls.
        std::vector<uint32_t> pending(1, node);
        while (!pending.empty()) {
            const uint32_t at = pending.back();
            pending.pop_back();
            m_expanded[at] = open ? 1 : 0;
            const uint32_t* children = m_tree.ChildrenBegin(static_cast<int>(at));
            pending.insert(pending.end(), children,
                           children + m_tree.ChildCount(static_cast<int>(at)));
        }
    }
    m_nSelectedNode = static_cast<int>(node);
    ShowRows();
}

void TreeRows::Toggle(int row) {
    if (ValidRow(row)) {
        SetExpanded(row, !m_expanded[m_rows[row]]);
    }
}

void TreeRows::OnKey(TreeKey key) {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    const uint32_t node = m_rows[row];
    const bool hasChildren = m_tree.ChildCount(static_cast<int>(node)) > 0;
    switch (key) {
    case TreeKey::kLeft:
        if (hasChildren && m_expanded[node]) {
            SetExpanded(row, false);
        } else if (m_tree.Nodes()[node].parent >= 0) {
            m_nSelectedNode = m_tree.Nodes()[node].parent;
        }
        break;
    case TreeKey::kRight:
        if (hasChildren && !m_expanded[node]) {
            SetExpanded(row, true);
        } else if (hasChildren) {
            SelectRow(row + 1);
        }
        break;
    case TreeKey::kOpenBranch:
        SetExpanded(row, true, true);
        break;
    case TreeKey::kOpen:
        SetExpanded(row, true);
        break;
    case TreeKey::kClose:
        SetExpanded(row, false);
        break;
    }
}

void TreeRows::SetChanges(const view::FolderChangeSet& changes) {
    if (m_pResult == nullptr) {
        return;
    }
    m_tree.SetChanges(changes);
    ShowRows();
}

void TreeRows::SortBy(int column) {
    if (column < 0 || column >= kTreeColumnCount) {
        return;
    }
    const view::ColumnSort next = view::NextSort(m_sort, column, DescendingOnFirstClick(column));
    Sort(next.column, next.descending);
}

bool TreeRows::DescendingOnFirstClick(int column) const {
    return tree::DescendingOnFirstClick(column);
}

void TreeRows::Sort(int column, bool descending) {
    if (column < 0 || column >= kTreeColumnCount) {
        return;
    }
    m_sort = {column, descending};
    m_tree.Sort(m_sort);
    ShowRows();
}

std::string TreeRows::CellText(int row, int column, SizeStyle style) const {
    if (!ValidRow(row)) {
        return std::string();
    }
    const int node = static_cast<int>(m_rows[row]);
    const TreeNode& n = m_tree.Nodes()[node];
    switch (column) {
    case kTreeColumnName:
        return m_tree.DisplayName(node);
    case kTreeColumnTotal:
        return FormatSize(n.totalSize, style);
    case kTreeColumnShare:
        return FormatShare(ShareOf(row));
    case kTreeColumnOwn:
        return FormatSize(n.ownSize, style);
    case kTreeColumnFiles:
        return std::to_string(n.totalFiles);
    case kTreeColumnChanged:
        return ChangeTimeText(n.newestChange);
    case kTreeColumnChange:
        return m_tree.HasChanges() ? ChangeText({RowChange::kChanged, m_tree.BranchChange(node)},
                                                style == SizeStyle::Exact)
                                   : std::string();
    default:
        return std::string();
    }
}

view::ListSnapshot TreeRows::Snapshot(const std::vector<std::string>& titles) const {
    view::ListSnapshot list;
    list.titles = titles;
    for (int row = 0; row < RowCount(); ++row) {
        view::ListSnapshot::Row line;
        for (int column = 0; column < kTreeColumnCount; ++column) {
            line.cells.push_back(CellText(row, column));
        }
        line.cells[kTreeColumnName].insert(0, 2 * static_cast<size_t>(IndentOf(row)), ' ');
        line.bytes = m_tree.Nodes()[m_rows[static_cast<size_t>(row)]].totalSize;
        list.rows.push_back(std::move(line));
    }
    return list;
}

std::string TreeRows::ShownText(int row, int column) const {
    const std::string text = CellText(row, column);
    return column == kTreeColumnOwn && ValidRow(row)
               ? view::MarkedSize(text, m_tree.Nodes()[m_rows[row]].ownLimit)
               : text;
}

int TreeRows::WarningOf(int row, int column) const {
    return column == kTreeColumnOwn && ValidRow(row)
               ? view::WarningLevel(m_tree.Nodes()[m_rows[row]].ownLimit)
               : 0;
}

int TreeRows::ImageOf(int row) const {
    if (!ValidRow(row) || m_tree.ChildCount(static_cast<int>(m_rows[row])) == 0) {
        return kImageLeaf;
    }
    return m_expanded[m_rows[row]] ? kImageOpen : kImageClosed;
}

int TreeRows::IndentOf(int row) const {
    if (!ValidRow(row)) {
        return 0;
    }
    const uint32_t depth = m_tree.Nodes()[m_rows[row]].depth;
    return static_cast<int>(depth > kMaxIndent ? kMaxIndent : depth);
}

uint32_t TreeRows::ShareOf(int row) const {
    if (!ValidRow(row)) {
        return 0;
    }
    return ShareTenths(m_tree.Nodes()[m_rows[row]].totalSize, m_tree.GrandTotal());
}

int TreeRows::FindByName(int start, const std::string& prefix) const {
    const int count = RowCount();
    if (count == 0) {
        return -1;
    }
    const int from = start < 0 || start >= count ? 0 : start;
    for (int k = 0; k < count; ++k) {
        const int row = (from + k) % count;
        if (view::StartsWithIgnoringCase(m_tree.DisplayName(static_cast<int>(m_rows[row])),
                                         prefix)) {
            return row;
        }
    }
    return -1;
}

ShareCellMetrics ShareCellMetricsFor(int dpi, int widestTextWidth) {
    const ShareCellMetrics at96;
    ShareCellMetrics m;
    m.barInset = view::ScaleForDpi(at96.barInset, dpi);
    m.textMargin = view::ScaleForDpi(at96.textMargin, dpi);
    const int needed = m.textMargin + widestTextWidth + view::ScaleForDpi(kShareTextGap, dpi);
    m.textRoom = std::max(view::ScaleForDpi(at96.textRoom, dpi), needed);
    return m;
}

view::PixelRect ShareBarRect(const view::PixelRect& cell, uint32_t tenths,
                             const ShareCellMetrics& m) {
    const int room = static_cast<int>(cell.right - cell.left) - m.textRoom - 2 * m.barInset;
    view::PixelRect bar;
    bar.left = cell.left + m.barInset;
    bar.top = cell.top + m.barInset;
    bar.right = bar.left + BarWidth(tenths, room);
    bar.bottom = cell.bottom - m.barInset;
    return bar;
}

ExpanderShape ExpanderShapeFor(int dpi) {
    // At 96 DPI a 9-pixel box in a 16-pixel image, the sign 2 pixels inside the box.
    ExpanderShape s;
    s.imageSize = view::ScaleForDpi(16, dpi);
    int side = view::ScaleForDpi(9, dpi);
    if (side % 2 == 0) {
        --side; // an odd side has a middle pixel for the sign to cross in
    }
    const int line = std::max(1, dpi / 96); // whole pixels: a blurred sign reads worse
    const int gap = view::ScaleForDpi(2, dpi);
    const int at = (s.imageSize - side) / 2;
    s.box = {at, at, at + side, at + side};
    const int middle = at + side / 2 - (line - 1) / 2;
    s.bar = {at + gap, middle, at + side - gap, middle + line};
    s.stem = {middle, at + gap, middle + line, at + side - gap};
    return s;
}

} // namespace tree
