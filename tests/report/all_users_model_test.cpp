// The rules of the window "Alle Postfächer": rows that show their figures once read,
// shares of what is read so far, the sort of a header click, typed letters, the status
// line and what a row opens; on overviews built by hand.
#include "report/all_users_model.h"

#include "mailbox_fixtures.h"

#include <gtest/gtest.h>

namespace {

using fixtures::Record;
using fixtures::ResultOf;
using report::AllUsersModel;

constexpr uint64_t kNearLimit = 1610612736ull;
const report::AllUsersStatusTexts kTexts = {"ABGEBROCHEN[%s]", "FEHLEN %s/%s: %s",
                                            " | %d über, %d nahe", "OHNE LISTE"};

// A user read from `folder` with folder files of the sizes given.
UserMailbox ReadUser(const std::string& name, const std::string& personal,
                     std::vector<uint64_t> sizes) {
    UserMailbox row;
    row.user.line.flag = 'U';
    row.user.line.userName = name;
    row.user.line.personalName = personal;
    row.user.folderDir = "/mail/" + name + "/";
    std::vector<FolderRecord> records;
    for (size_t i = 0; i < sizes.size(); ++i) {
        records.push_back(Record("F" + std::to_string(i) + ".PMM", "", "Ordner", sizes[i]));
    }
    SummariseMailbox(row, ResultOf(std::move(records)), true);
    return row;
}

UserMailbox MissingUser(const std::string& name) {
    UserMailbox row;
    row.user.line.flag = 'U';
    row.user.line.userName = name;
    row.user.line.personalName = "Ohne";
    row.user.fault = UserFault::kMissingFolder;
    row.fault = UserFault::kMissingFolder;
    return row;
}

std::shared_ptr<AllUsersResult> Overview() {
    auto result = std::make_shared<AllUsersResult>();
    result->root = "/mail/";
    result->rows.push_back(ReadUser("bob", "Bob", {100, 200}));
    result->rows.push_back(ReadUser("Anna", "Anna", {kNearLimit, 500, 100}));
    result->rows.push_back(MissingUser("carl"));
    for (const UserMailbox& row : result->rows) {
        result->folderFiles += row.folderFiles;
        result->totalSize += row.totalSize;
    }
    return result;
}

std::vector<std::string> Column(const AllUsersModel& model, int column) {
    std::vector<std::string> cells;
    for (int row = 0; row < model.RowCount(); ++row) {
        cells.push_back(model.CellText(row, column));
    }
    return cells;
}

TEST(AllUsersModelTest, FiguresShowOnceReadAndSharesAreOfWhatIsReadSoFar) {
    AllUsersModel model;
    model.SetResult(Overview(), false);
    EXPECT_EQ(model.ToReadCount(), 2u);
    ASSERT_EQ(model.RowCount(), 3);
    // By user name, folded: Anna, bob, carl. The missing folder has nothing to read.
    EXPECT_EQ(Column(model, report::kUserColumnUser),
              (std::vector<std::string>{"Anna", "bob", "carl"}));
    EXPECT_EQ(Column(model, report::kUserColumnSize), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(model.CellText(2, report::kUserColumnPersonal),
              "Ohne " + UserFaultText(UserFault::kMissingFolder));
    EXPECT_EQ(model.CellText(0, report::kUserColumnPersonal), "Anna");

    model.MarkRead({0}); // bob
    EXPECT_EQ(Column(model, report::kUserColumnShare),
              (std::vector<std::string>{"", "100,0 %", ""}));
    EXPECT_EQ(model.StatusText(kTexts), "3 Benutzer, 2 Ordnerdateien, 300 Bytes (300 Bytes)");
    model.MarkRead({0, 0}); // twice counts once
    EXPECT_EQ(model.ReadCount(), 1u);

    model.MarkRead({1}); // Anna
    EXPECT_EQ(model.ReadCount(), 2u);
    // Of the two read, Anna holds all but 300 bytes: below the whole, so never 100,0 %.
    EXPECT_EQ(model.CellText(0, report::kUserColumnShare), "99,9 %");
    EXPECT_EQ(model.CellText(1, report::kUserColumnShare), "0,0 %");
    EXPECT_EQ(model.CellText(0, report::kUserColumnFiles), "3");
    EXPECT_EQ(model.CellText(0, report::kUserColumnLimit), "! 1");
    EXPECT_EQ(model.CellText(0, report::kUserColumnLargest), "Ordner (F0.PMM, 1.610.612.736)");
    EXPECT_EQ(model.CellText(0, report::kUserColumnNewMail), "0");
    EXPECT_EQ(model.CellText(1, report::kUserColumnFiles), "2");
    EXPECT_EQ(model.CellText(1, report::kUserColumnLimit), "0");
    EXPECT_EQ(model.CellText(2, report::kUserColumnFiles), "");
}

TEST(AllUsersModelTest, AHeaderClickSortsNumbersLargestFirstAndUnreadRowsFollowWhenRead) {
    AllUsersModel model;
    model.SetResult(Overview(), true);
    EXPECT_FALSE(model.DescendingOnFirstClick(report::kUserColumnUser));
    EXPECT_FALSE(model.DescendingOnFirstClick(report::kUserColumnPersonal));
    for (const int column :
         {report::kUserColumnFiles, report::kUserColumnSize, report::kUserColumnShare,
          report::kUserColumnNewMail, report::kUserColumnLargest, report::kUserColumnLimit}) {
        EXPECT_TRUE(model.DescendingOnFirstClick(column)) << column;
    }
    model.Sort(report::kUserColumnSize, true);
    // Nothing read yet: no row has figures, so the names decide, turned round.
    EXPECT_EQ(Column(model, report::kUserColumnUser),
              (std::vector<std::string>{"carl", "bob", "Anna"}));
    model.MarkRead({0});
    EXPECT_EQ(Column(model, report::kUserColumnUser),
              (std::vector<std::string>{"bob", "carl", "Anna"}));
    model.MarkAllRead();
    EXPECT_EQ(Column(model, report::kUserColumnUser),
              (std::vector<std::string>{"Anna", "bob", "carl"}));
    model.Sort(report::kUserColumnFiles, false);
    EXPECT_EQ(Column(model, report::kUserColumnUser),
              (std::vector<std::string>{"carl", "bob", "Anna"}));
    model.Sort(report::kUserColumnLimit, true);
    EXPECT_EQ(model.CellText(0, report::kUserColumnUser), "Anna");
    EXPECT_EQ(model.ShownRow(1), 0);
    EXPECT_EQ(model.ShownRow(7), -1);
    EXPECT_EQ(model.StatusText(kTexts),
              "3 Benutzer, 5 Ordnerdateien, 1,5 GB (1.610.613.636 Bytes) | 0 über, 1 nahe");
}

TEST(AllUsersModelTest, TypedLettersFindAUserAndARowOpensItsFolder) {
    AllUsersModel model;
    model.SetResult(Overview(), true);
    EXPECT_EQ(model.FindRow(0, "B"), 1);
    EXPECT_EQ(model.FindRow(2, "an"), 0);
    EXPECT_EQ(model.FindRow(0, "x"), -1);
    EXPECT_EQ(model.FindRow(0, ""), -1);
    EXPECT_EQ(model.ContextRow(2), 2);
    EXPECT_EQ(model.ContextRow(3), -1);

    ScanRequest request;
    request.mailboxDir = "poisoned";
    ASSERT_TRUE(model.FolderRequest(1, "<Posteingang>", request));
    EXPECT_EQ(request.mailboxDir, "/mail/bob/");
    EXPECT_EQ(request.newmailDir, "/mail/bob/");
    EXPECT_TRUE(request.includeNewMail);
    EXPECT_TRUE(request.resolvePaths);
    EXPECT_EQ(request.newMailLabel, "<Posteingang>");
    request.mailboxDir = "poisoned";
    EXPECT_FALSE(model.FolderRequest(2, "<Posteingang>", request)); // no folder
    EXPECT_FALSE(model.FolderRequest(3, "<Posteingang>", request));
    EXPECT_EQ(request.mailboxDir, "poisoned");
}

TEST(AllUsersModelTest, TheCopyTakesTheRowsAsShownWithTheBytesOfThoseRead) {
    AllUsersModel model;
    model.SetResult(Overview(), false);
    model.MarkRead({1}); // Anna
    model.Sort(report::kUserColumnSize, true);
    const std::vector<std::string> titles(report::kAllUsersWindowColumns, "T");
    const view::ListSnapshot list = model.Snapshot(titles);
    EXPECT_EQ(list.titles, titles);
    ASSERT_EQ(list.rows.size(), 3u);
    // Anna first, read: her cells as shown and her total; bob still being read has
    // his name and no figures; carl has nothing to read.
    EXPECT_EQ(list.rows[0].cells[report::kUserColumnUser], "Anna");
    EXPECT_EQ(list.rows[0].bytes, kNearLimit + 600);
    EXPECT_EQ(list.rows[0].cells[report::kUserColumnShare], "100,0 %");
    EXPECT_EQ(list.rows[0].cells[report::kUserColumnLimit], "! 1");
    ASSERT_EQ(list.rows[1].cells.size(), static_cast<size_t>(report::kAllUsersWindowColumns));
    EXPECT_EQ(list.rows[1].cells[report::kUserColumnUser], "carl");
    EXPECT_EQ(list.rows[2].cells[report::kUserColumnUser], "bob");
    EXPECT_EQ(list.rows[2].cells[report::kUserColumnSize], "");
    EXPECT_EQ(list.rows[2].bytes, 0u);
    model.MarkAllRead();
    EXPECT_EQ(model.Snapshot(titles).rows[1].bytes, 300u);
    EXPECT_EQ(view::FormatListCopy(model.Snapshot(titles), "Bytes").substr(0, 2), "T\t");
}

TEST(AllUsersModelTest, WithoutAnOverviewTheModelIsEmpty) {
    AllUsersModel model;
    model.SetResult(nullptr, true);
    EXPECT_EQ(model.RowCount(), 0);
    model.MarkRead({0});
    model.MarkAllRead();
    model.Sort(report::kUserColumnSize, true);
    EXPECT_EQ(model.RowCount(), 0);
    EXPECT_EQ(model.StatusText(kTexts), "0 Benutzer, 0 Ordnerdateien, 0 Bytes (0 Bytes)");
}

TEST(AllUsersModelTest, ACancelledReadNeverLeavesASumOfSomeUsersAsTheTotal) {
    const std::string complete = "3 Benutzer, 5 Ordnerdateien, 1,5 GB (1.610.613.636 Bytes)";
    AllUsersModel model;
    model.SetResult(Overview(), true);
    model.MarkAllRead();
    for (const bool planned : {true, false}) { // F5 then Escape, after and before the plan
        if (planned) {
            model.SetResult(Overview(), true);
            model.MarkRead({0}); // bob: Anna's figures and near file not read again
        }
        model.MarkCancelled();
        EXPECT_EQ(model.StatusText(kTexts), "ABGEBROCHEN[" + complete + " | 0 über, 1 nahe]");
        EXPECT_EQ(model.CellText(0, report::kUserColumnShare), "99,9 %");
    }
    // A first read cancelled: the rows read keep their figures, no share shows.
    AllUsersModel first;
    first.SetResult(Overview(), true);
    first.MarkRead({1});
    first.MarkCancelled();
    EXPECT_EQ(first.StatusText(kTexts),
              "FEHLEN 1/2: 3 Ordnerdateien, 1,5 GB (1.610.613.336 Bytes) | 0 über, 1 nahe");
    EXPECT_EQ(first.CellText(0, report::kUserColumnShare) + first.CellText(0, 2), "3");
    // Cancelled before the user list was read: no count of nothing.
    AllUsersModel none;
    none.MarkCancelled();
    EXPECT_EQ(none.StatusText(kTexts), "OHNE LISTE");
    // Escape after the last row: the read is whole.
    first.SetResult(Overview(), true);
    first.MarkRead({0, 1});
    first.MarkCancelled();
    EXPECT_EQ(first.StatusText(kTexts), complete + " | 0 über, 1 nahe");
}

TEST(AllUsersModelTest, LimitsShowOverAndNearApartAndSmallSharesGetScaledBars) {
    auto result = std::make_shared<AllUsersResult>();
    result->rows.push_back(ReadUser("dora", "", {kFolderLimitBytes, kNearLimit}));
    result->rows.push_back(ReadUser("eve", "", {100}));
    for (int i = 0; i < 9; ++i) { // eleven users: no share reaches 25 %
        result->rows.push_back(ReadUser("u" + std::to_string(i), "", {kNearLimit}));
    }
    AllUsersModel model;
    model.SetResult(result, true);
    model.MarkRead({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const int limit = report::kUserColumnLimit;
    EXPECT_EQ(Column(model, limit)[0] + Column(model, limit)[1] + Column(model, limit)[2],
              "!! 1, ! 10! 1");
    EXPECT_EQ((std::vector<int>{model.WarningOf(0, limit), model.WarningOf(1, limit),
                                model.WarningOf(2, limit), model.WarningOf(0, 3)}),
              (std::vector<int>{2, 0, 1, 0}));
    EXPECT_NE(model.StatusText(kTexts).find(" | 1 über, 9 nahe"), std::string::npos);
    EXPECT_EQ(model.BarOf(0), 1000u);    // dora, the largest, fills the bar
    EXPECT_NEAR(model.BarOf(2), 429, 3); // 1,5 of 3,5 GiB
    model.SetResult(Overview(), true);
    model.MarkAllRead();
    EXPECT_EQ(model.BarOf(0), 999u); // Anna's 99,9 %: no scale
}

} // namespace

TEST(AllUsersModelTest, AFilterShowsThePassingUsersAndWhatTheyHoldOfAll) {
    AllUsersModel model;
    model.SetResult(Overview(), false);
    model.MarkRead({0});
    view::RowFilter filter;
    filter.SetMinimumSize(250);
    model.SetFilter(filter);
    EXPECT_EQ(Column(model, report::kUserColumnUser), std::vector<std::string>{"bob"})
        << "Anna waits for her figures";
    model.MarkAllRead();
    EXPECT_EQ(Column(model, report::kUserColumnUser), (std::vector<std::string>{"Anna", "bob"}));
    ASSERT_TRUE(filter.SetWords("-BOB ohne"));
    filter.SetMinimumSize(0);
    model.SetFilter(filter);
    EXPECT_EQ(Column(model, report::kUserColumnUser), std::vector<std::string>{"carl"})
        << "by the personal name";
    EXPECT_EQ("1/3 0 Bytes/1,5 GB ", model.FilteredText("%s/%s %s/%s "));
    model.SetFilter(view::RowFilter());
    EXPECT_EQ(3, model.RowCount());
}
