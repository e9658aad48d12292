// Fuzzes the folder tree: the input is split at its first form feed into a
// "hierarch.pm" and a list of header identifiers, one per line, each made a .PMM
// folder file of its own; the tree of the scan must satisfy every invariant, with and
// without the new-mail row.
#include "fuzz_files.h"
#include "tree/tree_text.h"
#include "tree_invariants.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string Header(const std::string& id, size_t n) {
    std::string header(128, '\0');
    const std::string name = "F" + std::to_string(n);
    header.replace(0, name.size(), name);
    header.replace(86, id.size() < 41 ? id.size() : 41, id.substr(0, 41));
    return header;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\f');
    const std::string table = input.substr(0, split);
    const std::string ids = split == std::string::npos ? std::string() : input.substr(split + 1);

    const std::string& dir = fuzzfiles::ScratchDir();
    const std::string box = dir + "box/";
    const std::string news = dir + "news/";
    std::filesystem::remove_all(box);
    std::filesystem::create_directories(box);
    std::filesystem::create_directories(news);
    fuzzfiles::Write(box + "hierarch.pm", table);
    size_t count = 0;
    for (size_t at = 0; at <= ids.size() && count < 64;) {
        size_t end = ids.find('\n', at);
        end = end == std::string::npos ? ids.size() : end;
        // The size of each file varies with its place, so totals differ among siblings.
        fuzzfiles::Write(box + std::to_string(count) + ".PMM",
                         Header(ids.substr(at, end - at), count) + std::string(count * 3, 'x'));
        ++count;
        at = end + 1;
    }
    for (bool newMail : {false, true}) {
        tree::TreeScan scan;
        if (!scan.Run({box, news, true, newMail, "<Posteingang>"}) ||
            !treecheck::TreeFault(scan).empty()) {
            std::abort();
        }
        for (int column = 0; column < tree::kTreeColumnCount; ++column) {
            scan.tree.Sort(view::ColumnSort{column, column % 2 == 0});
            if (tree::ShownNodes(scan.tree, nullptr, -1).size() != scan.tree.Nodes().size()) {
                std::abort();
            }
        }
    }
    return 0;
}
