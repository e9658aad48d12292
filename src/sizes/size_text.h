// The size text: the one way a byte count becomes text, for the list, the status line
// and the report alike.
#pragma once

#include <cstdint>
#include <string>

// How a size reads: exact with thousands separators ("123.456.789") or compact in units
// of 1024 with one decimal ("117,7 MB").
enum class SizeStyle : bool { Exact, Compact };

// The style the program's "compact sizes" setting stands for.
constexpr SizeStyle SizeStyleFor(bool compact) {
    return compact ? SizeStyle::Compact : SizeStyle::Exact;
}

// All 64 bits are read as unsigned, so folders and totals beyond 4 GiB show their size.
std::string FormatSize(uint64_t count, SizeStyle style);
