// The check of a stored column order.
#include "view/column_order.h"

#include <cstddef>
#include <vector>

namespace view {

bool IsColumnPermutation(const int32_t* order, int count) {
    if (count < 0 || (count > 0 && order == nullptr)) {
        return false;
    }
    std::vector<bool> seen(static_cast<size_t>(count), false);
    for (int i = 0; i < count; ++i) {
        const int32_t column = order[i];
        if (column < 0 || column >= count || seen[static_cast<size_t>(column)]) {
            return false;
        }
        seen[static_cast<size_t>(column)] = true;
    }
    return true;
}

} // namespace view
