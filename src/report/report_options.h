// The command line of foldtally-report. The window program takes no options; this
// console program prints one scan as the window would show it.
#pragma once

#include <string>

namespace report {

struct ReportOptions {
    std::string mailboxDir; // required
    std::string newmailDir; // the new-mail row only when given
    bool includeNewMail = false;
    bool resolvePaths = true; // --no-paths turns it off
    bool exactSizes = false;  // --exact; compact otherwise
    int sortColumn = 2;       // --sort name|size|folder: column 0, 1, 2
    bool sortDescending = false;
    bool tsv = false;
    bool trace = false;
    bool tree = false;  // --tree: the folder tree instead of the list
    int treeDepth = -1; // --depth N: no node deeper than N (0: the top nodes); -1 all
    bool help = false;  // --help: usage on standard output, nothing else
};

extern const char kUsage[];

// Reads the arguments after the program name. False with `error` naming the first
// argument that is unknown, lacks its value or has a bad one; a missing --mailbox is an
// error too unless --help was asked for.
bool ParseReportOptions(int argc, const char* const* argv, ReportOptions& options,
                        std::string& error);

} // namespace report
