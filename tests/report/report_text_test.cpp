// The pieces of a report: options, the conversion to UTF-8, the status line and the
// two layouts, on catalogues built by hand.
#include "report/report_options.h"
#include "report/report_text.h"

#include "mailbox_fixtures.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using report::ReportOptions;

TEST(ReportOptionsTest, ReadsEveryOptionAndRefusesWhatItDoesNotKnow) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        int sortColumn;
        bool descending;
    } cases[] = {
        {{"--mailbox", "m"}, true, 2, false},
        {{"--mailbox", "m", "--sort", "name", "--desc"}, true, 0, true},
        {{"--sort", "size", "--mailbox", "m"}, true, 1, false},
        {{"--mailbox", "m", "--sort", "folder", "--sort", "size"}, true, 1, false},
        {{}, false, 0, false},
        {{"--mailbox"}, false, 0, false},
        {{"--mailbox", ""}, false, 0, false},
        {{"--mailbox", "m", "--sort"}, false, 0, false},
        {{"--mailbox", "m", "--sort", "Size"}, false, 0, false},
        {{"--mailbox", "m", "--newmail"}, false, 0, false},
        {{"--mailbox", "m", "--tsv=1"}, false, 0, false},
        {{"--mailbox", "m", "extra"}, false, 0, false},
        {{"--exact"}, false, 0, false},
    };
    for (const Case& c : cases) {
        ReportOptions options;
        std::string error;
        const bool ok = report::ParseReportOptions(static_cast<int>(c.args.size()), c.args.data(),
                                                   options, error);
        std::string joined;
        for (const char* a : c.args) {
            joined += std::string(a) + " ";
        }
        EXPECT_EQ(c.ok, ok) << joined;
        EXPECT_EQ(c.ok, error.empty()) << joined << ": " << error;
        if (ok) {
            EXPECT_EQ(c.sortColumn, options.sortColumn) << joined;
            EXPECT_EQ(c.descending, options.sortDescending) << joined;
        }
    }
}

// Every refusal in German and naming what it refuses, never the library's English.
TEST(ReportOptionsTest, RefusalsAreGermanAndNameTheArgument) {
    const struct {
        std::vector<const char*> args;
        const char* error;
    } cases[] = {
        {{"--mailbox", "m", "--format", "xml"}, "Das Format \"xml\" ist unbekannt."},
        {{"--mailbox", "m", "--sort", "Size"}, "Die Sortierspalte \"Size\" ist unbekannt."},
        {{"--mailbox", "m", "--sort"}, "Nach --sort fehlt der Wert."},
        {{"--mailbox", ""}, "Nach --mailbox fehlt der Wert."},
        {{"--mailbox", "m", "--farbe", "rot"}, "Die Option \"--farbe\" ist unbekannt."},
        {{"--mailbox", "-x", "-q"}, "Die Option \"-q\" ist unbekannt."},
        {{"--mailbox", "m", "--nomail=x"}, "Die Option \"--nomail=x\" ist unbekannt."},
        {{"--mailbox", "m", "extra"}, "Das Argument \"extra\" ist unbekannt."},
        {{"--exact"}, "Die Option --mailbox DIR fehlt."},
        {{"--mailbox", "m", "--tsv=1"}, "Die Option \"--tsv=1\" nimmt keinen Wert."},
        {{"--mailbox", "m", "--sort", "change"}, "--sort change braucht --compare EARLIER."},
        {{"--mailbox", "m", "--depth", "-1", "--tree"},
         "Die Tiefe \"-1\" ist keine Zahl von 0 bis 999999999."},
        {{"--mailbox", "m", "--depth", "2"}, "--depth braucht --tree."},
        {{"--mailbox", "m", "--tree", "--format", "json"}, "--tree gibt es nur als text oder tsv."},
        {{"--mailbox", "m", "--min-size", "1,5 XB"},
         "Die Gr\xF6\xDF"
         "e \"1,5 XB\" ist keine Gr\xF6\xDF"
         "e wie \"10 MB\" oder \"1,5 GB\"."},
        {{"--mailbox", "m", "--match", ""}, "Nach --match fehlt der Wert."},
    };
    for (const auto& c : cases) {
        ReportOptions options;
        std::string error;
        EXPECT_FALSE(report::ParseReportOptions(static_cast<int>(c.args.size()), c.args.data(),
                                                options, error))
            << c.error;
        EXPECT_EQ(c.error, error);
    }
}

TEST(ReportOptionsTest, FlagsAndDirectoriesArriveAsGiven) {
    const char* args[] = {"--newmail", "n/",      "--no-paths", "--exact",
                          "--tsv",     "--trace", "--mailbox",  "m"};
    ReportOptions options;
    std::string error;
    ASSERT_TRUE(report::ParseReportOptions(8, args, options, error)) << error;
    EXPECT_EQ("m", options.mailboxDir);
    EXPECT_EQ("n/", options.newmailDir);
    EXPECT_TRUE(options.includeNewMail);
    EXPECT_FALSE(options.resolvePaths);
    EXPECT_TRUE(options.exactSizes && options.format == report::ReportFormat::kTsv &&
                options.trace);
    const char* help[] = {"--help"};
    ASSERT_TRUE(report::ParseReportOptions(1, help, options, error));
    EXPECT_TRUE(options.help);
}

TEST(ReportTextTest, Windows1252BecomesUtf8ByteForByte) {
    struct Case {
        std::string cp1252;
        std::string utf8;
    } cases[] = {
        {"Ordnername", "Ordnername"},
        {"Gr\xF6\xDF"
         "e",
         "Gr\xC3\xB6\xC3\x9F"
         "e"},
        {"\xC4\xD6\xDC\xE4\xF6\xFC", "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC"},
        {"\x80", "\xE2\x82\xAC"}, // euro sign
        {"\x81", "\xC2\x81"},     // undefined: the control character of that number
        {"\x8A", "\xC5\xA0"},     // S with caron
        {"\x9F", "\xC5\xB8"},     // Y with diaeresis
        {"\x96\x97", "\xE2\x80\x93\xE2\x80\x94"},
        {"\xA0\xFF", "\xC2\xA0\xC3\xBF"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.utf8, report::Utf8FromCp1252(c.cp1252));
    }
}

TEST(ReportTextTest, AlignedColumnsPadNamesAndRightAlignSizes) {
    const FolderCatalogue catalogue = fixtures::CatalogueOf({
        fixtures::Record("ARCHIV.PMM", "\\",
                         "Gr\xF6\xDF"
                         "en",
                         1536),
        fixtures::Record("*.CNM", "", "<Posteingang>", 1),
        fixtures::Record("b.MBX",
                         "\\Gr\xF6\xDF"
                         "en\\",
                         "Kunden", 123456789),
    });
    ReportOptions options;
    EXPECT_EQ("Dateiname      Gr\xC3\xB6\xC3\x9F"
              "e  Ordnername\n"
              "*.CNM         1 Byte  <Posteingang>\n"
              "ARCHIV.PMM    1,5 kB  \\Gr\xC3\xB6\xC3\x9F"
              "en\n"
              "b.MBX       117,7 MB  \\Gr\xC3\xB6\xC3\x9F"
              "en\\Kunden\n"
              "3 Dateien, 117,7 MB (123.458.326 Bytes)\n",
              report::FormatReport(catalogue, options));
}

TEST(ReportTextTest, AFilterShowsItsRowsAndSaysWhatIsShownOfAll) {
    const FolderCatalogue catalogue = fixtures::CatalogueOf({
        fixtures::Record("A.PMM", "\\Archiv\\", "2019", 3000),
        fixtures::Record("B.PMM", "\\Archiv\\", "2020", 1000),
        fixtures::Record("C.PMM", "\\Kunden\\", "Archiv alt", 5000),
        fixtures::Record("D.PMM", "\\", "Klein", 10),
    });
    const char* args[] = {"--mailbox", "m",          "--match", "ARCHIV", "--exclude",
                          "alt",       "--min-size", "1,5 kB",  "--tsv",  "--exact"};
    ReportOptions options;
    std::string error;
    ASSERT_TRUE(report::ParseReportOptions(10, args, options, error)) << error;
    EXPECT_EQ("Dateiname\tGr\xC3\xB6\xC3\x9F"
              "e\tOrdnername\n"
              "A.PMM\t3.000\t\\Archiv\\2019\n"
              "1 von 4 Dateien, 2,9 kB von 8,8 kB (3.000 von 9.010 Bytes)\n",
              report::FormatReport(catalogue, options));
    options.format = report::ReportFormat::kJson;
    const std::string json = report::FormatReport(catalogue, options);
    EXPECT_NE(std::string::npos, json.find("\"files\":4,\"size\":9010,\"shownFiles\":1,"
                                           "\"shownSize\":3000,"))
        << json;
}

TEST(ReportTextTest, TabSeparatedRowsKeepOneLineEach) {
    const FolderCatalogue catalogue = fixtures::CatalogueOf({
        fixtures::Record("a.PMM", "<?\?\?>", "Tab\there", 5),
        fixtures::Record("B.PMM", "\\", "Zeile\r\nzwei", 1024),
    });
    ReportOptions options;
    options.format = report::ReportFormat::kTsv;
    options.exactSizes = true;
    options.sortColumn = 1;
    options.sortDescending = true;
    EXPECT_EQ("Dateiname\tGr\xC3\xB6\xC3\x9F"
              "e\tOrdnername\n"
              "B.PMM\t1.024\t\\Zeile??zwei\n"
              "a.PMM\t5\t<?\?\?>Tab?here\n"
              "2 Dateien, 1,0 kB (1.029 Bytes)\n",
              report::FormatReport(catalogue, options));
}

TEST(ReportTextTest, RowsSortLikeTheList) {
    const FolderCatalogue catalogue = fixtures::CatalogueOf({
        fixtures::Record("c.PMM", "\\", "kunden", 7),
        fixtures::Record("A.PMM", "\\", "Kunden", 7),
        fixtures::Record("b.PMM", "\\", "\xC4rzte", 1),
        fixtures::Record("d.PMM", "\\", "zoo", 1),
    });
    const report::OrderedRows rows = report::InScanOrder(catalogue.records);
    const auto names = [&](int column, bool descending) {
        std::string joined;
        for (const uint32_t i : report::SortRowIndexes(rows.rows, column, descending)) {
            joined += catalogue.records[i].fileName.substr(0, 1);
        }
        return joined;
    };
    EXPECT_EQ("Acdb", names(2, false));
    EXPECT_EQ("bdcA", names(2, true));
    EXPECT_EQ("bdAc", names(1, false));
    EXPECT_EQ("Abcd", names(0, false));
}

} // namespace

namespace {

// Code points of Windows-1252 bytes 0x80..0x9F, written out again for the test.
const unsigned kHigh[32] = {0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021,
                            0x2C6,  0x2030, 0x160,  0x2039, 0x152,  0x8D,   0x17D,  0x8F,
                            0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};

std::vector<unsigned> Decode(const std::string& utf8) {
    std::vector<unsigned> codes;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : (b < 0xE0 ? 2 : 3);
        unsigned code = n == 1 ? b : (n == 2 ? b & 0x1F : b & 0x0F);
        for (int k = 1; k < n && i + k < utf8.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        codes.push_back(code);
        i += static_cast<size_t>(n);
    }
    return codes;
}

TEST(ReportTextTest, RandomBytesConvertOneCodePointEach) {
    std::mt19937 random(8086);
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 40, '\0');
        for (char& c : text) {
            // Mostly printable ASCII, so long plain runs occur, with every byte possible.
            c = static_cast<char>(random() % 4 ? 0x20 + random() % 0x5F : random() % 256);
        }
        const std::vector<unsigned> codes = Decode(report::Utf8FromCp1252(text));
        ASSERT_EQ(text.size(), codes.size());
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned byte = static_cast<unsigned char>(text[i]);
            EXPECT_EQ(byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte, codes[i]);
        }
    }
}

TEST(ReportTextTest, RandomNamesKeepEveryRowOnOneLineWithTwoTabs) {
    std::mt19937 random(1999);
    std::vector<FolderRecord> rows;
    for (int i = 0; i < 300; ++i) {
        std::string name(random() % 30, '\0');
        for (char& c : name) {
            c = static_cast<char>(random() % 3 ? 0x20 + random() % 0x5F : random() % 256);
        }
        rows.push_back(fixtures::Record("x.PMM", "\\", name.c_str(), random() % 5000));
    }
    ReportOptions options;
    options.format = report::ReportFormat::kTsv;
    const std::string out = report::FormatReport(fixtures::CatalogueOf(rows), options);
    size_t lines = 0;
    size_t tabs = 0;
    for (char c : out) {
        const unsigned char u = static_cast<unsigned char>(c);
        ASSERT_TRUE(u >= 0x20 || c == '\t' || c == '\n') << "control byte " << u;
        tabs += c == '\t';
        lines += c == '\n';
    }
    EXPECT_EQ(rows.size() + 2, lines);
    EXPECT_EQ(2 * (rows.size() + 1), tabs);
}

} // namespace

namespace {

// Names read back from an earlier JSON report: every Windows-1252 byte survives the way
// there and back; what Windows-1252 cannot hold, or what is not UTF-8, becomes '?'.
TEST(ReportTextTest, EveryByteComesBackFromUtf8AndStrangersBecomeQuestionMarks) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(all, report::Cp1252FromUtf8(report::Utf8FromCp1252(all)));
    EXPECT_EQ("a?b", report::Cp1252FromUtf8("a\xE2\x82\xAD"
                                            "b"));              // U+20AD, not in 1252
    EXPECT_EQ("?x", report::Cp1252FromUtf8("\xC3x"));           // cut sequence
    EXPECT_EQ("?", report::Cp1252FromUtf8("\xF0\x9F\x98\x80")); // beyond the BMP
    EXPECT_EQ("??", report::Cp1252FromUtf8("\xFF\xC0"));        // never UTF-8
    EXPECT_EQ("\x80", report::Cp1252FromUtf8("\xE2\x82\xAC"));  // the euro sign
}

} // namespace
