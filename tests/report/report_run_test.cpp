// foldtally-report as a user runs it: the built program on generated mailboxes, its
// output compared with what the generator says a correct scan finds, sorted here by a
// rule written out again for the test, plus its warnings and exit codes.
#include "mailgen.h"
#include "report/report_text.h"
#include "run_program.h"
#include "sizes/size_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using testsupport::ProgramResult;
using testsupport::RunReport;
using testsupport::TempDir;

const char kWarning502[] = "WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen "
                           "ge\xC3\xB6"
                           "ffnet werden.\n";

std::string Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

// The expected report: rows ordered by the sort column, ties by the other columns from
// the left; descending swaps the rows of every comparison.
std::string ExpectedReport(std::vector<mailgen::ExpectedRow> rows, int column, bool descending,
                           bool exact, bool paths) {
    using Key = std::array<std::string, 3>;
    const auto key = [](const mailgen::ExpectedRow& r) {
        char size[24];
        std::snprintf(size, sizeof size, "%020llu", static_cast<unsigned long long>(r.size));
        return Key{Folded(r.fileName), size, Folded(r.folderPath + r.folderName)};
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& x, const auto& y) {
        const Key a = descending ? key(y) : key(x);
        const Key b = descending ? key(x) : key(y);
        if (a[column] != b[column]) {
            return a[column] < b[column];
        }
        for (int c = 0; c < 3; ++c) {
            if (c != column && a[c] != b[c]) {
                return a[c] < b[c];
            }
        }
        return false;
    });
    std::string text = "Dateiname\tGr\xF6\xDF"
                       "e\tOrdnername\n";
    uint64_t total = 0;
    for (const mailgen::ExpectedRow& r : rows) {
        text += r.fileName + "\t" + FormatSize(r.size, SizeStyleFor(!exact)) + "\t" +
                (paths ? r.folderPath : "") + r.folderName + "\n";
        total += r.size;
    }
    text += std::to_string(rows.size()) + " Dateien, " + FormatSize(total, SizeStyle::Compact) +
            " (" + FormatSize(total, SizeStyle::Exact) + " Bytes)\n";
    return report::Utf8FromCp1252(text);
}

class ReportRunTest : public ::testing::Test {
protected:
    void Generate(const mailgen::Options& options, bool newMail = true) {
        std::string error;
        ASSERT_TRUE(mailgen::Generate(m_dir / "mb", newMail ? m_dir / "nm" : "", options,
                                      m_expected, error))
            << error;
        m_rows = m_expected.folders;
        if (newMail) {
            m_rows.push_back({"*.CNM", "", "<Posteingang>", m_expected.newMailSize});
        }
    }
    std::string Mailbox() const { return m_dir / "mb"; }
    std::string Newmail() const { return m_dir / "nm"; }

    TempDir m_dir;
    mailgen::Expectation m_expected;
    std::vector<mailgen::ExpectedRow> m_rows;
};

TEST_F(ReportRunTest, PrintsEveryRowInTheListsOrderWithSizesAndStatusLine) {
    mailgen::Options options;
    options.seed = 11;
    options.folders = 120;
    options.maxDepth = 8;
    options.brokenFolders = 5;
    options.orphans = 2;
    options.hugeFolders = 1;
    options.caseVariants = true;
    Generate(options);
    struct Case {
        std::vector<std::string> extra;
        int column;
        bool descending;
        bool exact;
    } cases[] = {
        {{}, 2, false, false},
        {{"--sort", "size", "--desc", "--exact"}, 1, true, true},
        {{"--sort", "name"}, 0, false, false},
        {{"--sort", "folder", "--desc"}, 2, true, false},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--mailbox", Mailbox(), "--newmail", Newmail(), "--tsv"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const ProgramResult result = RunReport(args, m_dir);
        EXPECT_EQ(0, result.exitCode);
        EXPECT_EQ("", result.err);
        EXPECT_EQ(ExpectedReport(m_rows, c.column, c.descending, c.exact, true), result.out)
            << "sort " << c.column << (c.descending ? " desc" : "");
    }
}

TEST_F(ReportRunTest, WithoutPathsNoHierarchyIsReadAndNoWarningShown) {
    mailgen::Options options;
    options.folders = 30;
    options.writeHierarchy = false;
    Generate(options, false);
    const ProgramResult result = RunReport({"--mailbox", Mailbox(), "--tsv", "--no-paths"}, m_dir);
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ("", result.err);
    EXPECT_EQ(ExpectedReport(m_rows, 2, false, false, false), result.out);
}

TEST_F(ReportRunTest, MissingHierarchyWarnsOnStandardErrorAndStillReports) {
    mailgen::Options options;
    options.folders = 30;
    options.writeHierarchy = false;
    Generate(options, false);
    const ProgramResult result = RunReport({"--mailbox", Mailbox() + "/", "--tsv"}, m_dir);
    EXPECT_EQ(0, result.exitCode);
    EXPECT_EQ(kWarning502, result.err);
    EXPECT_EQ(ExpectedReport(m_rows, 2, false, false, false), result.out);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

size_t Characters(const std::string& utf8) {
    return static_cast<size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

TEST_F(ReportRunTest, AlignedColumnsHoldTheSameRowsAsTabSeparated) {
    mailgen::Options options;
    options.folders = 40;
    options.brokenFolders = 5;
    Generate(options);
    const ProgramResult tsv =
        RunReport({"--mailbox", Mailbox(), "--newmail", Newmail(), "--tsv"}, m_dir);
    const ProgramResult aligned =
        RunReport({"--mailbox", Mailbox(), "--newmail", Newmail()}, m_dir);
    EXPECT_EQ(0, aligned.exitCode);
    const std::vector<std::string> tsvLines = Lines(tsv.out);
    const std::vector<std::string> alignedLines = Lines(aligned.out);
    ASSERT_EQ(m_rows.size() + 2, alignedLines.size());
    ASSERT_EQ(tsvLines.size(), alignedLines.size());
    EXPECT_EQ(tsvLines.back(), alignedLines.back()) << "the status line";
    // Each line: the file name padded, two blanks, the size right-aligned, two blanks,
    // the folder; so every size ends in the same character column.
    size_t sizeEnd = 0;
    for (size_t i = 0; i + 1 < tsvLines.size(); ++i) {
        const std::string& t = tsvLines[i];
        const size_t tab1 = t.find('\t');
        const size_t tab2 = t.find('\t', tab1 + 1);
        const std::string name = t.substr(0, tab1);
        const std::string size = t.substr(tab1 + 1, tab2 - tab1 - 1);
        const std::string folder = t.substr(tab2 + 1);
        const std::string& a = alignedLines[i];
        ASSERT_GE(a.size(), folder.size() + 2) << a;
        EXPECT_EQ(0, a.compare(0, name.size(), name)) << a;
        EXPECT_EQ("  " + folder, a.substr(a.size() - folder.size() - 2)) << a;
        const std::string prefix = a.substr(0, a.size() - folder.size() - 2);
        ASSERT_GE(prefix.size(), size.size()) << a;
        EXPECT_EQ(size, prefix.substr(prefix.size() - size.size())) << a;
        if (i == 0) {
            sizeEnd = Characters(prefix);
        }
        EXPECT_EQ(sizeEnd, Characters(prefix)) << a;
    }
}

TEST_F(ReportRunTest, TraceLinesNameTheFilesThatFailed) {
    mailgen::Options options;
    options.folders = 3;
    options.brokenFolders = 1; // a .PMM shorter than its header
    Generate(options, false);
    const ProgramResult quiet = RunReport({"--mailbox", Mailbox()}, m_dir);
    EXPECT_EQ("", quiet.err);
    const ProgramResult traced = RunReport({"--mailbox", Mailbox(), "--trace"}, m_dir);
    EXPECT_EQ(0, traced.exitCode);
    EXPECT_NE(std::string::npos, traced.err.find("[pmm.Analyze] WARNUNG: Datei \""));
    EXPECT_NE(std::string::npos, traced.err.find("\" ist keine g\xC3\xBCltige PMM-Datei\n"));
    EXPECT_NE(std::string::npos, traced.err.find("[pmHierarch.Fill] WARNUNG: Fehler beim Parsen"));
    EXPECT_EQ(quiet.out, traced.out);
}

TEST_F(ReportRunTest, EmptyMailboxCountsOnlyTheNewMailRow) {
    ASSERT_TRUE(testsupport::MakeDirectory(Mailbox()));
    const ProgramResult plain = RunReport({"--mailbox", Mailbox(), "--tsv", "--no-paths"}, m_dir);
    EXPECT_EQ(0, plain.exitCode);
    EXPECT_EQ("Dateiname\tGr\xC3\xB6\xC3\x9F"
              "e\tOrdnername\n0 Dateien, 0 Bytes (0 Bytes)\n",
              plain.out);
    ASSERT_TRUE(testsupport::MakeDirectory(m_dir / "leer"));
    const ProgramResult withNewMail = RunReport(
        {"--mailbox", Mailbox(), "--newmail", m_dir / "leer", "--tsv", "--no-paths"}, m_dir);
    EXPECT_EQ(0, withNewMail.exitCode);
    EXPECT_EQ("Dateiname\tGr\xC3\xB6\xC3\x9F"
              "e\tOrdnername\n*.CNM\t0 Bytes\t<Posteingang>\n"
              "1 Dateien, 0 Bytes (0 Bytes)\n",
              withNewMail.out);
    EXPECT_EQ("", withNewMail.err);
}

// A missing new-mail directory is no reason to stop: the row says so, standard error
// names the directory, and the status stays 0, in the list and in the tree.
TEST_F(ReportRunTest, AMissingNewMailDirectoryIsToldInItsRowAndOnStandardError) {
    ASSERT_TRUE(testsupport::MakeDirectory(Mailbox()));
    const std::string missing = m_dir / "fehlt";
    const ProgramResult list =
        RunReport({"--mailbox", Mailbox(), "--newmail", missing, "--tsv", "--no-paths"}, m_dir);
    EXPECT_EQ(0, list.exitCode);
    EXPECT_EQ("Dateiname\tGr\xC3\xB6\xC3\x9F"
              "e\tOrdnername\n*.CNM\t0 Bytes\t<Posteingang-Verzeichnis konnte nicht gelesen "
              "werden.>\n1 Dateien, 0 Bytes (0 Bytes)\n",
              list.out);
    EXPECT_EQ("foldtally-report: Das Posteingang-Verzeichnis \"" + missing +
                  "\" kann nicht gelesen werden.\n",
              list.err);
    const ProgramResult tree =
        RunReport({"--mailbox", Mailbox(), "--newmail", missing, "--tree", "--no-paths"}, m_dir);
    EXPECT_EQ(0, tree.exitCode);
    EXPECT_EQ(list.err, tree.err);
    const ProgramResult json = RunReport(
        {"--mailbox", Mailbox(), "--newmail", missing, "--format", "json", "--no-paths"}, m_dir);
    EXPECT_NE(std::string::npos, json.out.find("\"failed\":true")) << json.out;
}

TEST_F(ReportRunTest, UnreadableMailboxIsAClearErrorWithStatus2) {
    ASSERT_TRUE(testsupport::WriteFile(m_dir / "datei", "x"));
    for (const std::string& dir : {m_dir / "fehlt", m_dir / "datei"}) {
        const ProgramResult result = RunReport({"--mailbox", dir, "--tsv"}, m_dir);
        EXPECT_EQ(2, result.exitCode) << dir;
        EXPECT_EQ("", result.out);
        EXPECT_NE(std::string::npos, result.err.find("kann nicht gelesen werden")) << result.err;
        EXPECT_NE(std::string::npos, result.err.find(dir)) << result.err;
    }
}

TEST_F(ReportRunTest, BadOptionsPointToTheUsageWithStatus2AndHelpOrVersionAnswerWith0) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--mailbox"},
        {"--mailbox", Mailbox(), "--sort", "bogus"},
        {"--mailbox", Mailbox(), "--frobnicate"},
        {"--tsv"},
    };
    for (const auto& args : cases) {
        const ProgramResult result = RunReport(args, m_dir);
        EXPECT_EQ(2, result.exitCode) << args.size();
        EXPECT_EQ("", result.out);
        EXPECT_EQ(result.err.substr(result.err.find('\n') + 1), report::kHelpHint);
    }
    const ProgramResult help = RunReport({"--help"}, m_dir);
    EXPECT_EQ(0, help.exitCode);
    EXPECT_EQ(0u, help.out.find("usage: foldtally-report"));
    const ProgramResult version = RunReport({"--version"}, m_dir);
    EXPECT_EQ(0, version.exitCode);
    EXPECT_EQ(0u, version.out.find("foldtally-report " + std::to_string(FOLDTALLY_VERSION_MAJOR) +
                                   "." + std::to_string(FOLDTALLY_VERSION_MINOR) + "." +
                                   std::to_string(FOLDTALLY_VERSION_PATCH)));
    const ProgramResult mailgen = testsupport::RunProgram(
        testsupport::BuiltProgram("foldtally-mailgen"), {"--help"}, m_dir.Path());
    EXPECT_EQ(0, mailgen.exitCode);
    EXPECT_EQ(0u, mailgen.out.find("usage: foldtally-mailgen --mailbox DIR"));
}

// A fresh mailbox has no history wherever the user's keeps it: refused like a bad
// value, but without the usage, since the options were right.
TEST_F(ReportRunTest, SinceWithoutAHistoryOrWithABadValueEndsWithStatus2) {
    Generate(mailgen::Options());
    const ProgramResult none = RunReport({"--mailbox", Mailbox(), "--since", "7d"}, m_dir);
    EXPECT_EQ(2, none.exitCode);
    EXPECT_EQ("", none.out);
    EXPECT_EQ(0u, none.err.find("foldtally-report: Der Verlauf des Postfachs")) << none.err;
    EXPECT_EQ(std::string::npos, none.err.find("usage:")) << none.err;
    const ProgramResult bad = RunReport({"--mailbox", Mailbox(), "--since", "week"}, m_dir);
    EXPECT_EQ(2, bad.exitCode);
    EXPECT_EQ("", bad.out);
    EXPECT_NE(std::string::npos, bad.err.find("\"week\" f\xC3\xBCr --since")) << bad.err;
    EXPECT_NE(std::string::npos, bad.err.find("foldtally-report --help")) << bad.err;
}

} // namespace
