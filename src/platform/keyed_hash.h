// The hash of every table keyed by text from outside: names in "hierarch.pm", in
// "PMAIL.USR", in directory listings and in earlier reports. Its key is drawn once per
// run, so no file can be written whose names all land in one slot of a table: with a
// fixed hash (std::hash<std::string> of libstdc++ has a constant seed) 32 768 chosen
// names turn every look-up into a walk along all of them.
#pragma once

#include "text/sip_hash.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace platform {

// This run's key: random bytes of the system, drawn at the first call.
const text::HashKey& RunHashKey();

// The hasher of the tables below; it keeps a copy of the key, so a table never asks again.
// Not noexcept on purpose: libstdc++ then keeps each element's hash beside it, instead of
// hashing again at every rehash and at every step through a bucket.
struct KeyedHash {
    text::HashKey key = RunHashKey();
    size_t operator()(std::string_view bytes) const {
        return static_cast<size_t>(text::SipHash13(key, bytes));
    }
};

template <class Value> using KeyedMap = std::unordered_map<std::string, Value, KeyedHash>;
using KeyedSet = std::unordered_set<std::string, KeyedHash>;

} // namespace platform
