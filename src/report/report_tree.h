// The tree form of a report (--tree): every node of the folder tree with its total,
// share, own size and file count, each directly before its children.
#pragma once

#include "report/report_options.h"
#include "tree/tree_scan.h"

#include <string>

namespace report {

// Reads --tree and --depth N at argv[i]: true when the argument is one of them, with
// `i` moved past its value. A bad or missing depth sets `error`.
bool ParseTreeOption(int argc, const char* const* argv, int& i, ReportOptions& options,
                     std::string& error);

// The tree in UTF-8: aligned and indented with the status line, or with --tsv a title
// line and per node its depth, path of names, total and own bytes, total files, share.
std::string FormatTreeReport(const tree::TreeScan& scan, const ReportOptions& options);

} // namespace report
