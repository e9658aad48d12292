// foldtally-report --tree as a user runs it: the tab-separated tree checked line by line
// against the list of the same mailbox, the depth limit, and bad options.
#include "mailgen.h"
#include "run_program.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using testsupport::ProgramResult;
using testsupport::RunReport;
using testsupport::TempDir;

std::vector<std::vector<std::string>> Fields(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t')) {
            fields.push_back(cell);
        }
        lines.push_back(fields);
    }
    return lines;
}

TEST(ReportTreeTest, TsvListsEveryNodeBeforeItsChildrenWithSumsThatAddUp) {
    TempDir box;
    TempDir news;
    TempDir scratch;
    mailgen::Options options;
    options.seed = 14;
    options.folders = 40;
    options.brokenFolders = 2;
    options.orphans = 2;
    mailgen::Expectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(box.Path(), news.Path(), options, expected, error)) << error;
    const ProgramResult list =
        RunReport({"--mailbox", box.Path(), "--newmail", news.Path(), "--tsv", "--exact"}, scratch);
    const ProgramResult tsv =
        RunReport({"--mailbox", box.Path(), "--newmail", news.Path(), "--tree", "--tsv"}, scratch);
    ASSERT_EQ(0, tsv.exitCode) << tsv.err;
    const auto lines = Fields(tsv.out);
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ((std::vector<std::string>{"Tiefe", "Pfad", "Gesamt (Bytes)", "Eigene (Bytes)",
                                        "Dateien", "Anteil"}),
              lines[0]);
    // Per depth the sum of the children still to come, checked when the parent's run ends.
    uint64_t topTotal = 0;
    uint64_t topFiles = 0;
    std::vector<uint64_t> expectedTotal; // per open level: total minus own minus children
    std::vector<std::string> path;
    for (size_t k = 1; k < lines.size(); ++k) {
        ASSERT_EQ(6u, lines[k].size()) << k;
        const size_t depth = std::stoul(lines[k][0]);
        ASSERT_LE(depth, path.size()) << "a node directly before its children";
        while (expectedTotal.size() > depth) {
            EXPECT_EQ(0u, expectedTotal.back()) << "children do not add up before line " << k;
            expectedTotal.pop_back();
        }
        path.resize(depth);
        const uint64_t total = std::stoull(lines[k][2]);
        const uint64_t own = std::stoull(lines[k][3]);
        if (depth == 0) {
            topTotal += total;
            topFiles += std::stoull(lines[k][4]);
        } else {
            expectedTotal.back() -= total;
        }
        std::string joined;
        for (const std::string& name : path) {
            joined += name + "\\";
        }
        EXPECT_EQ(0u, lines[k][1].find(joined)) << lines[k][1];
        path.push_back(lines[k][1].substr(joined.size()));
        expectedTotal.push_back(total - own);
        EXPECT_NE(std::string::npos, lines[k][5].find(" %"));
    }
    for (uint64_t rest : expectedTotal) {
        EXPECT_EQ(0u, rest);
    }
    // The status line of the list has the same count and total.
    const std::string status = list.out.substr(list.out.rfind('\n', list.out.size() - 2) + 1);
    EXPECT_NE(std::string::npos, status.find(std::to_string(topFiles) + " Dateien"));
    std::string exactTotal = std::to_string(topTotal);
    for (int at = static_cast<int>(exactTotal.size()) - 3; at > 0; at -= 3) {
        exactTotal.insert(static_cast<size_t>(at), ".");
    }
    EXPECT_NE(std::string::npos, status.find("(" + exactTotal + " Bytes)")) << status;
}

TEST(ReportTreeTest, DepthLimitsTheLevelsAndBadDepthsFail) {
    TempDir box;
    TempDir scratch;
    mailgen::Options options;
    options.folders = 30;
    options.maxDepth = 4;
    mailgen::Expectation expected;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(box.Path(), "", options, expected, error)) << error;
    size_t previous = 0;
    for (const char* depth : {"0", "1", "2"}) {
        const ProgramResult r =
            RunReport({"--mailbox", box.Path(), "--tree", "--tsv", "--depth", depth}, scratch);
        ASSERT_EQ(0, r.exitCode);
        const auto lines = Fields(r.out);
        for (size_t k = 1; k < lines.size(); ++k) {
            EXPECT_LE(std::stoi(lines[k][0]), std::stoi(depth));
        }
        EXPECT_GT(lines.size(), previous) << "each level adds nodes";
        previous = lines.size();
    }
    const ProgramResult text =
        RunReport({"--mailbox", box.Path(), "--tree", "--depth", "0"}, scratch);
    EXPECT_EQ(0u, text.out.find("Ordner "));
    EXPECT_NE(std::string::npos, text.out.find(" Dateien, "));
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--tree", "--depth"},
                                                {"--tree", "--depth", "-1"},
                                                {"--tree", "--depth", "2x"},
                                                {"--tree", "--depth", "99999999999"},
                                                {"--depth", "2"}}) {
        std::vector<std::string> args = {"--mailbox", box.Path()};
        args.insert(args.end(), bad.begin(), bad.end());
        const ProgramResult r = RunReport(args, scratch);
        EXPECT_EQ(2, r.exitCode) << bad.back();
        EXPECT_TRUE(r.out.empty());
    }
}

} // namespace
