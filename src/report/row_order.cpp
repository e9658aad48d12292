// The order of the report's rows: the folder list's comparison (view/), applied to
// thousands of rows at once. A text column is sorted through folded keys, each built
// once, because the rows of a mailbox share long path prefixes and folding them again
// at every comparison is what such a sort would spend its time on; rows with equal keys
// then take the list's whole rule, which breaks the tie by the other columns.
#include "report/row_order.h"
#include "report/report_options.h"
#include "view/folder_compare.h"
#include "view/sort_compare.h"

#include <algorithm>
#include <string_view>

namespace report {

namespace {

// What a comparison reads first lies in the sorted array itself: the key's first eight
// bytes (or the size, or the change), then the key, so most comparisons touch no row.
struct Item {
    uint64_t head; // key bytes 0..7, most significant first, 0 past the end; or a number
    std::string_view key;
    uint32_t index;
    // A change needs 65 bits: set for changes of 0 and more, which all sort after the
    // negative ones; `head` then holds the magnitude, or 2^64 minus it when negative.
    bool upper;
};

bool IsTextColumn(int column) {
    return column == view::kColumnFileName || column == view::kColumnFolderName;
}

// All keys end to end in `text` (one allocation); key i starts at start[i].
void BuildKeys(const ComparedRows& rows, int column, std::string& text,
               std::vector<size_t>& start) {
    text.reserve(rows.RowCount() * 48);
    start.reserve(rows.RowCount() + 1);
    for (size_t i = 0; i < rows.RowCount(); ++i) {
        const view::FolderFields fields = rows.Fields(i);
        start.push_back(text.size());
        if (column == view::kColumnFileName) {
            view::AppendFolded(text, fields.fileName);
        } else {
            view::AppendFolded(text, fields.folderPath);
            view::AppendFolded(text, fields.folderName);
        }
    }
    start.push_back(text.size());
}

std::vector<Item> MakeItems(const ComparedRows& rows, int column, const std::string& text,
                            const std::vector<size_t>& start) {
    std::vector<Item> items(rows.RowCount());
    const bool changes = column == kSortChange && !rows.changes.empty();
    for (size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        item.index = static_cast<uint32_t>(i);
        item.head = 0;
        item.upper = false;
        if (IsTextColumn(column)) {
            item.key = std::string_view(text.data() + start[i], start[i + 1] - start[i]);
            for (size_t b = 0; b < 8; ++b) {
                const unsigned char c = b < item.key.size() ? item.key[b] : 0;
                item.head = (item.head << 8) | c;
            }
        } else if (column == view::kColumnSize) {
            item.head = rows.Fields(i).size;
        } else if (changes) {
            const ByteChange& change = rows.changes[i].bytes;
            item.upper = !change.negative;
            item.head = change.negative ? 0 - change.magnitude : change.magnitude;
        }
    }
    return items;
}

} // namespace

std::vector<uint32_t> SortRowIndexes(const ComparedRows& rows, int column, bool descending) {
    // The list's own default: columns shown in index order, ties from the leftmost. By
    // change, equal changes fall back to the list's default order, by folder.
    static const int kDisplayOrder[view::kFolderColumnCount] = {0, 1, 2};
    const view::ColumnSort ascending{column == kSortChange ? kSortFolder : column, false};
    const auto listRule = [&](uint32_t x, uint32_t y) {
        return view::SortCompare(rows.Fields(x), rows.Fields(y), ascending, view::kTieFromLeftmost,
                                 kDisplayOrder, view::kFolderColumnCount,
                                 [](const view::FolderFields& a, const view::FolderFields& b,
                                    int c) { return view::CompareFolderItems(a, b, c); });
    };
    std::string text;
    std::vector<size_t> start;
    if (IsTextColumn(column)) {
        BuildKeys(rows, column, text, start);
    }
    std::vector<Item> items = MakeItems(rows, column, text, start);
    std::sort(items.begin(), items.end(), [&](const Item& x, const Item& y) {
        const Item& a = descending ? y : x; // as the list does: the tie-break runs
        const Item& b = descending ? x : y; // descending too
        if (a.upper != b.upper) {
            return b.upper;
        }
        if (a.head != b.head) {
            return a.head < b.head;
        }
        if (const int r = a.key.compare(b.key)) { // empty keys for the number columns
            return r < 0;
        }
        return listRule(a.index, b.index) < 0;
    });
    std::vector<uint32_t> order;
    order.reserve(items.size());
    for (const Item& item : items) {
        order.push_back(item.index);
    }
    return order;
}

} // namespace report
