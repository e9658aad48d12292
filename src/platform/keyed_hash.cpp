// The run's hash key. std::random_device asks the system for random bytes (getrandom or
// /dev/urandom, rand_s on Windows); where it cannot, it throws, and the clock and the
// address the program was loaded at stand in: weaker, but still unknown to whoever
// wrote the file.
#include "platform/keyed_hash.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace platform {

namespace {

text::HashKey DrawKey() {
    text::HashKey key;
    key.k0 = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    key.k1 = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&key)) ^
             static_cast<uint64_t>(reinterpret_cast<uintptr_t>(&DrawKey));
    try {
        std::random_device device;
        for (int i = 0; i < 2; ++i) {
            key.k0 = (key.k0 << 32) ^ device();
            key.k1 = (key.k1 << 32) ^ device();
        }
    } catch (...) {
    }
    return key;
}

} // namespace

const text::HashKey& RunHashKey() {
    static const text::HashKey key = DrawKey();
    return key;
}

} // namespace platform
