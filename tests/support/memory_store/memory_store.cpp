// The in-memory test store: registry-like typed values with an operation log.
#include "memory_store.h"

#include "settings/value_codecs.h"

#include <cstring>

bool MemorySettingsStore::Open(const std::string& section) {
    m_log.push_back("Open " + section);
    m_strSection = section;
    return true;
}

const std::string* MemorySettingsStore::FindBinary(const std::string& name, size_t length) const {
    const auto section = m_sections.find(m_strSection);
    if (section == m_sections.end()) {
        return nullptr;
    }
    const auto value = section->second.find(name);
    if (value == section->second.end() || value->second.kind != Kind::Binary ||
        value->second.bytes.size() != length) {
        return nullptr;
    }
    return &value->second.bytes;
}

std::string MemorySettingsStore::ReadString(const std::string& name, const std::string& def) {
    m_log.push_back("ReadString " + name);
    const auto section = m_sections.find(m_strSection);
    if (section == m_sections.end()) {
        return def;
    }
    const auto value = section->second.find(name);
    return value != section->second.end() && value->second.kind == Kind::Text ? value->second.bytes
                                                                              : def;
}

bool MemorySettingsStore::ReadBool(const std::string& name, bool def) {
    m_log.push_back("ReadBool " + name);
    const std::string* bytes = FindBinary(name, 1);
    return bytes != nullptr ? (*bytes)[0] != 0 : def;
}

int32_t MemorySettingsStore::ReadInt(const std::string& name, int32_t def) {
    m_log.push_back("ReadInt " + name);
    const std::string* bytes = FindBinary(name, 4);
    return bytes != nullptr
               ? LoadLittleEndian32(reinterpret_cast<const unsigned char*>(bytes->data()))
               : def;
}

void MemorySettingsStore::ReadIntArray(const std::string& name, size_t count, const int32_t* def,
                                       int32_t* dest) {
    m_log.push_back("ReadIntArray " + name);
    const std::string* bytes = FindBinary(name, 4 * count);
    for (size_t i = 0; i < count; ++i) {
        dest[i] =
            bytes != nullptr
                ? LoadLittleEndian32(reinterpret_cast<const unsigned char*>(bytes->data()) + 4 * i)
                : def[i];
    }
}

void MemorySettingsStore::ReadBinary(const std::string& name, size_t length, const void* def,
                                     void* dest) {
    m_log.push_back("ReadBinary " + name);
    const std::string* bytes = FindBinary(name, length);
    if (length != 0) {
        std::memmove(dest, bytes != nullptr ? bytes->data() : def, length);
    }
}

bool MemorySettingsStore::Store(const std::string& name, Kind kind, std::string bytes) {
    if (m_bReadOnly || m_strSection.empty()) {
        return false;
    }
    m_sections[m_strSection][name] = Value{kind, std::move(bytes)};
    return true;
}

bool MemorySettingsStore::WriteString(const std::string& name, const std::string& text) {
    m_log.push_back("WriteString " + name);
    return Store(name, Kind::Text, text);
}

bool MemorySettingsStore::WriteBool(const std::string& name, bool value) {
    m_log.push_back("WriteBool " + name);
    return Store(name, Kind::Binary, std::string(1, value ? '\1' : '\0'));
}

bool MemorySettingsStore::WriteInt(const std::string& name, int32_t value) {
    m_log.push_back("WriteInt " + name);
    unsigned char bytes[4];
    StoreLittleEndian32(value, bytes);
    return Store(name, Kind::Binary, std::string(reinterpret_cast<char*>(bytes), 4));
}

bool MemorySettingsStore::WriteIntArray(const std::string& name, size_t count,
                                        const int32_t* values) {
    m_log.push_back("WriteIntArray " + name);
    std::string bytes(4 * count, '\0');
    for (size_t i = 0; i < count; ++i) {
        StoreLittleEndian32(values[i], reinterpret_cast<unsigned char*>(&bytes[4 * i]));
    }
    return Store(name, Kind::Binary, bytes);
}

bool MemorySettingsStore::WriteBinary(const std::string& name, size_t length, const void* bytes) {
    m_log.push_back("WriteBinary " + name);
    return Store(name, Kind::Binary, std::string(static_cast<const char*>(bytes), length));
}

bool MemorySettingsStore::DeleteValue(const std::string& name) {
    m_log.push_back("DeleteValue " + name);
    if (m_bReadOnly) {
        return false;
    }
    return m_sections[m_strSection].erase(name) != 0;
}

bool MemorySettingsStore::DeleteSection(const std::string& section) {
    m_log.push_back("DeleteSection " + section);
    if (m_bReadOnly) {
        return false;
    }
    m_sections.erase(section);
    return true;
}
