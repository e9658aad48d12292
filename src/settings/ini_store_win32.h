// The settings store in a private profile (INI) file beside the program: sections are
// INI sections, values are texts ("1"/"0", decimal, ", "-joined lists, upper-case
// hexadecimal). Reads go through one buffer of 1024 bytes, so a value is at most 1023
// characters long.
#pragma once

#include "settings/settings_store.h"

#include <string>
#include <vector>

// One profile file and the buffer its reads go through.
class IniFile {
public:
    static constexpr size_t kDefaultBufferSize = 1024;

    IniFile() : m_buffer(kDefaultBufferSize) {}
    virtual ~IniFile() = default;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Made absolute against the current directory: the profile functions would take a
    // bare name to mean a file in the Windows directory.
    void SetPath(const std::string& path);
    const std::string& GetPath() const { return m_strPath; }
    // Replaces the read buffer; sizes below 2 are taken as 2 (one character and its
    // terminator).
    void SetBufferSize(size_t size);
    size_t GetBufferSize() const { return m_buffer.size(); }

    // The key's text, or `def` when the key is missing; cut to buffer size - 1.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def);
    bool WriteString(const std::string& section, const std::string& key, const std::string& text);
    bool DeleteKey(const std::string& section, const std::string& key);
    bool DeleteSection(const std::string& section);

private:
    std::string m_strPath;
    std::vector<char> m_buffer;
};

class IniSettingsStore : public SettingsStore {
public:
    IniSettingsStore() = default;
    explicit IniSettingsStore(const std::string& path) { m_file.SetPath(path); }

    IniFile& File() { return m_file; }

    // Always succeeds: a section of a profile file needs no preparing.
    [[nodiscard]] bool Open(const std::string& section) override;
    void Close() override { m_strSection.clear(); }
    bool IsOpen() const override { return !m_strSection.empty() && !m_file.GetPath().empty(); }

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

private:
    IniFile m_file;
    std::string m_strSection;
};
