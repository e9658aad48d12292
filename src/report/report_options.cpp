// Option parsing of foldtally-report through cxxopts: every option is a whole argument
// ("--sort size" or "--sort=size"), the last of repeated options counts, flags take no
// value. The library's exceptions end here and become the error text, in German as
// every other message of the program: the library's own words are English.
#include "report/report_options.h"

#include "report/all_users_report.h"
#include "report/report_tree.h"
#include "report/report_treemap.h"

#define CXXOPTS_NO_REGEX
#include <cxxopts.hpp>

#include <cstring>

#include "sizes/size_text.h"

namespace report {

const char kUsage[] =
    "usage: foldtally-report --mailbox DIR [--newmail DIR] [--no-paths] [--exact]\n"
    "                        [--sort name|size|folder|change] [--desc]\n"
    "                        [--format text|tsv|csv|json|excel] [--tsv] [--compare EARLIER]\n"
    "                        [--since 7d|30d|DATE]\n"
    "                        [--trace] [--tree [--depth N]] [--changed]\n"
    "                        [--match TEXT]... [--exclude TEXT]... [--min-size SIZE]\n"
    "       foldtally-report --mailbox DIR [--newmail DIR] [--no-paths] --treemap FILE.svg\n"
    "                        [--size WxH] [--colour limit|age|plain]\n"
    "       foldtally-report --all-users ROOT [--exact] [--format text|tsv|csv|json] [--tsv]\n"
    "                        [--sort user|personal|files|size|share|newmail|largest|limit|\n"
    "                        change] [--desc] [--compare EARLIER] [--trace]\n"
    "                        [--match TEXT]... [--exclude TEXT]... [--min-size SIZE]\n"
    "       foldtally-report --help | --version\n"
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
    "                     with a header line; json: one object with rows and totals;\n"
    "                     excel: the window's export file (Windows-1252, ';', no totals)\n"
    "  --tsv              the same as --format tsv\n"
    "  --compare EARLIER  a JSON report written earlier: adds each row's change since then\n"
    "                     (\"+1,2 MB\", \"neu\", \"entfernt\"; rows matched by file name)\n"
    "  --since WHEN       as --compare, with the entry of the mailbox's history from WHEN\n"
    "                     (7d: a week ago, 30d: a month ago, or a day as 2026-12-01), or\n"
    "                     the newest before it; the window keeps one entry a day\n"
    "  --trace            the diagnostic trace lines to standard error\n"
    "  --tree             the folder tree with totals, shares, own sizes and file counts\n"
    "                     (text or tsv)\n"
    "  --depth N          with --tree: no folders deeper than N (0: the top level only)\n"
    "  --changed          text and tsv: each file's last change (\"09.12.2026 14:03\", in tsv\n"
    "                     ISO 8601); csv and json always carry it and the folder limit\n"
    "  --all-users ROOT   every mailbox of a multi-user installation: one row per user of\n"
    "                     ROOT's PMAIL.USR and per folder no user names, with the folder\n"
    "                     files, total, share, new mail, largest folder file and the files\n"
    "                     near or over the limit; EARLIER is then such a JSON report (users\n"
    "                     matched by name, their folder files by file name)\n"
    "  --match TEXT       only rows whose file name, folder name or path holds every\n"
    "                     word of TEXT (any case; \"-word\": not that word); repeatable\n"
    "  --exclude TEXT     no rows that hold a word of TEXT; repeatable\n"
    "  --min-size SIZE    only rows of at least SIZE (\"10 MB\", \"1,5 GB\", bytes); the\n"
    "                     status line and the JSON totals then say what is shown of all\n"
    "  --treemap FILE     writes the folder tree as a treemap into FILE (SVG), every\n"
    "                     folder a rectangle as large as its size, nested by branch, its\n"
    "                     path and size shown on hover; never into the mailbox or new-mail\n"
    "                     directory; prints nothing else\n"
    "  --size WxH         with --treemap: the picture's size in pixels (1280x1024)\n"
    "  --colour COLOUR    with --treemap: limit (near and over the folder limit, as the\n"
    "                     list marks them; the default), age (newer is brighter, a year\n"
    "                     from light to dark) or plain (one colour per level)\n"
    "  --version          the program's name and version\n"
    "Output is UTF-8. Exit status 0, or 2 for bad options, an unreadable mailbox or an\n"
    "unusable EARLIER report or history.\n";

const char kHelpHint[] = "\"foldtally-report --help\" zeigt alle Optionen.\n";

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
                   {"json", ReportFormat::kJson},
                   {"excel", ReportFormat::kExcel}};
    for (const auto& f : formats) {
        if (text == f.name) {
            format = f.format;
            return true;
        }
    }
    return false;
}

const char* const kFlags[] = {"--no-paths", "--exact", "--desc",    "--tsv",    "--trace",
                              "--help",     "--tree",  "--changed", "--version"};

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

const char* const kValueOptions[] = {
    "--mailbox",   "--newmail", "--sort",    "--format",   "--compare", "--depth", "--since",
    "--all-users", "--match",   "--exclude", "--min-size", "--treemap", "--size",  "--colour"};

std::string MissingValue(const std::string& option) {
    return "Nach --" + option + " fehlt der Wert.";
}

bool IsKnownOption(const std::string& name) {
    for (const char* known : kFlags) {
        if (name == known) {
            return true;
        }
    }
    for (const char* known : kValueOptions) {
        if (name == known) {
            return true;
        }
    }
    return name == "-h";
}

// What the library refused, said again from the arguments themselves: its exception
// tells the kind, the argument it means is found here.
std::string ParseErrorText(const cxxopts::exceptions::exception& e,
                           const std::vector<const char*>& args) {
    if (dynamic_cast<const cxxopts::exceptions::missing_argument*>(&e) && args.size() > 1) {
        const std::string last = args.back();
        return MissingValue(last.substr(last.find_first_not_of('-')));
    }
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string arg = args[i];
        if (arg.size() > 1 && arg[0] == '-') {
            if (!IsKnownOption(arg.substr(0, arg.find('=')))) {
                return "Die Option \"" + arg + "\" ist unbekannt.";
            }
            if (arg.find('=') == std::string::npos && i + 1 < args.size()) {
                for (const char* option : kValueOptions) {
                    if (arg == option) {
                        ++i; // its value, whatever it looks like
                    }
                }
            }
        }
    }
    return "Die Argumente k\xF6nnen nicht gelesen werden.";
}

cxxopts::Options MakeParser() {
    cxxopts::Options parser("foldtally-report");
    parser.add_options()("mailbox", "", cxxopts::value<std::string>())(
        "newmail", "", cxxopts::value<std::string>())("no-paths", "")("exact", "")(
        "sort", "", cxxopts::value<std::string>())("desc", "")(
        "format", "", cxxopts::value<std::string>())("tsv", "")(
        "compare", "", cxxopts::value<std::string>())("trace", "")("h,help", "")("tree", "")(
        "depth", "", cxxopts::value<std::string>())("since", "",
                                                    cxxopts::value<std::string>())("changed", "");
    parser.add_options()("all-users", "", cxxopts::value<std::string>())("version", "");
    parser.add_options()("treemap", "", cxxopts::value<std::string>())(
        "size", "", cxxopts::value<std::string>())("colour", "", cxxopts::value<std::string>());
    parser.add_options()("match", "", cxxopts::value<std::string>())(
        "exclude", "", cxxopts::value<std::string>())("min-size", "",
                                                      cxxopts::value<std::string>());
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
        error = MissingValue(name);
    }
    return true;
}

// What --all-users cannot go with: the options of one mailbox, and the window's export.
std::string CheckAllUsersOptions(const cxxopts::ParseResult& result, const ReportOptions& options,
                                 bool haveMailbox) {
    if (haveMailbox) {
        return "--all-users und --mailbox schlie\xDF"
               "en einander aus.";
    }
    for (const char* single : {"newmail", "no-paths", "tree", "depth", "since", "changed",
                               "treemap", "size", "colour"}) {
        if (result.count(single) != 0) {
            return std::string("--") + single +
                   " gilt f\xFCr ein Postfach, nicht f\xFCr --all-users.";
        }
    }
    if (options.format == ReportFormat::kExcel) {
        return "--format excel gilt f\xFCr ein Postfach, nicht f\xFCr --all-users.";
    }
    if (options.allUsersSortColumn == kUserColumnChange && options.compareFile.empty()) {
        return "--sort change braucht --compare EARLIER.";
    }
    return std::string();
}

// Every --match and --exclude in the order given (the parser keeps only the last value
// of an option), and --min-size.
void ApplyFilter(const cxxopts::ParseResult& result, view::RowFilter& filter, std::string& error) {
    for (const cxxopts::KeyValue& given : result.arguments()) {
        const bool excluded = given.key() == "exclude";
        if (!excluded && given.key() != "match") {
            continue;
        }
        if (given.value().empty()) {
            error = MissingValue(given.key());
        } else if (!filter.AddWords(given.value(), excluded)) {
            error = "Der Filter hat mehr als " + std::to_string(view::RowFilter::kMostWords) +
                    " W\xF6rter.";
        }
    }
    std::string value;
    uint64_t bytes = 0;
    if (Value(result, "min-size", value, error) && error.empty()) {
        if (ParseSizeText(value, &bytes)) {
            filter.SetMinimumSize(bytes);
        } else {
            error = "Die Gr\xF6\xDF"
                    "e \"" +
                    value +
                    "\" ist keine Gr\xF6\xDF"
                    "e wie \"10 MB\" oder \"1,5 GB\".";
        }
    }
}

// --treemap and its two options: the picture takes the scan's options only, and its
// size and colour come only with it.
void ApplyTreemap(const cxxopts::ParseResult& result, ReportOptions& options, std::string& error) {
    std::string value;
    const bool treemap = Value(result, "treemap", options.treemapFile, error);
    if (Value(result, "size", value, error) && error.empty()) {
        ParseTreemapSize(value, options.treemapWidth, options.treemapHeight, error);
    }
    if (Value(result, "colour", value, error) && error.empty() &&
        !TreemapColourOf(value, options.treemapColour)) {
        error = "Die F\xE4rbung \"" + value + "\" ist unbekannt (limit, age oder plain).";
    }
    for (const cxxopts::KeyValue& given : result.arguments()) {
        if (!error.empty()) {
            return;
        }
        const std::string& key = given.key();
        const bool picture = key == "size" || key == "colour";
        if (treemap ? !(picture || key == "treemap" || key == "mailbox" || key == "newmail" ||
                        key == "no-paths" || key == "trace" || key == "all-users" ||
                        key == "help" || key == "version")
                    : picture) {
            error = treemap ? "--" + key + " gilt nicht f\xFCr --treemap."
                            : "--" + key + " gilt nur mit --treemap.";
        }
    }
}

bool Apply(const cxxopts::ParseResult& result, ReportOptions& options, std::string& error) {
    std::string value;
    const bool haveMailbox = Value(result, "mailbox", options.mailboxDir, error);
    if (Value(result, "newmail", options.newmailDir, error)) {
        options.includeNewMail = true;
    }
    const bool allUsers = Value(result, "all-users", options.allUsersRoot, error);
    Value(result, "compare", options.compareFile, error);
    Value(result, "since", options.since, error);
    const bool sortGiven = Value(result, "sort", value, error) && error.empty();
    if (sortGiven && !(allUsers ? AllUsersSortColumnOf(value, options.allUsersSortColumn)
                                : SortColumnOf(value, options.sortColumn))) {
        error = "Die Sortierspalte \"" + value + "\" ist unbekannt.";
    }
    if (result.count("tsv")) {
        options.format = ReportFormat::kTsv;
    }
    if (Value(result, "format", value, error) && error.empty() &&
        !FormatOf(value, options.format)) {
        error = "Das Format \"" + value + "\" ist unbekannt.";
    }
    options.resolvePaths = result.count("no-paths") == 0;
    options.exactSizes = result.count("exact") != 0;
    options.sortDescending = result.count("desc") != 0;
    options.trace = result.count("trace") != 0;
    options.help = result.count("help") != 0;
    options.version = result.count("version") != 0;
    options.tree = result.count("tree") != 0;
    options.showChanged = result.count("changed") != 0;
    if (Value(result, "depth", value, error) && error.empty()) {
        ParseTreeDepth(value, options.treeDepth, error);
    }
    if (error.empty()) {
        ApplyFilter(result, options.filter, error);
    }
    if (error.empty()) {
        ApplyTreemap(result, options, error);
    }
    if (!error.empty()) {
        return false;
    }
    if (!result.unmatched().empty()) {
        error = "Das Argument \"" + result.unmatched().front() + "\" ist unbekannt.";
    } else if (allUsers) {
        error = CheckAllUsersOptions(result, options, haveMailbox);
    } else if (!haveMailbox && !options.help && !options.version) {
        error = "Die Option --mailbox DIR fehlt.";
    } else if (!options.compareFile.empty() && !options.since.empty()) {
        error = "--compare und --since schlie\xDF"
                "en einander aus.";
    } else if (options.sortColumn == kSortChange && options.compareFile.empty() &&
               options.since.empty()) {
        error = "--sort change braucht --compare EARLIER.";
    } else if (options.format == ReportFormat::kExcel &&
               !(options.compareFile.empty() && options.since.empty())) {
        error = "--format excel schreibt, was das Fenster exportiert, ohne --compare.";
    } else if (options.tree && options.showChanged) {
        error = "--changed gilt f\xFCr die Liste, nicht f\xFCr --tree.";
    } else {
        error = CheckTreeOptions(options);
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
            error = std::string("Die Option \"") + argv[i] + "\" nimmt keinen Wert.";
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
        error = ParseErrorText(e, args);
        return false;
    }
}

} // namespace report
