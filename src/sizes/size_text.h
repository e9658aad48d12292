// The size text: the one way a byte count becomes text, for the list, the status line
// and the report alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How a size reads: exact with thousands separators ("123.456.789") or compact in units
// of 1024 with one decimal ("117,7 MB"); in English "123,456,789" and "117.7 MB", as
// UserLanguage() says.
enum class SizeStyle : bool { Exact, Compact };

// The style the program's "compact sizes" setting stands for.
constexpr SizeStyle SizeStyleFor(bool compact) {
    return compact ? SizeStyle::Compact : SizeStyle::Exact;
}

// All 64 bits are read as unsigned, so folders and totals beyond 4 GiB show their size.
std::string FormatSize(uint64_t count, SizeStyle style);

// The byte count a user typed as a size: digits with a decimal comma ("1,5 GB") or point
// ("1.5 GB"), "." between groups of three digits ("1.234.567") - in English "," between
// the groups ("1,234,567"), so "1,234" is 1234 bytes there and 1,234 in German - and an optional
// unit of 1024 as the size text writes them (Bytes, kB, MB, GB, TB; any case, with or without a
// space, "K" for "kB"). Spaces around are ignored; "" is 0. False for anything else and for a count
// beyond 64 bits; the fraction of a byte is dropped.
bool ParseSizeText(std::string_view text, uint64_t* count);
