// Reports of mailboxes far beyond any a person keeps: every form leaves in pieces as it
// is made, and the tree's output grows with its nodes, not with their depth.
#include "folder_formats.h"
#include "report/report.h"
#include "report/report_text.h"
#include "report/report_tree.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using report::ReportFormat;
using report::ReportOptions;
using testsupport::TempDir;
using testsupport::WriteFile;

// Keeps every piece, in order, with the stream it went to.
struct Recorder {
    struct Piece {
        char stream;
        std::string text;
    };
    std::vector<Piece> pieces;

    class Sink : public report::ReportSink {
    public:
        Sink(Recorder& recorder, char stream) : m_recorder(recorder), m_stream(stream) {}
        void Write(std::string_view text) override {
            m_recorder.pieces.push_back({m_stream, std::string(text)});
        }

    private:
        Recorder& m_recorder;
        char m_stream;
    };

    std::string Joined(char stream) const {
        std::string all;
        for (const Piece& p : pieces) {
            all += p.stream == stream ? p.text : "";
        }
        return all;
    }
    size_t Count(char stream) const {
        return static_cast<size_t>(std::count_if(
            pieces.begin(), pieces.end(), [&](const Piece& p) { return p.stream == stream; }));
    }
    size_t Largest() const {
        size_t largest = 0;
        for (const Piece& p : pieces) {
            largest = std::max(largest, p.text.size());
        }
        return largest;
    }
};

// 20 000 rows with paths of 300 characters: about 7 MB in each form.
FolderCatalogue LargeCatalogue() {
    FolderCatalogue c;
    for (int i = 0; i < 20000; ++i) {
        FolderRecord r;
        r.fileName = "F" + std::to_string(i) + ".PMM";
        r.folderPath = "\\" + std::string(298, static_cast<char>('a' + i % 26)) + "\\";
        r.folderName = "Ordner " + std::to_string(i);
        r.size = static_cast<uint64_t>(i) * 977;
        c.records.push_back(r);
        ++c.fileCount;
        c.totalSize += r.size;
    }
    return c;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(ReportStreamTest, EveryFormLeavesInPiecesOfAboutSixtyFourKilobytes) {
    const FolderCatalogue catalogue = LargeCatalogue();
    for (ReportFormat format :
         {ReportFormat::kText, ReportFormat::kTsv, ReportFormat::kCsv, ReportFormat::kJson}) {
        ReportOptions options;
        options.format = format;
        Recorder recorder;
        Recorder::Sink sink(recorder, 'o');
        report::WriteReport(catalogue, options, report::ReportContext(), sink);
        const std::string whole = recorder.Joined('o');
        EXPECT_GT(whole.size(), 6000000u);
        EXPECT_GT(recorder.Count('o'), whole.size() / (2 * report::kReportPieceBytes));
        // A piece ends with the line that filled it: never more than one line over.
        EXPECT_LE(recorder.Largest(), report::kReportPieceBytes + 1024);
        for (const Recorder::Piece& piece : recorder.pieces) {
            EXPECT_EQ('\n', piece.text.back()) << "a piece ends with a whole line";
        }
        EXPECT_EQ(report::FormatReport(catalogue, options), whole);
    }
}

// With --compare the list's folder column is padded too: a path at the bound widens it
// for no other line, which would otherwise each take 32 KiB of blanks.
TEST(ReportStreamTest, APathAtTheBoundPadsNoOtherLine) {
    FolderCatalogue catalogue;
    for (int i = 0; i < 4; ++i) {
        FolderRecord r;
        r.fileName = "F" + std::to_string(i) + ".PMM";
        r.folderPath = i == 2 ? "\x85" + std::string(pmHierarch::kMaxPathLength - 2, 'p') + "\\"
                              : "\\Kunden\\";
        r.folderName = "Ordner";
        r.size = 100;
        catalogue.records.push_back(r);
        ++catalogue.fileCount;
        catalogue.totalSize += r.size;
    }
    const report::EarlierReport earlier; // every row is new
    report::ReportContext context;
    context.earlier = &earlier;
    const std::vector<std::string> lines =
        Lines(report::FormatReport(catalogue, ReportOptions(), context));
    ASSERT_EQ(6u, lines.size()); // titles, four rows, status
    for (size_t k = 0; k + 1 < lines.size(); ++k) {
        const bool longRow = lines[k].find("F2.PMM") == 0;
        EXPECT_EQ(longRow, lines[k].size() > pmHierarch::kMaxPathLength) << k;
        EXPECT_TRUE(longRow || lines[k].size() < 60) << lines[k];
        EXPECT_EQ(k == 0 ? "nderung" : "neu", lines[k].substr(lines[k].size() - (k == 0 ? 7 : 3)))
            << k;
    }
    EXPECT_EQ("Dateiname      Gr\xC3\xB6\xC3\x9F"
              "e  Ordnername      \xC3\x84nderung",
              lines[0]);
}

// A chain of `depth` entries, each inside the one before, named "Ebene<level>", with
// one folder file at its bottom.
void WriteChain(const TempDir& box, int depth) {
    std::string text = mailgen::HierarchyLine(2, 0, "R", "", "Oben") + "\r\n";
    for (int i = 0; i < depth; ++i) {
        const std::string parent = i == 0 ? std::string("R") : "c" + std::to_string(i - 1);
        text += "1,0,c" + std::to_string(i) + "," + parent + ",Ebene" + std::to_string(i) + "\r\n";
    }
    ASSERT_TRUE(WriteFile(box / "hierarch.pm", text));
    ASSERT_TRUE(
        WriteFile(box / "UNTEN.PMM", mailgen::PmmHeader("Unten", "c" + std::to_string(depth - 1)) +
                                         std::string(1000, 'm')));
}

std::string TreeReport(const TempDir& box, ReportFormat format) {
    ReportOptions options;
    options.mailboxDir = box.Path();
    options.tree = true;
    options.format = format;
    options.trace = true;
    std::string out;
    std::string err;
    EXPECT_EQ(report::kExitOk, report::RunReport(options, out, err));
    EXPECT_EQ("", err);
    return out;
}

// Text: two blanks per level down to level 32; deeper levels keep that indentation and
// show their number. Lines stay short however deep the tree, where they grew by two
// blanks per level before: 20 000 levels gave 764 MiB.
TEST(ReportTreeBoundsTest, TextIndentsToLevelThirtyTwoAndNumbersTheLevelsBelow) {
    TempDir box;
    const int depth = 20000;
    WriteChain(box, depth);
    const std::vector<std::string> lines = Lines(TreeReport(box, ReportFormat::kText));
    ASSERT_EQ(static_cast<size_t>(depth + 2), lines.size()); // titles, chain, status
    const std::string indent(2 * report::kTreeIndentLevels, ' ');
    // The root is no node: line k + 1 is Ebene<k>, at level k.
    EXPECT_EQ(0u, lines[1].find("Ebene0 "));
    EXPECT_EQ(0u, lines[2].find("  Ebene1 "));
    EXPECT_EQ(0u, lines[32].find(std::string(62, ' ') + "Ebene31 "));
    EXPECT_EQ(0u, lines[33].find(indent + "Ebene32 "));
    EXPECT_EQ(0u, lines[34].find(indent + "[33] Ebene33 "));
    EXPECT_EQ(0u, lines[depth].find(indent + "[19999] Ebene19999 (Unten) "));
    for (const std::string& line : lines) {
        ASSERT_LT(line.size(), 160u) << line.substr(0, 80);
    }
}

// Hands each line of what it receives to `check`, keeping nothing but the line that is
// not yet complete, and counts the pieces.
class LineSink : public report::ReportSink {
public:
    explicit LineSink(std::function<void(const std::string&)> check) : m_check(std::move(check)) {}
    void Write(std::string_view text) override {
        ++pieces;
        largest = std::max(largest, text.size());
        for (char c : text) {
            if (c == '\n') {
                m_check(m_line);
                m_line.clear();
            } else {
                m_line += c;
            }
        }
    }
    size_t pieces = 0;
    size_t largest = 0;

private:
    std::function<void(const std::string&)> m_check;
    std::string m_line;
};

// TSV: the path of names stays whole up to kTreePathLength characters and keeps its
// end behind "…" beyond; 100 000 levels, which ran past 20 s and 3.9 GiB, now give
// lines of at most that length, written in pieces as they are made.
TEST(ReportTreeBoundsTest, TsvPathsKeepTheirEndPastTheBound) {
    TempDir box;
    const int depth = 100000;
    WriteChain(box, depth);
    std::string path;
    int line = -1; // the title line first
    size_t longest = 0;
    size_t cut = 0;
    LineSink out([&](const std::string& text) {
        const int i = line++;
        if (i < 0) {
            return;
        }
        path +=
            (i > 0 ? "\\Ebene" : "Ebene") + std::to_string(i) + (i + 1 == depth ? " (Unten)" : "");
        const size_t tab = text.find('\t');
        const size_t tab2 = text.find('\t', tab + 1);
        ASSERT_EQ(std::to_string(i), text.substr(0, tab));
        const std::string shown = text.substr(tab + 1, tab2 - tab - 1);
        if (path.size() <= report::kTreePathLength) {
            ASSERT_EQ(path, shown);
        } else {
            ++cut;
            ASSERT_EQ(0u, shown.find("\xE2\x80\xA6")) << i;
            ASSERT_EQ(report::kTreePathLength - 1, shown.size() - 3) << i;
            ASSERT_EQ(0, path.compare(path.size() - (shown.size() - 3), shown.size() - 3, shown, 3,
                                      std::string::npos))
                << i;
        }
        longest = std::max(longest, text.size());
    });
    ReportOptions options;
    options.mailboxDir = box.Path();
    options.tree = true;
    options.format = ReportFormat::kTsv;
    report::StringSink errors;
    ASSERT_EQ(report::kExitOk, report::RunReport(options, out, errors));
    EXPECT_EQ("", errors.Text());
    EXPECT_EQ(depth, line);
    EXPECT_GT(cut, static_cast<size_t>(depth) - 200);
    EXPECT_LT(longest, report::kTreePathLength + 64);
    // Pieces as the list's: the output never sat whole in memory.
    EXPECT_GT(out.pieces, 1000u);
    EXPECT_LE(out.largest, report::kReportPieceBytes + report::kTreePathLength + 64);
}

// A name of 20 000 characters widens no column: the other lines keep the width their
// own cells give.
TEST(ReportTreeBoundsTest, AnOverlongNameWidensNoColumn) {
    TempDir box;
    ASSERT_TRUE(WriteFile(box / "hierarch.pm", "2,0,R,,Oben\r\n1,0,L,R," + std::string(20000, 'l') +
                                                   "\r\n1,0,K,R,Kurz\r\n"));
    ASSERT_TRUE(WriteFile(box / "L.PMM", mailgen::PmmHeader("Lang", "L")));
    ASSERT_TRUE(WriteFile(box / "K.PMM", mailgen::PmmHeader("Kurz", "K")));
    const std::vector<std::string> lines = Lines(TreeReport(box, ReportFormat::kText));
    ASSERT_EQ(4u, lines.size()); // titles, the two, status
    size_t longLines = 0;
    for (const std::string& line : lines) {
        longLines += line.size() > 20000 ? 1 : 0;
        EXPECT_TRUE(line.size() > 20000 || line.size() < 100) << line.size();
    }
    EXPECT_EQ(1u, longLines);
}

// Warnings and trace lines come before the first piece of the report, as they did when
// the report was written whole after them.
TEST(ReportStreamTest, WarningsAndTraceLinesComeBeforeTheReport) {
    TempDir box;
    WriteChain(box, 3);
    ASSERT_TRUE(WriteFile(box / "hierarch.pm", std::string(70000, 'x') + "\r\n"));
    for (bool tree : {false, true}) {
        ReportOptions options;
        options.mailboxDir = box.Path();
        options.tree = tree;
        options.trace = true;
        Recorder recorder;
        Recorder::Sink out(recorder, 'o');
        Recorder::Sink err(recorder, 'e');
        ASSERT_EQ(report::kExitOk, report::RunReport(options, out, err));
        ASSERT_GE(recorder.pieces.size(), 2u);
        EXPECT_EQ('o', recorder.pieces.back().stream);
        size_t lastErr = 0;
        size_t firstOut = recorder.pieces.size();
        for (size_t k = 0; k < recorder.pieces.size(); ++k) {
            if (recorder.pieces[k].stream == 'e') {
                lastErr = k;
            } else {
                firstOut = std::min(firstOut, k);
            }
        }
        EXPECT_LT(lastErr, firstOut);
        EXPECT_NE(std::string::npos, recorder.Joined('e').find("WARNUNG 502"));
    }
}

} // namespace
