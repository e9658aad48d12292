// The tree form of a report (--tree): every node of the folder tree with its total,
// share, own size and file count, each directly before its children.
#pragma once

#include "report/report_options.h"
#include "report/report_sink.h"
#include "tree/tree_scan.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace report {

// Reads the value of --depth: digits only, at most nine of them (no sign, no blanks,
// no overflow). False with `error` set otherwise.
bool ParseTreeDepth(const std::string& text, int& depth, std::string& error);

// What --tree and --depth leave out together with the other options: empty when they
// fit, else the error. The tree is shown as text or tab-separated only.
std::string CheckTreeOptions(const ReportOptions& options);

// Bounds that keep the tree's output linear in its nodes, far above any tree a person
// keeps: the text form indents two blanks per level down to this level and shows a
// deeper one as "[40] Name" at that indentation (and, as the list's, pads no column to
// a cell wider than kMaxPaddedWidth); the tab-separated form's path of names keeps its
// last kTreePathLength characters behind "…".
constexpr uint32_t kTreeIndentLevels = 32;
constexpr size_t kTreePathLength = 1024;

// The tree in UTF-8, handed to `sink` in pieces as it is made: aligned and indented with
// the status line, or with --tsv a title line and per node its depth, path of names,
// total and own bytes, total files, share.
void WriteTreeReport(const tree::TreeScan& scan, const ReportOptions& options, ReportSink& sink);

} // namespace report
