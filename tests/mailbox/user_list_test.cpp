// The reader of "PMAIL.USR": which lines are users, what each field holds, and that
// line ends, piece boundaries, byte order marks and overlong lines change nothing but
// what they must.
#include "mailbox/user_list.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;
using testsupport::WriteFile;

struct Expected {
    uint32_t line;
    char flag;
    std::string user;
    std::string personal;
    bool malformed;
};

void ExpectUsers(const UserList& users, const std::vector<Expected>& expected) {
    ASSERT_EQ(users.Count(), expected.size());
    for (size_t i = 0; i < users.Count(); ++i) {
        SCOPED_TRACE(i);
        const UserLine line = users.Line(i);
        EXPECT_EQ(line.lineNumber, expected[i].line);
        EXPECT_EQ(line.flag, expected[i].flag);
        EXPECT_EQ(line.userName, expected[i].user);
        EXPECT_EQ(line.personalName, expected[i].personal);
        EXPECT_EQ(line.malformed, expected[i].malformed);
        EXPECT_FALSE(line.userNameCut);
    }
}

const char kSample[] = "; Benutzer\r\n"
                       "\r\n"
                       "A;admin;Verwalter\r\n"
                       "U;anna;Anna M\xFCller\r\n"
                       "   \t\r\n"
                       "x; carl ;  Carl; Abteilung 3 \r\n"
                       "U;dora\r\n"
                       "UU;eva;Eva\r\n"
                       "1;fritz;Fritz\r\n"
                       "ohne Trenner\r\n"
                       ";U;kommentiert;Niemand\r\n"
                       " ;gerd;Gerd\r\n"
                       "U;;Ohne Namen";

const std::vector<Expected> kSampleUsers = {
    {3, 'A', "admin", "Verwalter", false},
    {4, 'U', "anna", "Anna M\xFCller", false},
    {6, 'x', "carl", "Carl; Abteilung 3", false}, // any letter; ';' in the name stays
    {7, 'U', "dora", "", false},
    {8, 0, "UU", "", true},
    {9, 0, "1", "", true},
    {10, 0, "ohne Trenner", "", true},
    {12, 0, " ", "", true}, // only a line's first byte makes it a comment
    {13, 'U', "", "Ohne Namen", false},
};

TEST(UserListTest, LinesAreUsersCommentsBlanksOrMalformed) {
    ExpectUsers(ParseUserList(kSample), kSampleUsers);
}

TEST(UserListTest, LineFeedsAloneReadAsCrLf) {
    std::string lf = kSample;
    for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) {
        lf.erase(at, 1);
    }
    ExpectUsers(ParseUserList(lf), kSampleUsers);
    ExpectUsers(ParseUserList(lf + "\n"), kSampleUsers);
}

TEST(UserListTest, PiecesOfAnySizeGiveTheSameUsers) {
    for (size_t piece = 1; piece <= 19; ++piece) {
        SCOPED_TRACE(piece);
        UserListParser parser;
        const std::string_view text = kSample;
        for (size_t at = 0; at < text.size(); at += piece) {
            parser.Feed(text.substr(at, piece));
        }
        parser.Finish();
        ExpectUsers(parser.Users(), kSampleUsers);
    }
}

TEST(UserListTest, ALoneCarriageReturnStaysInTheName) {
    const UserList users = ParseUserList("U;an\rna;Anna\r\nU;bert;Bert\r");
    ASSERT_EQ(users.Count(), 2u);
    EXPECT_EQ(users.Line(0).userName, "an\rna");
    EXPECT_EQ(users.Line(1).personalName, "Bert\r");
}

TEST(UserListTest, AByteOrderMarkAtTheStartIsSkippedAndNowhereElse) {
    ExpectUsers(ParseUserList("\xEF\xBB\xBFU;anna;Anna\n"), {{1, 'U', "anna", "Anna", false}});
    // The start of a mark that is none stays: here it makes the flag two bytes long.
    ExpectUsers(ParseUserList("\xEF\xBBU;anna;Anna\n"), {{1, 0, "\xEF\xBBU", "", true}});
    ExpectUsers(ParseUserList("U;\xEF\xBB\xBF"
                              "anna;Anna\n"),
                {{1, 'U',
                  "\xEF\xBB\xBF"
                  "anna",
                  "Anna", false}});
    EXPECT_TRUE(ParseUserList("\xEF\xBB\xBF").Empty());
    ExpectUsers(ParseUserList("\xEF\xBB"), {{1, 0, "\xEF\xBB", "", true}});
}

TEST(UserListTest, AnOverlongNameIsCutAndMarkedAndTheNextLineStillCounts) {
    const std::string longName(3 * 1024 * 1024, 'n');
    const std::string longPersonal(2 * 1024 * 1024, 'p');
    const UserList users =
        ParseUserList("U;" + longName + ";Lang\nU;" + "kurz;" + longPersonal + "\nU;bea;Bea\n");
    ASSERT_EQ(users.Count(), 3u);
    EXPECT_TRUE(users.Line(0).userNameCut);
    EXPECT_EQ(users.Line(0).userName.size(), kMaxUserLineField);
    EXPECT_EQ(users.Line(0).personalName, "Lang");
    EXPECT_FALSE(users.Line(1).userNameCut);
    EXPECT_EQ(users.Line(1).personalName.size(), kMaxUserLineField);
    EXPECT_EQ(users.Line(2).lineNumber, 3u);
    EXPECT_EQ(users.Line(2).userName, "bea");
}

TEST(UserListTest, AnOverlongFlagIsAMalformedLine) {
    const UserList users = ParseUserList(std::string(5000, ' ') + "U;anna;Anna\n");
    ASSERT_EQ(users.Count(), 1u);
    EXPECT_TRUE(users.Line(0).malformed);
}

TEST(UserListTest, TheFileIsReadInPiecesLikeTheText) {
    TempDir dir;
    // Longer than one piece of the reader, with a CR LF across the piece boundary.
    std::string text(64 * 1024 - 1, ';');
    text += "\r\n";
    text += kSample;
    ASSERT_TRUE(WriteFile(dir / "PMAIL.USR", text));
    UserList users = ParseUserList("U;vorher\n");
    ASSERT_EQ(ReadUserList(dir / "PMAIL.USR", users), UserListStatus::kRead);
    std::vector<Expected> shifted = kSampleUsers;
    for (Expected& e : shifted) {
        ++e.line;
    }
    ExpectUsers(users, shifted);
}

TEST(UserListTest, AListPastItsBoundsIsRefusedWhole) {
    std::string full;
    for (size_t i = 0; i < kMaxUserLines; ++i) {
        full += "U;a\n";
    }
    const size_t bytes = static_cast<size_t>(kMaxUserListBytes);
    const struct {
        std::string text;
        UserListStatus status;
        size_t users;
    } cases[] = {
        {full + ";Kommentar\n\n", UserListStatus::kRead, kMaxUserLines},
        {full + "U;b\n", UserListStatus::kTooLong, 0},
        {full + "kein Benutzer\n", UserListStatus::kTooLong, 0},
        {std::string(bytes - 4, ';') + "\nU;b", UserListStatus::kRead, 1},
        {std::string(bytes - 3, ';') + "\nU;b", UserListStatus::kTooLong, 0},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        ASSERT_TRUE(WriteFile(dir / "PMAIL.USR", c.text));
        UserList users = ParseUserList("U;vorher\n");
        EXPECT_EQ(ReadUserList(dir / "PMAIL.USR", users), c.status);
        EXPECT_EQ(users.Count(), c.users);
    }
}

TEST(UserListTest, AMissingFileIsNoListAndLeavesNoUsers) {
    TempDir dir;
    UserList users = ParseUserList("U;vorher\n");
    EXPECT_EQ(ReadUserList(dir / "PMAIL.USR", users), UserListStatus::kUnreadable);
    EXPECT_TRUE(users.Empty());
    // a directory is no list
    EXPECT_EQ(ReadUserList(dir.Path(), users), UserListStatus::kUnreadable);
}

} // namespace
