// The Windows build of the floor for a scan (bench/run.sh with WINE=1 compares it with
// foldtally-report.exe under Wine): one minimal scan and a checksum line.
#include "minimal_scan_win32.h"

#include <cstdio>
#include <string>

namespace {
std::string WithBackslash(std::string dir) {
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') {
        dir += '\\';
    }
    return dir;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 != 1) {
        std::fprintf(stderr, "usage: foldtally-bench-loop MAILBOX_DIR NEWMAIL_DIR [...]\n");
        return 2;
    }
    // Several pairs one after the other: the floor for the overview of an installation.
    MinimalScanTotals totals;
    for (int i = 1; i + 1 < argc; i += 2) {
        const MinimalScanTotals one =
            MinimalScan(WithBackslash(argv[i]), WithBackslash(argv[i + 1]));
        totals.bytes += one.bytes;
        totals.headerBytes += one.headerBytes;
        totals.files += one.files;
    }
    std::printf("%u files, %llu bytes, %llu header bytes\n", totals.files,
                static_cast<unsigned long long>(totals.bytes),
                static_cast<unsigned long long>(totals.headerBytes));
    return 0;
}
