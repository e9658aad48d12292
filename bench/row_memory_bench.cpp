// Rerunnable measurement of the heap a catalogue row costs: every operator new of the
// process is counted (bytes asked for, live and at the peak), around one scan of a
// mailbox. "Kept" is what the catalogue holds after the scan; "peak" adds what the scan
// needs while it runs (the folder tree, the listing of names). The bytes are those the
// program asks for; the allocator adds its own bookkeeping per block on top.
// Usage: row_memory_bench MAILBOX_DIR NEWMAIL_DIR (both ending in a separator)
#include "counting_heap.h"
#include "mailbox/folder_catalogue.h"

#include <cstddef>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: row_memory_bench MAILBOX_DIR NEWMAIL_DIR\n");
        return 2;
    }
    FolderCatalogue catalogue;
    const std::size_t blocks = countingheap::g_nBlocks;
    const std::size_t live = countingheap::Mark();
    catalogue.Scan({argv[1], argv[2], true, true, "<Posteingang>"});
    const double rows = catalogue.records.empty() ? 1.0 : double(catalogue.records.size());
    std::printf("%zu rows, record %zu bytes: kept %.0f bytes per row in %.2f blocks, "
                "peak during the scan %.0f bytes per row\n",
                catalogue.records.size(), sizeof(FolderRecord),
                double(countingheap::g_nLive - live) / rows,
                double(countingheap::g_nBlocks - blocks) / rows,
                double(countingheap::g_nPeak - live) / rows);
    return 0;
}
