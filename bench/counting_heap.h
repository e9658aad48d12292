// Counts every operator new of the process: bytes asked for, live and at the peak, and
// the live blocks. Each block carries its size in front, so the count needs no table.
// The bytes are those the program asks for; the allocator adds its own bookkeeping per
// block on top. The scan allocates on its helper threads too, so the counts are atomic.
// This header replaces the global operators: include it in exactly one source file of a
// benchmark program.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace countingheap {

constexpr std::size_t kPrefix = alignof(std::max_align_t);
inline std::atomic<std::size_t> g_nLive{0};
inline std::atomic<std::size_t> g_nPeak{0};
inline std::atomic<std::size_t> g_nBlocks{0};

inline void* Allocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kPrefix));
    if (!block) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    const std::size_t live = g_nLive += size;
    ++g_nBlocks;
    std::size_t peak = g_nPeak.load();
    while (live > peak && !g_nPeak.compare_exchange_weak(peak, live)) {
    }
    return block + kPrefix;
}

inline void Release(void* p) {
    if (!p) {
        return;
    }
    auto* block = static_cast<unsigned char*>(p) - kPrefix;
    g_nLive -= *reinterpret_cast<std::size_t*>(block);
    --g_nBlocks;
    std::free(block);
}

// Starts a measurement: the peak from here on is counted from what lives now.
inline std::size_t Mark() {
    const std::size_t live = g_nLive.load();
    g_nPeak.store(live);
    return live;
}

} // namespace countingheap

void* operator new(std::size_t size) {
    return countingheap::Allocate(size);
}
void* operator new[](std::size_t size) {
    return countingheap::Allocate(size);
}
void operator delete(void* p) noexcept {
    countingheap::Release(p);
}
void operator delete[](void* p) noexcept {
    countingheap::Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    countingheap::Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    countingheap::Release(p);
}
