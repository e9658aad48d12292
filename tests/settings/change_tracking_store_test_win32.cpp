// Two copies of the program open at once, against Wine's real registry and a real INI
// file: each has its own store object (its own key handle, its own file calls), as two
// processes would. The copy closed last keeps the other's changes and writes its own.
#include "scratch_registry_win32.h"
#include "settings/ini_store_win32.h"
#include "settings/registry_store_win32.h"
#include "test_support.h"
#include "two_runs.h"

#include <map>

namespace {

using tworuns::ChangeEverything;
using tworuns::ProgramRun;

struct RawValue {
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const RawValue& other) const {
        return type == other.type && bytes == other.bytes;
    }
};

class TwoRunsRegistryTest : public ScratchRegistryTest {
protected:
    // Every value a run keeps, as the registry holds it.
    std::map<std::string, RawValue> Snapshot() const {
        std::map<std::string, RawValue> values;
        for (const char* name : tworuns::kValueNames) {
            RawValue value;
            EXPECT_TRUE(GetRaw(kMainDlgKey, name, value.type, value.bytes)) << name;
            values[name] = value;
        }
        return values;
    }
    RegistrySettingsStore m_storeA{kProgramStoreKey};
    RegistrySettingsStore m_storeB{kProgramStoreKey};
};

TEST_F(TwoRunsRegistryTest, TheRunClosedLastKeepsTheOthersChangesAndWritesItsOwn) {
    {
        RegistrySettingsStore first(kProgramStoreKey);
        ProgramRun earlier(first);
        earlier.Save(); // a first start stores every value
    }
    const std::map<std::string, RawValue> stored = Snapshot();
    ProgramRun a(m_storeA);
    ProgramRun b(m_storeB);
    a.Load();
    b.Load();
    ChangeEverything(b);
    b.Save();
    const std::map<std::string, RawValue> afterB = Snapshot();
    for (const char* name : tworuns::kValueNames) {
        EXPECT_FALSE(stored.at(name) == afterB.at(name)) << name << " was not changed by B";
    }
    a.Save();
    EXPECT_TRUE(afterB == Snapshot()) << "A, closed unchanged, wrote over B's changes";

    // What A does change is written, in its own form, beside B's changes.
    a.settings.m_bShowNewMailFolder = false;
    a.settings.m_strNewmailPath = "D:\\Neu\\";
    a.window.columns[0] = 300;
    a.Save();
    std::map<std::string, RawValue> expected = afterB;
    expected["ShowNewMailFolder"] = {REG_BINARY, std::string(1, '\0')};
    expected["NewmailPath"] = {REG_SZ, std::string("D:\\Neu\\") + '\0'};
    // A value is written whole: A's widths, all three of them.
    expected["Columns"].bytes = std::string("\x2C\x01\0\0\x3C\0\0\0\xF0\0\0\0", 12);
    EXPECT_TRUE(expected == Snapshot());
}

TEST_F(TwoRunsRegistryTest, TwoFirstStartsKeepTheChangesOfTheOneClosedFirst) {
    ProgramRun a(m_storeA);
    ProgramRun b(m_storeB);
    a.Load();
    b.Load();
    b.settings.m_nAutoRefreshRate = 42;
    b.window.sort[0] = 1;
    b.Save();
    a.Save();
    EXPECT_EQ(std::string("\x2A\0\0\0", 4), Snapshot()["AutoRefreshRate"].bytes);
    EXPECT_EQ(1, Snapshot()["Sort"].bytes[0]);
}

class TwoRunsIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_strPath = m_dir / "Foldtally.ini";
        m_storeA.File().SetPath(m_strPath);
        m_storeB.File().SetPath(m_strPath);
    }
    testsupport::TempDir m_dir;
    std::string m_strPath;
    IniSettingsStore m_storeA;
    IniSettingsStore m_storeB;
};

TEST_F(TwoRunsIniTest, TheRunClosedLastKeepsTheOthersChangesAndWritesItsOwn) {
    {
        IniSettingsStore first;
        first.File().SetPath(m_strPath);
        ProgramRun earlier(first);
        earlier.Save();
    }
    ProgramRun a(m_storeA);
    ProgramRun b(m_storeB);
    a.Load();
    b.Load();
    ChangeEverything(b);
    b.Save();
    const std::string afterB = testsupport::ReadFile(m_strPath);
    a.Save();
    EXPECT_EQ(afterB, testsupport::ReadFile(m_strPath));

    a.settings.m_nAutoRefreshRate = 99;
    a.Save();
    ProgramRun next(m_storeA);
    next.Load();
    EXPECT_EQ(99, next.settings.m_nAutoRefreshRate);
    EXPECT_FALSE(next.settings.m_bCompactFileSizes);
    EXPECT_EQ("C:\\B\\", next.settings.m_strMailboxPath);
    EXPECT_EQ(77, next.window.columns[1]);
    EXPECT_EQ(33, next.window.treeColumns[4]);
}

} // namespace
