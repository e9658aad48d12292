// An in-memory settings store for tests of the code above the store. It keeps values
// typed like the registry (text, binary, or a foreign type another tool might write)
// and applies the same exactness rule: a value of another type or size reads as the
// caller's default. It also records every operation, so tests can check which values
// were read and written in which order.
#pragma once

#include "settings/settings_store.h"

#include <map>
#include <string>
#include <vector>

class MemorySettingsStore : public SettingsStore {
public:
    enum class Kind { Text, Binary, Foreign };
    struct Value {
        Kind kind = Kind::Binary;
        std::string bytes; // the text without terminator, or the binary bytes
    };
    using Section = std::map<std::string, Value>;

    bool Open(const std::string& section) override;
    void Close() override { m_strSection.clear(); }
    bool IsOpen() const override { return !m_strSection.empty(); }

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
    bool DeleteSection(const std::string& section) override;

    // Direct access for arranging and checking stored values.
    std::map<std::string, Section>& Sections() { return m_sections; }
    // Every operation as "<Operation> <name>", in call order.
    const std::vector<std::string>& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }
    // While set, every write and delete fails and changes nothing.
    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }

private:
    // The stored binary value of exactly `length` bytes, or null.
    const std::string* FindBinary(const std::string& name, size_t length) const;
    bool Store(const std::string& name, Kind kind, std::string bytes);

    std::map<std::string, Section> m_sections;
    std::string m_strSection;
    std::vector<std::string> m_log;
    bool m_bReadOnly = false;
};
