// Option parsing of foldtally-report: every option is a whole argument, values follow
// as the next argument, the last of repeated options counts.
#include "report/report_options.h"

#include "report/report_tree.h"

#include <cstring>

namespace report {

const char kUsage[] =
    "usage: foldtally-report --mailbox DIR [--newmail DIR] [--no-paths] [--exact]\n"
    "                        [--sort name|size|folder] [--desc] [--tsv] [--trace]\n"
    "                        [--tree [--depth N]]\n"
    "\n"
    "Lists the folder files of a Pegasus Mail mailbox with sizes and folder paths, as\n"
    "the window shows them, and the status line with the count and the total.\n"
    "  --mailbox DIR   the mailbox directory (only read, never written)\n"
    "  --newmail DIR   add the row \"<Posteingang>\" with the size of the new mail there\n"
    "  --no-paths      no folder paths from \"hierarch.pm\"\n"
    "  --exact         sizes in bytes (\"123.456.789\") instead of \"117,7 MB\"\n"
    "  --sort COLUMN   file name, size or folder (default), ties by the other columns\n"
    "  --desc          descending\n"
    "  --tsv           tab-separated instead of aligned columns\n"
    "  --trace         the diagnostic trace lines to standard error\n"
    "  --tree          the folder tree with totals, shares, own sizes and file counts\n"
    "  --depth N       with --tree: no folders deeper than N (0: the top level only)\n"
    "Output is UTF-8. Exit status 0, or 2 for bad options or an unreadable mailbox.\n";

namespace {

bool SortColumnOf(const char* text, int& column) {
    static const char* const names[] = {"name", "size", "folder"};
    for (int i = 0; i < 3; ++i) {
        if (std::strcmp(text, names[i]) == 0) {
            column = i;
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseReportOptions(int argc, const char* const* argv, ReportOptions& options,
                        std::string& error) {
    options = ReportOptions();
    bool haveMailbox = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--mailbox" || arg == "--newmail" || arg == "--sort") {
            if (!value || !*value) {
                error = "missing value after " + arg;
                return false;
            }
            ++i;
            if (arg == "--mailbox") {
                options.mailboxDir = value;
                haveMailbox = true;
            } else if (arg == "--newmail") {
                options.newmailDir = value;
                options.includeNewMail = true;
            } else if (!SortColumnOf(value, options.sortColumn)) {
                error = "unknown sort column: " + std::string(value);
                return false;
            }
        } else if (arg == "--no-paths") {
            options.resolvePaths = false;
        } else if (arg == "--exact") {
            options.exactSizes = true;
        } else if (arg == "--desc") {
            options.sortDescending = true;
        } else if (arg == "--tsv") {
            options.tsv = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (ParseTreeOption(argc, argv, i, options, error)) {
            if (!error.empty()) {
                return false;
            }
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            error = "unknown argument: " + arg;
            return false;
        }
    }
    if (options.treeDepth >= 0 && !options.tree) {
        error = "--depth needs --tree";
        return false;
    }
    if (!haveMailbox && !options.help) {
        error = "--mailbox DIR is required";
        return false;
    }
    return true;
}

} // namespace report
