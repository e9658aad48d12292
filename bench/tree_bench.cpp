// Rerunnable measurement of the folder tree: the time to build it from a scan, next to
// the scan's own time, and the heap it keeps per node (counted at operator new, as in
// row_memory_bench). The mailbox is generated once into the given directory.
// Usage: tree_bench WORK_DIR [FOLDERS [RUNS]]   (WORK_DIR ends in a separator; made once)
//        tree_bench --wide DIR CHILDREN   writes a mailbox whose one folder "Breit" has
//        CHILDREN subfolders with a folder file each, for folder_tree_bench.exe.
#include "bench_mailbox.h"
#include "counting_heap.h"
#include "folder_formats.h"
#include "tree/tree_scan.h"

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <string>

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The processor time of this process: on a machine shared with other builds the wall
// clock measures the others too.
double CpuMilliseconds() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return f && std::fclose(f) == 0 && ok;
}

int WriteWideMailbox(const std::string& dir, int children) {
    std::string table = mailgen::HierarchyLine(2, 0, "ROOT", "", "Mein Postfach") + "\r\n" +
                        mailgen::HierarchyLine(1, 0, "WIDE", "ROOT", "Breit") + "\r\n";
    for (int i = 0; i < children; ++i) {
        const std::string id = "C" + std::to_string(i);
        table += mailgen::HierarchyLine(1, 0, id, "WIDE", "Kind " + std::to_string(i)) + "\r\n";
        if (!WriteBytes(dir + id + ".PMM", mailgen::PmmHeader("Kind " + std::to_string(i), id) +
                                               std::string(static_cast<size_t>(i % 97), 'm'))) {
            std::fprintf(stderr, "tree_bench: cannot write into %s\n", dir.c_str());
            return 1;
        }
    }
    return WriteBytes(dir + "hierarch.pm", table) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--wide") {
        return WriteWideMailbox(argv[2], std::atoi(argv[3]));
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: tree_bench WORK_DIR [FOLDERS [RUNS]]\n");
        return 2;
    }
    const std::string work = argv[1];
    const int folders = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    const std::string box = work + "mail" + std::to_string(folders) + work.substr(work.size() - 1);
    const std::string news = work + "new" + std::to_string(folders) + work.substr(work.size() - 1);
    if (!bench::EnsureMailbox("tree_bench", box, news, folders, 64)) {
        return 1;
    }
    for (int run = 0; run < runs; ++run) {
        FolderCatalogue catalogue;
        ScanDetails details;
        auto start = std::chrono::steady_clock::now();
        double cpu = CpuMilliseconds();
        catalogue.Scan({box, news, true, true, "<Posteingang>"}, &details);
        const double scanMs = MillisecondsSince(start);
        const double scanCpu = CpuMilliseconds() - cpu;
        const std::size_t before = countingheap::Mark();
        tree::FolderTree tree;
        start = std::chrono::steady_clock::now();
        cpu = CpuMilliseconds();
        tree.Build(catalogue, details, tree::MailboxNodeName(box));
        const double buildMs = MillisecondsSince(start);
        const double buildCpu = CpuMilliseconds() - cpu;
        const double nodes = tree.Nodes().empty() ? 1.0 : double(tree.Nodes().size());
        std::printf("%zu rows, %zu nodes: wall scan %.1f ms, tree %.2f ms (%.1f %%); "
                    "processor scan %.1f ms, tree %.2f ms (%.1f %%); "
                    "kept %.1f bytes per node, peak while building %.1f\n",
                    catalogue.records.size(), tree.Nodes().size(), scanMs, buildMs,
                    100.0 * buildMs / scanMs, scanCpu, buildCpu, 100.0 * buildCpu / scanCpu,
                    double(countingheap::g_nLive - before) / nodes,
                    double(countingheap::g_nPeak - before) / nodes);
    }
    return 0;
}
