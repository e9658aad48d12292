// What a scan shares with the thread that waits for it: a cancel mark it checks at every
// stage (while listing, before each folder file, while resolving paths), and how many
// folder files it has read of how many. A window reads the counts for its status line
// while the scan runs on a thread of its own.
#pragma once

#include <atomic>
#include <cstdint>

struct ScanControl {
    // Set by any thread; the scan stops at the next file, every thread of it.
    std::atomic<bool> cancelled{false};
    // The folder files the listing found; 0 until the listing is done.
    std::atomic<uint32_t> filesTotal{0};
    // The folder files read so far, by every thread of the scan.
    std::atomic<uint32_t> filesRead{0};
    // The helper threads the scan started, for benchmarks and tests.
    std::atomic<uint32_t> helpers{0};
    // For a scan of several mailboxes: how many are to be read and how many are read;
    // 0 for a scan of one.
    std::atomic<uint32_t> mailboxesTotal{0};
    std::atomic<uint32_t> mailboxesRead{0};

    void Cancel() { cancelled.store(true, std::memory_order_relaxed); }
    bool IsCancelled() const { return cancelled.load(std::memory_order_relaxed); }
};
