// The one interface through which the program keeps state between runs. Callers open a
// named section, read and write typed values by name and close the section again; they
// never learn whether the registry or an INI file sits behind it. Reads never fail:
// whatever goes wrong, the caller's default comes back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Selects the section every later read and write goes to; an open section is closed
    // first. False when the section cannot be used (callers then skip the whole batch).
    [[nodiscard]] virtual bool Open(const std::string& section) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual std::string ReadString(const std::string& name, const std::string& def) = 0;
    virtual bool ReadBool(const std::string& name, bool def) = 0;
    virtual int32_t ReadInt(const std::string& name, int32_t def) = 0;
    // Fill `dest` with `count` stored integers, or with `def` when the stored value does
    // not fit. `def` and `dest` may be the same array.
    virtual void ReadIntArray(const std::string& name, size_t count, const int32_t* def,
                              int32_t* dest) = 0;
    // As ReadIntArray for a block of `length` bytes.
    virtual void ReadBinary(const std::string& name, size_t length, const void* def,
                            void* dest) = 0;

    // Writes and deletions report whether the backend accepted them.
    virtual bool WriteString(const std::string& name, const std::string& text) = 0;
    virtual bool WriteBool(const std::string& name, bool value) = 0;
    virtual bool WriteInt(const std::string& name, int32_t value) = 0;
    virtual bool WriteIntArray(const std::string& name, size_t count, const int32_t* values) = 0;
    virtual bool WriteBinary(const std::string& name, size_t length, const void* bytes) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;
    // Removes a whole section, a sibling of the open one (not a child of it).
    virtual bool DeleteSection(const std::string& section) = 0;

protected:
    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
};
