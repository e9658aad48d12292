// Rerunnable measurement of reading an earlier report (--compare): writes a report of
// about 60 MiB of one kind to FILE, then reads it as the report tool does, counting
// every operator new on the way (bytes asked for, at the peak and kept) and, on POSIX
// systems, the peak resident size of the process. Kinds: "valid" (rows as our JSON
// report writes them), "empty" ({"rows":[{},{},...]}) and "zeros" ({"rows":[0,0,...]}).
// Usage: earlier_report_bench valid|empty|zeros FILE
#include "counting_heap.h"
#include "report/earlier_report.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

constexpr size_t kReportBytes = 60u << 20;

// The rows of one kind, written in pieces so that writing costs no memory worth counting.
bool WriteReport(const char* kind, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        return false;
    }
    std::string piece = "{\"mailbox\":\"C:\\\\PMAIL\\\\MAIL\",\"newmail\":null,"
                        "\"scanTime\":\"2026-12-09T08:00:00Z\",\"rows\":[\n";
    size_t written = 0;
    char row[256];
    for (unsigned i = 0; written + piece.size() < kReportBytes; ++i) {
        if (std::strcmp(kind, "valid") == 0) {
            std::snprintf(row, sizeof row,
                          "{\"fileName\":\"FOL%05X.PMM\",\"folderPath\":\"\\\\Archiv %u\\\\Kunden "
                          "%u\\\\\",\"folderName\":\"Rechnungen %u\",\"size\":%u,\"failed\":false,"
                          "\"failure\":null},\n",
                          i, i % 97, i % 13, i, 40000 + i % 100000);
        } else {
            std::snprintf(row, sizeof row, "%s", std::strcmp(kind, "empty") == 0 ? "{}," : "0,");
        }
        piece += row;
        if (piece.size() > 60000) {
            written += std::fwrite(piece.data(), 1, piece.size(), file);
            piece.clear();
        }
    }
    if (std::strcmp(kind, "valid") == 0) {
        piece += "{\"fileName\":\"*.CNM\",\"folderPath\":\"\",\"folderName\":\"<Posteingang>\","
                 "\"size\":0,\"failed\":false,\"failure\":null}\n";
    } else {
        piece += std::strcmp(kind, "empty") == 0 ? "{}" : "0";
    }
    piece += "],\"totals\":{\"files\":1,\"size\":0,\"statusLine\":\"\"}}\n";
    written += std::fwrite(piece.data(), 1, piece.size(), file);
    return std::fclose(file) == 0;
}

double PeakResidentMiB() {
#ifdef _WIN32
    return 0;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
#endif
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "valid") != 0 && std::strcmp(argv[1], "empty") != 0 &&
                      std::strcmp(argv[1], "zeros") != 0)) {
        std::fprintf(stderr, "usage: earlier_report_bench valid|empty|zeros FILE\n");
        return 2;
    }
    if (!WriteReport(argv[1], argv[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 2;
    }
    report::EarlierReport earlier;
    std::string error;
    const std::size_t live = countingheap::Mark();
    const auto start = std::chrono::steady_clock::now();
    const bool ok = report::ReadEarlierReport(argv[2], earlier, error);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double MiB = 1024.0 * 1024.0;
    std::printf(
        "%s: %s, %zu rows in %.0f ms; heap peak %.1f MiB, kept %.1f MiB (%.0f bytes per "
        "row)",
        argv[1], ok ? "read" : error.c_str(), earlier.RowCount(), ms,
        double(countingheap::g_nPeak - live) / MiB, double(countingheap::g_nLive - live) / MiB,
        earlier.RowCount() ? double(countingheap::g_nLive - live) / earlier.RowCount() : 0.0);
    if (const double rss = PeakResidentMiB()) {
        std::printf("; peak resident %.0f MiB", rss);
    }
    std::printf("\n");
    return 0;
}
