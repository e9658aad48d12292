// The tree form of a report (--tree): every node of the folder tree with its total,
// share, own size and file count, each directly before its children.
#pragma once

#include "report/report_options.h"
#include "tree/tree_scan.h"

#include <string>

namespace report {

// Reads the value of --depth: digits only, at most nine of them (no sign, no blanks,
// no overflow). False with `error` set otherwise.
bool ParseTreeDepth(const std::string& text, int& depth, std::string& error);

// What --tree and --depth leave out together with the other options: empty when they
// fit, else the error. The tree is shown as text or tab-separated only.
std::string CheckTreeOptions(const ReportOptions& options);

// The tree in UTF-8: aligned and indented with the status line, or with --tsv a title
// line and per node its depth, path of names, total and own bytes, total files, share.
std::string FormatTreeReport(const tree::TreeScan& scan, const ReportOptions& options);

} // namespace report
