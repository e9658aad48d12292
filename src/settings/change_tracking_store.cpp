// Reads pass through and are remembered; writes pass through only when they change
// something. The store interface cannot say whether a read found a value or fell back
// to the default, so a read that returns its default is asked once more with another
// default: a value that is there comes back the same both times.
#include "settings/change_tracking_store.h"

#include "settings/tagged_value.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using namespace tagged;

// Reads `count` elements through `read` (a default, then the destination) and says
// whether the store held them: it did when they differ from the default or, read again,
// from a second default that differs from the first in every element.
template <typename T, typename Read>
bool ReadFindsValue(Read read, const T* def, T* dest, size_t count) {
    // `def` may be `dest`: keep the default before the read overwrites it.
    const std::vector<T> defaults(def, def + count);
    read(defaults.data(), dest);
    if (!std::equal(defaults.begin(), defaults.end(), dest)) {
        return true;
    }
    std::vector<T> other(count);
    for (size_t i = 0; i < count; ++i) {
        other[i] = static_cast<T>(~defaults[i]);
    }
    std::vector<T> probe(count);
    read(other.data(), probe.data());
    return probe != other;
}

} // namespace

ChangeTrackingStore::ChangeTrackingStore(std::unique_ptr<SettingsStore> backend)
    : m_pOwned(std::move(backend)), m_backend(*m_pOwned) {}

ChangeTrackingStore::ChangeTrackingStore(SettingsStore& backend) : m_backend(backend) {}

bool ChangeTrackingStore::Open(const std::string& section) {
    m_strSection = section;
    return m_backend.Open(section);
}

void ChangeTrackingStore::Close() {
    m_backend.Close();
}

std::string ChangeTrackingStore::KeyOf(const std::string& name) const {
    return FoldedKey(m_strSection, name);
}

void ChangeTrackingStore::Remember(const std::string& name, std::string value, bool stored) {
    Known& known = m_known[KeyOf(name)];
    known.value = std::move(value);
    known.stored = stored;
}

bool ChangeTrackingStore::HasUsable(const std::string& name, const std::string& known) {
    const size_t size = known.size() - 1;
    switch (known[0]) {
    case kString:
        return m_backend.ReadString(name, "") != "" || m_backend.ReadString(name, "\1") != "\1";
    case kBool:
        return m_backend.ReadBool(name, false) || !m_backend.ReadBool(name, true);
    case kInt:
        return m_backend.ReadInt(name, 0) != 0 || m_backend.ReadInt(name, -1) != -1;
    case kIntArray: {
        std::vector<int32_t> got(size / 4, 0);
        return ReadFindsValue<int32_t>(
            [&](const int32_t* def, int32_t* dest) {
                m_backend.ReadIntArray(name, got.size(), def, dest);
            },
            got.data(), got.data(), got.size());
    }
    default: {
        std::vector<unsigned char> got(size, 0);
        return ReadFindsValue<unsigned char>(
            [&](const unsigned char* def, unsigned char* dest) {
                m_backend.ReadBinary(name, size, def, dest);
            },
            got.data(), got.data(), size);
    }
    }
}

bool ChangeTrackingStore::Unchanged(const std::string& name, const std::string& value) {
    const auto known = m_known.find(KeyOf(name));
    if (known == m_known.end() || known->second.value != value) {
        return false;
    }
    // Nothing was stored when this run looked: another run may have stored a value since,
    // and that one stays; otherwise this run's value goes in, as on a first start.
    if (!known->second.stored) {
        known->second.stored = HasUsable(name, value);
        return known->second.stored;
    }
    return true;
}

template <typename Write>
bool ChangeTrackingStore::WriteIfChanged(const std::string& name, std::string value, Write write) {
    if (Unchanged(name, value)) {
        return true;
    }
    if (!write()) {
        return false;
    }
    Remember(name, std::move(value), true);
    return true;
}

std::string ChangeTrackingStore::ReadString(const std::string& name, const std::string& def) {
    const std::string text = m_backend.ReadString(name, def);
    const bool stored = text != def || m_backend.ReadString(name, def + '\1') != def + '\1';
    Remember(name, Tagged(kString, text.data(), text.size()), stored);
    return text;
}

bool ChangeTrackingStore::ReadBool(const std::string& name, bool def) {
    const bool value = m_backend.ReadBool(name, def);
    const bool stored = value != def || m_backend.ReadBool(name, !def) != !def;
    Remember(name, BoolValue(value), stored);
    return value;
}

int32_t ChangeTrackingStore::ReadInt(const std::string& name, int32_t def) {
    const int32_t value = m_backend.ReadInt(name, def);
    const bool stored = value != def || m_backend.ReadInt(name, ~def) != ~def;
    Remember(name, IntValue(value), stored);
    return value;
}

void ChangeTrackingStore::ReadIntArray(const std::string& name, size_t count, const int32_t* def,
                                       int32_t* dest) {
    const bool stored = ReadFindsValue<int32_t>(
        [&](const int32_t* first, int32_t* out) {
            m_backend.ReadIntArray(name, count, first, out);
        },
        def, dest, count);
    Remember(name, IntsValue(kIntArray, dest, count), stored);
}

void ChangeTrackingStore::ReadBinary(const std::string& name, size_t length, const void* def,
                                     void* dest) {
    const bool stored = ReadFindsValue<unsigned char>(
        [&](const unsigned char* first, unsigned char* out) {
            m_backend.ReadBinary(name, length, first, out);
        },
        static_cast<const unsigned char*>(def), static_cast<unsigned char*>(dest), length);
    Remember(name, Tagged(kBinary, dest, length), stored);
}

bool ChangeTrackingStore::WriteString(const std::string& name, const std::string& text) {
    return WriteIfChanged(name, Tagged(kString, text.data(), text.size()),
                          [&] { return m_backend.WriteString(name, text); });
}

bool ChangeTrackingStore::WriteBool(const std::string& name, bool b) {
    return WriteIfChanged(name, BoolValue(b), [&] { return m_backend.WriteBool(name, b); });
}

bool ChangeTrackingStore::WriteInt(const std::string& name, int32_t i) {
    return WriteIfChanged(name, IntValue(i), [&] { return m_backend.WriteInt(name, i); });
}

bool ChangeTrackingStore::WriteIntArray(const std::string& name, size_t count,
                                        const int32_t* values) {
    return WriteIfChanged(name, IntsValue(kIntArray, values, count),
                          [&] { return m_backend.WriteIntArray(name, count, values); });
}

bool ChangeTrackingStore::WriteBinary(const std::string& name, size_t length, const void* bytes) {
    return WriteIfChanged(name, Tagged(kBinary, bytes, length),
                          [&] { return m_backend.WriteBinary(name, length, bytes); });
}

bool ChangeTrackingStore::DeleteValue(const std::string& name) {
    m_known.erase(KeyOf(name));
    return m_backend.DeleteValue(name);
}

bool ChangeTrackingStore::DeleteSection(const std::string& section) {
    const std::string prefix = FoldedKey(section, "");
    auto it = m_known.lower_bound(prefix);
    while (it != m_known.end() && it->first.compare(0, prefix.size(), prefix) == 0) {
        it = m_known.erase(it);
    }
    return m_backend.DeleteSection(section);
}
