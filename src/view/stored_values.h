// Every value the program keeps in its section of the store ("MainDlg"), in one table:
// its name, the form it is kept in, and the window whose state it is part of. The
// windows take the names of their stored state from here, and the portable copy and the
// move from the old registry key copy what the table lists: a value a window adds is in
// all of them at once, and none is forgotten by one of them.
#pragma once

#include "settings/program_settings.h"
#include "view/placement.h"
#include "view/window_state.h"

#include <cstddef>

class SettingsStore;

// The names of the values the windows keep beside the settings, as they are stored.
namespace stored_names {
constexpr char kPlacement[] = "Placement";
constexpr char kColumns[] = "Columns";
constexpr char kColumnsDpi[] = "ColumnsDpi";
constexpr char kColumnOrder[] = "ColOrder";
constexpr char kSort[] = "Sort";
constexpr char kColumnChanged[] = "ColChanged";
constexpr char kColumnChange[] = "ColChange";
constexpr char kExportPath[] = "ExportPath";
constexpr char kAllUsersRoot[] = "AllUsersRoot";
constexpr char kChangeSince[] = "ChangeSince";
// The folder files over the limit whose warning the user turned off (view::LimitWarnings).
constexpr char kSilencedOverLimit[] = "SilencedOverLimit";
constexpr char kTreePlacement[] = "TreePlacement";
constexpr char kTreeColumns[] = "TreeColumns";
constexpr char kTreeColumnsDpi[] = "TreeColumnsDpi";
constexpr char kAllUsersPlacement[] = "AllUsersPlacement";
constexpr char kAllUsersColumns[] = "AllUsersColumns";
constexpr char kAllUsersColumnsDpi[] = "AllUsersColumnsDpi";
constexpr char kAllUsersSort[] = "AllUsersSort";
constexpr char kTreemapPlacement[] = "TreemapPlacement";
// What the tiles of "Ordnerkarte" are coloured by: 0 the limit, 1 the age, 2 nothing.
constexpr char kTreemapColour[] = "TreemapColour";
// The main window's filter line, its texts kept only while "Filter merken" is ticked.
constexpr char kFilterRemember[] = "FilterRemember";
constexpr char kFilterText[] = "FilterText";
constexpr char kFilterMinSize[] = "FilterMinSize";
// "Extras > Sprache / Language": a LanguageChoice; anything else is automatic.
constexpr char kLanguage[] = "Language";
} // namespace stored_names

namespace view {

// The form a value is kept in: the store's read and write of that kind.
enum class StoredForm { kFlag, kNumber, kText, kNumbers, kBytes };

// The windows that keep a state.
enum class StoredWindow { kMain, kTree, kOverview, kTreemap };

// The part of its window's state record a value is; kOwn for a value of its own.
enum class StatePart { kOwn, kPlacement, kWidths, kWidthsDpi, kOrder, kSort };

struct StoredValue {
    const char* name;
    StoredForm form;
    StoredWindow window = StoredWindow::kMain;
    StatePart part = StatePart::kOwn;
    size_t size = 0;      // kNumbers: how many numbers; kBytes: how many bytes
    size_t olderSize = 0; // kNumbers: the fewest an older version kept, before the list
                          // had its last columns; 0 for none
};

inline constexpr StoredValue kStoredValues[] = {
    {stored_names::kPlacement, StoredForm::kBytes, StoredWindow::kMain, StatePart::kPlacement,
     kPlacementSize},
    {stored_names::kColumns, StoredForm::kNumbers, StoredWindow::kMain, StatePart::kWidths, 3},
    {stored_names::kColumnsDpi, StoredForm::kNumber, StoredWindow::kMain, StatePart::kWidthsDpi},
    {stored_names::kColumnOrder, StoredForm::kNumbers, StoredWindow::kMain, StatePart::kOrder, 3},
    {stored_names::kSort, StoredForm::kBytes, StoredWindow::kMain, StatePart::kSort,
     kSortValueSize},
    // Each optional column: shown, width, position.
    {stored_names::kColumnChanged, StoredForm::kNumbers, StoredWindow::kMain, StatePart::kOwn, 3},
    {stored_names::kColumnChange, StoredForm::kNumbers, StoredWindow::kMain, StatePart::kOwn, 3},
    {settings_names::kAutoRefresh, StoredForm::kFlag},
    {settings_names::kAutoRefreshRate, StoredForm::kNumber},
    {settings_names::kShowFolderPath, StoredForm::kFlag},
    {settings_names::kWarnFolderPath, StoredForm::kFlag},
    {settings_names::kMailboxPathManual, StoredForm::kFlag},
    {settings_names::kMailboxPath, StoredForm::kText},
    {settings_names::kNewmailPath, StoredForm::kText},
    {settings_names::kCompactFileSizes, StoredForm::kFlag},
    {settings_names::kShowNewMailFolder, StoredForm::kFlag},
    {stored_names::kExportPath, StoredForm::kText},
    {stored_names::kAllUsersRoot, StoredForm::kText},
    {stored_names::kChangeSince, StoredForm::kText},
    {stored_names::kSilencedOverLimit, StoredForm::kText},
    {stored_names::kTreePlacement, StoredForm::kBytes, StoredWindow::kTree, StatePart::kPlacement,
     kPlacementSize},
    // Five before the columns "Geändert" and "Änderung".
    {stored_names::kTreeColumns, StoredForm::kNumbers, StoredWindow::kTree, StatePart::kWidths, 7,
     5},
    {stored_names::kTreeColumnsDpi, StoredForm::kNumber, StoredWindow::kTree,
     StatePart::kWidthsDpi},
    {stored_names::kAllUsersPlacement, StoredForm::kBytes, StoredWindow::kOverview,
     StatePart::kPlacement, kPlacementSize},
    {stored_names::kAllUsersColumns, StoredForm::kNumbers, StoredWindow::kOverview,
     StatePart::kWidths, 8},
    {stored_names::kAllUsersColumnsDpi, StoredForm::kNumber, StoredWindow::kOverview,
     StatePart::kWidthsDpi},
    {stored_names::kAllUsersSort, StoredForm::kBytes, StoredWindow::kOverview, StatePart::kSort,
     kSortValueSize},
    {stored_names::kTreemapPlacement, StoredForm::kBytes, StoredWindow::kTreemap,
     StatePart::kPlacement, kPlacementSize},
    {stored_names::kTreemapColour, StoredForm::kNumber, StoredWindow::kTreemap},
    {stored_names::kFilterRemember, StoredForm::kFlag},
    {stored_names::kFilterText, StoredForm::kText},
    {stored_names::kFilterMinSize, StoredForm::kText},
    {stored_names::kLanguage, StoredForm::kNumber},
};

// The names of `window`'s state record, as the table gives them.
constexpr WindowStateNames StateNamesOf(StoredWindow window) {
    WindowStateNames names;
    for (const StoredValue& value : kStoredValues) {
        if (value.window != window) {
            continue;
        }
        switch (value.part) {
        case StatePart::kPlacement:
            names.placement = value.name;
            break;
        case StatePart::kWidths:
            names.widths = value.name;
            names.olderWidthCount = value.olderSize;
            break;
        case StatePart::kWidthsDpi:
            names.widthsDpi = value.name;
            break;
        case StatePart::kOrder:
            names.order = value.name;
            break;
        case StatePart::kSort:
            names.sort = value.name;
            break;
        case StatePart::kOwn:
            break;
        }
    }
    return names;
}

// How many widths `window` keeps.
constexpr size_t StoredWidthCount(StoredWindow window) {
    for (const StoredValue& value : kStoredValues) {
        if (value.window == window && value.part == StatePart::kWidths) {
            return value.size;
        }
    }
    return 0;
}

// Copies every value of the table that `from` holds in its form to `to` (both open on
// the section), in that form; one of another form or size stays behind. Widths an
// older version kept for fewer columns are copied as they stand. False when a write
// was refused.
bool CopyStoredValues(SettingsStore& from, SettingsStore& to);

} // namespace view
