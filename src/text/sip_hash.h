// SipHash, a hash with a secret key: without the key no one can choose texts that all
// hash alike, as anyone can for a fixed public hash (FNV-1a, or libstdc++'s
// std::hash<std::string>, whose seed is a constant). Tables keyed by names from files
// and listings use it with a key drawn for each run (platform/keyed_hash.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace text {

struct HashKey {
    uint64_t k0 = 0;
    uint64_t k1 = 0;
};

namespace sip_detail {

constexpr uint64_t Rotate(uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

struct State {
    uint64_t v0, v1, v2, v3;

    void Round() {
        v0 += v1;
        v1 = Rotate(v1, 13);
        v1 ^= v0;
        v0 = Rotate(v0, 32);
        v2 += v3;
        v3 = Rotate(v3, 16);
        v3 ^= v2;
        v0 += v3;
        v3 = Rotate(v3, 21);
        v3 ^= v0;
        v2 += v1;
        v1 = Rotate(v1, 17);
        v1 ^= v2;
        v2 = Rotate(v2, 32);
    }
};

struct SameByte {
    constexpr char operator()(char c) const { return c; }
};

} // namespace sip_detail

// SipHash-`C`-`D` of `bytes` under `key`, each byte first mapped by `map` (a case fold
// makes names that differ only in case hash alike without a folded copy). The words are
// read little-endian byte by byte, so every platform gives the same value.
template <int C, int D, class Map = sip_detail::SameByte>
uint64_t SipHash(const HashKey& key, std::string_view bytes, Map map = Map()) {
    sip_detail::State s{key.k0 ^ 0x736f6d6570736575ull, key.k1 ^ 0x646f72616e646f6dull,
                        key.k0 ^ 0x6c7967656e657261ull, key.k1 ^ 0x7465646279746573ull};
    const auto compress = [&s](uint64_t word) {
        s.v3 ^= word;
        for (int i = 0; i < C; ++i) {
            s.Round();
        }
        s.v0 ^= word;
    };
    uint64_t word = 0;
    int shift = 0;
    for (const char c : bytes) {
        word |= static_cast<uint64_t>(static_cast<unsigned char>(map(c))) << shift;
        shift += 8;
        if (shift == 64) {
            compress(word);
            word = 0;
            shift = 0;
        }
    }
    compress(word | (static_cast<uint64_t>(bytes.size() & 0xFF) << 56));
    s.v2 ^= 0xFF;
    for (int i = 0; i < D; ++i) {
        s.Round();
    }
    return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

// The variant the tables use: one round per word and three at the end are enough where
// the output is never shown to anyone, and cost a third of SipHash-2-4 on short names.
template <class Map = sip_detail::SameByte>
uint64_t SipHash13(const HashKey& key, std::string_view bytes, Map map = Map()) {
    return SipHash<1, 3>(key, bytes, map);
}

} // namespace text
