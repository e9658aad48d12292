// Two runs of the program on one store, as two copies open at once: each loads the
// nine settings and the window state (placement, columns, order, sort, the tree
// window's placement and widths) the way the windows read them, and saves them all.
#pragma once

#include "settings/change_tracking_store.h"
#include "settings/program_settings.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tworuns {

// The window state beside the nine settings, as the windows read and write it.
struct WindowState {
    uint8_t placement[44] = {44};
    int32_t columns[3] = {120, 60, 240};
    int32_t order[3] = {0, 1, 2};
    uint8_t sort[8] = {2};
    uint8_t treePlacement[44] = {44, 0, 0, 0, 1};
    int32_t treeColumns[5] = {200, 80, 60, 80, 60};

    void Load(SettingsStore& store) {
        store.ReadBinary("Placement", sizeof placement, placement, placement);
        store.ReadIntArray("Columns", 3, columns, columns);
        store.ReadIntArray("ColOrder", 3, order, order);
        store.ReadBinary("Sort", sizeof sort, sort, sort);
        store.ReadBinary("TreePlacement", sizeof treePlacement, treePlacement, treePlacement);
        store.ReadIntArray("TreeColumns", 5, treeColumns, treeColumns);
    }
    void Save(SettingsStore& store) const {
        store.WriteBinary("Placement", sizeof placement, placement);
        store.WriteIntArray("Columns", 3, columns);
        store.WriteIntArray("ColOrder", 3, order);
        store.WriteBinary("Sort", sizeof sort, sort);
        store.WriteBinary("TreePlacement", sizeof treePlacement, treePlacement);
        store.WriteIntArray("TreeColumns", 5, treeColumns);
    }
};

// The names of the fifteen values a run keeps.
inline const char* const kValueNames[] = {"Placement",
                                          "Columns",
                                          "ColOrder",
                                          "Sort",
                                          "TreePlacement",
                                          "TreeColumns",
                                          settings_names::kAutoRefresh,
                                          settings_names::kAutoRefreshRate,
                                          settings_names::kShowFolderPath,
                                          settings_names::kWarnFolderPath,
                                          settings_names::kMailboxPathManual,
                                          settings_names::kMailboxPath,
                                          settings_names::kNewmailPath,
                                          settings_names::kCompactFileSizes,
                                          settings_names::kShowNewMailFolder};

// One run of the program: its view of the store and what it loaded.
struct ProgramRun {
    explicit ProgramRun(SettingsStore& shared) : store(shared) {}
    void Load() {
        ASSERT_TRUE(store.Open(settings_names::kSection));
        window.Load(store);
        settings.Load(store);
        store.Close();
    }
    void Save() {
        ASSERT_TRUE(store.Open(settings_names::kSection));
        window.Save(store);
        settings.Save(store);
        store.Close();
    }
    ChangeTrackingStore store;
    WindowState window;
    ProgramSettings settings;
};

// Every value changed away from what the run loaded.
inline void ChangeEverything(ProgramRun& run) {
    run.window.placement[40] = 99;
    run.window.columns[1] = 77;
    run.window.order[0] = 2;
    run.window.order[2] = 0;
    run.window.sort[4] = 1;
    run.window.treePlacement[20] = 7;
    run.window.treeColumns[4] = 33;
    ProgramSettings& s = run.settings;
    s.m_bAutoRefresh = !s.m_bAutoRefresh;
    s.m_nAutoRefreshRate += 5;
    s.m_bShowFolderPath = !s.m_bShowFolderPath;
    s.m_bWarnFolderPath = !s.m_bWarnFolderPath;
    s.m_bMailboxPathManual = !s.m_bMailboxPathManual;
    s.m_strMailboxPath = "C:\\B\\";
    s.m_strNewmailPath = "C:\\B neu\\";
    s.m_bCompactFileSizes = !s.m_bCompactFileSizes;
    s.m_bShowNewMailFolder = !s.m_bShowNewMailFolder;
}

} // namespace tworuns
