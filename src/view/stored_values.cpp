// The copy of every stored value, each in its own form.
#include "view/stored_values.h"

#include "settings/settings_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace view {

namespace {

// Whether `store` holds `name` as `count` numbers (then in `values`): a value it holds
// reads the same whatever the default offered, one it lacks gives the default.
bool ReadNumbers(SettingsStore& store, const char* name, size_t count,
                 std::vector<int32_t>& values) {
    const std::vector<int32_t> zeros(count, 0);
    const std::vector<int32_t> ones(count, 1);
    std::vector<int32_t> other(count);
    values.resize(count);
    store.ReadIntArray(name, count, zeros.data(), values.data());
    store.ReadIntArray(name, count, ones.data(), other.data());
    return values == other;
}

bool CopyNumbers(SettingsStore& from, SettingsStore& to, const StoredValue& value) {
    // Widths of an older version, for fewer columns, in the form they have: a copy
    // cannot tell which columns they lack.
    const size_t fewest = value.olderSize > 0 ? value.olderSize : value.size;
    std::vector<int32_t> numbers;
    for (size_t count = value.size; count >= fewest && count > 0; --count) {
        if (ReadNumbers(from, value.name, count, numbers)) {
            return to.WriteIntArray(value.name, count, numbers.data());
        }
    }
    return true;
}

bool CopyBytes(SettingsStore& from, SettingsStore& to, const StoredValue& value) {
    const std::vector<uint8_t> zeros(value.size, 0);
    const std::vector<uint8_t> ones(value.size, 0xFF);
    std::vector<uint8_t> bytes(value.size);
    std::vector<uint8_t> other(value.size);
    from.ReadBinary(value.name, value.size, zeros.data(), bytes.data());
    from.ReadBinary(value.name, value.size, ones.data(), other.data());
    return bytes != other || to.WriteBinary(value.name, value.size, bytes.data());
}

bool CopyValue(SettingsStore& from, SettingsStore& to, const StoredValue& value) {
    switch (value.form) {
    case StoredForm::kFlag: {
        const bool flag = from.ReadBool(value.name, false);
        return flag != from.ReadBool(value.name, true) || to.WriteBool(value.name, flag);
    }
    case StoredForm::kNumber: {
        const int32_t number = from.ReadInt(value.name, 0);
        return number != from.ReadInt(value.name, 1) || to.WriteInt(value.name, number);
    }
    case StoredForm::kText: {
        const std::string text = from.ReadString(value.name, std::string());
        return text != from.ReadString(value.name, "-") || to.WriteString(value.name, text);
    }
    case StoredForm::kNumbers:
        return CopyNumbers(from, to, value);
    case StoredForm::kBytes:
        return CopyBytes(from, to, value);
    }
    return true;
}

} // namespace

bool CopyStoredValues(SettingsStore& from, SettingsStore& to) {
    bool written = true;
    for (const StoredValue& value : kStoredValues) {
        written = CopyValue(from, to, value) && written;
    }
    return written;
}

} // namespace view
