// A run whose INI file cannot be written: it reads the file, keeps its changes in
// memory and never writes through; and the rules that choose where a run keeps its
// settings.
#include "memory_store.h"
#include "settings/memory_overlay_store.h"
#include "settings/portable_settings.h"
#include "settings/program_settings.h"
#include "two_runs.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using settings::ChooseSettingsHome;
using settings::MayCreateSettingsFile;
using settings::SettingsFileFacts;
using settings::SettingsHome;

class MemoryOverlayStoreTest : public testing::Test {
protected:
    MemoryOverlayStoreTest() : m_file(new MemorySettingsStore), m_overlay(Owned(m_file)) {
        // What the file held when the run began: an earlier run saved everything.
        tworuns::ProgramRun earlier(*m_file);
        earlier.settings.m_strMailboxPath = "C:\\A\\";
        earlier.settings.m_nAutoRefreshRate = 30;
        earlier.Save();
        m_before = m_file->Sections();
        m_file->ClearLog();
    }
    static std::unique_ptr<SettingsStore> Owned(MemorySettingsStore* store) {
        return std::unique_ptr<SettingsStore>(store);
    }
    // Nothing but reads reached the file, and it holds what it held.
    void ExpectFileUntouched() {
        for (const std::string& op : m_file->Log()) {
            EXPECT_TRUE(op.rfind("Read", 0) == 0 || op.rfind("Open", 0) == 0) << op;
        }
        ASSERT_EQ(m_before.size(), m_file->Sections().size());
        for (const auto& [section, values] : m_before) {
            const MemorySettingsStore::Section& now = m_file->Sections()[section];
            ASSERT_EQ(values.size(), now.size()) << section;
            for (const auto& [name, value] : values) {
                EXPECT_EQ(value.bytes, now.at(name).bytes) << name;
            }
        }
    }

    MemorySettingsStore* m_file; // owned by the overlay
    MemoryOverlayStore m_overlay;
    std::map<std::string, MemorySettingsStore::Section> m_before;
};

TEST_F(MemoryOverlayStoreTest, ARunReadsWhatTheFileHoldsUntilItChangesIt) {
    tworuns::ProgramRun run(m_overlay);
    run.Load();
    EXPECT_EQ("C:\\A\\", run.settings.m_strMailboxPath);
    EXPECT_EQ(30, run.settings.m_nAutoRefreshRate);

    tworuns::ChangeEverything(run);
    run.Save();
    // The same run, reading again (a window opened a second time), sees its changes.
    tworuns::ProgramRun again(m_overlay);
    again.Load();
    EXPECT_EQ(run.settings.m_strMailboxPath, again.settings.m_strMailboxPath);
    EXPECT_EQ(run.settings.m_nAutoRefreshRate, again.settings.m_nAutoRefreshRate);
    EXPECT_EQ(run.settings.m_bCompactFileSizes, again.settings.m_bCompactFileSizes);
    EXPECT_EQ(0, std::memcmp(run.window.placement, again.window.placement, 44));
    EXPECT_EQ(0, std::memcmp(run.window.treeColumns, again.window.treeColumns,
                             sizeof run.window.treeColumns));
    EXPECT_EQ(0, std::memcmp(run.window.sort, again.window.sort, 8));
    ExpectFileUntouched();
}

TEST_F(MemoryOverlayStoreTest, WritesAreAcceptedAndNeverReachTheFile) {
    ASSERT_TRUE(m_overlay.Open(settings_names::kSection));
    const int32_t widths[3] = {1, 2, 3};
    const uint8_t bytes[8] = {9};
    EXPECT_TRUE(m_overlay.WriteString("MailboxPath", "D:\\"));
    EXPECT_TRUE(m_overlay.WriteBool("AutoRefresh", true));
    EXPECT_TRUE(m_overlay.WriteInt("AutoRefreshRate", 5));
    EXPECT_TRUE(m_overlay.WriteIntArray("Columns", 3, widths));
    EXPECT_TRUE(m_overlay.WriteBinary("Sort", 8, bytes));
    EXPECT_TRUE(m_overlay.DeleteValue("Placement"));
    EXPECT_TRUE(m_overlay.DeleteSection("Other"));
    m_overlay.Close();
    ExpectFileUntouched();
}

TEST_F(MemoryOverlayStoreTest, AValueOfAnotherFormOrSizeReadsAsTheDefault) {
    ASSERT_TRUE(m_overlay.Open(settings_names::kSection));
    const int32_t two[2] = {7, 8};
    const uint8_t four[4] = {1, 2, 3, 4};
    ASSERT_TRUE(m_overlay.WriteIntArray("Columns", 2, two));
    ASSERT_TRUE(m_overlay.WriteBinary("Sort", 4, four));
    ASSERT_TRUE(m_overlay.WriteInt("ShowFolderPath", 1));
    ASSERT_TRUE(m_overlay.WriteBool("AutoRefreshRate", true));
    ASSERT_TRUE(m_overlay.WriteString("CompactFileSizes", "1"));

    int32_t columns[3] = {-1, -1, -1};
    m_overlay.ReadIntArray("Columns", 3, columns, columns);
    EXPECT_EQ((std::vector<int32_t>{-1, -1, -1}), std::vector<int32_t>(columns, columns + 3));
    int32_t shorter[2] = {0, 0};
    const int32_t zeros[2] = {0, 0};
    m_overlay.ReadIntArray("Columns", 2, zeros, shorter);
    EXPECT_EQ((std::vector<int32_t>{7, 8}), std::vector<int32_t>(shorter, shorter + 2));
    uint8_t sort[8] = {0xEE};
    const uint8_t def[8] = {0x55};
    m_overlay.ReadBinary("Sort", 8, def, sort);
    EXPECT_EQ(0x55, sort[0]);
    EXPECT_FALSE(m_overlay.ReadBool("ShowFolderPath", false));
    EXPECT_EQ(-3, m_overlay.ReadInt("AutoRefreshRate", -3));
    EXPECT_TRUE(m_overlay.ReadBool("CompactFileSizes", true));
    EXPECT_EQ("x", m_overlay.ReadString("AutoRefreshRate", "x"));
}

TEST_F(MemoryOverlayStoreTest, ADeletedValueOrSectionHidesTheFilesUntilWrittenAgain) {
    ASSERT_TRUE(m_overlay.Open(settings_names::kSection));
    ASSERT_TRUE(m_overlay.DeleteValue("mailboxpath"));
    EXPECT_EQ("none", m_overlay.ReadString("MailboxPath", "none"));
    EXPECT_EQ(30, m_overlay.ReadInt("AutoRefreshRate", 0)) << "other values stay";

    ASSERT_TRUE(m_overlay.DeleteSection("MAINDLG"));
    EXPECT_EQ(0, m_overlay.ReadInt("AutoRefreshRate", 0));
    ASSERT_TRUE(m_overlay.WriteInt("AutoRefreshRate", 12));
    EXPECT_EQ(12, m_overlay.ReadInt("AutoRefreshRate", 0));
    EXPECT_EQ("none", m_overlay.ReadString("MailboxPath", "none"));
    m_overlay.Close();

    ASSERT_TRUE(m_overlay.Open("Other"));
    ASSERT_TRUE(m_overlay.WriteInt("AutoRefreshRate", 99));
    m_overlay.Close();
    ASSERT_TRUE(m_overlay.Open(settings_names::kSection));
    EXPECT_EQ(12, m_overlay.ReadInt("AutoRefreshRate", 0)) << "sections are apart";
    ExpectFileUntouched();
}

struct HomeCase {
    const char* what;
    SettingsFileFacts facts;
    SettingsHome home;
    bool mayCreate;
};

TEST(PortableSettingsTest, TheFileBesideTheProgramDecidesWhereARunKeepsItsSettings) {
    // exists, file read-only, opens for writing, folder read-only, folder attribute binds
    const HomeCase cases[] = {
        {"no file: the registry",
         {false, false, false, false, false},
         SettingsHome::kRegistry,
         true},
        {"a writable file", {true, false, true, false, false}, SettingsHome::kIniFile, false},
        {"a writable file in a read-only folder",
         {true, false, true, true, true},
         SettingsHome::kIniFile,
         false},
        {"the platform refuses to open it",
         {true, false, false, false, false},
         SettingsHome::kIniFileInMemory,
         false},
        {"marked read-only, opened all the same (root under Wine)",
         {true, true, true, false, false},
         SettingsHome::kIniFileInMemory,
         false},
        {"no file, a read-only folder under Wine",
         {false, false, false, true, true},
         SettingsHome::kRegistry,
         false},
        {"no file, a folder Windows marked for its own reasons",
         {false, false, false, true, false},
         SettingsHome::kRegistry,
         true},
    };
    for (const HomeCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.home, ChooseSettingsHome(c.facts));
        EXPECT_EQ(c.mayCreate, MayCreateSettingsFile(c.facts));
    }
}

} // namespace
