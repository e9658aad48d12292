// Option parsing of foldtally-report through cxxopts: every option is a whole argument
// ("--sort size" or "--sort=size"), the last of repeated options counts, flags take no
// value. The library's exceptions end here and become the error text, in the user's
// language as every other message of the program, not in the library's own words.
#include "report/report_options.h"

#include "diag/trace.h"

#include "report/all_users_report.h"
#include "report/report_tree.h"
#include "report/report_treemap.h"

#define CXXOPTS_NO_REGEX
#include <cxxopts.hpp>

#include <cstring>

#include "report/report_texts.h"
#include "sizes/size_text.h"
#include "text/language.h"

namespace report {

const char* const kHelpHint = "\"foldtally-report --help\" zeigt alle Optionen.\n";

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

const char* const kValueOptions[] = {"--mailbox", "--newmail", "--sort",     "--format",
                                     "--compare", "--depth",   "--since",    "--all-users",
                                     "--match",   "--exclude", "--min-size", "--treemap",
                                     "--size",    "--colour",  "--lang"};

std::string MissingValue(const std::string& option) {
    return FormatText(Say(Phrase::kMissingValue), option.c_str());
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
                return FormatText(Say(Phrase::kUnknownOption), arg.c_str());
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
    return Say(Phrase::kUnreadableArguments);
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
    parser.add_options()("all-users", "", cxxopts::value<std::string>())("version", "")(
        "lang", "", cxxopts::value<std::string>());
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
        return Say(Phrase::kAllUsersAndMailbox);
    }
    for (const char* single : {"newmail", "no-paths", "tree", "depth", "since", "changed",
                               "treemap", "size", "colour"}) {
        if (result.count(single) != 0) {
            return FormatText(Say(Phrase::kNotForAllUsers), single);
        }
    }
    if (options.format == ReportFormat::kExcel) {
        return FormatText(Say(Phrase::kNotForAllUsers), "format excel");
    }
    if (options.allUsersSortColumn == kUserColumnChange && options.compareFile.empty()) {
        return Say(Phrase::kSortChangeNeedsCompare);
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
            error = FormatText(Say(Phrase::kTooManyWords),
                               static_cast<int>(view::RowFilter::kMostWords));
        }
    }
    std::string value;
    uint64_t bytes = 0;
    if (Value(result, "min-size", value, error) && error.empty()) {
        if (ParseSizeText(value, &bytes)) {
            filter.SetMinimumSize(bytes);
        } else {
            error = FormatText(Say(Phrase::kBadSize), value.c_str());
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
        error = FormatText(Say(Phrase::kUnknownColour), value.c_str());
    }
    for (const cxxopts::KeyValue& given : result.arguments()) {
        if (!error.empty()) {
            return;
        }
        const std::string& key = given.key();
        const bool picture = key == "size" || key == "colour";
        if (treemap ? !(picture || key == "treemap" || key == "mailbox" || key == "newmail" ||
                        key == "no-paths" || key == "trace" || key == "all-users" ||
                        key == "help" || key == "version" || key == "lang")
                    : picture) {
            error = FormatText(Say(treemap ? Phrase::kNotForTreemap : Phrase::kOnlyWithTreemap),
                               key.c_str());
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
        error = FormatText(Say(Phrase::kUnknownSortColumn), value.c_str());
    }
    if (result.count("tsv")) {
        options.format = ReportFormat::kTsv;
    }
    if (Value(result, "format", value, error) && error.empty() &&
        !FormatOf(value, options.format)) {
        error = FormatText(Say(Phrase::kUnknownFormat), value.c_str());
    }
    if (Value(result, "lang", value, error) && error.empty()) {
        options.languageGiven = ParseLanguageName(value, &options.language);
        if (!options.languageGiven) {
            error = FormatText(Say(Phrase::kUnknownLanguage), value.c_str());
        }
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
        error = FormatText(Say(Phrase::kUnknownArgument), result.unmatched().front().c_str());
    } else if (allUsers) {
        error = CheckAllUsersOptions(result, options, haveMailbox);
    } else if (!haveMailbox && !options.help && !options.version) {
        error = Say(Phrase::kMailboxMissing);
    } else if (!options.compareFile.empty() && !options.since.empty()) {
        error = Say(Phrase::kCompareAndSince);
    } else if (options.sortColumn == kSortChange && options.compareFile.empty() &&
               options.since.empty()) {
        error = Say(Phrase::kSortChangeNeedsCompare);
    } else if (options.format == ReportFormat::kExcel &&
               !(options.compareFile.empty() && options.since.empty())) {
        error = Say(Phrase::kExcelWithoutCompare);
    } else if (options.tree && options.showChanged) {
        error = Say(Phrase::kChangedNotForTree);
    } else {
        error = CheckTreeOptions(options);
    }
    return error.empty();
}

} // namespace

bool LanguageOfArguments(int argc, const char* const* argv, Language* language) {
    bool found = false;
    for (int i = 0; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string_view value;
        if (arg == "--lang" && i + 1 < argc) {
            value = argv[++i];
        } else if (arg.substr(0, 7) == "--lang=") {
            value = arg.substr(7);
        } else {
            continue;
        }
        found = ParseLanguageName(value, language) || found;
    }
    return found;
}

bool ParseReportOptions(int argc, const char* const* argv, ReportOptions& options,
                        std::string& error) {
    options = ReportOptions();
    error.clear();
    // cxxopts wants a program name first and a mutable array.
    std::vector<const char*> args = {"foldtally-report"};
    for (int i = 0; i < argc; ++i) {
        if (FlagWithValue(argv[i])) {
            error = FormatText(Say(Phrase::kFlagWithValue), argv[i]);
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
