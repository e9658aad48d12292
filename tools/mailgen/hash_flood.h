// Identifiers chosen against a fixed, public hash: what someone who wants every scan to
// crawl writes into "hierarch.pm". A table indexed by 32-bit FNV-1a of the identifier
// (as the folder tree's index once was) puts all of them on one value, so it degrades
// to a list; an index with a key of its own run does not.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mailgen {

// The 32-bit FNV-1a of `text`, ASCII letters folded to lower case first.
uint32_t FoldedFnv1a(const std::string& text);

// 2^`doublings` distinct identifiers of lower-case letters and digits (`doublings` blocks
// of four characters each) with one FoldedFnv1a between them; the same on every platform.
// At most 20 doublings.
std::vector<std::string> FnvFloodIdentifiers(int doublings);

} // namespace mailgen
