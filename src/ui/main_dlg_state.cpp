// CMainDlg's stored state beyond the list window's record: the first start's placement,
// the folder list's columns with their optional ones, the settings and the values the
// window keeps for its commands; and "Extras > Einstellungen portabel speichern", which
// takes every value of the table of stored values into the new file.
#include "framework/app_services.h"
#include "history/change_since.h"
#include "settings/settings_store.h"
#include "ui/main_dlg.h"
#include "view/placement.h"
#include "view/stored_values.h"

view::WindowPlacementRecord CMainDlg::FirstPlacement() const {
    uint8_t placement[view::kPlacementSize];
    view::DefaultPlacementBytes(placement);
    return view::ScalePlacementForDpi(view::DecodePlacement(placement), m_list.GetDpi());
}

std::vector<int32_t> CMainDlg::LoadColumns(SettingsStore& store) {
    return m_list.LoadColumnState(store, Names());
}

void CMainDlg::LoadMore(SettingsStore& store) {
    m_settings.Load(store);
    m_strExportFolder = store.ReadString(stored_names::kExportPath, m_strExportFolder);
    m_strAllUsersRoot = store.ReadString(stored_names::kAllUsersRoot, m_strAllUsersRoot);
    m_bChangeReferenceChosen = history::LoadChangeReference(store, m_changeReference);
    m_limitWarnings.LoadSilenced(
        store.ReadString(stored_names::kSilencedOverLimit, m_limitWarnings.StoredSilenced()));
}

bool CMainDlg::SaveMore(SettingsStore& store) {
    const bool written = m_list.SaveOptionalColumns(store);
    m_settings.Save(store);
    // Only once an export was written: no run leaves an empty value behind.
    if (!m_strExportFolder.empty()) {
        store.WriteString(stored_names::kExportPath, m_strExportFolder);
    }
    if (!m_strAllUsersRoot.empty()) {
        store.WriteString(stored_names::kAllUsersRoot, m_strAllUsersRoot);
    }
    // Written empty once a silenced file is back under the limit: not its old list.
    if (m_limitWarnings.HasStoredSilence()) {
        store.WriteString(stored_names::kSilencedOverLimit, m_limitWarnings.StoredSilenced());
    }
    // Likewise the change's reference: only once one was chosen.
    if (m_bChangeReferenceChosen) {
        static_cast<void>(history::SaveChangeReference(store, m_changeReference));
    }
    return written;
}

void CMainDlg::OnSavePortable() {
    SettingsStore* current = m_app.GetSettingsStore();
    static_cast<void>(m_app.SaveSettingsPortable([this, current](SettingsStore& file) {
        if (!file.Open(settings_names::kSection)) {
            return false;
        }
        // Every value of the table as the store holds it, the other windows' too; then
        // what this window holds now over it.
        bool written = true;
        if (current != nullptr && current->Open(settings_names::kSection)) {
            written = view::CopyStoredValues(*current, file);
            current->Close();
        }
        written = SaveStateTo(file) && written;
        file.Close();
        return written;
    }));
    UpdatePortableItem();
}
