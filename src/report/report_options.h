// The command line of foldtally-report. The window program takes no options; this
// console program prints one scan as the window would show it.
#pragma once

#include <string>

#include "text/language.h"

#include "tree/treemap.h"
#include "view/row_filter.h"

namespace report {

// kExcel: the window's export file (view/list_export), Windows-1252 with ';' for a
// German spreadsheet; kCsv is RFC 4180 in UTF-8, for programs.
enum class ReportFormat { kText, kTsv, kCsv, kJson, kExcel };

// The sort columns: the list's three, and the change since an earlier report.
constexpr int kSortFileName = 0;
constexpr int kSortSize = 1;
constexpr int kSortFolder = 2;
constexpr int kSortChange = 3;

struct ReportOptions {
    std::string mailboxDir; // required
    std::string newmailDir; // the new-mail row only when given
    bool includeNewMail = false;
    bool resolvePaths = true;     // --no-paths turns it off
    bool exactSizes = false;      // --exact; compact otherwise
    int sortColumn = kSortFolder; // --sort name|size|folder|change
    bool sortDescending = false;
    ReportFormat format = ReportFormat::kText; // --format, --tsv
    std::string compareFile;                   // --compare: an earlier JSON report, or empty
    // --since: "7d", "30d" or a day, resolved against the mailbox's history into the
    // compareFile before the run; empty without it.
    std::string since;
    bool trace = false;
    bool tree = false;        // --tree: the folder tree instead of the list
    int treeDepth = -1;       // --depth N: no node deeper than N (0: the top nodes); -1 all
    bool showChanged = false; // --changed: text and tsv get each row's last change
    // --match TEXT, --exclude TEXT, --min-size SIZE: the rows shown, by the window's
    // filter rules; the totals say both what is shown and the whole.
    view::RowFilter filter;
    bool help = false;    // --help: usage on standard output, nothing else
    bool version = false; // --version: the program's name and version, nothing else
    // --lang de|en: the language of the texts for people; the program sets it before any
    // text is made (LanguageOfArguments), the parse only checks it.
    bool languageGiven = false;
    Language language = Language::German;
    // --all-users ROOT: every mailbox of the installation at ROOT instead of --mailbox;
    // its rows sort by the column of report::AllUsersColumn, by user name unless asked.
    std::string allUsersRoot;
    int allUsersSortColumn = 0;
    // --treemap FILE: the treemap of the folder tree as an SVG file instead of the
    // report, --size WxH pixels, coloured as --colour limit|age|plain says.
    std::string treemapFile;
    int treemapWidth = 1280;
    int treemapHeight = 1024;
    tree::TreemapColour treemapColour = tree::TreemapColour::kLimit;
    // Not an option: set when --since is resolved, the day of the history's entry
    // compared with, as the window names it ("seit 01.12.2026", Windows-1252) and as
    // ISO 8601 ("2026-12-01") for the JSON.
    std::string sinceText;
    std::string sinceDay;
    // Not options: the program sets them when standard output, or standard error, is
    // shown on a terminal.
    bool toTerminal = false;
    bool errorsToTerminal = false;
};

// The line after an option error in German: where the usage is, instead of the usage
// itself. Say(Phrase::kHelpHint) is the same in the user's language.
extern const char* const kHelpHint;

// The language the arguments ask for with a valid --lang (the last one counts), read
// before the options are parsed so that their errors are already in it. False when no
// valid --lang is given; `language` is then unchanged.
bool LanguageOfArguments(int argc, const char* const* argv, Language* language);

// Reads the arguments after the program name. False with `error` naming the first
// argument that is unknown, lacks its value or has a bad one; a missing --mailbox is an
// error too unless --help or --version was asked for, and so are --sort change without --compare or
// --since, and both of those together. The value of --since is checked where it is
// resolved.
bool ParseReportOptions(int argc, const char* const* argv, ReportOptions& options,
                        std::string& error);

} // namespace report
