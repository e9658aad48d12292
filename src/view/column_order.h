// The column order a list keeps between runs: for each display position the column
// index shown there. A stored order comes from outside the program (the registry, an
// INI file), so it is checked before a list applies it.
#pragma once

#include <cstdint>

namespace view {

// True when `order` holds each of 0 .. count-1 exactly once.
bool IsColumnPermutation(const int32_t* order, int count);

} // namespace view
