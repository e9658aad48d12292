// Rerunnable timing of the mailbox scan: path resolution over deep chains and loops
// (time should grow linearly with the depth), identifier lookups in large tables
// (constant per lookup), and whole scans of generated mailboxes (linear in the number
// of files, independent of their size). Prints one line per measurement.
#include "mailbox/folder_catalogue.h"
#include "mailbox/hierarchy.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Dir(const fs::path& path) {
    return path.string() + static_cast<char>(fs::path::preferred_separator);
}

// A chain of `depth` entries below one root; with `loop` the top entry names the
// bottom one as its parent instead of the root.
void BenchChain(const fs::path& dir, int depth, bool loop) {
    std::string text = "2,0,root,,Wurzel\n";
    for (int i = 0; i < depth; ++i) {
        const std::string parent =
            i + 1 < depth ? "n" + std::to_string(i + 1) : (loop ? "n0" : "root");
        text += "1,0,n" + std::to_string(i) + "," + parent + ",Name" + std::to_string(i) + "\n";
    }
    WriteBytes(dir / "hierarch.pm", text);
    pmHierarch h;
    auto start = std::chrono::steady_clock::now();
    h.Fill(Dir(dir));
    const double fill = Seconds(start);
    start = std::chrono::steady_clock::now();
    const std::string path = h.ResolvePath("n0", false);
    const double resolve = Seconds(start);
    std::printf("chain %-5s depth %8d: Fill %8.3f s, ResolvePath %8.4f s, path %zu bytes\n",
                loop ? "loop" : "root", depth, fill, resolve, path.size());
}

void BenchLookups(const fs::path& dir, int entries) {
    std::string text;
    for (int i = 0; i < entries; ++i) {
        text += "1,0,ID" + std::to_string(i) + ",root,N\n";
    }
    WriteBytes(dir / "hierarch.pm", text);
    pmHierarch h;
    h.Fill(Dir(dir));
    const auto start = std::chrono::steady_clock::now();
    long found = 0;
    for (int i = 0; i < entries; ++i) {
        found += h.FindIndex("id" + std::to_string(i)) >= 0;
    }
    const double t = Seconds(start);
    std::printf("lookups in %8d entries: %8.4f s for all (%ld found), %6.0f ns each\n", entries, t,
                found, t * 1e9 / entries);
}

void BenchScan(const fs::path& dir, int files) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string tree = "2,0,root,,Wurzel\n";
    for (int i = 0; i < files; ++i) {
        std::string header(128, '\0');
        const std::string name = "Ordner " + std::to_string(i);
        const std::string id = "F" + std::to_string(i);
        header.replace(0, name.size(), name);
        header.replace(86, id.size(), id);
        WriteBytes(dir / ("f" + std::to_string(i) + ".PMM"), header + std::string(1000, 'm'));
        tree += "1,0," + id + ",root," + name + "\n";
    }
    WriteBytes(dir / "hierarch.pm", tree);
    FolderCatalogue catalogue;
    const auto start = std::chrono::steady_clock::now();
    catalogue.Scan({Dir(dir), Dir(dir), true, true, "<Posteingang>"});
    std::printf("scan of %6d folder files with paths: %8.3f s (%d rows)\n", files, Seconds(start),
                catalogue.fileCount);
}

} // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "foldtally-mailbox-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (int depth : {10000, 100000, 1000000}) {
        BenchChain(dir, depth, false);
        BenchChain(dir, depth, true);
    }
    for (int entries : {1000, 100000, 1000000}) {
        BenchLookups(dir, entries);
    }
    for (int files : {1000, 10000}) {
        BenchScan(dir / "scan", files);
    }
    fs::remove_all(dir);
    return 0;
}
