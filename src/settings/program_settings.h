// The nine user settings that decide how the mailbox is found, how the list looks and
// whether it refreshes itself, with their first-start defaults. They live in the
// section "MainDlg" of the application's settings store, next to the window placement
// and the list columns.
#pragma once

#include <cstdint>
#include <string>

class SettingsStore;

// The stored value names, spelled as they are stored.
namespace settings_names {
constexpr const char kSection[] = "MainDlg";
constexpr const char kAutoRefresh[] = "AutoRefresh";
constexpr const char kAutoRefreshRate[] = "AutoRefreshRate";
constexpr const char kShowFolderPath[] = "ShowFolderPath";
constexpr const char kWarnFolderPath[] = "WarnFolderPath";
constexpr const char kMailboxPathManual[] = "MailboxPathManual";
constexpr const char kMailboxPath[] = "MailboxPath";
constexpr const char kNewmailPath[] = "NewmailPath";
constexpr const char kCompactFileSizes[] = "CompactFileSizes";
constexpr const char kShowNewMailFolder[] = "ShowNewMailFolder";
} // namespace settings_names

class ProgramSettings {
public:
    static constexpr int32_t kDefaultAutoRefreshRate = 10;

    ProgramSettings() = default;
    virtual ~ProgramSettings() = default;
    ProgramSettings(const ProgramSettings&) = default;
    ProgramSettings& operator=(const ProgramSettings&) = default;

    // The store must be open on section "MainDlg". Each read falls back to the field's
    // current value, so a missing or unreadable value leaves the field as it was. No
    // range checks: those belong where the user enters values.
    void Load(SettingsStore& store);
    // The store must be open on section "MainDlg". Write results are not examined.
    void Save(SettingsStore& store) const;

    // The worker's interval in milliseconds for m_nAutoRefreshRate. A stored rate below
    // one second or one whose milliseconds would not fit 32 bits (possible only by
    // editing the stored values) gives the default rate, so the worker never receives an
    // interval of 0 or less, nor one that wrapped around. The field keeps its value.
    int32_t AutoRefreshIntervalMs() const;

    bool m_bAutoRefresh = false;
    int32_t m_nAutoRefreshRate = kDefaultAutoRefreshRate; // seconds
    bool m_bShowFolderPath = true;
    bool m_bWarnFolderPath = true;
    bool m_bMailboxPathManual = false;
    std::string m_strMailboxPath; // with trailing backslash when set
    std::string m_strNewmailPath; // with trailing backslash when set
    bool m_bCompactFileSizes = true;
    bool m_bShowNewMailFolder = true;
};
