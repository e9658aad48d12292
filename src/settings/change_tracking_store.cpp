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

// A default that differs from `def` in every element.
std::vector<int32_t> Inverted(const int32_t* def, size_t count) {
    std::vector<int32_t> other(count);
    for (size_t i = 0; i < count; ++i) {
        other[i] = ~def[i];
    }
    return other;
}

std::vector<unsigned char> Inverted(const void* def, size_t length) {
    std::vector<unsigned char> other(length);
    const unsigned char* bytes = static_cast<const unsigned char*>(def);
    for (size_t i = 0; i < length; ++i) {
        other[i] = static_cast<unsigned char>(~bytes[i]);
    }
    return other;
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
        const size_t count = size / 4;
        const std::vector<int32_t> zeros(count, 0);
        const std::vector<int32_t> ones(count, -1);
        std::vector<int32_t> got(count);
        m_backend.ReadIntArray(name, count, zeros.data(), got.data());
        if (got != zeros) {
            return true;
        }
        m_backend.ReadIntArray(name, count, ones.data(), got.data());
        return got != ones;
    }
    default: {
        const std::vector<unsigned char> zeros(size, 0);
        const std::vector<unsigned char> ones(size, 0xFF);
        std::vector<unsigned char> got(size);
        m_backend.ReadBinary(name, size, zeros.data(), got.data());
        if (got != zeros) {
            return true;
        }
        m_backend.ReadBinary(name, size, ones.data(), got.data());
        return got != ones;
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

bool ChangeTrackingStore::Written(const std::string& name, std::string value, bool accepted) {
    if (accepted) {
        Remember(name, std::move(value), true);
    }
    return accepted;
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
    // `def` may be `dest`: keep the default before the read overwrites it.
    const std::vector<int32_t> defaults(def, def + count);
    m_backend.ReadIntArray(name, count, defaults.data(), dest);
    bool stored = !std::equal(defaults.begin(), defaults.end(), dest);
    if (!stored) {
        const std::vector<int32_t> other = Inverted(defaults.data(), count);
        std::vector<int32_t> probe(count);
        m_backend.ReadIntArray(name, count, other.data(), probe.data());
        stored = probe != other;
    }
    Remember(name, IntsValue(kIntArray, dest, count), stored);
}

void ChangeTrackingStore::ReadBinary(const std::string& name, size_t length, const void* def,
                                     void* dest) {
    const unsigned char* first = static_cast<const unsigned char*>(def);
    const std::vector<unsigned char> defaults(first, first + length);
    m_backend.ReadBinary(name, length, defaults.data(), dest);
    bool stored = length != 0 && std::memcmp(defaults.data(), dest, length) != 0;
    if (!stored) {
        const std::vector<unsigned char> other = Inverted(defaults.data(), length);
        std::vector<unsigned char> probe(length);
        m_backend.ReadBinary(name, length, other.data(), probe.data());
        stored = probe != other;
    }
    Remember(name, Tagged(kBinary, dest, length), stored);
}

bool ChangeTrackingStore::WriteString(const std::string& name, const std::string& text) {
    std::string value = Tagged(kString, text.data(), text.size());
    if (Unchanged(name, value)) {
        return true;
    }
    return Written(name, std::move(value), m_backend.WriteString(name, text));
}

bool ChangeTrackingStore::WriteBool(const std::string& name, bool b) {
    std::string value = BoolValue(b);
    if (Unchanged(name, value)) {
        return true;
    }
    return Written(name, std::move(value), m_backend.WriteBool(name, b));
}

bool ChangeTrackingStore::WriteInt(const std::string& name, int32_t i) {
    std::string value = IntValue(i);
    if (Unchanged(name, value)) {
        return true;
    }
    return Written(name, std::move(value), m_backend.WriteInt(name, i));
}

bool ChangeTrackingStore::WriteIntArray(const std::string& name, size_t count,
                                        const int32_t* values) {
    std::string value = IntsValue(kIntArray, values, count);
    if (Unchanged(name, value)) {
        return true;
    }
    return Written(name, std::move(value), m_backend.WriteIntArray(name, count, values));
}

bool ChangeTrackingStore::WriteBinary(const std::string& name, size_t length, const void* bytes) {
    std::string value = Tagged(kBinary, bytes, length);
    if (Unchanged(name, value)) {
        return true;
    }
    return Written(name, std::move(value), m_backend.WriteBinary(name, length, bytes));
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
