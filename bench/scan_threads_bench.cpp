// Rerunnable timing of one scan with each number of helper threads, in one process and
// alternating run by run, so a load that comes and goes falls on every count alike:
// where the helpers pay off and where they do not. On Windows the minimal loop of the
// scan's system calls on one thread runs in the same rotation.
// Usage: scan_threads_bench MAILBOX_DIR NEWMAIL_DIR [runs] [max helpers]
#include "mailbox/folder_catalogue.h"

#ifdef _WIN32
#include "minimal_scan_win32.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string AsDirectory(std::string dir) {
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') {
#ifdef _WIN32
        dir += '\\';
#else
        dir += '/';
#endif
    }
    return dir;
}

template <class Action> double Milliseconds(Action action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: scan_threads_bench MAILBOX_DIR NEWMAIL_DIR [runs] [max]\n");
        return 2;
    }
    const std::string mailbox = AsDirectory(argv[1]);
    const std::string newmail = AsDirectory(argv[2]);
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    const int most = argc > 4 ? std::max(0, std::atoi(argv[4])) : ScanThreading::kMaxHelpers;
    std::vector<std::vector<double>> scans(static_cast<size_t>(most) + 1);
    std::vector<double> automatic, loop;
    int rows = 0;
    for (int run = -1; run < runs; ++run) { // the first round only warms the caches
        for (int helpers = 0; helpers <= most; ++helpers) {
            FolderCatalogue catalogue;
            ScanThreading threading;
            threading.helpers = helpers;
            const double ms = Milliseconds([&] {
                catalogue.Scan({mailbox, newmail, true, true, "<Posteingang>"}, nullptr, threading);
            });
            rows = catalogue.fileCount;
            if (run >= 0) {
                scans[static_cast<size_t>(helpers)].push_back(ms);
            }
        }
        FolderCatalogue catalogue;
        const double ms = Milliseconds([&] {
            catalogue.Scan({mailbox, newmail, true, true, "<Posteingang>"});
        });
        if (run >= 0) {
            automatic.push_back(ms);
        }
#ifdef _WIN32
        const double floor = Milliseconds([&] { MinimalScan(mailbox, newmail); });
        if (run >= 0) {
            loop.push_back(floor);
        }
#endif
    }
    std::printf("%d rows, %d runs, medians in ms:\n", rows, runs);
    for (int helpers = 0; helpers <= most; ++helpers) {
        std::printf("  scan, %d helper%s %*s %9.1f\n", helpers, helpers == 1 ? "" : "s",
                    helpers == 1 ? 1 : 0, "", Median(scans[static_cast<size_t>(helpers)]));
    }
    std::printf("  scan, as chosen     %9.1f\n", Median(automatic));
    if (!loop.empty()) {
        std::printf("  minimal loop        %9.1f\n", Median(loop));
    }
    return 0;
}
