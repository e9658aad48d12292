// The old key read once, written to the current store and deleted.
#include "app/legacy_settings.h"

#include "settings/program_settings.h"
#include "settings/registry_store_win32.h"
#include "ui/folder_list_ctrl.h"
#include "ui/main_dlg.h"
#include "view/window_state.h"

bool MoveLegacySettings(SettingsStore& current) {
    std::unique_ptr<RegistrySettingsStore> legacy = FindLegacyStore(settings_names::kSection);
    if (!legacy || !legacy->Open(settings_names::kSection)) {
        return false;
    }
    if (!current.Open(settings_names::kSection)) {
        return false;
    }
    // The old values win over the current ones; what the old key lacks stays.
    ProgramSettings settings;
    settings.Load(current);
    settings.Load(*legacy);
    settings.Save(current);
    const bool copied = view::CopyWindowState(*legacy, current, CMainDlg::StateNames(),
                                              CFolderListCtrl::kColumnCount);
    current.Close();
    legacy->Close();
    legacy.reset();
    if (copied) {
        DeleteLegacyStore();
    }
    return copied;
}
