// Every text foldtally-report writes for a person, in German and in English, side by
// side: a translator works down this one list. Texts are Windows-1252 as the rest of the
// report's words; "%s" and "%d" are filled in the same order in both languages. The
// machine forms (tsv, csv, json) never come here: they keep their German words.
#pragma once

namespace report {

// X(id, German, English)
#define FT_REPORT_TEXTS(X)                                                                         \
    X(kUsage,                                                                                      \
      "usage: foldtally-report --mailbox DIR [--newmail DIR] [--no-paths] [--exact]\n"             \
      "                        [--sort name|size|folder|change] [--desc]\n"                        \
      "                        [--format text|tsv|csv|json|excel] [--tsv] [--compare EARLIER]\n"   \
      "                        [--since 7d|30d|DATE]\n"                                            \
      "                        [--trace] [--tree [--depth N]] [--changed]\n"                       \
      "                        [--match TEXT]... [--exclude TEXT]... [--min-size SIZE]\n"          \
      "       foldtally-report --mailbox DIR [--newmail DIR] [--no-paths] --treemap FILE.svg\n"    \
      "                        [--size WxH] [--colour limit|age|plain]\n"                          \
      "       foldtally-report --all-users ROOT [--exact] [--format text|tsv|csv|json] [--tsv]\n"  \
      "                        [--sort user|personal|files|size|share|newmail|largest|limit|\n"    \
      "                        change] [--desc] [--compare EARLIER] [--trace]\n"                   \
      "                        [--match TEXT]... [--exclude TEXT]... [--min-size SIZE]\n"          \
      "       foldtally-report --help | --version\n"                                               \
      "\n"                                                                                         \
      "Lists the folder files of a Pegasus Mail mailbox with sizes and folder paths, as\n"         \
      "the window shows them, and the status line with the count and the total.\n"                 \
      "  --mailbox DIR      the mailbox directory (only read, never written)\n"                    \
      "  --newmail DIR      add the row \"<Posteingang>\" with the size of the new mail there\n"   \
      "  --no-paths         no folder paths from \"hierarch.pm\"\n"                                \
      "  --exact            sizes in bytes (\"123.456.789\") instead of \"117,7 MB\"\n"            \
      "  --sort COLUMN      file name, size, folder (default) or the change since EARLIER;\n"      \
      "                     ties by the other columns\n"                                           \
      "  --desc             descending\n"                                                          \
      "  --format FORMAT    text: aligned columns (default); tsv: tab-separated; csv: RFC 4180\n"  \
      "                     with a header line; json: one object with rows and totals;\n"          \
      "                     excel: the window's export file (Windows-1252, ';', no totals)\n"      \
      "  --tsv              the same as --format tsv\n"                                            \
      "  --compare EARLIER  a JSON report written earlier: adds each row's change since then\n"    \
      "                     (\"+1,2 MB\", \"neu\", \"entfernt\"; rows matched by file name)\n"     \
      "  --since WHEN       as --compare, with the entry of the mailbox's history from WHEN\n"     \
      "                     (7d: a week ago, 30d: a month ago, or a day as 2026-12-01), or\n"      \
      "                     the newest before it; the window keeps one entry a day\n"              \
      "  --trace            the diagnostic trace lines to standard error\n"                        \
      "  --tree             the folder tree with totals, shares, own sizes and file counts\n"      \
      "                     (text or tsv)\n"                                                       \
      "  --depth N          with --tree: no folders deeper than N (0: the top level only)\n"       \
      "  --changed          text and tsv: each file's last change (\"09.12.2026 14:03\", in tsv\n" \
      "                     ISO 8601); csv and json always carry it and the folder limit\n"        \
      "  --all-users ROOT   every mailbox of a multi-user installation: one row per user of\n"     \
      "                     ROOT's PMAIL.USR and per folder no user names, with the folder\n"      \
      "                     files, total, share, new mail, largest folder file and the files\n"    \
      "                     near or over the limit; EARLIER is then such a JSON report (users\n"   \
      "                     matched by name, their folder files by file name)\n"                   \
      "  --match TEXT       only rows whose file name, folder name or path holds every\n"          \
      "                     word of TEXT (any case; \"-word\": not that word); repeatable\n"       \
      "  --exclude TEXT     no rows that hold a word of TEXT; repeatable\n"                        \
      "  --min-size SIZE    only rows of at least SIZE (\"10 MB\", \"1,5 GB\", bytes); the\n"      \
      "                     status line and the JSON totals then say what is shown of all\n"       \
      "  --treemap FILE     writes the folder tree as a treemap into FILE (SVG), every\n"          \
      "                     folder a rectangle as large as its size, nested by branch, its\n"      \
      "                     path and size shown on hover; never into the mailbox or new-mail\n"    \
      "                     directory; prints nothing else\n"                                      \
      "  --size WxH         with --treemap: the picture's size in pixels (1280x1024)\n"            \
      "  --colour COLOUR    with --treemap: limit (near and over the folder limit, as the\n"       \
      "                     list marks them; the default), age (newer is brighter, a year\n"       \
      "                     from light to dark) or plain (one colour per level)\n"                 \
      "  --version          the program's name and version\n"                                      \
      "Output is UTF-8. Exit status 0, or 2 for bad options, an unreadable mailbox or an\n"        \
      "unusable EARLIER report or history.\n",                                                     \
      "usage: foldtally-report --mailbox DIR [--newmail DIR] [--no-paths] [--exact]\n"             \
      "                        [--sort name|size|folder|change] [--desc]\n"                        \
      "                        [--format text|tsv|csv|json|excel] [--tsv] [--compare EARLIER]\n"   \
      "                        [--since 7d|30d|DATE]\n"                                            \
      "                        [--trace] [--tree [--depth N]] [--changed]\n"                       \
      "                        [--match TEXT]... [--exclude TEXT]... [--min-size SIZE]\n"          \
      "       foldtally-report --mailbox DIR [--newmail DIR] [--no-paths] --treemap FILE.svg\n"    \
      "                        [--size WxH] [--colour limit|age|plain]\n"                          \
      "       foldtally-report --all-users ROOT [--exact] [--format text|tsv|csv|json] [--tsv]\n"  \
      "                        [--sort user|personal|files|size|share|newmail|largest|limit|\n"    \
      "                        change] [--desc] [--compare EARLIER] [--trace]\n"                   \
      "                        [--match TEXT]... [--exclude TEXT]... [--min-size SIZE]\n"          \
      "       foldtally-report --help | --version\n"                                               \
      "       (every form also takes --lang de|en)\n"                                              \
      "\n"                                                                                         \
      "Lists the folder files of a Pegasus Mail mailbox with sizes and folder paths, as\n"         \
      "the window shows them, and the status line with the count and the total.\n"                 \
      "  --mailbox DIR      the mailbox directory (only read, never written)\n"                    \
      "  --newmail DIR      add the row \"<New Mail>\" with the size of the new mail there\n"      \
      "  --no-paths         no folder paths from \"hierarch.pm\"\n"                                \
      "  --exact            sizes in bytes (\"123,456,789\") instead of \"117.7 MB\"\n"            \
      "  --sort COLUMN      file name, size, folder (default) or the change since EARLIER;\n"      \
      "                     ties by the other columns\n"                                           \
      "  --desc             descending\n"                                                          \
      "  --format FORMAT    text: aligned columns (default); tsv: tab-separated; csv: RFC 4180\n"  \
      "                     with a header line; json: one object with rows and totals;\n"          \
      "                     excel: the window's export file (UTF-8, ',', no totals)\n"             \
      "  --tsv              the same as --format tsv\n"                                            \
      "  --compare EARLIER  a JSON report written earlier: adds each row's change since then\n"    \
      "                     (\"+1.2 MB\", \"new\", \"removed\"; rows matched by file name)\n"      \
      "  --since WHEN       as --compare, with the entry of the mailbox's history from WHEN\n"     \
      "                     (7d: a week ago, 30d: a month ago, or a day as 2026-12-01), or\n"      \
      "                     the newest before it; the window keeps one entry a day\n"              \
      "  --trace            the diagnostic trace lines to standard error\n"                        \
      "  --tree             the folder tree with totals, shares, own sizes and file counts\n"      \
      "                     (text or tsv)\n"                                                       \
      "  --depth N          with --tree: no folders deeper than N (0: the top level only)\n"       \
      "  --changed          text and tsv: each file's last change (\"2026-12-09 14:03\", in tsv\n" \
      "                     ISO 8601); csv and json always carry it and the folder limit\n"        \
      "  --all-users ROOT   every mailbox of a multi-user installation: one row per user of\n"     \
      "                     ROOT's PMAIL.USR and per folder no user names, with the folder\n"      \
      "                     files, total, share, new mail, largest folder file and the files\n"    \
      "                     near or over the limit; EARLIER is then such a JSON report (users\n"   \
      "                     matched by name, their folder files by file name)\n"                   \
      "  --match TEXT       only rows whose file name, folder name or path holds every\n"          \
      "                     word of TEXT (any case; \"-word\": not that word); repeatable\n"       \
      "  --exclude TEXT     no rows that hold a word of TEXT; repeatable\n"                        \
      "  --min-size SIZE    only rows of at least SIZE (\"10 MB\", \"1.5 GB\", bytes); the\n"      \
      "                     status line and the JSON totals then say what is shown of all\n"       \
      "  --treemap FILE     writes the folder tree as a treemap into FILE (SVG), every\n"          \
      "                     folder a rectangle as large as its size, nested by branch, its\n"      \
      "                     path and size shown on hover; never into the mailbox or new-mail\n"    \
      "                     directory; prints nothing else\n"                                      \
      "  --size WxH         with --treemap: the picture's size in pixels (1280x1024)\n"            \
      "  --colour COLOUR    with --treemap: limit (near and over the folder limit, as the\n"       \
      "                     list marks them; the default), age (newer is brighter, a year\n"       \
      "                     from light to dark) or plain (one colour per level)\n"                 \
      "  --lang LANGUAGE    de or en: the language of the texts for people (the text\n"            \
      "                     form, excel, the messages); without it LC_ALL, LC_MESSAGES\n"          \
      "                     or LANG, else the Windows display language, else English;\n"           \
      "                     tsv, csv and json are the same in both\n"                              \
      "  --version          the program's name and version\n"                                      \
      "Output is UTF-8. Exit status 0, or 2 for bad options, an unreadable mailbox or an\n"        \
      "unusable EARLIER report or history.\n")                                                     \
    X(kHelpHint, "\"foldtally-report --help\" zeigt alle Optionen.\n",                             \
      "\"foldtally-report --help\" shows all options.\n")                                          \
    X(kMissingValue, "Nach --%s fehlt der Wert.", "The value after --%s is missing.")              \
    X(kUnknownOption, "Die Option \"%s\" ist unbekannt.", "The option \"%s\" is unknown.")         \
    X(kFlagWithValue, "Die Option \"%s\" nimmt keinen Wert.", "The option \"%s\" takes no value.") \
    X(kUnreadableArguments, "Die Argumente k\xF6nnen nicht gelesen werden.",                       \
      "The arguments cannot be read.")                                                             \
    X(kUnknownArgument, "Das Argument \"%s\" ist unbekannt.", "The argument \"%s\" is unknown.")   \
    X(kUnknownSortColumn, "Die Sortierspalte \"%s\" ist unbekannt.",                               \
      "The sort column \"%s\" is unknown.")                                                        \
    X(kUnknownFormat, "Das Format \"%s\" ist unbekannt.", "The format \"%s\" is unknown.")         \
    X(kUnknownLanguage, "Die Sprache \"%s\" ist unbekannt (de oder en).",                          \
      "The language \"%s\" is unknown (de or en).")                                                \
    X(kMailboxMissing, "Die Option --mailbox DIR fehlt.", "The option --mailbox DIR is missing.")  \
    X(kAllUsersAndMailbox,                                                                         \
      "--all-users und --mailbox schlie\xDF"                                                       \
      "en einander aus.",                                                                          \
      "--all-users and --mailbox cannot be used together.")                                        \
    X(kNotForAllUsers, "--%s gilt f\xFCr ein Postfach, nicht f\xFCr --all-users.",                 \
      "--%s applies to one mailbox, not to --all-users.")                                          \
    X(kSortChangeNeedsCompare, "--sort change braucht --compare EARLIER.",                         \
      "--sort change needs --compare EARLIER.")                                                    \
    X(kCompareAndSince,                                                                            \
      "--compare und --since schlie\xDF"                                                           \
      "en einander aus.",                                                                          \
      "--compare and --since cannot be used together.")                                            \
    X(kExcelWithoutCompare,                                                                        \
      "--format excel schreibt, was das Fenster exportiert, ohne --compare.",                      \
      "--format excel writes what the window exports, without --compare.")                         \
    X(kChangedNotForTree, "--changed gilt f\xFCr die Liste, nicht f\xFCr --tree.",                 \
      "--changed applies to the list, not to --tree.")                                             \
    X(kTooManyWords, "Der Filter hat mehr als %d W\xF6rter.",                                      \
      "The filter has more than %d words.")                                                        \
    X(kBadSize,                                                                                    \
      "Die Gr\xF6\xDF"                                                                             \
      "e \"%s\" ist keine Gr\xF6\xDF"                                                              \
      "e wie \"10 MB\" oder \"1,5 GB\".",                                                          \
      "The size \"%s\" is not a size like \"10 MB\" or \"1.5 GB\".")                               \
    X(kUnknownColour, "Die F\xE4rbung \"%s\" ist unbekannt (limit, age oder plain).",              \
      "The colouring \"%s\" is unknown (limit, age or plain).")                                    \
    X(kNotForTreemap, "--%s gilt nicht f\xFCr --treemap.", "--%s does not apply to --treemap.")    \
    X(kOnlyWithTreemap, "--%s gilt nur mit --treemap.", "--%s applies only with --treemap.")       \
    X(kBadDepth, "Die Tiefe \"%s\" ist keine Zahl von 0 bis 999999999.",                           \
      "The depth \"%s\" is not a number from 0 to 999999999.")                                     \
    X(kDepthNeedsTree, "--depth braucht --tree.", "--depth needs --tree.")                         \
    X(kTreeFormats, "--tree gibt es nur als text oder tsv.", "--tree comes only as text or tsv.")  \
    X(kTreeNoCompare, "--tree nimmt kein --compare.", "--tree takes no --compare.")                \
    X(kTreeNoSince, "--tree nimmt kein --since.", "--tree takes no --since.")                      \
    X(kBadPictureSize,                                                                             \
      "Die Bildgr\xF6\xDF"                                                                         \
      "e \"%s\" ist keine wie \"1280x1024\" (1 bis %d Pixel je Seite).",                           \
      "The picture size \"%s\" is not one like \"1280x1024\" (1 to %d pixels a side).")            \
    X(kBadSince,                                                                                   \
      "Der Wert \"%s\" f\xFCr --since ist weder eine Zahl von Tagen (\"7d\") noch ein Tag "        \
      "(\"2026-12-01\").",                                                                         \
      "The value \"%s\" for --since is neither a number of days (\"7d\") nor a day "               \
      "(\"2026-12-01\").")                                                                         \
    X(kHistoryRefused,                                                                             \
      "Der Verlauf des Postfachs \"%s\" wird nicht gelesen: Sein Ordner "                          \
      "\"%s\" ist eine Verkn\xFCpfung oder liegt in einem Ordner, in den "                         \
      "das Programm nicht schreibt.",                                                              \
      "The history of the mailbox \"%s\" is not read: its folder \"%s\" is a link or lies "        \
      "in a folder the program does not write into.")                                              \
    X(kNoHistoryEntry, "Der Verlauf des Postfachs \"%s\" hat keinen Eintrag vom %s oder davor.",   \
      "The history of the mailbox \"%s\" has no entry from %s or before.")                         \
    X(kWarning502,                                                                                 \
      "WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen ge\xF6"                       \
      "ffnet werden.\n",                                                                           \
      "WARNING 502: The file \"hierarch.pm\" could not be opened for reading.\n")                  \
    X(kUnreadableMailbox,                                                                          \
      "foldtally-report: Das Postfach-Verzeichnis \"%s\" kann nicht gelesen werden.\n",            \
      "foldtally-report: The mailbox directory \"%s\" cannot be read.\n")                          \
    X(kUnreadableNewmail,                                                                          \
      "foldtally-report: Das Posteingang-Verzeichnis \"%s\" kann nicht gelesen werden.\n",         \
      "foldtally-report: The new-mail directory \"%s\" cannot be read.\n")                         \
    X(kUnusableEarlier, "foldtally-report: Der fr\xFChere Bericht \"%s\" %s.\n",                   \
      "foldtally-report: The earlier report \"%s\" %s.\n")                                         \
    X(kEarlierNotAnObject, "ist kein Bericht von foldtally-report (kein JSON-Objekt)",             \
      "is no report of foldtally-report (not a JSON object)")                                      \
    X(kEarlierNoRows,                                                                              \
      "ist kein Bericht von foldtally-report (\"rows\" fehlt oder ist keine Liste)",               \
      "is no report of foldtally-report (\"rows\" is missing or not a list)")                      \
    X(kEarlierTooDeep, "ist kein Bericht von foldtally-report (zu tief verschachtelt)",            \
      "is no report of foldtally-report (nested too deeply)")                                      \
    X(kEarlierBadRow,                                                                              \
      "hat in Zeile %s von \"rows\" keinen g\xFCltigen Eintrag (\"fileName\" als Text, "           \
      "\"size\" als Zahl ab 0)",                                                                   \
      "has no valid entry in line %s of \"rows\" (\"fileName\" as text, \"size\" as a "            \
      "number from 0)")                                                                            \
    X(kEarlierNotJson, "ist kein JSON (Fehler bei Byte %s)", "is not JSON (error at byte %s)")     \
    X(kEarlierTooLarge, "ist zu gro\xDF (mehr als 64 MiB)", "is too large (more than 64 MiB)")     \
    X(kEarlierUnreadable, "kann nicht gelesen werden", "cannot be read")                           \
    X(kEarlierNoMemory, "braucht mehr Speicher, als frei ist", "needs more memory than is free")   \
    X(kOverviewNotJson, "ist kein JSON-Bericht", "is not a JSON report")                           \
    X(kOverviewNotOverview,                                                                        \
      "ist kein Bericht aller Postf\xE4"                                                           \
      "cher",                                                                                      \
      "is not a report of all mailboxes")                                                          \
    X(kOverviewBadUser, "enth\xE4lt eine Zeile, die keine Benutzerzeile ist",                      \
      "contains a line that is not a user line")                                                   \
    X(kOutputFailed, "foldtally-report: Die Ausgabe konnte nicht geschrieben werden.\n",           \
      "foldtally-report: The output could not be written.\n")                                      \
    X(kRefusedTreemapFile,                                                                         \
      "foldtally-report: In das Postfach- und das Posteingang-Verzeichnis "                        \
      "schreibt das Programm nicht: \"%s\".\n",                                                    \
      "foldtally-report: The program does not write into the mailbox or new-mail "                 \
      "directory: \"%s\".\n")                                                                      \
    X(kUnwritableTreemapFile,                                                                      \
      "foldtally-report: Die Datei \"%s\" kann nicht geschrieben werden.\n",                       \
      "foldtally-report: The file \"%s\" cannot be written.\n")                                    \
    X(kUnreadableRoot, "foldtally-report: Das Verzeichnis \"%s\" kann nicht gelesen werden.\n",    \
      "foldtally-report: The directory \"%s\" cannot be read.\n")                                  \
    X(kNoUserList,                                                                                 \
      "foldtally-report: Im Verzeichnis \"%s\" liegt keine Benutzerliste PMAIL.USR.\n",            \
      "foldtally-report: The directory \"%s\" holds no user list PMAIL.USR.\n")                    \
    X(kUnreadableUserList,                                                                         \
      "foldtally-report: Die Benutzerliste \"%s\" kann nicht gelesen werden.\n",                   \
      "foldtally-report: The user list \"%s\" cannot be read.\n")                                  \
    X(kTooLongUserList,                                                                            \
      "foldtally-report: Die Benutzerliste \"%s\" ist l\xE4nger als 4 MiB "                        \
      "oder nennt mehr als 65.536 Benutzer und wird nicht gelesen.\n",                             \
      "foldtally-report: The user list \"%s\" is longer than 4 MiB "                               \
      "or names more than 65,536 users and is not read.\n")                                        \
    X(kProgress, "Lese Ordnerdateien: %s von %s", "Reading folder files: %s of %s")                \
    X(kNewMailLabel, "<Posteingang>", "<New Mail>")                                                \
    X(kTitleFileName, "Dateiname", "File Name")                                                    \
    X(kTitleSize,                                                                                  \
      "Gr\xF6\xDF"                                                                                 \
      "e",                                                                                         \
      "Size")                                                                                      \
    X(kTitleFolder, "Ordnername", "Folder Name")                                                   \
    X(kTitleChange, "\xC4nderung", "Change")                                                       \
    X(kTitleChanged, "Ge\xE4ndert", "Modified")                                                    \
    X(kTitleBytes, "Bytes", "Bytes")                                                               \
    X(kStatus, "%d Dateien, %s (%s Bytes)", "%d files, %s (%s bytes)")                             \
    X(kFilteredStatus, "%s von %s Dateien, %s von %s (%s von %s Bytes)",                           \
      "%s of %s files, %s of %s (%s of %s bytes)")                                                 \
    X(kTotalChange, ", \xC4nderung %s", ", change %s")                                             \
    X(kTotalChangeSince, " \x96 \xC4nderung %s: %s", " \x96 Change %s: %s")                        \
    X(kTreeTitleFolder, "Ordner", "Folder")                                                        \
    X(kTreeTitleTotal, "Gesamt", "Total")                                                          \
    X(kTreeTitleShare, "Anteil", "Share")                                                          \
    X(kTreeTitleOwn,                                                                               \
      "Eigene Gr\xF6\xDF"                                                                          \
      "e",                                                                                         \
      "Own Size")                                                                                  \
    X(kTreeTitleFiles, "Dateien", "Files")                                                         \
    X(kUsersTitleUser, "Benutzer", "User")                                                         \
    X(kUsersTitleName, "Name", "Name")                                                             \
    X(kUsersTitleFiles, "Ordnerdateien", "Folder Files")                                           \
    X(kUsersTitleNewMail, "Posteingang", "New Mail")                                               \
    X(kUsersTitleLargest, "Gr\xF6\xDFte Ordnerdatei", "Largest Folder File")                       \
    X(kUsersTitleLimit, "Grenze", "Limit")                                                         \
    X(kUsersStatus, "%s Benutzer, %s", "%s users, %s")                                             \
    X(kFilesAndTotal, "%s Ordnerdateien, %s (%s Bytes)", "%s folder files, %s (%s bytes)")         \
    X(kUsersFilteredStatus, "%s von %s Zeilen, %s von %s \x96 %s",                                 \
      "%s of %s rows, %s of %s \x96 %s")

enum class Phrase {
#define FT_REPORT_TEXT_ID(id, german, english) id,
    FT_REPORT_TEXTS(FT_REPORT_TEXT_ID)
#undef FT_REPORT_TEXT_ID
};

// The text of `phrase` in UserLanguage().
const char* Say(Phrase phrase);

} // namespace report
