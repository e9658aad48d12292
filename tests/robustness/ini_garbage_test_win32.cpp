// The INI store on profile files that no run of the program wrote: binary garbage (also
// behind a byte-order mark), lines of a megabyte, and the program's values in every
// section but its own. Reads give the defaults, or the specified cut of a long value;
// values written into such a file read back.
#include "settings/ini_store_win32.h"
#include "settings/program_settings.h"
#include "test_support.h"
#include "view/placement.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

std::string Garbage(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

// The settings a first start works with, by field.
void ExpectDefaults(const ProgramSettings& s) {
    const ProgramSettings defaults;
    EXPECT_EQ(defaults.m_bAutoRefresh, s.m_bAutoRefresh);
    EXPECT_EQ(defaults.m_nAutoRefreshRate, s.m_nAutoRefreshRate);
    EXPECT_EQ(defaults.m_bShowFolderPath, s.m_bShowFolderPath);
    EXPECT_EQ(defaults.m_bWarnFolderPath, s.m_bWarnFolderPath);
    EXPECT_EQ(defaults.m_bMailboxPathManual, s.m_bMailboxPathManual);
    EXPECT_EQ(defaults.m_strMailboxPath, s.m_strMailboxPath);
    EXPECT_EQ(defaults.m_strNewmailPath, s.m_strNewmailPath);
    EXPECT_EQ(defaults.m_bCompactFileSizes, s.m_bCompactFileSizes);
    EXPECT_EQ(defaults.m_bShowNewMailFolder, s.m_bShowNewMailFolder);
}

// The program's values with other than their default values, as INI lines.
const char kOtherValues[] = "AutoRefresh=1\r\nAutoRefreshRate=42\r\nShowFolderPath=0\r\n"
                            "WarnFolderPath=0\r\nMailboxPathManual=1\r\nMailboxPath=C:\\X\\\r\n"
                            "NewmailPath=C:\\Y\\\r\nCompactFileSizes=0\r\nShowNewMailFolder=0\r\n"
                            "Columns=1, 2, 3\r\nColOrder=2, 1, 0\r\n"
                            "Sort=0000000001000000\r\n";

class IniGarbageTest : public ::testing::Test {
protected:
    void Use(const std::string& bytes) {
        ASSERT_TRUE(testsupport::WriteFile(m_strPath, bytes));
        m_store.File().SetPath(m_strPath);
        ASSERT_TRUE(m_store.Open("MainDlg"));
    }

    // Placement, columns and sort read as the main window reads them, over defaults.
    void ExpectWindowDefaults() {
        uint8_t placement[view::kPlacementSize];
        view::DefaultPlacementBytes(placement);
        uint8_t read[view::kPlacementSize];
        std::memcpy(read, placement, sizeof read);
        m_store.ReadBinary("Placement", sizeof read, read, read);
        EXPECT_EQ(0, std::memcmp(placement, read, sizeof read));
        int32_t columns[3] = {110, 70, 240};
        m_store.ReadIntArray("Columns", 3, columns, columns);
        EXPECT_EQ((std::vector<int32_t>{110, 70, 240}), std::vector<int32_t>(columns, columns + 3));
        unsigned char sort[8] = {2, 0, 0, 0, 0, 0, 0, 0};
        const unsigned char defaultSort[8] = {2, 0, 0, 0, 0, 0, 0, 0};
        m_store.ReadBinary("Sort", sizeof sort, sort, sort);
        EXPECT_EQ(0, std::memcmp(defaultSort, sort, sizeof sort));
    }

    // What is written now reads back, whatever the file held before.
    void ExpectWritesReadBack() {
        ProgramSettings changed;
        changed.m_bAutoRefresh = true;
        changed.m_nAutoRefreshRate = 77;
        changed.m_strMailboxPath = "D:\\Post\\";
        changed.m_bShowNewMailFolder = false;
        changed.Save(m_store);
        ProgramSettings read;
        read.Load(m_store);
        EXPECT_TRUE(read.m_bAutoRefresh);
        EXPECT_EQ(77, read.m_nAutoRefreshRate);
        EXPECT_EQ("D:\\Post\\", read.m_strMailboxPath);
        EXPECT_FALSE(read.m_bShowNewMailFolder);
        EXPECT_TRUE(read.m_bShowFolderPath);
    }

    testsupport::TempDir m_dir;
    std::string m_strPath = m_dir / "Foldtally.ini";
    IniSettingsStore m_store;
};

TEST_F(IniGarbageTest, BinaryGarbageGivesTheDefaultsAndTakesNewValues) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"random bytes", "G" + Garbage(64 * 1024, 1)},
        {"random bytes behind a UTF-16 byte-order mark", "\xFF\xFE" + Garbage(64 * 1024 + 1, 2)},
        {"random bytes behind a UTF-8 byte-order mark", "\xEF\xBB\xBF" + Garbage(64 * 1024, 3)},
        {"NUL bytes only", std::string(4096, '\0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Use(c.bytes);
        ProgramSettings settings;
        settings.Load(m_store);
        ExpectDefaults(settings);
        ExpectWindowDefaults();
        ExpectWritesReadBack();
    }
}

TEST_F(IniGarbageTest, LinesOfAMegabyteLeaveTheLinesAroundThemReadable) {
    const std::string megabyte(1 << 20, 'x');
    Use(megabyte + "\r\n[MainDlg]\r\n" + megabyte + "\r\nAutoRefreshRate=42\r\n" + megabyte + "=" +
        megabyte + "\r\nMailboxPath=" + megabyte + "\r\nShowFolderPath=0\r\n");
    ProgramSettings settings;
    settings.Load(m_store);
    EXPECT_EQ(42, settings.m_nAutoRefreshRate);
    EXPECT_FALSE(settings.m_bShowFolderPath);
    // A value longer than the read buffer is cut to its 1023 first characters.
    EXPECT_EQ(megabyte.substr(0, 1023), settings.m_strMailboxPath);
    EXPECT_TRUE(settings.m_bCompactFileSizes);
    ExpectWindowDefaults();
    ExpectWritesReadBack();
}

TEST_F(IniGarbageTest, ValuesOutsideTheSectionMainDlgAreNotTaken) {
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"before any section", std::string(kOtherValues) + "[Other]\r\nX=1\r\n"},
        {"in another section", "[Other]\r\n" + std::string(kOtherValues)},
        {"in a section named like it",
         "[MainDlg2]\r\n" + std::string(kOtherValues) + "[ MainDlgX ]\r\n" + kOtherValues},
        {"no section at all, no line end", "AutoRefreshRate=42"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Use(c.text);
        ProgramSettings settings;
        settings.Load(m_store);
        ExpectDefaults(settings);
        ExpectWindowDefaults();
        ExpectWritesReadBack();
    }
}

} // namespace
