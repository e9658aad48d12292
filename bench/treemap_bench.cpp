// Rerunnable measurement of the treemap layout: the time to lay out a generated
// mailbox's tree at 1280 by 1024 pixels as the report draws it, the heap the map keeps
// per folder (counted at operator new, as in tree_bench), and how square its tiles are
// next to a slice-and-dice layout of the same tree in the same frames.
// Usage: treemap_bench WORK_DIR [FOLDERS [RUNS]]   (WORK_DIR ends in a separator; made once)
#include "bench_mailbox.h"
#include "counting_heap.h"
#include "tree/tree_scan.h"
#include "tree/treemap.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

// The processor time of this process: on a machine shared with other builds the wall
// clock measures the others too.
double CpuMilliseconds() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Squareness {
    double sum = 0;
    double worst = 1;
    size_t tiles = 0;
    void Add(double width, double height) {
        if (width < 1 || height < 1) {
            return; // not drawn
        }
        const double ratio = std::max(width / height, height / width);
        sum += ratio;
        worst = std::max(worst, ratio);
        ++tiles;
    }
};

// The slice-and-dice layout (Shneiderman's first treemap) in the same frames and bands:
// the children side by side across the rectangle, the direction turning at each level.
Squareness SliceAndDice(const tree::FolderTree& t, const tree::TreemapOptions& options) {
    struct Box {
        int node;
        double left, top, right, bottom;
        uint32_t level;
    };
    Squareness square;
    std::vector<Box> queue = {{-1, 0, 0, double(options.width), double(options.height), 0}};
    for (size_t k = 0; k < queue.size(); ++k) {
        const Box box = queue[k];
        const uint64_t total = box.node < 0 ? t.GrandTotal() : t.Nodes()[box.node].totalSize;
        double left = box.left, top = box.top, right = box.right, bottom = box.bottom;
        if (box.node >= 0) {
            square.Add(right - left, bottom - top);
            left += options.frame;
            top += options.frame;
            right -= options.frame;
            bottom -= options.frame;
            if (bottom - top >= 2 * options.nameBand && right - left >= 2 * options.nameBand) {
                top += options.nameBand;
            }
        }
        if (right - left < 1 || bottom - top < 1 || total == 0) {
            continue;
        }
        double at = 0;
        const bool across = box.level % 2 == 0;
        for (uint32_t c = 0; c < t.ChildCount(box.node); ++c) {
            const uint32_t child = t.ChildrenBegin(box.node)[c];
            const double share = double(t.Nodes()[child].totalSize) / double(total);
            const double length = (across ? right - left : bottom - top) * share;
            queue.push_back(
                across ? Box{int(child), left + at, top, left + at + length, bottom, box.level + 1}
                       : Box{int(child), left, top + at, right, top + at + length, box.level + 1});
            at += length;
        }
    }
    return square;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: treemap_bench WORK_DIR [FOLDERS [RUNS]]\n");
        return 2;
    }
    const std::string work = argv[1];
    const int folders = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    const std::string sep = work.substr(work.size() - 1);
    const std::string box = work + "mail" + std::to_string(folders) + sep;
    const std::string news = work + "new" + std::to_string(folders) + sep;
    if (!bench::EnsureMailbox("treemap_bench", box, news, folders, 1024)) {
        return 1;
    }
    tree::TreeScan scan;
    scan.Run({box, news, true, true, "<Posteingang>"});
    const tree::TreemapOptions options{1280, 1024, 15, 1};
    double best = 1e300;
    for (int run = 0; run < runs; ++run) {
        const std::size_t before = countingheap::Mark();
        const double cpu = CpuMilliseconds();
        const tree::Treemap map = tree::LayoutTreemap(scan.tree, -1, options);
        const double ms = CpuMilliseconds() - cpu;
        best = std::min(best, ms);
        const double nodes = std::max<double>(1.0, double(scan.tree.Nodes().size()));
        Squareness square;
        for (const tree::TreemapTile& tile : map.tiles) {
            square.Add(tile.rect.right - tile.rect.left, tile.rect.bottom - tile.rect.top);
        }
        const Squareness sliced = SliceAndDice(scan.tree, options);
        std::printf("%zu nodes, %zu tiles: layout %.2f ms processor time; kept %.1f bytes per "
                    "folder, peak %.1f; aspect ratio mean %.2f worst %.0f (slice and dice: %zu "
                    "tiles, mean %.2f worst %.0f)\n",
                    scan.tree.Nodes().size(), map.tiles.size(), ms,
                    double(countingheap::g_nLive - before) / nodes,
                    double(countingheap::g_nPeak - before) / nodes,
                    square.sum / double(std::max<size_t>(square.tiles, 1)), square.worst,
                    sliced.tiles, sliced.sum / double(std::max<size_t>(sliced.tiles, 1)),
                    sliced.worst);
    }
    std::printf("best of %d: %.2f ms\n", runs, best);
    return 0;
}
