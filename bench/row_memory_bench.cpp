// Rerunnable measurement of the heap a catalogue row costs: every operator new of the
// process is counted (bytes asked for, live and at the peak), around one scan of a
// mailbox. "Kept" is what the catalogue holds after the scan; "peak" adds what the scan
// needs while it runs (the folder tree, the listing of names). The bytes are those the
// program asks for; the allocator adds its own bookkeeping per block on top.
// Usage: row_memory_bench MAILBOX_DIR NEWMAIL_DIR (both ending in a separator)
#include "mailbox/folder_catalogue.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front, so the count needs no table.
constexpr std::size_t kPrefix = alignof(std::max_align_t);
std::size_t g_nLive = 0;
std::size_t g_nPeak = 0;
std::size_t g_nBlocks = 0;

void* Allocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kPrefix));
    if (!block) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    g_nLive += size;
    ++g_nBlocks;
    if (g_nLive > g_nPeak) {
        g_nPeak = g_nLive;
    }
    return block + kPrefix;
}

void Release(void* p) {
    if (!p) {
        return;
    }
    auto* block = static_cast<unsigned char*>(p) - kPrefix;
    g_nLive -= *reinterpret_cast<std::size_t*>(block);
    --g_nBlocks;
    std::free(block);
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: row_memory_bench MAILBOX_DIR NEWMAIL_DIR\n");
        return 2;
    }
    FolderCatalogue catalogue;
    const std::size_t live = g_nLive;
    const std::size_t blocks = g_nBlocks;
    g_nPeak = live;
    catalogue.Scan(argv[1], true, true, argv[2], "<Posteingang>");
    const double rows = catalogue.records.empty() ? 1.0 : double(catalogue.records.size());
    std::printf("%zu rows, record %zu bytes: kept %.0f bytes per row in %.2f blocks, "
                "peak during the scan %.0f bytes per row\n",
                catalogue.records.size(), sizeof(FolderRecord), double(g_nLive - live) / rows,
                double(g_nBlocks - blocks) / rows, double(g_nPeak - live) / rows);
    return 0;
}
