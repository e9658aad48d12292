// A settings store for a run that may read its settings but must not write them: the
// program's INI file beside it lies in a folder the run cannot write (a write-protected
// memory stick, a CD). Reads go to the store behind it until this run has written or
// deleted the value; writes and deletions stay in memory, so the run keeps working with
// what it changed (a window reopened shows its last placement) and the file stays as it
// was. A value written with one operation and read with another, or with another size,
// reads as the caller's default, as the registry does.
#pragma once

#include "settings/settings_store.h"

#include <map>
#include <memory>
#include <set>
#include <string>

class MemoryOverlayStore : public SettingsStore {
public:
    // Takes the store to read from over.
    explicit MemoryOverlayStore(std::unique_ptr<SettingsStore> backend);

    SettingsStore& Backend() const { return *m_pBackend; }

    // Always usable: the memory needs no preparing. The store behind it is read only
    // when it could open the section too.
    [[nodiscard]] bool Open(const std::string& section) override;
    void Close() override;
    bool IsOpen() const override { return !m_strSection.empty(); }

    std::string ReadString(const std::string& name, const std::string& def) override;
    bool ReadBool(const std::string& name, bool def) override;
    int32_t ReadInt(const std::string& name, int32_t def) override;
    void ReadIntArray(const std::string& name, size_t count, const int32_t* def,
                      int32_t* dest) override;
    void ReadBinary(const std::string& name, size_t length, const void* def, void* dest) override;

    // Always accepted; nothing reaches the store behind.
    bool WriteString(const std::string& name, const std::string& text) override;
    bool WriteBool(const std::string& name, bool value) override;
    bool WriteInt(const std::string& name, int32_t value) override;
    bool WriteIntArray(const std::string& name, size_t count, const int32_t* values) override;
    bool WriteBinary(const std::string& name, size_t length, const void* bytes) override;
    bool DeleteValue(const std::string& name) override;
    bool DeleteSection(const std::string& section) override;

private:
    // The change this run made to `name` of the open section, or null: a kind letter and
    // the bytes written, or empty for a deletion; a deleted section counts as every value
    // of it deleted.
    const std::string* Find(const std::string& name) const;
    // The written bytes of `name` when they are of `kind` and `size` bytes; null when the
    // value is this run's but of another form or deleted. `mine` says whether this run
    // has touched the value at all.
    const std::string* Mine(const std::string& name, char kind, size_t size, bool& mine) const;
    bool Keep(const std::string& name, std::string value);

    std::unique_ptr<SettingsStore> m_pBackend;
    std::string m_strSection;
    bool m_bBackendOpen = false;
    std::map<std::string, std::string> m_changes; // by section and name, letter case folded
    std::set<std::string> m_deletedSections;      // letter case folded
};
