// The all-users report of a generated installation, run in-process: the JSON rows as
// the generator says a correct overview finds them, the order of every sort column,
// the text forms, the comparison with an earlier all-users report, and the refusals.
#include "mailgen_installation.h"
#include "report/all_users_report.h"
#include "report/report.h"
#include "report/report_options.h"
#include "report/report_text.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <map>

namespace {

using json = nlohmann::json;
using testsupport::Separator;
using testsupport::TempDir;

class AllUsersReportTest : public ::testing::Test {
protected:
    void Generate(int users, int noHierarchy = 0) {
        mailgen::InstallationOptions options;
        options.seed = 5;
        options.users = users;
        options.noHierarchy = noHierarchy;
        options.mailbox.folders = 10;
        options.mailbox.brokenFolders = 1;
        options.mailbox.newMailFiles = 2;
        options.strayFolders = 1;
        std::string error;
        ASSERT_TRUE(mailgen::GenerateInstallation(Root(), options, m_expected, error)) << error;
    }
    std::string Root() const { return m_dir / "MAIL"; }
    std::string UserDir(const std::string& folder) const {
        return m_dir / ("MAIL" + std::string(Separator()) + folder + Separator());
    }
    // Runs the report with `args`; the exit status, standard output and error.
    int Run(std::vector<std::string> args, std::string& out, std::string& err) {
        std::vector<const char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(arg.c_str());
        }
        report::ReportOptions options;
        std::string error;
        if (!report::ParseReportOptions(static_cast<int>(argv.size()), argv.data(), options,
                                        error)) {
            err = error;
            return -1;
        }
        return report::RunReport(options, out, err);
    }
    json RunJson(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--all-users", Root(), "--format", "json"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::string out;
        std::string err;
        EXPECT_EQ(Run(args, out, err), report::kExitOk) << err;
        EXPECT_EQ(err, "");
        return json::parse(out);
    }

    TempDir m_dir;
    mailgen::InstallationExpectation m_expected;
};

uint64_t NumberOr0(const json& value) {
    return value.is_null() ? 0 : value.get<uint64_t>();
}

TEST_F(AllUsersReportTest, JsonHoldsEveryRowAsGenerated) {
    Generate(5, 1);
    const json report = RunJson({});
    std::map<std::string, json> byName;
    for (const json& user : report["users"]) {
        byName[report::Cp1252FromUtf8(user["userName"].get<std::string>())] = user;
    }
    ASSERT_EQ(byName.size(), m_expected.users.size());
    uint64_t shares = 0;
    for (const mailgen::ExpectedUser& expected : m_expected.users) {
        SCOPED_TRACE(expected.userName);
        const json& user = byName[expected.userName];
        const bool read = expected.kind == mailgen::ExpectedUser::Kind::kRead ||
                          expected.kind == mailgen::ExpectedUser::Kind::kStray;
        EXPECT_EQ(report::Cp1252FromUtf8(user["personalName"].get<std::string>()),
                  expected.personalName);
        EXPECT_EQ(user["stray"].get<bool>(), expected.kind == mailgen::ExpectedUser::Kind::kStray);
        EXPECT_EQ(user["failure"].is_null(),
                  expected.kind == mailgen::ExpectedUser::Kind::kRead && expected.hierarchy);
        EXPECT_EQ(user["size"].is_null(), !read);
        EXPECT_EQ(NumberOr0(user["size"]), expected.totalSize);
        EXPECT_EQ(NumberOr0(user["folderFiles"]), static_cast<uint64_t>(expected.folderFiles));
        EXPECT_EQ(NumberOr0(user["newMail"]), expected.newMailSize);
        EXPECT_EQ(NumberOr0(user["largestSize"]), expected.largestSize);
        // The files are the folder files alone, and with the new mail they are the total.
        uint64_t files = 0;
        for (const json& file : user["files"]) {
            files += file["size"].get<uint64_t>();
        }
        EXPECT_EQ(user["files"].size(), static_cast<size_t>(expected.folderFiles));
        EXPECT_EQ(files + expected.newMailSize, expected.totalSize);
        shares += NumberOr0(user["shareTenths"]);
    }
    // Each share is rounded on its own: together within half a tenth per row of 100 %.
    EXPECT_NEAR(static_cast<double>(shares), 1000.0, m_expected.users.size() / 2.0 + 0.5);
    EXPECT_EQ(report["totals"]["size"].get<uint64_t>(), m_expected.totalSize);
    EXPECT_EQ(report["totals"]["folderFiles"].get<int>(), m_expected.folderFiles);
    EXPECT_EQ(report["totals"]["rows"].get<size_t>(), m_expected.users.size());
}

TEST_F(AllUsersReportTest, AFilterKeepsTheUsersItNamesAndTheTotalsSayWhatIsShownOfAll) {
    Generate(5);
    const mailgen::ExpectedUser& kept = m_expected.users[1];
    const json report = RunJson({"--match", kept.userName, "--exclude", "-nobody-"});
    ASSERT_EQ(report["users"].size(), 1u);
    EXPECT_EQ(report::Cp1252FromUtf8(report["users"][0]["userName"].get<std::string>()),
              kept.userName);
    EXPECT_EQ(report["totals"]["shownRows"].get<size_t>(), 1u);
    EXPECT_EQ(report["totals"]["shownSize"].get<uint64_t>(), kept.totalSize);
    EXPECT_EQ(report["totals"]["size"].get<uint64_t>(), m_expected.totalSize);
    EXPECT_EQ(report["totals"]["rows"].get<size_t>(), m_expected.users.size());
    // Bigger than the whole installation: no row, and the whole still said.
    const json none = RunJson({"--min-size", std::to_string(m_expected.totalSize + 1)});
    EXPECT_TRUE(none["users"].empty());
    EXPECT_EQ(none["totals"]["shownRows"].get<size_t>(), 0u);
}

TEST_F(AllUsersReportTest, EverySortColumnOrdersTheRowsAndDescendingTurnsThemAround) {
    Generate(7);
    const struct {
        const char* column;
        const char* key;
    } columns[] = {{"files", "folderFiles"}, {"size", "size"},           {"share", "size"},
                   {"newmail", "newMail"},   {"largest", "largestSize"}, {"limit", "overLimit"}};
    for (const auto& column : columns) {
        for (const bool descending : {false, true}) {
            SCOPED_TRACE(std::string(column.column) + (descending ? " desc" : ""));
            std::vector<std::string> extra = {"--sort", column.column};
            if (descending) {
                extra.push_back("--desc");
            }
            const json report = RunJson(extra);
            std::vector<std::pair<uint64_t, std::string>> keys;
            for (const json& user : report["users"]) {
                std::string name = user["userName"].get<std::string>();
                std::transform(name.begin(), name.end(), name.begin(), [](char c) {
                    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
                });
                keys.emplace_back(NumberOr0(user[column.key]), name);
            }
            ASSERT_EQ(keys.size(), m_expected.users.size());
            std::vector<std::pair<uint64_t, std::string>> sorted = keys;
            std::sort(sorted.begin(), sorted.end());
            if (descending) {
                std::reverse(sorted.begin(), sorted.end());
            }
            EXPECT_EQ(keys, sorted);
        }
    }
    // By user and by personal name, folded: the names the generator wrote in order.
    const json byUser = RunJson({"--sort", "user"});
    EXPECT_EQ(byUser["users"][0]["userName"], "..\\..\\Windows");
    EXPECT_EQ(byUser["users"][byUser["users"].size() - 1]["userName"], "zz-verwaist1");
    const json byPersonal = RunJson({"--sort", "personal", "--desc"});
    EXPECT_EQ(byPersonal["users"][0]["userName"], "anna/../../etc"); // "Schrägstrich <..."
}

TEST_F(AllUsersReportTest, TheTextFormsHaveALinePerRowAndTheStatusLine) {
    Generate(3);
    std::string out;
    std::string err;
    ASSERT_EQ(Run({"--all-users", Root(), "--tsv", "--exact"}, out, err), report::kExitOk) << err;
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = out.find('\n', at)) != std::string::npos; at = end + 1) {
        lines.push_back(out.substr(at, end - at));
    }
    ASSERT_EQ(lines.size(), m_expected.users.size() + 2);
    EXPECT_EQ(lines.front(), report::Utf8FromCp1252("Benutzer\tName\tOrdnerdateien\tGr\xF6\xDF"
                                                    "e\tAnteil\tPosteingang\tGr\xF6\xDF"
                                                    "te Ordnerdatei\tGrenze"));
    // 3 users, 1 without folder, 4 hostile lines: 8 of the list; the stray is no user.
    EXPECT_EQ(lines.back().rfind(
                  "8 Benutzer, " + std::to_string(m_expected.folderFiles) + " Ordnerdateien, ", 0),
              0u)
        << lines.back();
    // By user name, folded: "..\..\Windows" first, then anna.
    EXPECT_EQ(lines[2].rfind("anna\t" + report::Utf8FromCp1252("Anna M\xFCller") + "\t", 0), 0u)
        << lines[2];
    EXPECT_NE(out.find(report::Utf8FromCp1252(UserFaultText(UserFault::kMissingFolder))),
              std::string::npos);
    EXPECT_NE(out.find(report::Utf8FromCp1252(UserFaultText(UserFault::kStray))),
              std::string::npos);
    std::string text;
    ASSERT_EQ(Run({"--all-users", Root()}, text, err), report::kExitOk);
    // The same status line below the aligned columns, whatever the size style.
    EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), lines.back() + "\n");
}

TEST_F(AllUsersReportTest, NamesThatCouldDoHarmLeaveAsHarmlessCells) {
    TempDir dir;
    ASSERT_TRUE(testsupport::MakeDirectory(dir / "bob"));
    ASSERT_TRUE(
        testsupport::WriteFile(dir / "PMAIL.USR", "U;bob;=HYPERLINK(\"x\")\nU;eve;Eve\tTab\x1B\n"));
    std::string out;
    std::string err;
    ASSERT_EQ(Run({"--all-users", dir.Path(), "--format", "csv"}, out, err), report::kExitOk);
    EXPECT_NE(out.find("bob,\"'=HYPERLINK(\"\"x\"\")\""), std::string::npos) << out;
    ASSERT_EQ(Run({"--all-users", dir.Path(), "--tsv"}, out, err), report::kExitOk);
    EXPECT_NE(out.find("Eve?Tab?"), std::string::npos) << out;
}

TEST_F(AllUsersReportTest, ACompareMatchesUsersAndTheirFilesByName) {
    Generate(3);
    const std::string earlierPath = m_dir / "earlier.json";
    std::string out;
    std::string err;
    ASSERT_EQ(Run({"--all-users", Root(), "--format", "json"}, out, err), report::kExitOk);
    ASSERT_TRUE(testsupport::WriteFile(earlierPath, out));
    // Since then: a new folder file for anna, the stray folder gone, bernd's new mail gone,
    // and carla listed in other letters, which still name her and her folder.
    std::string list = testsupport::ReadFile(m_dir / "MAIL/PMAIL.USR");
    const size_t carla = list.find("U;carla;");
    ASSERT_NE(carla, std::string::npos);
    list.replace(carla, 8, "U;Carla;");
    ASSERT_TRUE(testsupport::WriteFile(m_dir / "MAIL/PMAIL.USR", list));
    const std::string added(1234, 'x');
    ASSERT_TRUE(testsupport::WriteFile(UserDir("anna") + "NEU00001.PMM", added));
    std::error_code ec;
    std::filesystem::remove_all(UserDir("zz-verwaist1"), ec);
    const mailgen::ExpectedUser& bernd = m_expected.users[1];
    for (const auto& entry : std::filesystem::directory_iterator(UserDir(bernd.folderName))) {
        if (entry.path().extension() == ".CNM") {
            std::filesystem::remove(entry.path(), ec);
        }
    }
    const json report = RunJson({"--compare", earlierPath, "--sort", "change"});
    std::map<std::string, json> byName;
    for (const json& user : report["users"]) {
        byName[user["userName"].get<std::string>()] = user;
    }
    EXPECT_EQ(byName["anna"]["change"].get<int64_t>(), 1234);
    EXPECT_EQ(byName["bernd"]["change"].get<int64_t>(), -static_cast<int64_t>(bernd.newMailSize));
    EXPECT_EQ(byName["Carla"]["change"].get<int64_t>(), 0);
    EXPECT_EQ(byName["zz-verwaist1"]["changeText"], "entfernt");
    EXPECT_TRUE(byName["zz-verwaist1"]["removed"].get<bool>());
    int newFiles = 0;
    for (const json& file : byName["anna"]["files"]) {
        if (file["changeText"] == "neu") {
            ++newFiles;
            EXPECT_EQ(file["fileName"], "NEU00001.PMM");
        } else {
            EXPECT_EQ(file["change"].get<int64_t>(), 0) << file["fileName"];
        }
    }
    EXPECT_EQ(newFiles, 1);
    // The removed user's files are each removed too.
    EXPECT_EQ(byName["zz-verwaist1"]["files"].size(),
              static_cast<size_t>(m_expected.users.back().folderFiles));
    // By change: the largest loss first.
    EXPECT_EQ(report["users"][0]["userName"], "zz-verwaist1");
    EXPECT_EQ(report["users"][report["users"].size() - 1]["userName"], "anna");
    const int64_t total = 1234 - static_cast<int64_t>(bernd.newMailSize) -
                          static_cast<int64_t>(m_expected.users.back().totalSize);
    EXPECT_EQ(report["totals"]["change"].get<int64_t>(), total);
}

TEST_F(AllUsersReportTest, ARootWithoutTheListOrAnUnusableEarlierReportEndsWithStatus2) {
    Generate(2);
    std::string out;
    std::string err;
    EXPECT_EQ(Run({"--all-users", UserDir("anna")}, out, err), report::kExitFailure);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, report::Utf8FromCp1252("foldtally-report: Im Verzeichnis \"" + UserDir("anna") +
                                          "\" liegt keine Benutzerliste PMAIL.USR.\n"));
    EXPECT_EQ(Run({"--all-users", m_dir / "nirgends"}, out, err), report::kExitFailure);
    EXPECT_NE(err.find("kann nicht gelesen werden"), std::string::npos) << err;
    // A report of one mailbox is no earlier overview.
    const std::string single = m_dir / "single.json";
    ASSERT_EQ(Run({"--mailbox", UserDir("anna"), "--format", "json"}, out, err), report::kExitOk);
    ASSERT_TRUE(testsupport::WriteFile(single, out));
    out.clear();
    EXPECT_EQ(Run({"--all-users", Root(), "--compare", single}, out, err), report::kExitFailure);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find(report::Utf8FromCp1252("ist kein Bericht aller Postf\xE4"
                                              "cher")),
              std::string::npos)
        << err;
}

TEST(AllUsersOptionsTest, TheOverviewTakesItsOwnColumnsAndNoOptionOfOneMailbox) {
    const struct {
        std::vector<const char*> args;
        bool ok;
        int column;
    } cases[] = {
        {{"--all-users", "r"}, true, report::kUserColumnUser},
        {{"--all-users", "r", "--sort", "personal"}, true, report::kUserColumnPersonal},
        {{"--all-users", "r", "--sort", "limit", "--desc"}, true, report::kUserColumnLimit},
        {{"--all-users", "r", "--sort", "change", "--compare", "e"},
         true,
         report::kUserColumnChange},
        {{"--all-users", "r", "--sort", "change"}, false, 0},
        {{"--all-users", "r", "--sort", "folder"}, false, 0},
        {{"--all-users", "r", "--mailbox", "m"}, false, 0},
        {{"--all-users", "r", "--tree"}, false, 0},
        {{"--all-users", "r", "--newmail", "n"}, false, 0},
        {{"--all-users", "r", "--since", "7d"}, false, 0},
        {{"--all-users", "r", "--format", "excel"}, false, 0},
        {{"--all-users", "r", "--changed"}, false, 0},
        {{"--all-users"}, false, 0},
        {{"--all-users", ""}, false, 0},
    };
    for (const auto& c : cases) {
        report::ReportOptions options;
        std::string error;
        const bool ok = report::ParseReportOptions(static_cast<int>(c.args.size()), c.args.data(),
                                                   options, error);
        EXPECT_EQ(ok, c.ok) << c.args.size() << " " << error;
        EXPECT_EQ(ok, error.empty()) << error;
        if (ok) {
            EXPECT_EQ(options.allUsersRoot, "r");
            EXPECT_EQ(options.allUsersSortColumn, c.column);
        }
    }
}

TEST(EarlierInstallationTest, OnlyAnOverviewIsTakenAndNothingDeeperThanOne) {
    report::EarlierInstallation earlier;
    std::string error;
    const char overview[] =
        R"({"allUsers":true,"users":[{"userName":"a","size":5,"files":[{"fileName":"F.PMM","size":5}]},)"
        R"({"userName":"b","size":7,"removed":true}]})";
    EXPECT_TRUE(report::ParseEarlierInstallation(overview, earlier, error)) << error;
    ASSERT_EQ(earlier.UserCount(), 1u);
    EXPECT_EQ(earlier.TotalSize(), 5u);
    EXPECT_EQ(earlier.Files(0).RowCount(), 1u);
    const char* const refused[] = {
        R"({"rows":[]})",
        R"({"allUsers":false,"users":[]})",
        R"({"allUsers":true,"users":[{"size":5}]})",
        R"({"allUsers":true,"users":[{"userName":"a","size":-5}]})",
        R"({"allUsers":true,"users":[{"userName":"a","size":5,"files":[{"fileName":"F"}]}]})",
        R"({"allUsers":true,"users":[[[[[[[[[[[[]]]]]]]]]]]]})",
        "{",
        "",
    };
    for (const char* text : refused) {
        ASSERT_TRUE(report::ParseEarlierInstallation(overview, earlier, error));
        EXPECT_FALSE(report::ParseEarlierInstallation(text, earlier, error)) << text;
        EXPECT_EQ(earlier.UserCount(), 0u) << text;
        EXPECT_FALSE(error.empty());
    }
}

TEST(EarlierInstallationTest, TheReadingStopsAtTheFirstRowThatIsNoUser) {
    // Rows "{}" without end: read as a whole document, 600 KB of them took seconds.
    const std::string head = R"({"allUsers":true,"users":[)";
    uint64_t handed = 0;
    const report::ReportBytes endless = [&](char* buffer, size_t capacity) {
        for (size_t i = 0; i < capacity; ++i, ++handed) {
            buffer[i] = handed < head.size() ? head[handed] : "{},"[(handed - head.size()) % 3];
        }
        return capacity;
    };
    report::EarlierInstallation earlier;
    std::string error;
    EXPECT_FALSE(report::ParseEarlierInstallation(endless, earlier, error));
    EXPECT_EQ(error, "enth\xE4lt eine Zeile, die keine Benutzerzeile ist");
    EXPECT_LE(handed, 64u * 1024); // the first piece, of 64 MiB allowed
}

} // namespace
