// Reading "hierarch.pm" and walking its tree: the line grammar field by field, the
// trace lines of Fill, identifier lookup, and paths for good trees, orphans, loops and
// very deep chains.
#include "hash_flood.h"
#include "mailbox/hierarchy.h"
#include "mailbox_fixtures.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

using fixtures::HierarchyLine;
using testsupport::TempDir;
using testsupport::TraceCapture;
using testsupport::WriteFile;

using fixtures::kUnknown;

TEST(HierarchyEntryTest, ParsesTheFiveFieldsOfALine) {
    struct Case {
        std::string line;
        bool ok;
        int32_t type;
        std::string id, parentId, name;
    } cases[] = {
        {"2,0,\"R\",\"\",\"Oben\"", true, 2, "R", "", "Oben"},
        {" \t1 ,\t7 , \"a\" ,  \"b\"  , \"c\"", true, 1, "a", "b", "c"},
        {"1,0,a b ,\"c,d\", e f ", true, 1, "a b ", "c,d", "e f "},
        {"1,0,a\"b,p\"q,n\"", true, 1, "a\"b", "p\"q", "n\""},
        {"1,0,\"x\\\"y\\\\z\",\"p\",\"n\"", true, 1, "x\"y\\z", "p", "n"},
        {"1,0,\"a\\\"b,c\",\"p\",\"n\"", true, 1, "a\"b,c", "p", "n"},
        {"1,0,\"\\a\\,\",p,n", true, 1, "a,", "p", "n"},
        {"1,0,\"i\"junk,\"p\" x,\"n\"y", true, 1, "i", "p", "n"},
        {"12abc,3x,\"i\",\"p\",\"n\"", true, 12, "i", "p", "n"},
        {"007,0,i,p,n,extra,\"more\"", true, 7, "i", "p", "n"},
        {"1,0,i,p,   ", true, 1, "i", "p", ""},
        {"1,0,i,p,\t", true, 1, "i", "p", ""},
        {"0,0,,,x", true, 0, "", "", "x"},
        {"2147483647,0,i,p,n", true, INT32_MAX, "i", "p", "n"},
        {"4294967298,0,i,p,n", true, INT32_MAX, "i", "p", "n"},
        {"99999999999999999999999,99999999999999999999,i,p,n", true, INT32_MAX, "i", "p", "n"},
        {"1,0,\"\xC4rger\",\"\",\"Entw\xFCrfe\"", true, 1, "\xC4rger", "", "Entw\xFCrfe"},
        // Failures keep what was read before the failing field.
        {"", false, -1, "", "", ""},
        {" \t ", false, -1, "", "", ""},
        {"-1,0,i,p,n", false, -1, "", "", ""},
        {"x,0,i,p,n", false, -1, "", "", ""},
        {"+1,0,i,p,n", false, -1, "", "", ""},
        {"1,-0,i,p,n", false, 1, "", "", ""},
        {"1,,i,p,n", false, 1, "", "", ""},
        {"5", false, 5, "", "", ""},
        {"1,2", false, 1, "", "", ""},
        {"1,2,", false, 1, "", "", ""},
        {"1,0,\"i\",\"p\",", false, 1, "i", "p", ""},
        {"1,0,\"i\",\"p\"", false, 1, "i", "p", ""},
        {"1,0,i,p", false, 1, "i", "p", ""},
        // A quoted value that the line ends inside fails the line.
        {"1,0,\"i\",\"p\",\"Name", false, 1, "i", "p", "Name"},
        {"1,0,\"i\",\"p\",\"Na\\", false, 1, "i", "p", "Na"},
        {"1,0,\"i\",\"p\",\"n\\\"", false, 1, "i", "p", "n\""},
        {"1,0,\"i,p,n", false, 1, "i,p,n", "", ""},
        // The line ends at its first NUL, as the text of the trace line does.
        {std::string("1,0,i,p,Vor\0Nach", 16), true, 1, "i", "p", "Vor"},
        {std::string("1,0,\"i\0\",p,n", 12), false, 1, "i", "", ""},
        {std::string("\0"
                     "1,0,i,p,n",
                     10),
         false, -1, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        HierarchyEntry e;
        e.type = 99;
        e.id = e.parentId = e.name = "stale";
        EXPECT_EQ(c.ok, e.ParseLine(c.line));
        EXPECT_EQ(c.type, e.type);
        EXPECT_EQ(c.id, e.id);
        EXPECT_EQ(c.parentId, e.parentId);
        EXPECT_EQ(c.name, e.name);
    }
}

TEST(HierarchyFillTest, SkipsAndTracesLinesThatDoNotParse) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir / "hierarch.pm", HierarchyLine(2, "R", "", "Oben") + "\r\n" +
                                                   " \t\r\n" + "1,0,\"T\",\"R\",\r\n" +
                                                   "1,0,T,R,Archiv\n" + "-3,0,\"100%s\",a,b"));
    pmHierarch h;
    TraceCapture trace;
    ASSERT_TRUE(h.Fill(dir.Path()));
    ASSERT_EQ(2u, h.Entries().size());
    EXPECT_EQ("Oben", h.Entries()[0].name);
    EXPECT_EQ("Archiv", h.Entries()[1].name);
    const std::string prefix = "[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"";
    EXPECT_EQ((std::vector<std::string>{prefix + "\".\n", prefix + " \t\".\n",
                                        prefix + "1,0,\"T\",\"R\",\".\n",
                                        prefix + "-3,0,\"100%s\",a,b\".\n"}),
              trace.Lines());
}

TEST(HierarchyFillTest, MissingFileFailsAndEmptyFileSucceeds) {
    TempDir dir;
    pmHierarch h;
    {
        TraceCapture trace;
        EXPECT_FALSE(h.Fill(dir.Path()));
        EXPECT_EQ((std::vector<std::string>{"[pmHierarch.Fill] WARNUNG: Kann Datei \"" +
                                            (dir / "hierarch.pm") +
                                            "\" nicht zum Lesen \xF6"
                                            "ffnen\n"}),
                  trace.Lines());
    }
    ASSERT_TRUE(WriteFile(dir / "hierarch.pm", HierarchyLine(2, "R", "", "Oben")));
    ASSERT_TRUE(h.Fill(dir.Path()));
    EXPECT_EQ(1u, h.Entries().size());
    ASSERT_TRUE(WriteFile(dir / "hierarch.pm", ""));
    TraceCapture trace;
    EXPECT_TRUE(h.Fill(dir.Path()));
    EXPECT_TRUE(h.Entries().empty()) << "a new Fill starts from an empty table";
    EXPECT_EQ(kUnknown, h.ResolvePath("R", false));
    EXPECT_TRUE(trace.Lines().empty());
}

pmHierarch TableOf(const std::string& text) {
    TempDir dir;
    EXPECT_TRUE(WriteFile(dir / "hierarch.pm", text));
    pmHierarch h;
    EXPECT_TRUE(h.Fill(dir.Path()));
    return h;
}

TEST(HierarchyLookupTest, FindsTheFirstEntryIgnoringTheCaseOfAsciiLetters) {
    const pmHierarch h =
        TableOf(HierarchyLine(1, "Abc", "", "erst") + HierarchyLine(1, "ABC", "", "zweit") +
                HierarchyLine(1, "", "", "leer") + HierarchyLine(1, "\xC4x", "", "umlaut") +
                HierarchyLine(1, "", "", "leer2"));
    const struct {
        const char* id;
        int index;
    } cases[] = {{"abc", 0},    {"ABC", 0}, {"aBc", 0},   {"", 2},     {"\xC4X", 3},
                 {"\xE4x", -1}, {"ab", -1}, {"abcd", -1}, {"Abc ", -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.index, h.FindIndex(c.id)) << c.id;
    }
}

TEST(HierarchyLookupTest, IndexAgreesWithALinearSearchOnRandomTables) {
    // Identifiers from a tiny alphabet, so that many differ only in case or repeat.
    std::mt19937 random(20240229);
    const char alphabet[] = {'a', 'A', 'b', 'B', '1', '\xE4', '\xC4'};
    auto randomId = [&] {
        std::string id;
        const int length = static_cast<int>(random() % 4);
        for (int i = 0; i < length; ++i) {
            id += alphabet[random() % sizeof alphabet];
        }
        return id;
    };
    auto fold = [](std::string s) {
        for (char& c : s) {
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        return s;
    };
    for (int round = 0; round < 50; ++round) {
        std::string text;
        for (int i = 0; i < 30; ++i) {
            text += "1,0,\"" + randomId() + "\",p,n\n";
        }
        const pmHierarch h = TableOf(text);
        ASSERT_EQ(30u, h.Entries().size());
        for (int probe = 0; probe < 40; ++probe) {
            const std::string id = randomId();
            int linear = -1;
            for (size_t i = 0; i < h.Entries().size() && linear < 0; ++i) {
                if (fold(h.Entries()[i].id) == fold(id)) {
                    linear = static_cast<int>(i);
                }
            }
            ASSERT_EQ(linear, h.FindIndex(id)) << id;
        }
    }
}

TEST(HierarchyLookupTest, IdentifiersChosenForOneFixedHashStillTakeAFewProbes) {
    // Identifiers of one 32-bit FNV-1a value, as the index once hashed them: there they
    // all fell into one run of slots, each insertion and look-up walking along it.
    const std::vector<std::string> ids = mailgen::FnvFloodIdentifiers(12);
    std::string text = HierarchyLine(2, "R", "", "Oben");
    for (const std::string& id : ids) {
        ASSERT_EQ(mailgen::FoldedFnv1a(id), mailgen::FoldedFnv1a(ids[0]));
        text += HierarchyLine(0, id, "R", "Flut");
    }
    const pmHierarch h = TableOf(text);
    EXPECT_LT(h.LongestProbe(), 200u); // a few dozen at most, against 4 096
    for (size_t i = 0; i < ids.size(); i += 97) {
        std::string upper = ids[i];
        for (char& c : upper) {
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        EXPECT_EQ(h.FindIndex(upper), static_cast<int>(i + 1));
    }
}

TEST(HierarchyPathTest, BuildsTheParentPathOfTheWorkedExample) {
    const pmHierarch h =
        TableOf(HierarchyLine(2, "R", "", "Oben") + HierarchyLine(0, "T", "R", "Archiv") +
                HierarchyLine(7, "F", "T", "Kunden") + HierarchyLine(1, "O", "GONE", "Waise") +
                HierarchyLine(1, "f", "R", "Doppelt"));
    const struct {
        const char* id;
        bool withOwnName;
        std::string path;
    } cases[] = {
        {"F", false, "\\Archiv\\"},
        {"f", true, "\\Archiv\\Kunden"},
        {"T", false, "\\"},
        {"T", true, "\\Archiv"},
        {"R", false, ""},
        {"R", true, ""},
        {"X", false, kUnknown},
        {"X", true, kUnknown},
        {"O", false, kUnknown + "\\"},
        {"O", true, kUnknown + "\\Waise"},
        {"", false, kUnknown},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.path, h.ResolvePath(c.id, c.withOwnName)) << c.id << " " << c.withOwnName;
    }
}

TEST(HierarchyPathTest, AnEmptyIdentifierFindsTheFirstEntryWithoutOne) {
    const pmHierarch h =
        TableOf(HierarchyLine(2, "R", "", "Oben") + HierarchyLine(1, "", "R", "Namenlos") +
                HierarchyLine(1, "", "X", "Zweiter"));
    EXPECT_EQ("\\", h.ResolvePath("", false));
    EXPECT_EQ("\\Namenlos", h.ResolvePath("", true));
}

TEST(HierarchyPathTest, LoopsEndWithTheUnknownMarkBeforeTheNamesOnTheWay) {
    const pmHierarch h =
        TableOf(HierarchyLine(1, "SELF", "self", "Selbst") + HierarchyLine(1, "A", "B", "Ah") +
                HierarchyLine(1, "B", "A", "Be") + HierarchyLine(1, "C", "D", "Ce") +
                HierarchyLine(1, "D", "E", "De") + HierarchyLine(1, "E", "C", "Eh") +
                HierarchyLine(1, "LEAF", "C", "Blatt") + HierarchyLine(2, "R", "R", "Wurzel"));
    const struct {
        const char* id;
        bool withOwnName;
        std::string path;
    } cases[] = {
        {"SELF", false, kUnknown + "\\"},
        {"SELF", true, kUnknown + "\\Selbst"},
        {"A", false, kUnknown + "\\Be\\"},
        {"B", true, kUnknown + "\\Ah\\Be"},
        {"C", true, kUnknown + "\\Eh\\De\\Ce"},
        {"LEAF", false, kUnknown + "\\Eh\\De\\Ce\\"},
        {"R", true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.path, h.ResolvePath(c.id, c.withOwnName)) << c.id;
    }
}

TEST(HierarchyPathTest, APathOfTheBoundStaysWholeAndALongerOneKeepsItsEnd) {
    const size_t bound = pmHierarch::kMaxPathLength;
    const std::string fits = "a" + std::string(bound - 3, 'f');  // "\" name "\": the bound
    const std::string over = "bc" + std::string(bound - 3, 'o'); // one character more
    const pmHierarch h =
        TableOf(HierarchyLine(2, "R", "", "Wurzel") + HierarchyLine(1, "A", "R", fits) +
                HierarchyLine(1, "FA", "A", "x") + HierarchyLine(1, "B", "R", over) +
                HierarchyLine(1, "FB", "B", "y"));
    EXPECT_EQ("\\" + fits + "\\", h.ResolvePath("FA", false));
    // The ellipsis takes the place of the backslash and the first letter.
    EXPECT_EQ("\x85" + over.substr(1) + "\\", h.ResolvePath("FB", false));
    EXPECT_EQ("\x85" + over.substr(2) + "\\y", h.ResolvePath("FB", true));
    EXPECT_EQ("\x85" + fits.substr(1) + "\\x", h.ResolvePath("FA", true));
}

// The end of `path` as the table gives it past its bound.
std::string Bounded(std::string path) {
    KeepPathEnd(path, pmHierarch::kMaxPathLength);
    return path;
}

TEST(HierarchyPathTest, DeepChainsAndLongLoopsGiveTheEndOfTheirPath) {
    // 100 000 entries, each inside the next: a recursive walk would need a stack
    // frame per level, and the whole path would be 700 000 characters.
    const int depth = 100000;
    std::string text = HierarchyLine(2, "root", "", "Wurzel");
    std::string expected;
    for (int i = 0; i < depth; ++i) {
        const std::string parent = i + 1 < depth ? "n" + std::to_string(i + 1) : "root";
        text += "1,0,n" + std::to_string(i) + "," + parent + ",N" + std::to_string(i) + "\n";
    }
    for (int i = depth - 1; i >= 1; --i) {
        expected += "\\N" + std::to_string(i);
    }
    const pmHierarch chain = TableOf(text);
    const std::string path = chain.ResolvePath("N0", false);
    EXPECT_EQ(pmHierarch::kMaxPathLength, path.size());
    EXPECT_EQ("\x85" + expected.substr(expected.size() - (pmHierarch::kMaxPathLength - 2)) + "\\",
              path);
    EXPECT_EQ(Bounded(expected + "\\N0"), chain.ResolvePath("n0", true));

    // The same chain closed into a loop: its top entry names the bottom one as parent.
    const std::string top = "n" + std::to_string(depth - 1);
    const size_t at = text.rfind("," + top + ",root,");
    ASSERT_NE(std::string::npos, at);
    text.replace(at, top.size() + 7, "," + top + ",n0,");
    const pmHierarch loop = TableOf(text);
    EXPECT_EQ(Bounded(kUnknown + expected + "\\"), loop.ResolvePath("n0", false));
}

} // namespace
