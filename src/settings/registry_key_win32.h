// An owned registry key handle with the typed value reads and writes the settings store
// needs, and the removal of a whole key tree. Reads are exact: a value of another type
// or size is refused with ERROR_INVALID_DATA (13) rather than half-read.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

class RegistryKey {
public:
    RegistryKey() = default;
    virtual ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept : m_hKey(other.m_hKey) { other.m_hKey = nullptr; }
    RegistryKey& operator=(RegistryKey&& other) noexcept;

    // Create-or-open and open: any key held so far is closed first; on success the new
    // handle is held. Both return the platform's error code (0 on success).
    LONG Create(HKEY parent, const std::string& subkey, REGSAM access);
    LONG Open(HKEY parent, const std::string& subkey, REGSAM access);
    // Closes a held handle; a closed key stays closed and gives 0.
    LONG Close();

    bool IsOpen() const { return m_hKey != nullptr; }
    HKEY Handle() const { return m_hKey; }

    LONG DeleteValue(const std::string& name);
    // Deletes a direct subkey that has no subkeys of its own.
    LONG DeleteSubKey(const std::string& name);
    // Deletes a direct subkey with everything below it (see ::DeleteTree).
    LONG DeleteTree(const std::string& name);

    // A REG_SZ value as text up to its first NUL, never past the stored bytes, whether
    // or not a terminator was stored. `text` is untouched on failure.
    LONG QueryString(const std::string& name, std::string& text) const;
    // A REG_BINARY value of exactly `size` bytes into `data`; other types and sizes give
    // ERROR_INVALID_DATA (or the platform's ERROR_MORE_DATA for longer values).
    // `data` may be changed even when the result is not 0.
    LONG QueryBinary(const std::string& name, void* data, size_t size) const;
    LONG QueryBool(const std::string& name, bool& value) const;
    LONG QueryInt(const std::string& name, int32_t& value) const;

    // REG_SZ with the terminating NUL counted in the size.
    LONG SetString(const std::string& name, const std::string& text);
    LONG SetBinary(const std::string& name, const void* data, size_t size);
    // REG_BINARY of 1 byte (0x00 or 0x01).
    LONG SetBool(const std::string& name, bool value);
    // REG_BINARY of 4 bytes, little-endian (never REG_DWORD).
    LONG SetInt(const std::string& name, int32_t value);

private:
    HKEY m_hKey = nullptr;
};

// Removes `subkey` of `parent` with all its subkeys, depth first. Stops at the first
// child that cannot be removed and returns its error, leaving the rest (and `subkey`
// itself) in place; returns 0 when everything went.
LONG DeleteTree(HKEY parent, const std::string& subkey);
