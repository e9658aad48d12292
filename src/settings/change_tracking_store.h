// A settings store that writes only what this run changed. Two copies of the program
// may be open at once, each saving its whole state when it closes; if both wrote every
// value they had loaded, the one closed last would undo the other's changes. So this
// store, put in front of the real one, remembers each value as this run last read or
// wrote it and lets a write through only when the value differs from that, or when the
// store held no usable value for it and still holds none (a first start still stores
// every value, and a value of the wrong type or size is still replaced by one of the
// right form). Whoever saves state — a window, a model — needs to know nothing of it.
#pragma once

#include "settings/settings_store.h"

#include <map>
#include <memory>
#include <string>

class ChangeTrackingStore : public SettingsStore {
public:
    // Takes the real store over.
    explicit ChangeTrackingStore(std::unique_ptr<SettingsStore> backend);
    // Uses a store that outlives this one.
    explicit ChangeTrackingStore(SettingsStore& backend);

    // The store behind this one.
    SettingsStore& Backend() const { return m_backend; }

    [[nodiscard]] bool Open(const std::string& section) override;
    void Close() override;
    bool IsOpen() const override { return m_backend.IsOpen(); }

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
    // What a value was when this run last saw it: its kind and bytes, and whether the
    // store held it in a usable form.
    struct Known {
        std::string value; // a kind letter, then the value's bytes
        bool stored = true;
    };

    std::string KeyOf(const std::string& name) const;
    void Remember(const std::string& name, std::string value, bool stored);
    // True when writing `value` would change nothing this run knows of.
    bool Unchanged(const std::string& name, const std::string& value);
    // Whether the store now holds a usable value of the kind of `known`.
    bool HasUsable(const std::string& name, const std::string& known);
    // Writes through `write` unless `value` changes nothing, and remembers it once taken.
    template <typename Write>
    bool WriteIfChanged(const std::string& name, std::string value, Write write);

    std::unique_ptr<SettingsStore> m_pOwned;
    SettingsStore& m_backend;
    std::string m_strSection;
    std::map<std::string, Known> m_known; // by section and name, letter case folded
};
