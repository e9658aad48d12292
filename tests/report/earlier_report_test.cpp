// The reader of earlier reports and the comparison with one: rows read as a stream and
// checked against the library's own document of the same text, the first bad row ending
// the reading before the rest of the file is asked for, and changes of sizes near 2^64.
#include "report/earlier_report.h"
#include "report/report_text.h"
#include "report/row_order.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using report::EarlierReport;

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
constexpr uint64_t kHalf = uint64_t{1} << 63;

// A report source of `head`, then `row` over and over for `rowBytes` bytes, then
// `tail`; counts what was asked for.
struct RepeatedRows {
    std::string head, row, tail;
    uint64_t rowBytes = 0;
    uint64_t handedOut = 0;

    size_t operator()(char* buffer, size_t capacity) {
        size_t n = 0;
        while (n < capacity) {
            const uint64_t at = handedOut + n;
            char c;
            if (at < head.size()) {
                c = head[at];
            } else if (at - head.size() < rowBytes) {
                c = row[(at - head.size()) % row.size()];
            } else if (at - head.size() - rowBytes < tail.size()) {
                c = tail[at - head.size() - rowBytes];
            } else {
                break;
            }
            buffer[n++] = c;
        }
        handedOut += n;
        return n;
    }
};

// `count` rows of random names (some with umlauts as UTF-8), sizes over the whole range,
// some marked removed, some with members our reports carry besides.
json RandomReport(std::mt19937_64& random, size_t count) {
    const char* const pieces[] = {"FOL", "\xC3\xA4", "x", "\\", " ", "\xE2\x82\xAC", "\"", "Q"};
    const auto text = [&](size_t most) {
        std::string s;
        for (size_t n = random() % (most + 1); n > 0; --n) {
            s += pieces[random() % 8];
        }
        return s;
    };
    json rows = json::array();
    for (size_t i = 0; i < count; ++i) {
        json row = {{"fileName", text(4)}, {"size", random() >> (random() % 64)}};
        if (random() % 3) {
            row["folderPath"] = text(12);
        }
        if (random() % 3) {
            row["folderName"] = text(6);
        }
        if (random() % 4 == 0) {
            row["removed"] = random() % 2 == 0;
        }
        if (random() % 4 == 0) {
            row["change"] = -static_cast<int64_t>(random() % 1000);
            row["failure"] = nullptr;
            row["extra"] = {{"a", {1, 2, {{"b", true}}}}};
        }
        rows.push_back(row);
    }
    return {{"mailbox", "C:\\PMAIL"}, {"rows", rows}, {"totals", {{"size", 5}}}};
}

TEST(EarlierReportTest, KeepsTheRowsTheLibrarysOwnDocumentHolds) {
    std::mt19937_64 random(20);
    for (int round = 0; round < 40; ++round) {
        const json document = RandomReport(random, random() % 300);
        const std::string text = document.dump(round % 2 ? 1 : -1);
        EarlierReport earlier;
        earlier.Add("stale", "", "", 1); // poisoned: reading starts afresh
        std::string error = "stale";
        ASSERT_TRUE(report::ParseEarlierReport(text, earlier, error)) << error;
        EXPECT_EQ("", error);
        size_t kept = 0;
        uint64_t total = 0;
        for (const json& row : document["rows"]) {
            if (row.value("removed", false)) {
                continue;
            }
            ASSERT_LT(kept, earlier.RowCount());
            EXPECT_EQ(report::Cp1252FromUtf8(row["fileName"].get<std::string>()),
                      earlier.FileName(kept));
            EXPECT_EQ(report::Cp1252FromUtf8(row.value("folderPath", "")),
                      earlier.FolderPath(kept));
            EXPECT_EQ(report::Cp1252FromUtf8(row.value("folderName", "")),
                      earlier.FolderName(kept));
            EXPECT_EQ(row["size"].get<uint64_t>(), earlier.Size(kept));
            const uint64_t size = row["size"].get<uint64_t>();
            total = size > kMax - total ? kMax : total + size; // stops at the top
            ++kept;
        }
        EXPECT_EQ(kept, earlier.RowCount());
        EXPECT_EQ(total, earlier.TotalSize());
    }
}

TEST(EarlierReportTest, ALaterTwinOfAKeyReplacesTheEarlierOne) {
    const struct {
        const char* text;
        size_t rows;
        const char* fileName;
        uint64_t size;
    } cases[] = {
        {R"({"rows":[{"fileName":7,"fileName":"B","size":"x","size":3}]})", 1, "B", 3},
        {R"({"rows":[{"fileName":"A","size":1,"removed":true,"removed":false}]})", 1, "A", 1},
        {R"({"rows":[{"fileName":"A","size":1,"removed":false,"removed":true}]})", 0, "", 0},
        {R"({"rows":[{"fileName":"A","size":1}],"rows":[{"fileName":"C","size":2}]})", 1, "C", 2},
        {R"({"rows":[{"fileName":"A","size":1}],"rows":[]})", 0, "", 0},
        {R"({"rows":[{"fileName":"A","size":4,"x":{"size":9,"fileName":"Z"}}]})", 1, "A", 4},
        {R"({"x":{"rows":[1]},"rows":[{"fileName":"A","size":4,"change":5}]})", 1, "A", 4},
    };
    for (const auto& c : cases) {
        EarlierReport earlier;
        std::string error;
        ASSERT_TRUE(report::ParseEarlierReport(c.text, earlier, error)) << c.text << error;
        ASSERT_EQ(c.rows, earlier.RowCount()) << c.text;
        if (c.rows) {
            EXPECT_EQ(c.fileName, earlier.FileName(0)) << c.text;
            EXPECT_EQ(c.size, earlier.Size(0)) << c.text;
        }
    }
}

// Only the report's own members say where it comes from: a row's or the totals' members
// of the same names do not, nor values of another type; a later twin wins.
TEST(EarlierReportTest, TheReportNamesItsMailboxAndHistoryFormat) {
    const struct {
        const char* json;
        const char* mailbox;
        uint64_t format;
    } cases[] = {
        {R"({"mailbox":"C:\\MAIL\\","historyFormat":1,"rows":[]})", "C:\\MAIL\\", 1},
        {R"({"rows":[{"fileName":"A","size":1,"mailbox":"X","historyFormat":9}]})", "", 0},
        {R"({"totals":{"mailbox":"X","historyFormat":3},"rows":[]})", "", 0},
        {R"({"mailbox":"A","rows":[],"mailbox":"B","historyFormat":2})", "B", 2},
        {R"({"mailbox":7,"historyFormat":"1","rows":[]})", "", 0},
        {R"({"mailbox":"A","historyFormat":1,"rows":[],"mailbox":7,"historyFormat":null})", "", 0},
        {R"({"historyFormat":-1,"rows":[]})", "", 0},
        {R"({"mailbox":"Gr\u00fc\u00dfe","rows":[]})",
         "Gr\xFC\xDF"
         "e",
         0},
    };
    for (const auto& c : cases) {
        EarlierReport earlier;
        earlier.SetOrigin("stale", 99);
        std::string error;
        ASSERT_TRUE(report::ParseEarlierReport(c.json, earlier, error)) << c.json << error;
        EXPECT_EQ(earlier.MailboxDir(), c.mailbox) << c.json;
        EXPECT_EQ(earlier.HistoryFormat(), c.format) << c.json;
    }
    EarlierReport refused;
    std::string error;
    EXPECT_FALSE(
        report::ParseEarlierReport(R"({"mailbox":"M","historyFormat":1})", refused, error));
    EXPECT_EQ(refused.MailboxDir(), "");
    EXPECT_EQ(refused.HistoryFormat(), 0u);
}

TEST(EarlierReportTest, RefusalsSayWhatTheDocumentLacks) {
    const std::string deep16 = std::string(16, '[') + std::string(16, ']');
    const std::string deep17 = std::string(17, '[') + std::string(17, ']');
    const std::string rowDeep = R"({"rows":[{"fileName":"A","size":1,"x":)" + std::string(14, '[') +
                                std::string(14, ']') + "}]}";
    const struct {
        std::string text;
        std::string says;
    } cases[] = {
        {"", "ist kein JSON (Fehler bei Byte "},
        {"[1, 2, 3]", "(kein JSON-Objekt)"},
        {"\"rows\"", "(kein JSON-Objekt)"},
        {deep16, "(kein JSON-Objekt)"},
        {deep17, "(zu tief verschachtelt)"},
        {rowDeep, "(zu tief verschachtelt)"},
        {"{}", "(\"rows\" fehlt oder ist keine Liste)"},
        {R"({"rows":{"a":[]}})", "(\"rows\" fehlt oder ist keine Liste)"},
        {R"({"rows":[],"rows":null})", "(\"rows\" fehlt oder ist keine Liste)"},
        {R"({"rows":[]} x)", "ist kein JSON (Fehler bei Byte "},
        {R"({"rows":[{"fileName":"A","size":1},0]})", "hat in Zeile 2 von"},
        {R"({"rows":[{"fileName":"A","size":1},[]]})", "hat in Zeile 2 von"},
        {R"({"rows":[{"fileName":"A"}]})", "hat in Zeile 1 von"},
        {R"({"rows":[{"size":1}]})", "hat in Zeile 1 von"},
        {R"({"rows":[{"fileName":"A","size":1.0}]})", "hat in Zeile 1 von"},
        {R"({"rows":[{"fileName":"A","size":-0}]})", "hat in Zeile 1 von"},
        {R"({"rows":[{"fileName":"A","size":18446744073709551616}]})", "hat in Zeile 1 von"},
        {R"({"rows":[{"fileName":"A","size":1,"removed":1}]})", "hat in Zeile 1 von"},
        {R"({"rows":[{"fileName":"A","size":1,"removed":true},{"fileName":["A"],"size":1}]})",
         "hat in Zeile 2 von"},
        {R"({"rows":[{"fileName":"A","size":1,"folderPath":null}]})", "hat in Zeile 1 von"},
        {R"({"rows":[{"fileName":"A","size":1,"folderName":{}}]})", "hat in Zeile 1 von"},
    };
    for (const auto& c : cases) {
        EarlierReport earlier;
        std::string error;
        EXPECT_FALSE(report::ParseEarlierReport(c.text, earlier, error)) << c.text;
        EXPECT_EQ(0u, earlier.RowCount()) << c.text;
        EXPECT_NE(std::string::npos, error.find(c.says)) << c.text << ": " << error;
    }
    // Not JSON: in German, at the byte where the library's document parser stops too.
    for (const char* text : {"", "{\"rows\":[}", "{\"rows\":[{\"fileName\":\"\xFF\"}]}", "[1,"}) {
        std::string expected;
        try {
            const json document = json::parse(text);
            static_cast<void>(document); // refused before it is built
        } catch (const json::parse_error& e) {
            expected = "ist kein JSON (Fehler bei Byte " + std::to_string(e.byte) + ")";
        }
        EarlierReport earlier;
        std::string error;
        EXPECT_FALSE(report::ParseEarlierReport(text, earlier, error));
        EXPECT_EQ(expected, error) << text;
    }
}

TEST(EarlierReportTest, TheFirstBadRowEndsTheReadingOfAHugeReport) {
    const struct {
        const char* row;
        const char* says;
    } cases[] = {
        {"{},", "hat in Zeile 4 von"},
        {"0,", "hat in Zeile 4 von"},
        {"[],", "hat in Zeile 4 von"},
        {R"({"fileName":"A","size":-1},)", "hat in Zeile 4 von"},
        {R"({"x":[[[[[[[[[[[[[[)", "(zu tief verschachtelt)"},
    };
    for (const auto& c : cases) {
        RepeatedRows source;
        source.head = R"({"rows":[)" + std::string(3, ' ');
        for (int i = 0; i < 3; ++i) {
            source.head += R"({"fileName":"FOL00001.PMM","size":1234},)";
        }
        source.row = c.row;
        source.rowBytes = 60ull << 20;
        source.tail = "{}]}";
        EarlierReport earlier;
        std::string error;
        EXPECT_FALSE(report::ParseEarlierReport(std::ref(source), earlier, error)) << c.row;
        EXPECT_NE(std::string::npos, error.find(c.says)) << c.row << ": " << error;
        EXPECT_EQ(0u, earlier.RowCount());
        EXPECT_LT(source.handedOut, 1u << 20) << c.row;
    }
}

TEST(EarlierReportTest, AStreamLongerThanTheBoundIsTooLarge) {
    // A smaller bound than the real one, so that the sanitizers' build checks it quickly.
    const uint64_t bound = 300000;
    for (const uint64_t length : {bound - 1, bound, bound + 1, 3 * bound}) {
        RepeatedRows source;
        source.head = R"({"rows":[{"fileName":"A","size":1}])";
        source.row = " ";
        source.rowBytes = length - source.head.size() - 1;
        source.tail = "}";
        EarlierReport earlier;
        std::string error;
        const bool ok = report::ParseEarlierReport(std::ref(source), earlier, error, bound);
        EXPECT_EQ(length <= bound, ok) << length << ": " << error;
        EXPECT_EQ(length <= bound ? "" : "ist zu gro\xDF (mehr als 64 MiB)", error) << length;
        EXPECT_EQ(length <= bound ? 1u : 0u, earlier.RowCount());
        EXPECT_LE(source.handedOut, bound + 65536) << length;
    }
}

TEST(ByteChangeTest, ChangesKeepSignAndMagnitudeUpTo64Bits) {
    const struct {
        uint64_t now, then;
        bool negative;
        uint64_t magnitude;
        const char* digits;
    } cases[] = {
        {0, 0, false, 0, "0"},
        {5, 5, false, 0, "0"},
        {1300, 300, false, 1000, "1000"},
        {300, 1300, true, 1000, "-1000"},
        {0, kHalf - 1, true, kHalf - 1, "-9223372036854775807"},
        {0, kHalf, true, kHalf, "-9223372036854775808"},
        {0, kHalf + 1, true, kHalf + 1, "-9223372036854775809"},
        {0, kMax, true, kMax, "-18446744073709551615"},
        {kMax, 0, false, kMax, "18446744073709551615"},
        {1, kMax, true, kMax - 1, "-18446744073709551614"},
        {kMax, kMax, false, 0, "0"},
    };
    for (const auto& c : cases) {
        const ByteChange change = ChangeBetween(c.now, c.then);
        EXPECT_EQ(c.negative, change.negative) << c.digits;
        EXPECT_EQ(c.magnitude, change.magnitude) << c.digits;
        EXPECT_EQ(c.digits, ChangeDigits(change));
    }
    std::mt19937_64 random(63);
    for (int i = 0; i < 10000; ++i) {
        const uint64_t now = random() >> (random() % 64), then = random() >> (random() % 64);
        const ByteChange change = ChangeBetween(now, then);
        EXPECT_EQ(now < then, change.negative);
        EXPECT_EQ(now, change.negative ? then - change.magnitude : then + change.magnitude);
    }
}

TEST(ByteChangeTest, RemovedAndShrunkRowsOfHugeSizesCountMinusTheirWholeSize) {
    EarlierReport earlier;
    earlier.Add("GONE1.PMM", "\\A\\", "Eins", kHalf);
    earlier.Add("GONE2.PMM", "\\A\\", "Zwei", kMax);
    earlier.Add("SHRUNK.PMM", "", "Drei", kMax);
    earlier.Add("GREW.PMM", "", "Vier", 0);
    earlier.Add("gone3.pmm", "", "F\xFCnf", kHalf - 1);
    std::vector<FolderRecord> current(3);
    current[0].fileName = "shrunk.pmm";
    current[0].size = 1;
    current[1].fileName = "GREW.PMM";
    current[1].size = kMax;
    current[2].fileName = "NEW.PMM";
    current[2].size = kHalf;
    report::ComparedRows compared;
    report::CompareRows(current, 5, earlier, compared);
    ASSERT_EQ(6u, compared.RowCount());
    const std::vector<std::string> digits = {"-18446744073709551614", "18446744073709551615",
                                             "9223372036854775808",   "-9223372036854775808",
                                             "-18446744073709551615", "-9223372036854775807"};
    for (size_t i = 0; i < digits.size(); ++i) {
        EXPECT_EQ(digits[i], ChangeDigits(compared.changes[i].bytes)) << i;
    }
    EXPECT_EQ(RowChange::kNew, compared.changes[2].kind);
    EXPECT_EQ("entfernt", ChangeText(compared.changes[3], false));
    EXPECT_EQ("F\xFCnf", compared.Fields(5).folderName);
    EXPECT_EQ("\\A\\", compared.Fields(4).folderPath);
    EXPECT_EQ(0u, compared.Fields(4).size);
    EXPECT_EQ("-16777216,0 TB",
              ChangeText({RowChange::kChanged, compared.changes[0].bytes}, false));
    // By change: the largest loss first, the largest gain last.
    const std::vector<uint32_t> order =
        report::SortRowIndexes(compared, report::kSortChange, false);
    EXPECT_EQ((std::vector<uint32_t>{4, 0, 3, 5, 2, 1}), order);
    const std::vector<uint32_t> descending =
        report::SortRowIndexes(compared, report::kSortChange, true);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 5, 3, 0, 4}), descending);
}

TEST(ByteChangeTest, TwinsMatchTheFirstEarlierRowOnceInAnyLetterCase) {
    EarlierReport earlier;
    earlier.Add("A.PMM", "", "eins", 10);
    earlier.Add("a.pmm", "", "zwei", 20);
    earlier.Add("B.PMM", "", "drei", 30);
    std::vector<FolderRecord> current(3);
    current[0].fileName = "a.PMM";
    current[0].size = 15;
    current[1].fileName = "A.pmm";
    current[1].size = 25;
    current[2].fileName = "\xC4.PMM"; // no case fold beyond ASCII
    current[2].size = 1;
    report::ComparedRows compared;
    report::CompareRows(current, 41, earlier, compared);
    ASSERT_EQ(5u, compared.RowCount());
    EXPECT_EQ("5", ChangeDigits(compared.changes[0].bytes));
    EXPECT_EQ(RowChange::kNew, compared.changes[1].kind);
    EXPECT_EQ(RowChange::kNew, compared.changes[2].kind);
    EXPECT_EQ("zwei", compared.Fields(3).folderName);
    EXPECT_EQ("drei", compared.Fields(4).folderName);
    EXPECT_EQ("-19", ChangeDigits(compared.totalChange));
}

// Hiding the new mail is a choice of the view: the earlier new-mail row is not gone.
// Shown again, it is compared as any row.
TEST(ByteChangeTest, AnEarlierNewMailRowIsNotGoneWhileTheNewMailIsHidden) {
    EarlierReport earlier;
    earlier.Add("*.CNM", "", "<Posteingang>", 500);
    earlier.Add("A.PMM", "", "eins", 10);
    earlier.Add("B.PMM", "", "zwei", 20);
    std::vector<FolderRecord> current(1);
    current[0].fileName = "A.PMM";
    current[0].size = 10;
    report::ComparedRows compared;
    report::CompareRows(current, 10, earlier, compared);
    ASSERT_EQ(2u, compared.RowCount()) << "A, and B gone";
    EXPECT_EQ("B.PMM", compared.Fields(1).fileName);
    EXPECT_EQ(RowChange::kRemoved, compared.changes[1].kind);

    current.insert(current.begin(), FolderRecord());
    current[0].fileName = "*.CNM";
    current[0].size = 800;
    report::CompareRows(current, 810, earlier, compared);
    ASSERT_EQ(3u, compared.RowCount());
    EXPECT_EQ(RowChange::kChanged, compared.changes[0].kind);
    EXPECT_EQ("300", ChangeDigits(compared.changes[0].bytes));
}

} // namespace
