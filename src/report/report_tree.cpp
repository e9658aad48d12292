// The tree report. Names are the window's (Windows-1252) and leave as UTF-8, with bytes
// below 0x20 as '?' so each node stays one line; sizes and shares are ASCII already.
#include "report/report_tree.h"

#include "report/report_text.h"
#include "sizes/size_text.h"
#include "tree/tree_text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

namespace report {

namespace {

const char* const kTitles[] = {"Ordner", "Gesamt", "Anteil", "Eigene Größe", "Dateien"};
const char* const kTsvTitles[] = {"Tiefe",          "Pfad",    "Gesamt (Bytes)",
                                  "Eigene (Bytes)", "Dateien", "Anteil"};

std::string Cell(std::string_view text) {
    std::string cell;
    AppendCell(cell, text);
    return cell;
}

void AppendTsv(std::string& out, const tree::TreeScan& scan, const std::vector<uint32_t>& shown) {
    const tree::FolderTree& t = scan.tree;
    for (size_t k = 0; k < std::size(kTsvTitles); ++k) {
        AppendUtf8FromCp1252(out, kTsvTitles[k]);
        out += k + 1 < std::size(kTsvTitles) ? '\t' : '\n';
    }
    // The path of names down to the current node, cut back as the depth falls.
    std::vector<std::string> names;
    for (uint32_t n : shown) {
        const tree::TreeNode& node = t.Nodes()[n];
        names.resize(node.depth);
        names.push_back(Cell(t.DisplayName(static_cast<int>(n))));
        out += std::to_string(node.depth);
        out += '\t';
        for (size_t k = 0; k < names.size(); ++k) {
            if (k > 0) {
                out += '\\';
            }
            AppendUtf8FromCp1252(out, names[k]);
        }
        out += '\t' + std::to_string(node.totalSize) + '\t' + std::to_string(node.ownSize) + '\t' +
               std::to_string(node.totalFiles) + '\t' +
               tree::FormatShare(tree::ShareTenths(node.totalSize, t.GrandTotal())) + '\n';
    }
}

} // namespace

bool ParseTreeDepth(const std::string& text, int& depth, std::string& error) {
    const size_t digits = std::strspn(text.c_str(), "0123456789");
    if (digits == 0 || digits != text.size() || digits > 9) {
        error = "bad depth: " + text;
        return false;
    }
    depth = std::atoi(text.c_str());
    return true;
}

std::string CheckTreeOptions(const ReportOptions& options) {
    if (!options.tree) {
        return options.treeDepth >= 0 ? "--depth needs --tree" : "";
    }
    if (options.format != ReportFormat::kText && options.format != ReportFormat::kTsv) {
        return "--tree is shown as text or tsv only";
    }
    if (!options.compareFile.empty()) {
        return "--tree does not take --compare";
    }
    return "";
}

std::string FormatTreeReport(const tree::TreeScan& scan, const ReportOptions& options) {
    const tree::FolderTree& t = scan.tree;
    const std::vector<uint32_t> shown = tree::ShownNodes(t, nullptr, options.treeDepth);
    std::string out;
    if (options.format == ReportFormat::kTsv) {
        AppendTsv(out, scan, shown);
        return out;
    }
    std::vector<std::vector<std::string>> table;
    table.reserve(shown.size() + 1);
    table.emplace_back(std::begin(kTitles), std::end(kTitles));
    for (uint32_t n : shown) {
        const tree::TreeNode& node = t.Nodes()[n];
        table.push_back({std::string(2 * static_cast<size_t>(node.depth), ' ') +
                             Cell(t.DisplayName(static_cast<int>(n))),
                         FormatSize(node.totalSize, SizeStyleFor(!options.exactSizes)),
                         tree::FormatShare(tree::ShareTenths(node.totalSize, t.GrandTotal())),
                         FormatSize(node.ownSize, SizeStyleFor(!options.exactSizes)),
                         std::to_string(node.totalFiles)});
    }
    size_t widths[5] = {};
    for (const auto& row : table) {
        for (size_t k = 0; k < 5; ++k) {
            widths[k] = std::max(widths[k], row[k].size());
        }
    }
    for (const auto& row : table) {
        std::string line;
        for (size_t k = 0; k < 5; ++k) {
            if (k > 0) {
                line += "  ";
            }
            AppendPadded(line, row[k], k + 1 < 5 ? widths[k] : 0, k > 0);
        }
        out += line + '\n';
    }
    AppendUtf8FromCp1252(out, StatusLine(scan.catalogue.fileCount, scan.catalogue.totalSize));
    out += '\n';
    return out;
}

} // namespace report
