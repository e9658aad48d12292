// Loading and saving the program settings: nine values, always in the same order.
#include "settings/program_settings.h"

#include "settings/settings_store.h"

namespace names = settings_names;

void ProgramSettings::Load(SettingsStore& store) {
    m_bAutoRefresh = store.ReadBool(names::kAutoRefresh, m_bAutoRefresh);
    m_nAutoRefreshRate = store.ReadInt(names::kAutoRefreshRate, m_nAutoRefreshRate);
    m_bShowFolderPath = store.ReadBool(names::kShowFolderPath, m_bShowFolderPath);
    m_bWarnFolderPath = store.ReadBool(names::kWarnFolderPath, m_bWarnFolderPath);
    m_bMailboxPathManual = store.ReadBool(names::kMailboxPathManual, m_bMailboxPathManual);
    m_strMailboxPath = store.ReadString(names::kMailboxPath, m_strMailboxPath);
    m_strNewmailPath = store.ReadString(names::kNewmailPath, m_strNewmailPath);
    m_bCompactFileSizes = store.ReadBool(names::kCompactFileSizes, m_bCompactFileSizes);
    m_bShowNewMailFolder = store.ReadBool(names::kShowNewMailFolder, m_bShowNewMailFolder);
}

void ProgramSettings::Save(SettingsStore& store) const {
    store.WriteBool(names::kAutoRefresh, m_bAutoRefresh);
    store.WriteInt(names::kAutoRefreshRate, m_nAutoRefreshRate);
    store.WriteBool(names::kShowFolderPath, m_bShowFolderPath);
    store.WriteBool(names::kWarnFolderPath, m_bWarnFolderPath);
    store.WriteBool(names::kMailboxPathManual, m_bMailboxPathManual);
    store.WriteString(names::kMailboxPath, m_strMailboxPath);
    store.WriteString(names::kNewmailPath, m_strNewmailPath);
    store.WriteBool(names::kCompactFileSizes, m_bCompactFileSizes);
    store.WriteBool(names::kShowNewMailFolder, m_bShowNewMailFolder);
}

int32_t ProgramSettings::AutoRefreshIntervalMs() const {
    constexpr int32_t kMaxSeconds = INT32_MAX / 1000;
    const int32_t seconds = m_nAutoRefreshRate < 1 || m_nAutoRefreshRate > kMaxSeconds
                                ? kDefaultAutoRefreshRate
                                : m_nAutoRefreshRate;
    return seconds * 1000;
}
