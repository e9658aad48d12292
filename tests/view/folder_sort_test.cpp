// The folder list's order: the folded text comparison, the numeric size column and the
// tie-break over the display order, as the user sees them after a header click.
#include "view/folder_compare.h"
#include "view/sort_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using view::ColumnSort;
using view::CompareFoldedText;
using view::CompareFolderItems;
using view::FolderFields;
using view::SortCompare;

int Sign(int r) {
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

TEST(FolderCompareTest, TextsCompareWithAsciiLettersFoldedAndOtherBytesByValue) {
    struct Case {
        std::string a;
        std::string b;
        int expected;
    } cases[] = {
        {"a.PMM", "A.PMM", 0},
        {"ARCHIV.MBX", "archiv.mbx", 0},
        {"\xC4", "z", 1},    // "Ä" after "z"
        {"\xC4", "Z", 1},    // and after "Z"
        {"\xE4", "\xC4", 1}, // umlauts do not fold: "ä" after "Ä"
        {"_x", "Ax", -1},    // '_' sorts before every letter, as 'a' > '_'
        {"[", "a", -1},
        {"abc", "abcd", -1}, // common prefix: the shorter first
        {"", "a", -1},
        {"", "", 0},
        {"b", "ab", 1},
        {"x\x01", "x", 1},
        {"\xFF", "\x7F", 1}, // bytes compare unsigned
        {"Kunden", "kunden2", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CompareFoldedText(c.a, c.b)) << c.a << " vs " << c.b;
        EXPECT_EQ(-c.expected, CompareFoldedText(c.b, c.a)) << c.b << " vs " << c.a;
    }
}

// Folds a copy and compares the copies: the plain statement of the rule.
int ReferenceCompare(std::string a, std::string b) {
    for (std::string* s : {&a, &b}) {
        for (char& c : *s) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
    }
    const int r = a.compare(b); // char_traits<char> compares bytes as unsigned
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

TEST(FolderCompareTest, RandomTextsAndSplitsCompareAsTheFoldedCopies) {
    static const char kAlphabet[] = "aAbBzZ_\\\xC4\xE4\x7F\x80 ";
    std::mt19937 random(31337);
    const auto text = [&](std::string prefix) {
        const size_t n = random() % 24;
        for (size_t i = 0; i < n; ++i) {
            prefix.push_back(kAlphabet[random() % (sizeof kAlphabet - 1)]);
        }
        return prefix;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string common = text("");
        const std::string a = text(common);
        const std::string b = round % 7 == 0 ? a : text(common);
        const int expected = ReferenceCompare(a, b);
        EXPECT_EQ(expected, CompareFoldedText(a, b)) << a << " vs " << b;
        std::string keyA, keyB;
        view::AppendFolded(keyA, a);
        view::AppendFolded(keyB, b);
        EXPECT_EQ(expected, Sign(keyA.compare(keyB))) << "folded keys of " << a << ", " << b;
        const size_t sa = random() % (a.size() + 1);
        const size_t sb = random() % (b.size() + 1);
        EXPECT_EQ(expected, CompareFoldedText(
                                std::string_view(a).substr(0, sa), std::string_view(a).substr(sa),
                                std::string_view(b).substr(0, sb), std::string_view(b).substr(sb)))
            << a << " vs " << b << " split " << sa << "/" << sb;
    }
}

TEST(FolderCompareTest, FolderColumnComparesPathAndNameAsOneText) {
    struct Case {
        FolderFields a;
        FolderFields b;
        int expected;
    } cases[] = {
        {{"", "\\a", "bc", 0}, {"", "\\ab", "c", 0}, 0},
        {{"", "\\Archiv\\", "Kunden", 0}, {"", "\\archiv\\", "kunden", 0}, 0},
        {{"", "\\Archiv\\", "", 0}, {"", "\\Archiv\\", "A", 0}, -1},
        {{"", "", "<Posteingang>", 0}, {"", "\\", "Eingang", 0}, -1},
        {{"", "<?\?\?>", "x", 0}, {"", "\\", "x", 0}, -1},
        {{"", "\\Z\\", "a", 0}, {"", "\\\xC4\\", "a", 0}, -1},
        {{"", "\\A", "", 0}, {"", "\\", "A", 0}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, CompareFolderItems(c.a, c.b, view::kColumnFolderName))
            << c.a.folderPath << c.a.folderName << " vs " << c.b.folderPath << c.b.folderName;
        EXPECT_EQ(-c.expected, CompareFolderItems(c.b, c.a, view::kColumnFolderName));
    }
}

TEST(FolderCompareTest, SizesCompareAsNumbersNotAsText) {
    const FolderFields nine{"a", "", "", 9};
    const FolderFields tenKib{"b", "", "", 10240};
    const FolderFields fiveGib{"c", "", "", 5ull << 30};
    const FolderFields oneGib{"d", "", "", 1ull << 30};
    EXPECT_EQ(-1, CompareFolderItems(nine, tenKib, view::kColumnSize));
    EXPECT_EQ(1, CompareFolderItems(fiveGib, oneGib, view::kColumnSize));
    EXPECT_EQ(0, CompareFolderItems(nine, nine, view::kColumnSize));
    for (int column : {-1, 3, 4, 99}) {
        EXPECT_EQ(0, CompareFolderItems(nine, fiveGib, column)) << column;
    }
}

// Rows that differ in chosen columns; the tests sort them and read back the order.
struct Row {
    const char* label;
    FolderFields fields;
};

std::vector<std::string> SortedLabels(std::vector<Row> rows, const ColumnSort& sort, int tieMode,
                                      std::vector<int> order) {
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        return SortCompare(a, b, sort, tieMode, order.data(), static_cast<int>(order.size()),
                           [](const Row& x, const Row& y, int column) {
                               return CompareFolderItems(x.fields, y.fields, column);
                           }) < 0;
    });
    std::vector<std::string> labels;
    for (const Row& r : rows) {
        labels.push_back(r.label);
    }
    return labels;
}

const std::vector<Row> kRows = {
    {"A", {"b.PMM", "\\", "Kunden", 300}},      {"B", {"a.PMM", "\\", "Kunden", 500}},
    {"C", {"A.MBX", "\\", "kunden", 100}},      {"D", {"c.PMM", "\\", "Archiv", 300}},
    {"E", {"*.CNM", "", "<Posteingang>", 900}},
};

TEST(SortCompareTest, SortsTheCatalogueAsTheListShowsIt) {
    struct Case {
        const char* what;
        ColumnSort sort;
        int tieMode;
        std::vector<int> order;
        std::vector<std::string> expected;
    } cases[] = {
        {"default: folder name, ties by file name then size",
         {2, false},
         1,
         {0, 1, 2},
         {"E", "D", "C", "B", "A"}},
        {"descending turns the tie-break around too",
         {2, true},
         1,
         {0, 1, 2},
         {"A", "B", "C", "D", "E"}},
        {"size ascending, ties from the leftmost column: file name",
         {1, false},
         1,
         {0, 1, 2},
         {"C", "A", "D", "B", "E"}},
        {"size with folder name dragged to the left: ties by folder name first",
         {1, false},
         1,
         {2, 0, 1},
         {"C", "D", "A", "B", "E"}},
        {"tie mode 2 starts after the sort column and wraps: folder, then file name",
         {1, false},
         2,
         {0, 1, 2},
         {"C", "D", "A", "B", "E"}},
        {"tie mode 2 with a reordered display: file name after size",
         {1, false},
         2,
         {2, 1, 0},
         {"C", "A", "D", "B", "E"}},
        {"file name: a.PMM and A.MBX differ, b after a",
         {0, false},
         1,
         {0, 1, 2},
         {"E", "C", "B", "A", "D"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, SortedLabels(kRows, c.sort, c.tieMode, c.order)) << c.what;
    }
}

TEST(SortCompareTest, TiesStayEqualWithoutTieModeOrDisplayOrder) {
    const Row a{"a", {"a.PMM", "", "Same", 1}};
    const Row b{"b", {"A.pmm", "", "same", 2}};
    const int order[] = {0, 1, 2};
    const auto compare = [](const Row& x, const Row& y, int column) {
        return CompareFolderItems(x.fields, y.fields, column);
    };
    EXPECT_EQ(0, SortCompare(a, b, ColumnSort{2, false}, 0, order, 3, compare));
    EXPECT_EQ(0, SortCompare(a, b, ColumnSort{0, false}, 1, order, 0, compare));
    EXPECT_EQ(-1, Sign(SortCompare(a, b, ColumnSort{0, false}, 1, order, 3, compare)));
    EXPECT_EQ(1, Sign(SortCompare(a, b, ColumnSort{0, true}, 1, order, 3, compare)));
    // "a.PMM" and "A.pmm" are equal in the file name column and by folder name, so only
    // the size decides, whichever column the tie-break starts from.
    const int missing[] = {1, 2, 1};
    EXPECT_EQ(-1, Sign(SortCompare(a, b, ColumnSort{0, false}, 2, missing, 3, compare)));
}

TEST(SortCompareTest, TieBreakVisitsEveryOtherColumnOnceInDisplayOrder) {
    struct Case {
        int tieMode;
        int sortColumn;
        std::vector<int> order;
        std::vector<int> visited;
    } cases[] =
        {
            {1, 2, {0, 1, 2}, {2, 0, 1}},    {1, 0, {2, 0, 1}, {0, 2, 1}},
            {2, 1, {0, 1, 2}, {1, 2, 0}},    {2, 0, {2, 1, 0}, {0, 2, 1}},
            {2, 3, {0, 1, 2}, {3, 0, 1, 2}}, // the sort column is not shown: from the left
        };
    for (const Case& c : cases) {
        std::vector<int> visited;
        const int r = SortCompare(1, 2, ColumnSort{c.sortColumn, false}, c.tieMode, c.order.data(),
                                  static_cast<int>(c.order.size()), [&](int, int, int column) {
                                      visited.push_back(column);
                                      return 0;
                                  });
        EXPECT_EQ(0, r);
        EXPECT_EQ(c.visited, visited) << "tie mode " << c.tieMode << ", column " << c.sortColumn;
    }
}

TEST(SortCompareTest, CatalogueRowsSortByTheSameRule) {
    std::vector<FolderRecord> rows(3);
    rows[0].fileName = "b.PMM", rows[0].folderName = "Kunden", rows[0].size = 10;
    rows[1].fileName = "A.pmm", rows[1].folderName = "kunden", rows[1].size = 99;
    rows[2].fileName = "*.CNM", rows[2].folderName = "<Posteingang>", rows[2].size = 5ull << 32;
    const int order[] = {0, 1, 2};
    const auto compare = [](const FolderRecord& a, const FolderRecord& b, int column) {
        return CompareFolderItems(a, b, column);
    };
    std::sort(rows.begin(), rows.end(), [&](const FolderRecord& a, const FolderRecord& b) {
        return SortCompare(a, b, ColumnSort{2, false}, 1, order, 3, compare) < 0;
    });
    EXPECT_EQ("*.CNM", rows[0].fileName);
    EXPECT_EQ("A.pmm", rows[1].fileName);
    std::sort(rows.begin(), rows.end(), [&](const FolderRecord& a, const FolderRecord& b) {
        return SortCompare(a, b, ColumnSort{1, true}, 1, order, 3, compare) < 0;
    });
    EXPECT_EQ("*.CNM", rows[0].fileName) << "5 * 2^32 bytes is the largest";
    EXPECT_EQ("b.PMM", rows[2].fileName);
}

} // namespace
