// Two runs of the program against one store: what each saves when it closes. Both runs
// sit in front of the same in-memory store, as two processes share the registry.
#include "memory_store.h"
#include "two_runs.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

namespace names = settings_names;
using tworuns::ChangeEverything;
using tworuns::ProgramRun;
using tworuns::WindowState;
using Kind = MemorySettingsStore::Kind;

// A store where an earlier run saved every value.
void StoreEverything(MemorySettingsStore& memory) {
    ProgramRun earlier(memory);
    earlier.settings.m_strMailboxPath = "C:\\A\\";
    earlier.Save();
}

MemorySettingsStore::Section Snapshot(MemorySettingsStore& memory) {
    return memory.Sections()[names::kSection];
}

void ExpectSameSection(const MemorySettingsStore::Section& expected,
                       const MemorySettingsStore::Section& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (const auto& [name, value] : expected) {
        const auto found = actual.find(name);
        ASSERT_NE(actual.end(), found) << name;
        EXPECT_EQ(value.kind, found->second.kind) << name;
        EXPECT_EQ(value.bytes, found->second.bytes) << name;
    }
}

TEST(ChangeTrackingStoreTest, ARunClosedLastKeepsWhatTheOtherChangedMeanwhile) {
    MemorySettingsStore memory;
    StoreEverything(memory);
    ProgramRun a(memory);
    ProgramRun b(memory);
    a.Load();
    b.Load();
    ChangeEverything(b);
    b.Save();
    const MemorySettingsStore::Section afterB = Snapshot(memory);
    ASSERT_EQ(15u, afterB.size());

    memory.ClearLog();
    a.Save();
    ExpectSameSection(afterB, Snapshot(memory));
    for (const std::string& op : memory.Log()) {
        EXPECT_NE(0u, op.rfind("Read", 0)) << op << ": nothing unchanged is written";
    }
}

TEST(ChangeTrackingStoreTest, WhatARunChangedIsWrittenBesideTheOthersChanges) {
    MemorySettingsStore memory;
    StoreEverything(memory);
    ProgramRun a(memory);
    ProgramRun b(memory);
    a.Load();
    b.Load();
    b.settings.m_bCompactFileSizes = false;
    b.window.sort[4] = 1;
    b.Save();
    a.settings.m_bShowNewMailFolder = false;
    a.settings.m_strNewmailPath = "D:\\Neu\\";
    a.window.columns[0] = 300;
    a.Save();

    ProgramRun next(memory);
    next.Load();
    EXPECT_FALSE(next.settings.m_bCompactFileSizes);
    EXPECT_EQ(1, next.window.sort[4]);
    EXPECT_FALSE(next.settings.m_bShowNewMailFolder);
    EXPECT_EQ("D:\\Neu\\", next.settings.m_strNewmailPath);
    EXPECT_EQ(300, next.window.columns[0]);
    EXPECT_EQ("C:\\A\\", next.settings.m_strMailboxPath);
}

TEST(ChangeTrackingStoreTest, AValueChangedBackToWhatWasLoadedIsWrittenAgain) {
    MemorySettingsStore memory;
    StoreEverything(memory);
    ProgramRun a(memory);
    a.Load();
    a.settings.m_bCompactFileSizes = false;
    a.Save(); // the settings dialog's OK saves at once
    ProgramRun b(memory);
    b.Load();
    a.settings.m_bCompactFileSizes = true;
    a.Save(); // and closing saves again
    EXPECT_EQ(std::string(1, '\1'), Snapshot(memory)["CompactFileSizes"].bytes);
}

TEST(ChangeTrackingStoreTest, AFirstStartStoresEveryValueUnlessAnotherRunStoredItFirst) {
    MemorySettingsStore memory;
    ProgramRun a(memory);
    ProgramRun b(memory);
    a.Load();
    b.Load();
    b.settings.m_nAutoRefreshRate = 42;
    b.window.columns[2] = 99;
    b.Save();
    ASSERT_EQ(15u, Snapshot(memory).size()) << "a first start stores every value";
    a.Save();
    ProgramRun next(memory);
    next.Load();
    EXPECT_EQ(42, next.settings.m_nAutoRefreshRate);
    EXPECT_EQ(99, next.window.columns[2]);
}

TEST(ChangeTrackingStoreTest, ValuesInAFormTheReadsRefuseAreReplacedByTheRightForm) {
    MemorySettingsStore memory;
    StoreEverything(memory);
    MemorySettingsStore::Section& section = memory.Sections()[names::kSection];
    section["AutoRefresh"] = {Kind::Foreign, std::string(4, '\1')};
    section["AutoRefreshRate"] = {Kind::Text, "10"};
    section["MailboxPath"] = {Kind::Binary, "C:\\A\\"};
    section["Columns"] = {Kind::Binary, std::string(8, '\0')};
    section["Placement"] = {Kind::Binary, std::string(43, '\0')};
    ProgramRun a(memory);
    a.Load();
    a.Save();
    EXPECT_EQ(Kind::Binary, section["AutoRefresh"].kind);
    EXPECT_EQ(std::string(1, '\0'), section["AutoRefresh"].bytes);
    EXPECT_EQ(Kind::Binary, section["AutoRefreshRate"].kind);
    EXPECT_EQ(Kind::Text, section["MailboxPath"].kind);
    EXPECT_EQ(12u, section["Columns"].bytes.size());
    EXPECT_EQ(44u, section["Placement"].bytes.size());
}

TEST(ChangeTrackingStoreTest, AStoredValueEqualToTheDefaultCountsAsStored) {
    // The second read with another default tells a stored default from a missing value:
    // a run closing unchanged must not put its default over another run's change of it.
    MemorySettingsStore memory;
    ProgramRun defaults(memory);
    defaults.Save(); // every value stored, each equal to its default
    ProgramRun a(memory);
    ProgramRun b(memory);
    a.Load();
    b.Load();
    ChangeEverything(b);
    b.Save();
    const MemorySettingsStore::Section afterB = Snapshot(memory);
    a.Save();
    ExpectSameSection(afterB, Snapshot(memory));
}

TEST(ChangeTrackingStoreTest, NamesMatchInAnyLetterCase) {
    MemorySettingsStore memory;
    StoreEverything(memory);
    ChangeTrackingStore a(memory);
    ASSERT_TRUE(a.Open(names::kSection));
    EXPECT_TRUE(a.ReadBool(names::kCompactFileSizes, false));
    ASSERT_TRUE(a.Open("MAINDLG"));
    memory.ClearLog();
    EXPECT_TRUE(a.WriteBool("compactFILESIZES", true));
    EXPECT_TRUE(memory.Log().empty());
}

TEST(ChangeTrackingStoreTest, SectionsAreKeptApart) {
    MemorySettingsStore memory;
    ChangeTrackingStore a(memory);
    ASSERT_TRUE(a.Open("Eins"));
    a.WriteInt("Wert", 5);
    ASSERT_TRUE(a.Open("Zwei"));
    EXPECT_TRUE(a.WriteInt("Wert", 5));
    EXPECT_EQ(1u, memory.Sections()["Zwei"].count("Wert"));
}

TEST(ChangeTrackingStoreTest, AWriteTheStoreRefusedIsTriedAgain) {
    MemorySettingsStore memory;
    StoreEverything(memory);
    ChangeTrackingStore a(memory);
    ASSERT_TRUE(a.Open(names::kSection));
    EXPECT_TRUE(a.ReadBool(names::kCompactFileSizes, false));
    memory.SetReadOnly(true);
    EXPECT_FALSE(a.WriteBool(names::kCompactFileSizes, false));
    memory.SetReadOnly(false);
    EXPECT_TRUE(a.WriteBool(names::kCompactFileSizes, false));
    EXPECT_EQ(std::string(1, '\0'), Snapshot(memory)["CompactFileSizes"].bytes);
}

TEST(ChangeTrackingStoreTest, AfterADeletionTheSameValueIsWrittenAgain) {
    MemorySettingsStore memory;
    ChangeTrackingStore a(memory);
    ASSERT_TRUE(a.Open(names::kSection));
    EXPECT_TRUE(a.WriteString(names::kMailboxPath, "C:\\X\\"));
    EXPECT_TRUE(a.DeleteValue(names::kMailboxPath));
    EXPECT_TRUE(a.WriteString(names::kMailboxPath, "C:\\X\\"));
    EXPECT_EQ("C:\\X\\", Snapshot(memory)["MailboxPath"].bytes);
    EXPECT_TRUE(a.DeleteSection(names::kSection));
    ASSERT_TRUE(a.Open(names::kSection));
    EXPECT_TRUE(a.WriteString(names::kMailboxPath, "C:\\X\\"));
    EXPECT_EQ("C:\\X\\", Snapshot(memory)["MailboxPath"].bytes);
}

TEST(ChangeTrackingStoreTest, ReadsGiveWhatTheStoreBehindGives) {
    MemorySettingsStore memory;
    StoreEverything(memory);
    ProgramRun direct(memory);
    ProgramSettings plain;
    ASSERT_TRUE(memory.Open(names::kSection));
    plain.Load(memory);
    WindowState window;
    window.Load(memory);
    memory.Close();
    direct.Load();
    EXPECT_EQ(plain.m_strMailboxPath, direct.settings.m_strMailboxPath);
    EXPECT_EQ(0, std::memcmp(window.placement, direct.window.placement, 44));
    EXPECT_EQ(0, std::memcmp(window.treeColumns, direct.window.treeColumns, 20));
}

} // namespace
