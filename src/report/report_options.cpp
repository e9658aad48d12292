// Option parsing of foldtally-report through cxxopts: every option is a whole argument
// ("--sort size" or "--sort=size"), the last of repeated options counts, flags take no
// value. The library's exceptions end here and become the error text.
#include "report/report_options.h"

#define CXXOPTS_NO_REGEX
#include <cxxopts.hpp>

#include <cstring>

namespace report {

const char kUsage[] =
    "usage: foldtally-report --mailbox DIR [--newmail DIR] [--no-paths] [--exact]\n"
    "                        [--sort name|size|folder|change] [--desc]\n"
    "                        [--format text|tsv|csv|json] [--tsv] [--compare EARLIER]\n"
    "                        [--trace]\n"
    "\n"
    "Lists the folder files of a Pegasus Mail mailbox with sizes and folder paths, as\n"
    "the window shows them, and the status line with the count and the total.\n"
    "  --mailbox DIR      the mailbox directory (only read, never written)\n"
    "  --newmail DIR      add the row \"<Posteingang>\" with the size of the new mail there\n"
    "  --no-paths         no folder paths from \"hierarch.pm\"\n"
    "  --exact            sizes in bytes (\"123.456.789\") instead of \"117,7 MB\"\n"
    "  --sort COLUMN      file name, size, folder (default) or the change since EARLIER;\n"
    "                     ties by the other columns\n"
    "  --desc             descending\n"
    "  --format FORMAT    text: aligned columns (default); tsv: tab-separated; csv: RFC 4180\n"
    "                     with a header line; json: one object with rows and totals\n"
    "  --tsv              the same as --format tsv\n"
    "  --compare EARLIER  a JSON report written earlier: adds each row's change since then\n"
    "                     (\"+1,2 MB\", \"neu\", \"entfernt\"; rows matched by file name)\n"
    "  --trace            the diagnostic trace lines to standard error\n"
    "Output is UTF-8. Exit status 0, or 2 for bad options, an unreadable mailbox or an\n"
    "unusable EARLIER report.\n";

namespace {

bool SortColumnOf(const std::string& text, int& column) {
    static const char* const names[] = {"name", "size", "folder", "change"};
    for (int i = 0; i < 4; ++i) {
        if (text == names[i]) {
            column = i;
            return true;
        }
    }
    return false;
}

bool FormatOf(const std::string& text, ReportFormat& format) {
    static const struct {
        const char* name;
        ReportFormat format;
    } formats[] = {{"text", ReportFormat::kText},
                   {"tsv", ReportFormat::kTsv},
                   {"csv", ReportFormat::kCsv},
                   {"json", ReportFormat::kJson}};
    for (const auto& f : formats) {
        if (text == f.name) {
            format = f.format;
            return true;
        }
    }
    return false;
}

const char* const kFlags[] = {"--no-paths", "--exact", "--desc", "--tsv", "--trace", "--help"};

// cxxopts reads "--tsv=0" as a flag turned off; here a flag is only ever given bare.
bool FlagWithValue(const char* arg) {
    for (const char* flag : kFlags) {
        const size_t n = std::strlen(flag);
        if (std::strncmp(arg, flag, n) == 0 && arg[n] == '=') {
            return true;
        }
    }
    return false;
}

cxxopts::Options MakeParser() {
    cxxopts::Options parser("foldtally-report");
    parser.add_options()("mailbox", "", cxxopts::value<std::string>())(
        "newmail", "", cxxopts::value<std::string>())("no-paths", "")("exact", "")(
        "sort", "", cxxopts::value<std::string>())("desc", "")("format", "",
                                                               cxxopts::value<std::string>())(
        "tsv", "")("compare", "", cxxopts::value<std::string>())("trace", "")("h,help", "");
    return parser;
}

// A value option that was given: its last value, which must not be empty.
bool Value(const cxxopts::ParseResult& result, const char* name, std::string& value,
           std::string& error) {
    if (result.count(name) == 0) {
        return false;
    }
    value = result[name].as<std::string>();
    if (value.empty()) {
        error = std::string("missing value after --") + name;
    }
    return true;
}

bool Apply(const cxxopts::ParseResult& result, ReportOptions& options, std::string& error) {
    std::string value;
    const bool haveMailbox = Value(result, "mailbox", options.mailboxDir, error);
    if (Value(result, "newmail", options.newmailDir, error)) {
        options.includeNewMail = true;
    }
    Value(result, "compare", options.compareFile, error);
    if (Value(result, "sort", value, error) && error.empty() &&
        !SortColumnOf(value, options.sortColumn)) {
        error = "unknown sort column: " + value;
    }
    if (result.count("tsv")) {
        options.format = ReportFormat::kTsv;
    }
    if (Value(result, "format", value, error) && error.empty() &&
        !FormatOf(value, options.format)) {
        error = "unknown format: " + value;
    }
    options.resolvePaths = result.count("no-paths") == 0;
    options.exactSizes = result.count("exact") != 0;
    options.sortDescending = result.count("desc") != 0;
    options.trace = result.count("trace") != 0;
    options.help = result.count("help") != 0;
    if (!error.empty()) {
        return false;
    }
    if (!result.unmatched().empty()) {
        error = "unknown argument: " + result.unmatched().front();
    } else if (!haveMailbox && !options.help) {
        error = "--mailbox DIR is required";
    } else if (options.sortColumn == kSortChange && options.compareFile.empty()) {
        error = "--sort change needs --compare EARLIER";
    }
    return error.empty();
}

} // namespace

bool ParseReportOptions(int argc, const char* const* argv, ReportOptions& options,
                        std::string& error) {
    options = ReportOptions();
    error.clear();
    // cxxopts wants a program name first and a mutable array.
    std::vector<const char*> args = {"foldtally-report"};
    for (int i = 0; i < argc; ++i) {
        if (FlagWithValue(argv[i])) {
            error = std::string("option takes no value: ") + argv[i];
            return false;
        }
        args.push_back(argv[i]);
    }
    try {
        cxxopts::Options parser = MakeParser();
        const cxxopts::ParseResult result =
            parser.parse(static_cast<int>(args.size()), args.data());
        return Apply(result, options, error);
    } catch (const cxxopts::exceptions::exception& e) {
        error = e.what();
        return false;
    }
}

} // namespace report
