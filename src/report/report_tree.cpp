// The tree report. Names are the window's (Windows-1252) and leave as UTF-8, with bytes
// below 0x20 as '?' so each node stays one line; sizes and shares are ASCII already.
#include "report/report_tree.h"

#include "mailbox/hierarchy.h"
#include "report/report_text.h"
#include "sizes/byte_change.h"
#include "sizes/size_text.h"
#include "tree/tree_text.h"
#include "view/scan_view.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

namespace report {

namespace {

const char* const kTsvTitles[] = {"Tiefe",          "Pfad",    "Gesamt (Bytes)",
                                  "Eigene (Bytes)", "Dateien", "Anteil"};

std::string Cell(std::string_view text) {
    std::string cell;
    AppendCell(cell, text);
    return cell;
}

void AppendTsv(std::string& out, const tree::TreeScan& scan, const std::vector<uint32_t>& shown,
               ReportSink& sink) {
    const tree::FolderTree& t = scan.tree;
    for (size_t k = 0; k < std::size(kTsvTitles); ++k) {
        AppendUtf8FromCp1252(out, kTsvTitles[k]);
        out += k + 1 < std::size(kTsvTitles) ? '\t' : '\n';
    }
    // The path of names down to the current node, cut back as the depth falls: one
    // text and where each level's name begins in it, so a line costs its own name and
    // the bounded end of the path, never the whole way down again.
    std::string path;
    std::vector<size_t> starts;
    std::string shownPath;
    for (uint32_t n : shown) {
        const tree::TreeNode& node = t.Nodes()[n];
        if (node.depth < starts.size()) {
            path.resize(starts[node.depth]);
            starts.resize(node.depth);
        }
        starts.push_back(path.size());
        if (node.depth > 0) {
            path += '\\';
        }
        path += Cell(t.DisplayName(static_cast<int>(n)));
        out += std::to_string(node.depth);
        out += '\t';
        if (path.size() <= kTreePathLength) {
            AppendUtf8FromCp1252(out, path);
        } else {
            shownPath.assign(path, path.size() - kTreePathLength - 1, kTreePathLength + 1);
            KeepPathEnd(shownPath, kTreePathLength);
            AppendUtf8FromCp1252(out, shownPath);
        }
        out += '\t' + std::to_string(node.totalSize) + '\t' + std::to_string(node.ownSize) + '\t' +
               std::to_string(node.totalFiles) + '\t' +
               tree::FormatShare(tree::ShareTenths(node.totalSize, t.GrandTotal())) + '\n';
        SpillIfFull(out, sink);
    }
}

// The first column of the text form: the name indented by its level, and past
// kTreeIndentLevels indented as that level with its own level in brackets before it.
std::string IndentedName(const tree::FolderTree& t, uint32_t n) {
    const uint32_t depth = t.Nodes()[n].depth;
    std::string cell(2 * static_cast<size_t>(std::min<uint32_t>(depth, kTreeIndentLevels)), ' ');
    if (depth > kTreeIndentLevels) {
        cell += '[' + std::to_string(depth) + "] ";
    }
    AppendCell(cell, t.DisplayName(static_cast<int>(n)));
    return cell;
}

std::vector<std::string> TextCells(const tree::TreeScan& scan, const ReportOptions& options,
                                   const std::vector<uint32_t>& shown, size_t line) {
    if (line == 0) {
        return {Say(Phrase::kTreeTitleFolder), Say(Phrase::kTreeTitleTotal),
                Say(Phrase::kTreeTitleShare), Say(Phrase::kTreeTitleOwn),
                Say(Phrase::kTreeTitleFiles)};
    }
    const tree::FolderTree& t = scan.tree;
    const uint32_t n = shown[line - 1];
    const tree::TreeNode& node = t.Nodes()[n];
    return {IndentedName(t, n), FormatSize(node.totalSize, SizeStyleFor(!options.exactSizes)),
            tree::FormatShare(tree::ShareTenths(node.totalSize, t.GrandTotal())),
            FormatSize(node.ownSize, SizeStyleFor(!options.exactSizes)),
            std::to_string(node.totalFiles)};
}

} // namespace

bool ParseTreeDepth(const std::string& text, int& depth, std::string& error) {
    const size_t digits = std::strspn(text.c_str(), "0123456789");
    if (digits == 0 || digits != text.size() || digits > 9) {
        error = FormatText(Say(Phrase::kBadDepth), text.c_str());
        return false;
    }
    depth = std::atoi(text.c_str());
    return true;
}

std::string CheckTreeOptions(const ReportOptions& options) {
    if (!options.tree) {
        return options.treeDepth >= 0 ? Say(Phrase::kDepthNeedsTree) : "";
    }
    if (options.format != ReportFormat::kText && options.format != ReportFormat::kTsv) {
        return Say(Phrase::kTreeFormats);
    }
    if (!options.compareFile.empty()) {
        return Say(Phrase::kTreeNoCompare);
    }
    if (!options.since.empty()) {
        return Say(Phrase::kTreeNoSince);
    }
    return "";
}

void WriteTreeReport(const tree::TreeScan& scan, const ReportOptions& options, ReportSink& sink) {
    const LanguageScope language(LanguageOf(options.format));
    const tree::FolderTree& t = scan.tree;
    std::vector<uint32_t> shown = tree::ShownNodes(t, nullptr, options.treeDepth);
    std::string status =
        view::StatusLine(Say(Phrase::kStatus), scan.catalogue.fileCount, scan.catalogue.totalSize);
    if (!options.filter.IsEmpty()) {
        const std::vector<uint8_t> kept =
            tree::NodesKeptBy(t, scan.catalogue.records, options.filter);
        shown.erase(
            std::remove_if(shown.begin(), shown.end(), [&](uint32_t n) { return !kept[n]; }),
            shown.end());
        // What is shown: the files of the nodes that pass, not of those kept above them.
        int32_t files = 0;
        uint64_t bytes = 0;
        for (const uint32_t n : tree::ShownNodes(t, nullptr, -1)) {
            const tree::TreeNode& node = t.Nodes()[n];
            if (kept[n] == tree::kNodePasses) {
                files += static_cast<int32_t>(node.ownFiles);
                bytes = AddSizes(bytes, node.ownSize);
            }
        }
        status = view::FilteredStatusLine(Say(Phrase::kFilteredStatus), files, bytes,
                                          scan.catalogue.fileCount, scan.catalogue.totalSize);
    }
    std::string out;
    out.reserve(kReportPieceBytes + 4096);
    if (options.format == ReportFormat::kTsv) {
        AppendTsv(out, scan, shown, sink);
        SpillAll(out, sink);
        return;
    }
    // The cells are made twice, first for the widths only: a table of them all would be
    // a second copy of the report. A cell wider than kMaxPaddedWidth (a name of
    // thousands of characters) pads no other line to its width.
    size_t widths[5] = {};
    for (size_t line = 0; line <= shown.size(); ++line) {
        const std::vector<std::string> row = TextCells(scan, options, shown, line);
        for (size_t k = 0; k < 5; ++k) {
            if (row[k].size() <= kMaxPaddedWidth) {
                widths[k] = std::max(widths[k], row[k].size());
            }
        }
    }
    for (size_t line = 0; line <= shown.size(); ++line) {
        const std::vector<std::string> row = TextCells(scan, options, shown, line);
        for (size_t k = 0; k < 5; ++k) {
            if (k > 0) {
                out += "  ";
            }
            AppendPadded(out, row[k], k + 1 < 5 ? widths[k] : 0, k > 0);
        }
        out += '\n';
        SpillIfFull(out, sink);
    }
    AppendUtf8FromCp1252(out, status);
    out += '\n';
    SpillAll(out, sink);
}

} // namespace report
