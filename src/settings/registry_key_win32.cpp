// The registry key wrapper: exact typed reads, typed writes and tree removal.
#include "settings/registry_key_win32.h"

#include "settings/value_codecs.h"

#include <cstring>
#include <vector>

namespace {

// How often a string read starts again when the value grew between the size query and
// the read. A value that keeps changing that often is given up on (the caller's default
// applies) instead of being chased for ever.
constexpr int kStringReadAttempts = 4;

const BYTE* Bytes(const void* data) {
    return static_cast<const BYTE*>(data);
}

} // namespace

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        m_hKey = other.m_hKey;
        other.m_hKey = nullptr;
    }
    return *this;
}

LONG RegistryKey::Create(HKEY parent, const std::string& subkey, REGSAM access) {
    Close();
    char emptyClass[] = "";
    return RegCreateKeyExA(parent, subkey.c_str(), 0, emptyClass, REG_OPTION_NON_VOLATILE, access,
                           nullptr, &m_hKey, nullptr);
}

LONG RegistryKey::Open(HKEY parent, const std::string& subkey, REGSAM access) {
    Close();
    return RegOpenKeyExA(parent, subkey.c_str(), 0, access, &m_hKey);
}

LONG RegistryKey::Close() {
    if (m_hKey == nullptr) {
        return ERROR_SUCCESS;
    }
    const LONG rc = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return rc;
}

LONG RegistryKey::DeleteValue(const std::string& name) {
    return RegDeleteValueA(m_hKey, name.c_str());
}

LONG RegistryKey::DeleteSubKey(const std::string& name) {
    return RegDeleteKeyA(m_hKey, name.c_str());
}

LONG RegistryKey::DeleteTree(const std::string& name) {
    return ::DeleteTree(m_hKey, name);
}

LONG RegistryKey::QueryString(const std::string& name, std::string& text) const {
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(m_hKey, name.c_str(), nullptr, &type, nullptr, &size);
    for (int attempt = 0; rc == ERROR_SUCCESS && attempt < kStringReadAttempts; ++attempt) {
        if (type != REG_SZ) {
            return ERROR_INVALID_DATA;
        }
        // Never an empty buffer: a null data pointer would turn the read into another
        // size query that fills nothing in.
        std::vector<char> buffer(size != 0 ? size : 1);
        DWORD got = size;
        rc = RegQueryValueExA(m_hKey, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (rc == ERROR_MORE_DATA) {
            size = got; // the value grew meanwhile: ask again with its new size
            rc = ERROR_SUCCESS;
            continue;
        }
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        if (type != REG_SZ) {
            return ERROR_INVALID_DATA;
        }
        // The stored bytes need not end with a NUL, so the text ends at the first NUL
        // or at the end of what arrived, whichever comes first.
        const size_t length = got < size ? got : size;
        text.assign(buffer.data(), strnlen(buffer.data(), length));
        return ERROR_SUCCESS;
    }
    return rc == ERROR_SUCCESS ? ERROR_MORE_DATA : rc;
}

LONG RegistryKey::QueryBinary(const std::string& name, void* data, size_t size) const {
    DWORD type = 0;
    DWORD got = static_cast<DWORD>(size);
    const LONG rc =
        RegQueryValueExA(m_hKey, name.c_str(), nullptr, &type, static_cast<BYTE*>(data), &got);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    return type == REG_BINARY && got == size ? ERROR_SUCCESS : ERROR_INVALID_DATA;
}

LONG RegistryKey::QueryBool(const std::string& name, bool& value) const {
    unsigned char byte = 0;
    const LONG rc = QueryBinary(name, &byte, 1);
    if (rc == ERROR_SUCCESS) {
        value = byte != 0;
    }
    return rc;
}

LONG RegistryKey::QueryInt(const std::string& name, int32_t& value) const {
    unsigned char bytes[4] = {};
    const LONG rc = QueryBinary(name, bytes, sizeof bytes);
    if (rc == ERROR_SUCCESS) {
        value = LoadLittleEndian32(bytes);
    }
    return rc;
}

LONG RegistryKey::SetString(const std::string& name, const std::string& text) {
    return RegSetValueExA(m_hKey, name.c_str(), 0, REG_SZ, Bytes(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

LONG RegistryKey::SetBinary(const std::string& name, const void* data, size_t size) {
    return RegSetValueExA(m_hKey, name.c_str(), 0, REG_BINARY, Bytes(data),
                          static_cast<DWORD>(size));
}

LONG RegistryKey::SetBool(const std::string& name, bool value) {
    const unsigned char byte = value ? 1 : 0;
    return SetBinary(name, &byte, 1);
}

LONG RegistryKey::SetInt(const std::string& name, int32_t value) {
    unsigned char bytes[4];
    StoreLittleEndian32(value, bytes);
    return SetBinary(name, bytes, sizeof bytes);
}

LONG DeleteTree(HKEY parent, const std::string& subkey) {
    // An empty name would open and then delete `parent` itself, with everything in it.
    if (subkey.empty()) {
        return ERROR_INVALID_PARAMETER;
    }
    RegistryKey key;
    LONG rc = key.Open(parent, subkey, KEY_READ | KEY_WRITE);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    for (;;) {
        // Always child 0: every pass that succeeds removes it.
        char child[256];
        if (RegEnumKeyA(key.Handle(), 0, child, sizeof child) != ERROR_SUCCESS) {
            break;
        }
        rc = DeleteTree(key.Handle(), child);
        if (rc != ERROR_SUCCESS) {
            break;
        }
    }
    key.Close();
    if (rc == ERROR_SUCCESS) {
        rc = RegDeleteKeyA(parent, subkey.c_str());
    }
    return rc;
}
