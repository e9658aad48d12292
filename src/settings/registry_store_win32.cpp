// The registry backend of the settings store and the legacy-location migration.
#include "settings/registry_store_win32.h"

#include "diag/path_parts.h"
#include "settings/value_codecs.h"

#include <cstring>
#include <vector>

namespace {

void CopyDefault(const void* def, void* dest, size_t length) {
    // Empty blocks may come as null pointers, which memmove must never see.
    if (def != dest && length != 0) {
        std::memmove(dest, def, length);
    }
}

} // namespace

void RegistrySettingsStore::SetStoreKey(const char* storeKey) {
    m_strStoreKey = storeKey != nullptr ? storeKey : "";
}

bool RegistrySettingsStore::Open(const std::string& section) {
    if (IsOpen()) {
        Close();
    }
    if (m_strStoreKey.empty()) {
        return false;
    }
    const std::string path = "Software\\" + m_strStoreKey + "\\" + section;
    return m_key.Create(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS) == ERROR_SUCCESS;
}

std::string RegistrySettingsStore::ReadString(const std::string& name, const std::string& def) {
    std::string text;
    return m_key.QueryString(name, text) == ERROR_SUCCESS ? text : def;
}

bool RegistrySettingsStore::ReadBool(const std::string& name, bool def) {
    bool value = def;
    return m_key.QueryBool(name, value) == ERROR_SUCCESS ? value : def;
}

int32_t RegistrySettingsStore::ReadInt(const std::string& name, int32_t def) {
    int32_t value = def;
    return m_key.QueryInt(name, value) == ERROR_SUCCESS ? value : def;
}

void RegistrySettingsStore::ReadIntArray(const std::string& name, size_t count, const int32_t* def,
                                         int32_t* dest) {
    if (count <= MAXDWORD / 4) {
        std::vector<unsigned char> block(4 * count);
        if (m_key.QueryBinary(name, block.data(), block.size()) == ERROR_SUCCESS) {
            for (size_t i = 0; i < count; ++i) {
                dest[i] = LoadLittleEndian32(&block[4 * i]);
            }
            return;
        }
    }
    CopyDefault(def, dest, count * sizeof(int32_t));
}

void RegistrySettingsStore::ReadBinary(const std::string& name, size_t length, const void* def,
                                       void* dest) {
    // Read into a block of our own: a failed read must leave `dest` as it was, and
    // `dest` may be the default itself.
    std::vector<unsigned char> block(length);
    if (m_key.QueryBinary(name, block.data(), length) == ERROR_SUCCESS) {
        if (length != 0) {
            std::memcpy(dest, block.data(), length);
        }
        return;
    }
    CopyDefault(def, dest, length);
}

bool RegistrySettingsStore::WriteString(const std::string& name, const std::string& text) {
    return m_key.SetString(name, text) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::WriteBool(const std::string& name, bool value) {
    return m_key.SetBool(name, value) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::WriteInt(const std::string& name, int32_t value) {
    return m_key.SetInt(name, value) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::WriteIntArray(const std::string& name, size_t count,
                                          const int32_t* values) {
    if (count > MAXDWORD / 4) {
        return false;
    }
    std::vector<unsigned char> block(4 * count);
    for (size_t i = 0; i < count; ++i) {
        StoreLittleEndian32(values[i], &block[4 * i]);
    }
    return m_key.SetBinary(name, block.data(), block.size()) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::WriteBinary(const std::string& name, size_t length, const void* bytes) {
    return m_key.SetBinary(name, bytes, length) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::DeleteValue(const std::string& name) {
    return m_key.DeleteValue(name) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::DeleteSection(const std::string& section) {
    if (m_strStoreKey.empty()) {
        return true;
    }
    RegistryKey store;
    if (store.Open(HKEY_CURRENT_USER, "Software\\" + m_strStoreKey, KEY_ALL_ACCESS) !=
        ERROR_SUCCESS) {
        return true;
    }
    const LONG rc = store.DeleteTree(section);
    store.Close();
    return rc == ERROR_SUCCESS;
}

std::unique_ptr<RegistrySettingsStore> FindLegacyStore(const std::string& section) {
    RegistryKey legacy;
    if (legacy.Open(HKEY_CURRENT_USER, kLegacyStorePath + section, KEY_ALL_ACCESS) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    legacy.Close();
    std::vector<std::string> pieces;
    SplitString(kLegacyStorePath, '\\', -1, pieces);
    auto store = std::make_unique<RegistrySettingsStore>();
    store->SetStoreKey((pieces[1] + "\\" + pieces[2]).c_str());
    return store;
}

void DeleteLegacyStore() {
    std::vector<std::string> pieces;
    SplitString(kLegacyStorePath, '\\', -1, pieces);
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, pieces[0] + "\\" + pieces[1], KEY_ALL_ACCESS) ==
        ERROR_SUCCESS) {
        key.DeleteTree(pieces[2]);
    }
    if (key.Open(HKEY_CURRENT_USER, pieces[0], KEY_ALL_ACCESS) == ERROR_SUCCESS) {
        key.DeleteSubKey(pieces[1]);
    }
}
