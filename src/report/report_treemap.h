// The treemap form of a report (--treemap FILE): the folder tree's squarified treemap
// written as an SVG file, with the same refusal of the mailbox's folders as the window's
// export.
#pragma once

#include "report/report_options.h"
#include "report/report_sink.h"
#include "tree/tree_scan.h"
#include "tree/treemap.h"

#include <string>

namespace report {

// The pixels a side of the picture may have: a browser shows nothing larger whole.
constexpr int kMaxTreemapSide = 32768;

// Reads the value of --size: "WxH" (or "X"), each side digits only, 1..kMaxTreemapSide.
// False with `error` set otherwise; the sides are then unchanged.
bool ParseTreemapSize(const std::string& text, int& width, int& height, std::string& error);

// Reads the value of --colour: "limit", "age" or "plain".
bool TreemapColourOf(const std::string& text, tree::TreemapColour& colour);

// The layout of the picture: a band for the names of branches where they fit, and a
// frame of a pixel around each branch's children.
tree::TreemapOptions ReportTreemapOptions(const ReportOptions& options);

// Writes the treemap of `scan` into options.treemapFile, never into the mailbox or
// new-mail directory (`mailboxDir`, `newmailDir`: full, with the final separator) or the
// installation they belong to. The refusal or failure is a line on `err`; returns the
// exit status.
int WriteTreemapFile(const tree::TreeScan& scan, const ReportOptions& options,
                     const std::string& mailboxDir, const std::string& newmailDir, ReportSink& err);

} // namespace report
