// Rerunnable timing of the overview of an installation with each number of mailboxes
// read at once, in one process and alternating run by run, so a load that comes and
// goes falls on every count alike. On Windows the minimal loop over the same users'
// folders, one after the other, runs in the same rotation.
// Usage: all_users_bench ROOT [runs] [MxH...]: M mailboxes at once, each with H helper
// threads; "a" for either is the automatic count; "plan" only reads the list and matches
// its users with their folders, without reading a mailbox.
#include "mailbox/all_users_scan.h"

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
    if (argc < 2) {
        std::fprintf(stderr, "usage: all_users_bench ROOT [runs] [counts...]\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '/' && root.back() != '\\') {
#ifdef _WIN32
        root += '\\';
#else
        root += '/';
#endif
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    struct Count {
        int mailboxes; // kPlanOnly: PlanAllUsers alone
        int helpers;
    };
    constexpr int kPlanOnly = -2;
    const auto number = [](const std::string& text) {
        return text == "a" ? -1 : std::max(0, std::atoi(text.c_str()));
    };
    std::vector<Count> counts;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "plan") {
            counts.push_back({kPlanOnly, 0});
            continue;
        }
        const size_t x = arg.find('x');
        counts.push_back(
            {number(arg.substr(0, x)), x == std::string::npos ? 0 : number(arg.substr(x + 1))});
    }
    if (counts.empty()) {
        counts = {{1, 0}, {2, 0}, {4, 0}, {1, -1}, {2, -1}, {-1, -1}};
    }
    std::vector<std::vector<double>> times(counts.size());
    std::vector<double> loop;
    int32_t files = 0;
    for (int run = -1; run < runs; ++run) { // the first round only warms the caches
        for (size_t c = 0; c < counts.size(); ++c) {
            AllUsersResult result;
            AllUsersThreading threading;
            threading.mailboxesAtOnce = counts[c].mailboxes;
            threading.helpersPerMailbox = counts[c].helpers;
            const double ms = Milliseconds([&] {
                if (counts[c].mailboxes == kPlanOnly) {
                    PlanAllUsers(root, result);
                } else {
                    ScanAllUsers(root, result, threading);
                }
            });
            files = result.folderFiles;
            if (run >= 0) {
                times[c].push_back(ms);
            }
        }
#ifdef _WIN32
        AllUsersResult plan;
        AllUsersThreading none;
        none.mailboxesAtOnce = 1;
        none.helpersPerMailbox = 0;
        ScanAllUsers(root, plan, none); // only for the folders' names, not timed
        const double ms = Milliseconds([&] {
            for (const UserMailbox& row : plan.rows) {
                if (!row.user.folderDir.empty()) {
                    MinimalScan(row.user.folderDir, row.user.folderDir);
                }
            }
        });
        if (run >= 0) {
            loop.push_back(ms);
        }
#endif
    }
    std::printf("%d folder files, medians of %d runs\n", files, runs);
    for (size_t c = 0; c < counts.size(); ++c) {
        const auto text = [](int n) { return n < 0 ? std::string("a") : std::to_string(n); };
        if (counts[c].mailboxes == kPlanOnly) {
            std::printf("  list and match only:       %8.1f ms", Median(times[c]));
        } else {
            std::printf("  %2s mailboxes x %2s helpers: %8.1f ms",
                        text(counts[c].mailboxes).c_str(), text(counts[c].helpers).c_str(),
                        Median(times[c]));
        }
        if (!loop.empty()) {
            std::printf("   %.2f of the loop", Median(times[c]) / Median(loop));
        }
        std::printf("\n");
    }
    if (!loop.empty()) {
        std::printf("  loop:                     %8.1f ms\n", Median(loop));
    }
    return 0;
}
