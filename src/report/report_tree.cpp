// The tree report. Names are the window's (Windows-1252) and leave as UTF-8, with bytes
// below 0x20 as '?' so each node stays one line; sizes and shares are ASCII already.
#include "report/report_tree.h"

#include "report/report_text.h"
#include "sizes/size_text.h"
#include "tree/tree_text.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace report {

namespace {

const char* const kTitles[] = {"Ordner", "Gesamt", "Anteil", "Eigene Größe", "Dateien"};
const char* const kTsvTitles[] = {"Tiefe",          "Pfad",    "Gesamt (Bytes)",
                                  "Eigene (Bytes)", "Dateien", "Anteil"};

std::string Cell(std::string_view text) {
    std::string cell;
    for (char c : text) {
        cell.push_back(static_cast<unsigned char>(c) < 0x20 ? '?' : c);
    }
    return cell;
}

// Characters on screen of a Windows-1252 text: one per byte.
size_t Width(const std::string& text) {
    return text.size();
}

void Pad(std::string& out, const std::string& cell, size_t width, bool right) {
    const std::string padding(width > Width(cell) ? width - Width(cell) : 0, ' ');
    if (right) {
        out += padding;
    }
    AppendUtf8FromCp1252(out, cell);
    if (!right) {
        out += padding;
    }
}

void AppendTsv(std::string& out, const tree::TreeScan& scan, const std::vector<uint32_t>& shown) {
    const tree::FolderTree& t = scan.tree;
    for (size_t k = 0; k < 6; ++k) {
        AppendUtf8FromCp1252(out, kTsvTitles[k]);
        out += k + 1 < 6 ? '\t' : '\n';
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

bool ParseTreeOption(int argc, const char* const* argv, int& i, ReportOptions& options,
                     std::string& error) {
    const std::string arg = argv[i];
    if (arg == "--tree") {
        options.tree = true;
        return true;
    }
    if (arg != "--depth") {
        return false;
    }
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    // Digits only, at most nine of them: no sign, no blanks, no overflow.
    const size_t digits = value ? std::strspn(value, "0123456789") : 0;
    if (!value || digits == 0 || value[digits] != '\0' || digits > 9) {
        error = value ? "bad depth: " + std::string(value) : "missing value after --depth";
        return true;
    }
    options.treeDepth = std::atoi(value);
    ++i;
    return true;
}

std::string FormatTreeReport(const tree::TreeScan& scan, const ReportOptions& options) {
    const tree::FolderTree& t = scan.tree;
    const std::vector<uint32_t> shown = tree::ShownNodes(t, nullptr, options.treeDepth);
    std::string out;
    if (options.tsv) {
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
                         FormatSize(node.totalSize, options.exactSizes ? SizeStyle::Exact : SizeStyle::Compact),
                         tree::FormatShare(tree::ShareTenths(node.totalSize, t.GrandTotal())),
                         FormatSize(node.ownSize, options.exactSizes ? SizeStyle::Exact : SizeStyle::Compact),
                         std::to_string(node.totalFiles)});
    }
    size_t widths[5] = {};
    for (const auto& row : table) {
        for (size_t k = 0; k < 5; ++k) {
            widths[k] = std::max(widths[k], Width(row[k]));
        }
    }
    for (const auto& row : table) {
        std::string line;
        for (size_t k = 0; k < 5; ++k) {
            if (k > 0) {
                line += "  ";
            }
            Pad(line, row[k], k + 1 < 5 ? widths[k] : 0, k > 0);
        }
        out += line + '\n';
    }
    AppendUtf8FromCp1252(out, StatusLine(scan.catalogue.fileCount, scan.catalogue.totalSize));
    out += '\n';
    return out;
}

} // namespace report
