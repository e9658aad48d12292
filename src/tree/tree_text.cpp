// Shares, bars and the shown order of the tree. The share is a quotient of two 64-bit
// sizes; where the product would not fit into 64 bits it is divided in 128 bits.
#include "tree/tree_text.h"

#include "text/language.h"

#include <limits>
#include <string_view>
#include <utility>

namespace tree {

namespace {

// (a * m + add) / d for a, d of 64 bits and a multiplier of at most 32 bits.
uint64_t MulAddDiv(uint64_t a, uint32_t m, uint64_t add, uint64_t d) {
    const uint64_t low = (a & 0xFFFFFFFFu) * m;
    const uint64_t high = (a >> 32) * m;
    uint64_t lo = low + (high << 32);
    uint64_t hi = (high >> 32) + (lo < low ? 1 : 0);
    const uint64_t sum = lo + add;
    hi += sum < lo ? 1 : 0;
    lo = sum;
    // Long division, one bit at a time; the quotient fits into 64 bits because a <= d
    // wherever this is used.
    uint64_t quotient = 0;
    uint64_t remainder = 0;
    for (int bit = 127; bit >= 0; --bit) {
        const bool carry = (remainder >> 63) != 0;
        remainder = (remainder << 1) | ((bit >= 64 ? hi >> (bit - 64) : lo >> bit) & 1);
        quotient <<= 1;
        if (carry || remainder >= d) {
            remainder -= d;
            quotient |= 1;
        }
    }
    return quotient;
}

} // namespace

uint32_t ShareTenths(uint64_t part, uint64_t whole) {
    if (whole == 0) {
        return 0;
    }
    if (part >= whole) {
        return 1000;
    }
    constexpr uint64_t kFastLimit = std::numeric_limits<uint64_t>::max() / 1001;
    const uint64_t tenths = whole <= kFastLimit ? (part * 1000 + whole / 2) / whole
                                                : MulAddDiv(part, 1000, whole / 2, whole);
    return tenths >= 1000 ? 999 : static_cast<uint32_t>(tenths);
}

std::string FormatShare(uint32_t tenths) {
    const bool english = UserLanguage() == Language::English;
    std::string text = std::to_string(tenths / 10);
    text += english ? '.' : ',';
    text += static_cast<char>('0' + tenths % 10);
    text += english ? "%" : " %";
    return text;
}

int BarWidth(uint32_t tenths, int width) {
    if (width <= 0) {
        return 0;
    }
    const uint64_t pixels =
        (static_cast<uint64_t>(width) * (tenths > 1000 ? 1000 : tenths) + 500) / 1000;
    return static_cast<int>(pixels);
}

std::vector<uint32_t> ShownNodes(const FolderTree& tree, const std::vector<uint8_t>* expanded,
                                 int maxDepth) {
    std::vector<uint32_t> shown;
    // Each level of the way down keeps the next child to visit: a stack of positions,
    // not calls, so a chain of any depth is walked in constant stack space.
    std::vector<std::pair<const uint32_t*, const uint32_t*>> stack;
    const uint32_t* tops = tree.ChildrenBegin(-1);
    stack.emplace_back(tops, tops + tree.ChildCount(-1));
    while (!stack.empty()) {
        auto& level = stack.back();
        if (level.first == level.second) {
            stack.pop_back();
            continue;
        }
        const uint32_t node = *level.first++;
        shown.push_back(node);
        const bool open = !expanded || (node < expanded->size() && (*expanded)[node]);
        const bool deeper =
            maxDepth < 0 || tree.Nodes()[node].depth < static_cast<uint32_t>(maxDepth);
        if (open && deeper && tree.ChildCount(static_cast<int>(node)) > 0) {
            const uint32_t* begin = tree.ChildrenBegin(static_cast<int>(node));
            stack.emplace_back(begin, begin + tree.ChildCount(static_cast<int>(node)));
        }
    }
    return shown;
}

std::vector<uint8_t> NodesKeptBy(const FolderTree& tree, const std::vector<FolderRecord>& records,
                                 const view::RowFilter& filter) {
    const std::vector<uint32_t> order = ShownNodes(tree, nullptr, -1);
    const size_t count = tree.Nodes().size();
    // The hits of each node's way down, taken from its parent's: a parent comes before
    // its children in `order`, so no path is ever spelt out (a chain of 100 000 levels
    // costs its nodes, not their depths).
    std::vector<view::RowFilter::Hits> way(count);
    std::vector<uint8_t> kept(count, 0);
    for (const uint32_t n : order) {
        const TreeNode& node = tree.Nodes()[n];
        const std::string name = tree.DisplayName(static_cast<int>(n));
        const std::string_view file =
            node.record >= 0 && static_cast<size_t>(node.record) < records.size()
                ? std::string_view(records[static_cast<size_t>(node.record)].fileName)
                : std::string_view();
        view::RowFilter::Hits hits = filter.HitsIn({name, file});
        if (node.parent >= 0) {
            hits.words |= way[static_cast<size_t>(node.parent)].words;
            hits.excluded = hits.excluded || way[static_cast<size_t>(node.parent)].excluded;
        }
        way[n] = hits;
        const bool passes = hits.words == filter.AllWords() && !hits.excluded &&
                            node.totalSize >= filter.MinimumSize();
        kept[n] = passes ? kNodePasses : 0;
    }
    for (size_t i = order.size(); i-- > 0;) {
        const uint32_t n = order[i];
        const int32_t parent = tree.Nodes()[n].parent;
        if (kept[n] != 0 && parent >= 0 && kept[static_cast<size_t>(parent)] == 0) {
            kept[static_cast<size_t>(parent)] = kNodeOnTheWay;
        }
    }
    return kept;
}

} // namespace tree
