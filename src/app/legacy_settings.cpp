// The old key read once, written to the current store and deleted.
#include "app/legacy_settings.h"

#include "settings/program_settings.h"
#include "settings/registry_store_win32.h"
#include "view/stored_values.h"

bool MoveLegacySettings(SettingsStore& current) {
    std::unique_ptr<RegistrySettingsStore> legacy = FindLegacyStore(settings_names::kSection);
    if (!legacy || !legacy->Open(settings_names::kSection)) {
        return false;
    }
    if (!current.Open(settings_names::kSection)) {
        return false;
    }
    // The old values win over the current ones; what the old key lacks stays.
    const bool copied = view::CopyStoredValues(*legacy, current);
    current.Close();
    legacy->Close();
    legacy.reset();
    if (copied) {
        DeleteLegacyStore();
    }
    return copied;
}
