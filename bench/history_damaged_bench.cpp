// Rerunnable measurement of a history full of damaged entries, as a planted or broken
// history folder below FOLDER leaves it: ENTRIES (default 60) entries of about MIB MiB
// (default 63) each, valid up to a bad last row, dated after one good entry. One such file is
// written and the others are hard links to it, so the disk holds it once. Prints the time
// to read one damaged entry whole (an unbounded search reads every one: ENTRIES times
// that), the time the bounded search takes to give up, and how long the search takes to
// stop once cancelled a moment after it started, as Escape in the window does.
// Usage: history_damaged_bench FOLDER [ENTRIES] [MIB]
#include "history/history_store.h"
#include "platform/files.h"
#include "platform/local_folders.h"
#include "platform/thread.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

const char kMailbox[] = "C:\\PMAIL\\MAIL\\BENCH\\";

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// An entry of this mailbox of about `bytes`, whose last row is cut off.
std::string DamagedEntry(size_t bytes) {
    std::string json = "{\"mailbox\":\"C:\\\\PMAIL\\\\MAIL\\\\BENCH\\\\\",\"newmail\":null,"
                       "\"scanTime\":\"2026-12-09T08:00:00Z\",\"historyFormat\":1,\"rows\":[\n";
    json.reserve(bytes + 256);
    char row[256];
    for (unsigned i = 0; json.size() < bytes; ++i) {
        std::snprintf(row, sizeof row,
                      "{\"fileName\":\"FOL%05X.PMM\",\"folderPath\":\"\\\\Archiv %u\\\\\","
                      "\"folderName\":\"Rechnungen %u\",\"size\":%u,\"failed\":false,"
                      "\"failure\":null},\n",
                      i, i % 97, i, 40000 + i % 100000);
        json += row;
    }
    return json + "{\"fileName\":\"X.PMM\",\"size\":";
}

struct Search {
    const history::MailboxHistory* history;
    history::CalendarDay reference;
    std::atomic<bool> cancel{false};
    history::FindOutcome outcome = history::FindOutcome::kNone;
};

unsigned RunSearch(void* argument) {
    auto* search = static_cast<Search*>(argument);
    report::EarlierReport earlier;
    history::CalendarDay used;
    std::string path;
    search->outcome =
        search->history->Find(search->reference, earlier, used, path, &search->cancel);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: history_damaged_bench FOLDER [ENTRIES] [MIB]\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '/' && root.back() != '\\') {
        root += '/';
    }
    const int entries = argc > 2 ? std::atoi(argv[2]) : 60;
    const size_t mib = argc > 3 ? static_cast<size_t>(std::atoi(argv[3])) : 63;
    const history::MailboxHistory history(root + "Verlauf/", kMailbox);
    const history::CalendarDay first{2026, 1, 1};
    const int64_t firstDay = history::DayNumber(first);
    const FolderCatalogue good;
    if (history.WriteDay(first, history::HistoryJson(good, kMailbox, "", "t")) !=
        history::WriteOutcome::kWritten) {
        std::fprintf(stderr, "the good entry cannot be written below %s\n", root.c_str());
        return 1;
    }
    const std::string damaged = history.Folder() + "damaged.bin";
    FILE* file = std::fopen(damaged.c_str(), "wb");
    const std::string bytes = DamagedEntry(mib << 20);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        std::fprintf(stderr, "cannot write %s\n", damaged.c_str());
        return 1;
    }
    std::error_code error;
    for (int i = 1; i <= entries; ++i) {
        const std::string name =
            history.Folder() + history::DayFileName(history::DayFromNumber(firstDay + i));
        std::filesystem::create_hard_link(damaged, name, error);
        if (error) {
            std::fprintf(stderr, "cannot link %s: %s\n", name.c_str(), error.message().c_str());
            return 1;
        }
    }
    const history::CalendarDay reference = history::DayFromNumber(firstDay + entries);

    platform::ReadOnlyFile one;
    report::EarlierReport earlier;
    std::string reason;
    auto start = Clock::now();
    if (!one.Open(damaged) || report::ReadEarlierReport(one, earlier, reason)) {
        std::fprintf(stderr, "the damaged entry is not refused as damaged\n");
        return 1;
    }
    const double perEntry = MsSince(start);
    one.Close();

    Search bounded{&history, reference};
    start = Clock::now();
    RunSearch(&bounded);
    const double boundedMs = MsSince(start);

    Search cancelled{&history, reference};
    platform::Thread thread;
    thread.Start(RunSearch, &cancelled);
    platform::SleepMilliseconds(200);
    start = Clock::now();
    cancelled.cancel.store(true);
    thread.Join();
    const double stopMs = MsSince(start);

    std::printf(
        "%d damaged entries of %zu MiB: one read whole %.0f ms (all of them %.1f s); "
        "the bounded search gave up after %.0f ms (%s); cancelled, it stopped in "
        "%.1f ms (%s)\n",
        entries, mib, perEntry, perEntry * entries / 1000.0, boundedMs,
        bounded.outcome == history::FindOutcome::kNone ? "none found" : "unexpected", stopMs,
        cancelled.outcome == history::FindOutcome::kCancelled ? "cancelled" : "had ended before");
    static_cast<void>(platform::RemoveFile(damaged));
    static_cast<void>(history.Clear());
    for (int i = 1; i <= entries; ++i) {
        static_cast<void>(platform::RemoveFile(
            history.Folder() + history::DayFileName(history::DayFromNumber(firstDay + i))));
    }
    static_cast<void>(history.Clear());
    return 0;
}
