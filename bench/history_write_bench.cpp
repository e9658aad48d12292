// Rerunnable measurement of filing the day's history entry, as the window's writer
// thread does it: the JSON of a catalogue of N folder files (default 10 000, with paths
// as deep as a real archive's) made and written whole into a history below FOLDER,
// one new day per round so that every round writes and thins, with three protected
// folders as the window has. Prints the median and the
// slowest round, and the entry's size.
// Usage: history_write_bench FOLDER [FOLDERS] [ROUNDS]
#include "history/history_store.h"
#include "platform/file_writer.h"
#include "platform/folder_identity.h"
#include "platform/local_folders.h"
#include "view/list_export.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

FolderCatalogue MakeCatalogue(int folders) {
    FolderCatalogue catalogue;
    char name[32];
    for (int i = 0; i < folders; ++i) {
        FolderRecord row;
        std::snprintf(name, sizeof name, "FOL%05X.PMM", i);
        row.fileName = name;
        row.folderPath =
            "\\Archiv " + std::to_string(i % 97) + "\\Kunden " + std::to_string(i % 13) + "\\";
        row.folderName = "Rechnungen " + std::to_string(i);
        row.size = 40000 + static_cast<uint64_t>(i % 100000) * 977;
        catalogue.totalSize += row.size;
        catalogue.records.push_back(std::move(row));
    }
    catalogue.fileCount = folders;
    return catalogue;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: history_write_bench FOLDER [FOLDERS] [ROUNDS]\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '/' && root.back() != '\\') {
        root += '/';
    }
    const int folders = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 15;
    const FolderCatalogue catalogue = MakeCatalogue(folders);
    // As in the window: the mailbox, the new-mail folder and the program's folder are
    // protected, here three folders beside the history.
    const std::vector<std::string> protectedDirs = {root + "m1", root + "m2", root + "m3"};
    for (const std::string& folder : protectedDirs) {
        platform::MakeFolders(folder);
    }
    const history::MailboxHistory history(root, "C:\\PMAIL\\MAIL\\BENCH\\", protectedDirs);
    const int64_t first = history::DayNumber(history::CalendarDay{2026, 1, 1});
    std::vector<double> times;
    std::vector<double> making; // of the JSON alone
    size_t bytes = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const std::string json =
            history::HistoryJson(catalogue, "C:\\PMAIL\\MAIL\\BENCH\\", "", "2026-01-01T08:00:00Z");
        const auto made = std::chrono::steady_clock::now();
        const history::WriteOutcome outcome =
            history.WriteDay(history::DayFromNumber(first + round), json);
        const auto end = std::chrono::steady_clock::now();
        if (outcome != history::WriteOutcome::kWritten) {
            std::fprintf(stderr, "round %d: not written (is %s empty?)\n", round, root.c_str());
            return 1;
        }
        bytes = json.size();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        making.push_back(std::chrono::duration<double, std::milli>(made - start).count());
    }
    std::sort(times.begin(), times.end());
    std::sort(making.begin(), making.end());
    std::printf("%d folders, %d rounds: median %.1f ms (the JSON %.1f ms), slowest %.1f ms, "
                "entry %zu bytes\n",
                folders, rounds, times[times.size() / 2], making[making.size() / 2], times.back(),
                bytes);
    // Where the time of a write goes: the same bytes through the plain writer, and
    // through the writer with the window's three protected folders (which opens the
    // folders above the file to compare them).
    const std::string json =
        history::HistoryJson(catalogue, "C:\\PMAIL\\MAIL\\BENCH\\", "", "2026-01-01T08:00:00Z");
    const std::string path = history.Folder() + "probe.json";
    const platform::ProtectedFolders guard(protectedDirs, view::IsInProtectedDirectory);
    std::vector<double> plain;
    std::vector<double> guarded;
    for (int round = 0; round < rounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        static_cast<void>(platform::ReplaceFileContents(path, json));
        auto end = std::chrono::steady_clock::now();
        plain.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        start = std::chrono::steady_clock::now();
        static_cast<void>(platform::ReplaceFileContents(path, json, guard));
        end = std::chrono::steady_clock::now();
        guarded.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(plain.begin(), plain.end());
    std::sort(guarded.begin(), guarded.end());
    std::printf("the write alone: median %.1f ms plain, %.1f ms with protected folders\n",
                plain[plain.size() / 2], guarded[guarded.size() / 2]);
    static_cast<void>(platform::RemoveFile(path));
    static_cast<void>(history.Clear());
    for (const std::string& folder : protectedDirs) {
        platform::RemoveEmptyFolder(folder);
    }
    return 0;
}
