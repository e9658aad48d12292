// The main list's optional columns: which there are, and how their widths, places and
// visibility are kept beside the three columns' stored values. "Columns", "ColOrder"
// and "Sort" keep their forms: they hold the three columns' widths, the three's order
// among themselves and the sort; each optional column keeps its own value of three
// numbers, so a column added later is one more table entry and no stored value of an
// older run changes its meaning.
#pragma once

#include "view/folder_compare.h"
#include "view/stored_values.h"
#include "view/window_state.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class SettingsStore;

namespace view {

struct OptionalColumn {
    int column;            // the model column (FolderColumn)
    unsigned titleId;      // the string table's title
    int width96;           // default width at 96 DPI
    bool alignRight;       // numbers and changes right, texts left
    const char* valueName; // stored as [shown 0/1, width, display position]
};

// IDS_COLUMN_CHANGED and IDS_COLUMN_CHANGE of the string table; the window checks the
// numbers at compile time.
constexpr unsigned kTitleChanged = 2080;
constexpr unsigned kTitleChange = 2083;

inline constexpr OptionalColumn kOptionalColumns[] = {
    {kColumnChanged, kTitleChanged, 110, false, stored_names::kColumnChanged},
    {kColumnChange, kTitleChange, 90, true, stored_names::kColumnChange},
};
constexpr size_t kOptionalColumnCount = sizeof kOptionalColumns / sizeof kOptionalColumns[0];

// One optional column as the window keeps it. A hidden column keeps its width and
// place, so it comes back where it was.
struct OptionalColumnState {
    bool shown = false;    // hidden by default
    int32_t width = -1;    // pixels at the list's DPI; -1: the default
    int32_t position = -1; // display position among the shown columns; -1: at the end
};

// The table's entry for model column `column`, or null.
const OptionalColumn* FindOptionalColumn(int column);
// Its position in the table; kOptionalColumnCount for none.
size_t OptionalColumnIndex(int column);

// The model columns the list shows, by list index: the three, then the optional ones
// shown, in the table's order. `states` has one entry per table entry.
std::vector<int32_t> ShownColumns(const std::vector<OptionalColumnState>& states);

// The display order of every shown column (model columns, left to right): the three in
// `baseOrder` (a permutation of 0..2), each shown optional column put at its position
// (in the order of the positions; -1 and positions past the end at the end).
std::vector<int32_t> MergeOrder(const std::vector<int32_t>& baseOrder,
                                const std::vector<OptionalColumnState>& states);

// The three columns' order among themselves in `displayOrder`: what "ColOrder" keeps.
std::vector<int32_t> BaseOrder(const std::vector<int32_t>& displayOrder);

// Where model column `column` stands in `displayOrder`, -1 for nowhere.
int32_t PositionOf(const std::vector<int32_t>& displayOrder, int column);

// What a list that shows `listColumns` (model columns by list index) stores of
// `shown` (widths and the sort by list index, the order of list indices): the three
// columns' widths and their order among themselves, and the sort by model column, as
// the three values held them before there were optional columns. The shown optional
// columns' widths and display positions go into `optional`; hidden ones keep theirs.
ListState StoredListState(const ListState& shown, const std::vector<int32_t>& listColumns,
                          std::vector<OptionalColumnState>& optional);

// Each table entry's value; a value that is missing, of another form or out of range
// keeps that part of `states` (a width beyond kMaxColumnWidth or below 0 is the
// default again). `states` must have one entry per table entry.
void LoadOptionalColumns(SettingsStore& store, std::vector<OptionalColumnState>& states);
// False when a value could not be written.
bool SaveOptionalColumns(SettingsStore& store, const std::vector<OptionalColumnState>& states);

} // namespace view
