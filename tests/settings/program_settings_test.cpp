// The nine program settings against the in-memory store: first-start defaults, the
// order and kind of every read and write, values of foreign types keeping the field,
// and the refresh interval the worker may receive.
#include "memory_store.h"
#include "settings/program_settings.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

namespace names = settings_names;

ProgramSettings Changed() {
    ProgramSettings s;
    s.m_bAutoRefresh = true;
    s.m_nAutoRefreshRate = -3;
    s.m_bShowFolderPath = false;
    s.m_bWarnFolderPath = false;
    s.m_bMailboxPathManual = true;
    s.m_strMailboxPath = "C:\\PMAIL\\MAIL\\";
    s.m_strNewmailPath = "\\\\SERVER\\Posteingang f\xFCr Max\\";
    s.m_bCompactFileSizes = false;
    s.m_bShowNewMailFolder = false;
    return s;
}

void ExpectSame(const ProgramSettings& a, const ProgramSettings& b) {
    EXPECT_EQ(a.m_bAutoRefresh, b.m_bAutoRefresh);
    EXPECT_EQ(a.m_nAutoRefreshRate, b.m_nAutoRefreshRate);
    EXPECT_EQ(a.m_bShowFolderPath, b.m_bShowFolderPath);
    EXPECT_EQ(a.m_bWarnFolderPath, b.m_bWarnFolderPath);
    EXPECT_EQ(a.m_bMailboxPathManual, b.m_bMailboxPathManual);
    EXPECT_EQ(a.m_strMailboxPath, b.m_strMailboxPath);
    EXPECT_EQ(a.m_strNewmailPath, b.m_strNewmailPath);
    EXPECT_EQ(a.m_bCompactFileSizes, b.m_bCompactFileSizes);
    EXPECT_EQ(a.m_bShowNewMailFolder, b.m_bShowNewMailFolder);
}

TEST(ProgramSettingsTest, FirstStartWithNothingStoredUsesTheDefaults) {
    MemorySettingsStore store;
    ASSERT_TRUE(store.Open(names::kSection));
    ProgramSettings s;
    s.Load(store);
    EXPECT_FALSE(s.m_bAutoRefresh);
    EXPECT_EQ(10, s.m_nAutoRefreshRate);
    EXPECT_TRUE(s.m_bShowFolderPath);
    EXPECT_TRUE(s.m_bWarnFolderPath);
    EXPECT_FALSE(s.m_bMailboxPathManual);
    EXPECT_EQ("", s.m_strMailboxPath);
    EXPECT_EQ("", s.m_strNewmailPath);
    EXPECT_TRUE(s.m_bCompactFileSizes);
    EXPECT_TRUE(s.m_bShowNewMailFolder);
}

TEST(ProgramSettingsTest, MissingValuesKeepWhatTheFieldsHeld) {
    MemorySettingsStore store;
    store.Open(names::kSection);
    ProgramSettings s = Changed();
    s.Load(store);
    ExpectSame(Changed(), s);
}

TEST(ProgramSettingsTest, SavedValuesLoadIntoAFreshRecord) {
    MemorySettingsStore store;
    store.Open(names::kSection);
    Changed().Save(store);
    ProgramSettings s;
    s.Load(store);
    ExpectSame(Changed(), s);
}

TEST(ProgramSettingsTest, LoadAndSaveTouchTheNineValuesInOrderWithTheirTypes) {
    MemorySettingsStore store;
    store.Open(names::kSection);
    store.ClearLog();
    ProgramSettings s;
    s.Load(store);
    s.Save(store);
    const std::vector<std::string> expected = {
        "ReadBool AutoRefresh",     "ReadInt AutoRefreshRate",     "ReadBool ShowFolderPath",
        "ReadBool WarnFolderPath",  "ReadBool MailboxPathManual",  "ReadString MailboxPath",
        "ReadString NewmailPath",   "ReadBool CompactFileSizes",   "ReadBool ShowNewMailFolder",
        "WriteBool AutoRefresh",    "WriteInt AutoRefreshRate",    "WriteBool ShowFolderPath",
        "WriteBool WarnFolderPath", "WriteBool MailboxPathManual", "WriteString MailboxPath",
        "WriteString NewmailPath",  "WriteBool CompactFileSizes",  "WriteBool ShowNewMailFolder",
    };
    EXPECT_EQ(expected, store.Log());
}

TEST(ProgramSettingsTest, ValuesOfForeignTypesOrSizesKeepTheField) {
    MemorySettingsStore store;
    store.Open(names::kSection);
    auto& section = store.Sections()[names::kSection];
    using K = MemorySettingsStore::Kind;
    section[names::kAutoRefresh] = {K::Binary, std::string("\0\0\0\0", 4)};      // a 4-byte number
    section[names::kAutoRefreshRate] = {K::Foreign, std::string("\5\0\0\0", 4)}; // a DWORD
    section[names::kShowFolderPath] = {K::Text, "0"};
    section[names::kWarnFolderPath] = {K::Binary, ""};
    section[names::kMailboxPath] = {K::Binary, "C:\\"};
    section[names::kNewmailPath] = {K::Foreign, "%TEMP%\\"};
    section[names::kCompactFileSizes] = {K::Binary, std::string("\0", 1)}; // this one is valid
    ProgramSettings s = Changed();
    s.m_bShowFolderPath = true;
    s.m_bWarnFolderPath = true;
    s.Load(store);
    EXPECT_TRUE(s.m_bAutoRefresh);
    EXPECT_EQ(-3, s.m_nAutoRefreshRate);
    EXPECT_TRUE(s.m_bShowFolderPath);
    EXPECT_TRUE(s.m_bWarnFolderPath);
    EXPECT_EQ(Changed().m_strMailboxPath, s.m_strMailboxPath);
    EXPECT_EQ(Changed().m_strNewmailPath, s.m_strNewmailPath);
    EXPECT_FALSE(s.m_bCompactFileSizes);
}

TEST(ProgramSettingsTest, StoredBooleansAreOneByteAndTheRateFourLittleEndianBytes) {
    MemorySettingsStore store;
    store.Open(names::kSection);
    ProgramSettings s;
    s.m_bCompactFileSizes = !s.m_bCompactFileSizes; // the menu toggle
    s.m_nAutoRefreshRate = 0x01020304;
    s.Save(store);
    const auto& section = store.Sections()[names::kSection];
    EXPECT_EQ(std::string(1, '\0'), section.at(names::kCompactFileSizes).bytes);
    EXPECT_EQ(std::string(1, '\1'), section.at(names::kShowNewMailFolder).bytes);
    EXPECT_EQ(std::string("\4\3\2\1", 4), section.at(names::kAutoRefreshRate).bytes);
    EXPECT_EQ(MemorySettingsStore::Kind::Text, section.at(names::kMailboxPath).kind);
    EXPECT_EQ(9u, section.size());
}

TEST(ProgramSettingsTest, ACopyCarriesAllNineValues) {
    const ProgramSettings original = Changed();
    ProgramSettings copy(original);
    ExpectSame(original, copy);
    ProgramSettings assigned;
    assigned = original;
    ExpectSame(original, assigned);
}

TEST(ProgramSettingsTest, TheWorkerNeverGetsAnIntervalOfZeroOrLessOrOneThatWrapped) {
    const std::pair<int32_t, int32_t> cases[] = {
        {10, 10000},      {1, 1000},          {0, 10000},
        {-5, 10000},      {INT32_MIN, 10000}, {2147483, 2147483000},
        {2147484, 10000}, {INT32_MAX, 10000},
    };
    for (const auto& [rate, interval] : cases) {
        ProgramSettings s;
        s.m_nAutoRefreshRate = rate;
        EXPECT_EQ(interval, s.AutoRefreshIntervalMs()) << rate;
    }
}

} // namespace
