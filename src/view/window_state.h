// What a window keeps between runs, with one load, one save and one validation for
// every window: its placement, and for its list the column widths, the column order
// and the sort. The store's values keep their names and forms; what comes from the
// store is checked here, since anyone can edit a registry value or an INI file.
#pragma once

#include "view/placement.h"

#include <cstdint>
#include <vector>

class SettingsStore;

namespace view {

constexpr uint32_t kShowNormal = 1;    // SW_SHOWNORMAL
constexpr uint32_t kShowMaximized = 3; // SW_SHOWMAXIMIZED
// Wider than any screen: a stored width beyond it is taken for damage.
constexpr int32_t kMaxColumnWidth = 4000;
// The DPI the program's pixel sizes are given for, and the range of DPIs a stored
// value may name; one outside it is taken for damage.
constexpr int32_t kDefaultDpi = 96;
constexpr int32_t kMinDpi = 48;
constexpr int32_t kMaxDpi = 960;
// The stored sort: the column and the direction, 32 bits each.
constexpr size_t kSortValueSize = 8;

// `pixels` at `fromDpi` for a screen of `toDpi`, rounded.
int32_t ScaleBetweenDpis(int32_t pixels, int32_t fromDpi, int32_t toDpi);

// The default placement for a screen of `dpi`: the normal rectangle grown from its top
// left corner by the screen's scale, the rest as in `at96`.
WindowPlacementRecord ScalePlacementForDpi(const WindowPlacementRecord& at96, int32_t dpi);

// The value names under which one window keeps its state; null for what it keeps not.
struct WindowStateNames {
    const char* placement = nullptr;
    const char* widths = nullptr;
    const char* order = nullptr;
    const char* sort = nullptr;
    // The screen's DPI the widths were stored at, kept beside them.
    const char* widthsDpi = nullptr;
    // The fewest widths an older version kept under `widths`, before the list had its
    // last columns: where the current number is not stored, each number from one less
    // down to this one is read, the columns it lacks at their defaults. 0 for none.
    size_t olderWidthCount = 0;
};

// A list's columns as stored: widths by column index, for each display position the
// column shown there, and the sort.
struct ListState {
    std::vector<int32_t> widths;
    // The screen's DPI the widths are meant for: the DPI the list shows them at.
    int32_t widthsDpi = kDefaultDpi;
    // The widths as the store held them when this run last read or wrote them (none:
    // empty). A store that writes only what a run changed skips widths equal to them,
    // and then their DPI must stay as another run may have stored it with its widths.
    std::vector<int32_t> storedWidths;
    std::vector<int32_t> order;
    int32_t sortColumn = 0;
    bool sortDescending = false;
    // How many columns the sort may name: 0 for as many as there are widths. A list
    // with optional columns sorts by any of them, shown or not.
    int32_t sortColumns = 0;
};

// A stored placement made fit to show: a record that is no placement (another length,
// a rectangle of no size) gives `fallback`; a show command other than maximized shows
// the window normally; a rectangle on no work area moves onto the nearest one (shrunk
// to it where it is larger), and one larger than the work areas it lies on together
// into the one it covers most. `workAreas` are in the placement's coordinates; none
// leaves the rectangle where it is.
WindowPlacementRecord FitPlacement(const WindowPlacementRecord& stored,
                                   const WindowPlacementRecord& fallback,
                                   const std::vector<PixelRect>& workAreas);

// The store must be open on the window's section. A value that is missing or of
// another form keeps `fallback`'s part.
WindowPlacementRecord LoadPlacement(SettingsStore& store, const WindowStateNames& names,
                                    const WindowPlacementRecord& fallback,
                                    const std::vector<PixelRect>& workAreas);

// `state` comes in with what the list shows now and goes out with what the store
// says: widths stored at another DPI than `state.widthsDpi` are scaled to it (widths
// kept without their DPI, by an older version, are taken as they are), widths outside
// 0..kMaxColumnWidth give `defaultWidths`' (one per column), an
// order that is not a permutation of the columns keeps the current one, and a sort
// column beyond the last (of `state.sortColumns` where set) is the last.
void LoadListState(SettingsStore& store, const WindowStateNames& names,
                   const std::vector<int32_t>& defaultWidths, ListState& state);

// Writes what `names` names; the widths' DPI only where the widths differ from
// `list.storedWidths`, and only when the store holds another. False when a value could not be
// written.
bool SaveWindowState(SettingsStore& store, const WindowStateNames& names,
                     const WindowPlacementRecord& placement, const ListState& list);

} // namespace view
