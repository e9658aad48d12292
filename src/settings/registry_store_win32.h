// The settings store in the current user's registry: every section is the key
// HKEY_CURRENT_USER\Software\<store key>\<section>, booleans are 1-byte and integers
// 4-byte little-endian REG_BINARY values, texts REG_SZ. Also the two operations that
// move the values of older installations from their legacy key.
#pragma once

#include "settings/registry_key_win32.h"
#include "settings/settings_store.h"

#include <memory>
#include <string>

// This program's store key: its sections are HKEY_CURRENT_USER\Software\Morvapps\Foldtally\*.
constexpr const char kProgramStoreKey[] = "Morvapps\\Foldtally";

class RegistrySettingsStore : public SettingsStore {
public:
    RegistrySettingsStore() = default;
    explicit RegistrySettingsStore(const std::string& storeKey) : m_strStoreKey(storeKey) {}

    // The key path below "Software\", for this program "Morvapps\Foldtally"; null or
    // empty empties it. A store without a store key opens no section and deletes
    // nothing, so a mistake can never reach the other keys below "Software".
    void SetStoreKey(const char* storeKey);
    const std::string& GetStoreKey() const { return m_strStoreKey; }

    // Creates the section's key when it does not exist yet, even when only reading.
    [[nodiscard]] bool Open(const std::string& section) override;
    void Close() override { m_key.Close(); }
    bool IsOpen() const override { return m_key.IsOpen(); }

    std::string ReadString(const std::string& name, const std::string& def) override;
    bool ReadBool(const std::string& name, bool def) override;
    int32_t ReadInt(const std::string& name, int32_t def) override;
    void ReadIntArray(const std::string& name, size_t count, const int32_t* def,
                      int32_t* dest) override;
    void ReadBinary(const std::string& name, size_t length, const void* def, void* dest) override;

    bool WriteString(const std::string& name, const std::string& text) override;
    bool WriteBool(const std::string& name, bool value) override;
    bool WriteInt(const std::string& name, int32_t value) override;
    bool WriteIntArray(const std::string& name, size_t count, const int32_t* values) override;
    bool WriteBinary(const std::string& name, size_t length, const void* bytes) override;
    bool DeleteValue(const std::string& name) override;
    // True when the section is gone afterwards or the store key does not exist at all.
    bool DeleteSection(const std::string& section) override;

private:
    RegistryKey m_key;
    std::string m_strStoreKey;
};

// The key path below HKEY_CURRENT_USER where earlier versions kept their sections.
constexpr const char kLegacyStorePath[] = "SOFTWARE\\Corvapps\\Foldtally\\";

// A store reading the legacy location when `section` exists there, else null.
std::unique_ptr<RegistrySettingsStore> FindLegacyStore(const std::string& section);

// Removes the legacy program key with everything below it, then the legacy vendor key
// if nothing else is left below it. Failures are ignored.
void DeleteLegacyStore();
