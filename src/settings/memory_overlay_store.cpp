// Reads fall through to the store behind unless this run changed the value; every
// change stays in memory.
#include "settings/memory_overlay_store.h"

#include "settings/tagged_value.h"

#include <cstring>

using namespace tagged;

MemoryOverlayStore::MemoryOverlayStore(std::unique_ptr<SettingsStore> backend)
    : m_pBackend(std::move(backend)) {}

bool MemoryOverlayStore::Open(const std::string& section) {
    m_strSection = section;
    m_bBackendOpen = m_pBackend->Open(section);
    return true;
}

void MemoryOverlayStore::Close() {
    m_strSection.clear();
    if (m_bBackendOpen) {
        m_pBackend->Close();
        m_bBackendOpen = false;
    }
}

const std::string* MemoryOverlayStore::Find(const std::string& name) const {
    static const std::string kDeleted;
    const auto change = m_changes.find(FoldedKey(m_strSection, name));
    if (change != m_changes.end()) {
        return &change->second;
    }
    return m_deletedSections.count(Folded(m_strSection)) != 0 ? &kDeleted : nullptr;
}

const std::string* MemoryOverlayStore::Mine(const std::string& name, char kind, size_t size,
                                            bool& mine) const {
    const std::string* change = Find(name);
    mine = change != nullptr;
    if (change == nullptr || change->empty() || (*change)[0] != kind ||
        (kind != kString && change->size() != size + 1)) {
        return nullptr;
    }
    return change;
}

std::string MemoryOverlayStore::ReadString(const std::string& name, const std::string& def) {
    bool mine = false;
    if (const std::string* value = Mine(name, kString, 0, mine)) {
        return value->substr(1);
    }
    return mine || !m_bBackendOpen ? def : m_pBackend->ReadString(name, def);
}

bool MemoryOverlayStore::ReadBool(const std::string& name, bool def) {
    bool mine = false;
    if (const std::string* value = Mine(name, kBool, 1, mine)) {
        return (*value)[1] != '\0';
    }
    return mine || !m_bBackendOpen ? def : m_pBackend->ReadBool(name, def);
}

int32_t MemoryOverlayStore::ReadInt(const std::string& name, int32_t def) {
    bool mine = false;
    if (const std::string* value = Mine(name, kInt, 4, mine)) {
        return IntAt(*value, 0);
    }
    return mine || !m_bBackendOpen ? def : m_pBackend->ReadInt(name, def);
}

void MemoryOverlayStore::ReadIntArray(const std::string& name, size_t count, const int32_t* def,
                                      int32_t* dest) {
    bool mine = false;
    if (const std::string* value = Mine(name, kIntArray, 4 * count, mine)) {
        for (size_t i = 0; i < count; ++i) {
            dest[i] = IntAt(*value, i);
        }
    } else if (!mine && m_bBackendOpen) {
        m_pBackend->ReadIntArray(name, count, def, dest);
    } else if (def != dest && count != 0) {
        std::memmove(dest, def, count * sizeof *dest);
    }
}

void MemoryOverlayStore::ReadBinary(const std::string& name, size_t length, const void* def,
                                    void* dest) {
    bool mine = false;
    if (const std::string* value = Mine(name, kBinary, length, mine)) {
        if (length != 0) {
            std::memcpy(dest, value->data() + 1, length);
        }
    } else if (!mine && m_bBackendOpen) {
        m_pBackend->ReadBinary(name, length, def, dest);
    } else if (def != dest && length != 0) {
        std::memmove(dest, def, length);
    }
}

bool MemoryOverlayStore::Keep(const std::string& name, std::string value) {
    m_changes[FoldedKey(m_strSection, name)] = std::move(value);
    return true;
}

bool MemoryOverlayStore::WriteString(const std::string& name, const std::string& text) {
    return Keep(name, Tagged(kString, text.data(), text.size()));
}

bool MemoryOverlayStore::WriteBool(const std::string& name, bool value) {
    const char byte = value ? '\1' : '\0';
    return Keep(name, Tagged(kBool, &byte, 1));
}

bool MemoryOverlayStore::WriteInt(const std::string& name, int32_t value) {
    return Keep(name, IntsValue(kInt, &value, 1));
}

bool MemoryOverlayStore::WriteIntArray(const std::string& name, size_t count,
                                       const int32_t* values) {
    return Keep(name, IntsValue(kIntArray, values, count));
}

bool MemoryOverlayStore::WriteBinary(const std::string& name, size_t length, const void* bytes) {
    return Keep(name, Tagged(kBinary, bytes, length));
}

bool MemoryOverlayStore::DeleteValue(const std::string& name) {
    return Keep(name, std::string());
}

bool MemoryOverlayStore::DeleteSection(const std::string& section) {
    const std::string prefix = FoldedKey(section, "");
    auto it = m_changes.lower_bound(prefix);
    while (it != m_changes.end() && it->first.compare(0, prefix.size(), prefix) == 0) {
        it = m_changes.erase(it);
    }
    m_deletedSections.insert(Folded(section));
    return true;
}
