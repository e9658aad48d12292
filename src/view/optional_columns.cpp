// The optional columns' table, order and stored values.
#include "view/optional_columns.h"

#include "settings/settings_store.h"
#include "view/window_state.h"

#include <algorithm>

namespace view {

namespace {

constexpr size_t kValueCount = 3; // shown, width, position

} // namespace

const OptionalColumn* FindOptionalColumn(int column) {
    for (const OptionalColumn& entry : kOptionalColumns) {
        if (entry.column == column) {
            return &entry;
        }
    }
    return nullptr;
}

size_t OptionalColumnIndex(int column) {
    for (size_t i = 0; i < kOptionalColumnCount; ++i) {
        if (kOptionalColumns[i].column == column) {
            return i;
        }
    }
    return kOptionalColumnCount;
}

std::vector<int32_t> ShownColumns(const std::vector<OptionalColumnState>& states) {
    std::vector<int32_t> columns = {kColumnFileName, kColumnSize, kColumnFolderName};
    for (size_t i = 0; i < kOptionalColumnCount && i < states.size(); ++i) {
        if (states[i].shown) {
            columns.push_back(kOptionalColumns[i].column);
        }
    }
    return columns;
}

std::vector<int32_t> MergeOrder(const std::vector<int32_t>& baseOrder,
                                const std::vector<OptionalColumnState>& states) {
    std::vector<int32_t> order = baseOrder;
    // Placed from the leftmost position on, each lands where it was once those left
    // of it stand.
    std::vector<size_t> shown;
    for (size_t i = 0; i < kOptionalColumnCount && i < states.size(); ++i) {
        if (states[i].shown) {
            shown.push_back(i);
        }
    }
    std::stable_sort(shown.begin(), shown.end(), [&](size_t a, size_t b) {
        const uint32_t pa = static_cast<uint32_t>(states[a].position); // -1: last
        const uint32_t pb = static_cast<uint32_t>(states[b].position);
        return pa < pb;
    });
    for (size_t i : shown) {
        const int32_t position = states[i].position;
        const size_t at =
            position >= 0 ? std::min(static_cast<size_t>(position), order.size()) : order.size();
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), kOptionalColumns[i].column);
    }
    return order;
}

std::vector<int32_t> BaseOrder(const std::vector<int32_t>& displayOrder) {
    std::vector<int32_t> order;
    for (int32_t column : displayOrder) {
        if (column >= 0 && column < kFolderColumnCount) {
            order.push_back(column);
        }
    }
    return order;
}

int32_t PositionOf(const std::vector<int32_t>& displayOrder, int column) {
    const auto at = std::find(displayOrder.begin(), displayOrder.end(), column);
    return at == displayOrder.end() ? -1 : static_cast<int32_t>(at - displayOrder.begin());
}

ListState StoredListState(const ListState& shown, const std::vector<int32_t>& listColumns,
                          std::vector<OptionalColumnState>& optional) {
    const auto modelOf = [&](int32_t listColumn) {
        return listColumn >= 0 && static_cast<size_t>(listColumn) < listColumns.size()
                   ? listColumns[static_cast<size_t>(listColumn)]
                   : -1;
    };
    std::vector<int32_t> displayOrder;
    for (int32_t listColumn : shown.order) {
        displayOrder.push_back(modelOf(listColumn));
    }
    ListState stored = shown;
    stored.widths.clear();
    for (int column = 0; column < kFolderColumnCount; ++column) {
        const auto at = std::find(listColumns.begin(), listColumns.end(), column);
        const size_t index = static_cast<size_t>(at - listColumns.begin());
        stored.widths.push_back(index < shown.widths.size() ? shown.widths[index] : 0);
    }
    stored.order = shown.order.empty() ? shown.order : BaseOrder(displayOrder);
    stored.sortColumn =
        modelOf(shown.sortColumn) >= 0 ? modelOf(shown.sortColumn) : kColumnFolderName;
    for (size_t i = 0; i < kOptionalColumnCount && i < optional.size(); ++i) {
        const auto at =
            std::find(listColumns.begin(), listColumns.end(), kOptionalColumns[i].column);
        optional[i].shown = at != listColumns.end();
        if (optional[i].shown) {
            const size_t index = static_cast<size_t>(at - listColumns.begin());
            if (index < shown.widths.size()) {
                optional[i].width = shown.widths[index];
            }
            optional[i].position = PositionOf(displayOrder, kOptionalColumns[i].column);
        }
    }
    return stored;
}

void LoadOptionalColumns(SettingsStore& store, std::vector<OptionalColumnState>& states) {
    for (size_t i = 0; i < kOptionalColumnCount && i < states.size(); ++i) {
        OptionalColumnState& state = states[i];
        const int32_t current[kValueCount] = {state.shown ? 1 : 0, state.width, state.position};
        int32_t values[kValueCount];
        store.ReadIntArray(kOptionalColumns[i].valueName, kValueCount, current, values);
        if (values[0] == 0 || values[0] == 1) {
            state.shown = values[0] == 1;
        }
        state.width = values[1] >= 0 && values[1] <= kMaxColumnWidth ? values[1] : -1;
        state.position = std::max<int32_t>(values[2], -1);
    }
}

bool SaveOptionalColumns(SettingsStore& store, const std::vector<OptionalColumnState>& states) {
    bool written = true;
    for (size_t i = 0; i < kOptionalColumnCount && i < states.size(); ++i) {
        const int32_t values[kValueCount] = {states[i].shown ? 1 : 0, states[i].width,
                                             states[i].position};
        written =
            store.WriteIntArray(kOptionalColumns[i].valueName, kValueCount, values) && written;
    }
    return written;
}

} // namespace view
