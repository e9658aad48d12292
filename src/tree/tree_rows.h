// The rows of the window "Ordnerbaum" without the window: which branches are open,
// which nodes are shown in which order, which one is selected, what the Explorer keys
// and a header click do to them, what each cell says, and how a rescan carries open
// branches and the selection over. The window only turns its messages into these calls
// and the rows back into its list.
#pragma once

#include "mailbox/scan_result.h"
#include "sizes/size_text.h"
#include "tree/folder_tree.h"
#include "view/layout.h"
#include "view/limit_mark.h"
#include "view/list_export.h"
#include "view/report_model.h"
#include "view/row_filter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tree {

// The keys of a tree as Explorer reads them.
enum class TreeKey {
    kLeft,       // close an open branch, else go to the parent
    kRight,      // open a closed branch, else go to the first child
    kOpenBranch, // "*" on the number pad: the branch and everything below it
    kOpen,       // "+" on the number pad
    kClose,      // "-" on the number pad
};

// The image before a name: the plus and minus boxes and nothing for a childless node.
enum ExpanderImage { kImageClosed = 0, kImageOpen = 1, kImageLeaf = 2 };

// The sort a click on the header of `column` starts with: the names A to Z, every size
// and count largest first, as disk-usage tools show sizes.
bool DescendingOnFirstClick(int column);

class TreeRows : public view::ReportModel {
public:
    // Shows the tree of `result`. The first result opens the first level and selects
    // the first row; a later one keeps open what was open and the selection, where the
    // same entries still exist, and opens the branches above a kept selection.
    // `changes` are those of `result` since a day of the history (none: empty cells).
    void SetResult(SharedScanResult result,
                   const view::FolderChangeSet& changes = view::FolderChangeSet());
    // New changes for the result shown; open branches and the selection stay.
    void SetChanges(const view::FolderChangeSet& changes);

    const SharedScanResult& Result() const { return m_pResult; }
    const FolderTree& Tree() const { return m_tree; }
    // The shown nodes, in order; a row is a position in it.
    const std::vector<uint32_t>& Rows() const { return m_rows; }
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    bool IsExpanded(uint32_t node) const { return node < m_expanded.size() && m_expanded[node]; }

    // Only the nodes `filter` keeps (NodesKeptBy), every branch to them open and the ones
    // on the way greyed, with the totals of their whole branch; the open branches and the
    // selection come back with an empty filter.
    void SetFilter(const view::RowFilter& filter);
    bool IsFiltered() const { return !m_filter.IsEmpty(); }
    bool IsGreyed(int row) const override;
    // The folder files of the nodes that pass, and their bytes.
    int32_t ShownFileCount() const;
    uint64_t ShownSize() const;

    // The selected row, -1 for none, and the row the list's own keys or the mouse
    // selected (out of range: none).
    int SelectedRow() const;
    void SelectRow(int row);
    // Selects `node` (-1 or out of range: none), opening the branches above it.
    void SelectNode(int node);
    // The selection as KeyChain names it, for a window that shows the same folders
    // otherwise (the map); empty for none.
    std::vector<std::string> SelectedChain() const;
    // Takes such a window's selection back: the deepest folder of `chain` this tree
    // holds, or, where the filter hides it, its nearest parent shown, with the branches
    // above it opened. A chain that names nothing shown keeps the selection.
    void SelectChain(const std::vector<std::string>& chain);

    // Opens or closes `row`; with `branch`, everything below it too. The row's node
    // becomes the selection.
    void SetExpanded(int row, bool open, bool branch = false);
    // Opens a closed row and closes an open one (a double click, a click on its box).
    void Toggle(int row);
    // The key's rule applied to the selection; nothing without one.
    void OnKey(TreeKey key);

    // A header click: the same column again turns the order round, another column
    // starts with its first-click order. The selection stays on its node.
    void SortBy(int column);
    const view::ColumnSort& GetSort() const { return m_sort; }

    // The rows as a report list asks for them, sizes in the style set here.
    void SetSizeStyle(SizeStyle style) { m_sizeStyle = style; }
    SizeStyle SizeStyleShown() const { return m_sizeStyle; }
    std::string CellText(int row, int column) const override {
        return CellText(row, column, m_sizeStyle);
    }
    // The own size of a node that holds a folder file near or over the client's limit
    // carries the limit's mark and colour; a branch's total is no file and has none.
    std::string ShownText(int row, int column) const override;
    int WarningOf(int row, int column) const override;
    bool DescendingOnFirstClick(int column) const override;
    void Sort(int column, bool descending) override;
    int FindRow(int start, const std::string& prefix) const override {
        return FindByName(start, prefix);
    }
    // The keyboard's context menu belongs to the selected row, wherever the list stands.
    int ContextRow(int /*topRow*/) const override { return SelectedRow(); }

    // What `row` shows in `column`, sizes in `style`.
    std::string CellText(int row, int column, SizeStyle style) const;
    // An ExpanderImage.
    int ImageOf(int row) const override;
    // The indent in image widths: the depth, held at 200 for chains deeper than any window.
    int IndentOf(int row) const override;
    // The row's share of the mailbox in tenths of a percent.
    uint32_t ShareOf(int row) const override;
    // The first row from `start` on, wrapping around, whose name starts with `prefix`
    // (the list's type-ahead rule); -1 for none.
    int FindByName(int start, const std::string& prefix) const;
    // The shown rows for Ctrl+C and the export, under `titles`: each cell as CellText
    // gives it, the name indented by two blanks a level so that a paste still shows the
    // tree, and the branch's total in bytes.
    view::ListSnapshot Snapshot(const std::vector<std::string>& titles) const;

private:
    bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }
    void ShowRows();

    SharedScanResult m_pResult; // the tree's names point into it
    FolderTree m_tree;
    std::vector<uint8_t> m_expanded; // per node
    std::vector<uint32_t> m_rows;    // the shown nodes, in order
    int m_nSelectedNode = -1;
    view::ColumnSort m_sort = kDefaultTreeSort;
    SizeStyle m_sizeStyle = SizeStyle::Compact;
    view::RowFilter m_filter;
    std::vector<uint8_t> m_kept; // per node, while filtered
};

// How a share cell is divided on a screen: the bar's inset from the cell's edges, the
// percentage's margin from the cell's right, and the room kept at the right for the
// percentage (its margin and a gap included).
struct ShareCellMetrics {
    int barInset = 3;
    int textMargin = 4;
    int textRoom = 52;
};

// The widest text of the share column.
constexpr char kWidestShareText[] = "100,0 %";

// The metrics for a screen of `dpi` whose widest percentage ("100,0 %") is
// `widestTextWidth` pixels wide in the list's font: the 96-DPI distances scaled, and
// room enough for the text whatever the font.
ShareCellMetrics ShareCellMetricsFor(int dpi, int widestTextWidth);

// Where the share bar of a cell goes: from the cell's left, the inset in, as long as
// the share of the room the percentage text leaves. Empty (right == left) for none.
view::PixelRect ShareBarRect(const view::PixelRect& cell, uint32_t tenths,
                             const ShareCellMetrics& metrics = ShareCellMetrics());

// The plus and minus boxes of one ExpanderImage for a screen's DPI: a square image,
// a framed box of an odd side centred in it, and the bar and stem of the sign centred
// in the box, in the image's pixels (right and bottom exclusive).
struct ExpanderShape {
    int imageSize = 16;
    view::PixelRect box;
    view::PixelRect bar;
    view::PixelRect stem;
};
ExpanderShape ExpanderShapeFor(int dpi);

} // namespace tree
