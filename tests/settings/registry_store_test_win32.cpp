// The registry store against Wine's real registry: the exact stored bytes of every
// value type, values of foreign types and sizes giving the default, strings stored
// without terminator or changing while read, and the lifecycle of sections.
#include "scratch_registry_win32.h"
#include "settings/program_settings.h"
#include "settings/registry_store_win32.h"
#include "test_support.h"

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using testsupport::kPoison;

class RegistryStoreTest : public ScratchRegistryTest {
protected:
    void SetUp() override {
        ScratchRegistryTest::SetUp();
        m_store.SetStoreKey(kProgramStoreKey);
        ASSERT_TRUE(m_store.Open("MainDlg"));
    }
    RegistrySettingsStore m_store;
};

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) {
        s += static_cast<char>(b);
    }
    return s;
}

TEST_F(RegistryStoreTest, TheRedirectionKeepsEveryTestInItsOwnKey) {
    ASSERT_TRUE(m_store.WriteBool("Probe", true));
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    EXPECT_TRUE(ValueExists(ScratchPath() + "\\" + kMainDlgKey, "Probe"));
}

TEST_F(RegistryStoreTest, EveryValueTypeIsStoredInItsExactForm) {
    const int32_t ints[] = {1, -1, 0x01020304};
    const unsigned char block[] = {0x00, 0xFF, 0x2C};
    ASSERT_TRUE(m_store.WriteBool("True", true));
    ASSERT_TRUE(m_store.WriteBool("False", false));
    ASSERT_TRUE(m_store.WriteInt("Int", -2));
    ASSERT_TRUE(m_store.WriteInt("Rate", 10));
    ASSERT_TRUE(m_store.WriteIntArray("Array", 3, ints));
    ASSERT_TRUE(m_store.WriteIntArray("Empty", 0, ints));
    ASSERT_TRUE(m_store.WriteBinary("Block", 3, block));
    ASSERT_TRUE(m_store.WriteString("Text", "Gr\xF6\xDF"
                                            "e"));
    ASSERT_TRUE(m_store.WriteString("NoText", ""));
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
    };
    const Case cases[] = {
        {"True", REG_BINARY, Bytes({1})},
        {"False", REG_BINARY, Bytes({0})},
        {"Int", REG_BINARY, Bytes({0xFE, 0xFF, 0xFF, 0xFF})},
        {"Rate", REG_BINARY, Bytes({10, 0, 0, 0})},
        {"Array", REG_BINARY, Bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1})},
        {"Empty", REG_BINARY, ""},
        {"Block", REG_BINARY, Bytes({0x00, 0xFF, 0x2C})},
        {"Text", REG_SZ,
         std::string("Gr\xF6\xDF"
                     "e",
                     6)}, // the NUL is counted
        {"NoText", REG_SZ, std::string(1, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(GetRaw(kMainDlgKey, c.name, type, bytes));
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(c.bytes, bytes);
    }
}

TEST_F(RegistryStoreTest, EveryValueTypeReadsBackAsWritten) {
    const int32_t ints[] = {INT32_MIN, 0, INT32_MAX};
    std::vector<unsigned char> block(44);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<unsigned char>(i * 37);
    }
    const std::string longText(5000, 'x');
    ASSERT_TRUE(m_store.WriteBool("B", true));
    ASSERT_TRUE(m_store.WriteInt("I", INT32_MIN));
    ASSERT_TRUE(m_store.WriteIntArray("A", 3, ints));
    ASSERT_TRUE(m_store.WriteBinary("P", block.size(), block.data()));
    ASSERT_TRUE(m_store.WriteString("S", longText));
    EXPECT_TRUE(m_store.ReadBool("B", false));
    EXPECT_EQ(INT32_MIN, m_store.ReadInt("I", 5));
    int32_t readInts[4] = {7, 7, 7, 7};
    const int32_t def[3] = {9, 9, 9};
    m_store.ReadIntArray("A", 3, def, readInts);
    EXPECT_EQ((std::vector<int32_t>{INT32_MIN, 0, INT32_MAX, 7}),
              std::vector<int32_t>(readInts, readInts + 4));
    std::vector<unsigned char> readBlock(45, kPoison);
    const std::vector<unsigned char> zeros(44, 0);
    m_store.ReadBinary("P", 44, zeros.data(), readBlock.data());
    EXPECT_TRUE(std::equal(block.begin(), block.end(), readBlock.begin()));
    EXPECT_EQ(kPoison, readBlock[44]);
    EXPECT_EQ(longText, m_store.ReadString("S", "def"));
}

struct ForeignCase {
    const char* what;
    DWORD type;
    std::string bytes;
};

TEST_F(RegistryStoreTest, ValuesOfAnotherTypeOrSizeGiveTheDefault) {
    const ForeignCase cases[] = {
        {"REG_DWORD", REG_DWORD, Bytes({1, 0, 0, 0})},
        {"REG_DWORD 0", REG_DWORD, Bytes({0, 0, 0, 0})},
        {"empty binary", REG_BINARY, ""},
        {"2-byte binary", REG_BINARY, Bytes({1, 1})},
        {"3-byte binary", REG_BINARY, Bytes({1, 1, 1})},
        {"5-byte binary", REG_BINARY, Bytes({1, 1, 1, 1, 1})},
        {"REG_SZ", REG_SZ, std::string("1\0", 2)},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, std::string("%TEMP%\0", 7)},
        {"REG_MULTI_SZ", REG_MULTI_SZ, std::string("a\0\0", 3)},
        {"REG_NONE", REG_NONE, Bytes({1})},
    };
    for (const ForeignCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetRaw(kMainDlgKey, "Value", c.type, c.bytes);
        EXPECT_TRUE(m_store.ReadBool("Value", true));
        EXPECT_FALSE(m_store.ReadBool("Value", false));
        EXPECT_EQ(-77, m_store.ReadInt("Value", -77));
        if (c.type != REG_SZ) {
            EXPECT_EQ("default", m_store.ReadString("Value", "default"));
        }
    }
    EXPECT_TRUE(m_store.ReadBool("Missing", true));
    EXPECT_EQ(-77, m_store.ReadInt("Missing", -77));
    EXPECT_EQ("default", m_store.ReadString("Missing", "default"));
}

TEST_F(RegistryStoreTest, BlocksAndArraysOfAnotherSizeGiveTheDefaultAndLeaveTheRestAlone) {
    std::vector<unsigned char> def(44);
    for (size_t i = 0; i < def.size(); ++i) {
        def[i] = static_cast<unsigned char>(200 - i);
    }
    for (size_t size : {0u, 1u, 43u, 45u, 88u}) {
        SCOPED_TRACE(size);
        SetRaw(kMainDlgKey, "Placement", REG_BINARY, std::string(size, '\x11'));
        std::vector<unsigned char> dest(46, kPoison);
        m_store.ReadBinary("Placement", 44, def.data(), dest.data());
        EXPECT_TRUE(std::equal(def.begin(), def.end(), dest.begin()));
        EXPECT_EQ(kPoison, dest[44]);

        std::vector<unsigned char> same = def; // default and destination one buffer
        m_store.ReadBinary("Placement", 44, same.data(), same.data());
        EXPECT_EQ(def, same);
    }
    SetRaw(kMainDlgKey, "Columns", REG_BINARY, std::string(44, '\x11'));
    const int32_t defInts[3] = {100, 200, 300};
    for (size_t size : {0u, 8u, 11u, 13u, 16u}) {
        SCOPED_TRACE(size);
        SetRaw(kMainDlgKey, "Columns", REG_BINARY, std::string(size, '\x11'));
        int32_t dest[4] = {-1, -1, -1, -1};
        m_store.ReadIntArray("Columns", 3, defInts, dest);
        EXPECT_EQ((std::vector<int32_t>{100, 200, 300, -1}), std::vector<int32_t>(dest, dest + 4));
    }
    SetRaw(kMainDlgKey, "Columns", REG_DWORD, Bytes({1, 0, 0, 0}));
    int32_t one[1] = {-1};
    m_store.ReadIntArray("Columns", 1, defInts, one);
    EXPECT_EQ(100, one[0]);
}

TEST_F(RegistryStoreTest, TypedReadsReportTheirPlatformCodes) {
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, kMainDlgKey, KEY_ALL_ACCESS));
    SetRaw(kMainDlgKey, "Dword", REG_DWORD, Bytes({1, 0, 0, 0}));
    SetRaw(kMainDlgKey, "Empty", REG_BINARY, "");
    SetRaw(kMainDlgKey, "Sz", REG_SZ, std::string(1, '\0'));
    bool b = true;
    int32_t i = 5;
    std::string s = "kept";
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryBool("Missing", b));
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryBool("Dword", b));    // too long for the buffer
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryBool("Empty", b)); // too short
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryBool("Sz", b));    // wrong type
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryInt("Dword", i));
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryString("Dword", s));
    EXPECT_TRUE(b);
    EXPECT_EQ(5, i);
    EXPECT_EQ("kept", s);
    RegistryKey closed;
    EXPECT_NE(ERROR_SUCCESS, closed.QueryBool("Dword", b));
    EXPECT_EQ(ERROR_SUCCESS, closed.Close());
}

TEST_F(RegistryStoreTest, StringsAreReadUpToTheirFirstNulAndNeverPastTheirData) {
    struct Case {
        const char* what;
        std::string stored;
        std::string read;
    };
    const Case cases[] = {
        {"without terminator", "abc", "abc"},
        {"one byte without terminator", "x", "x"},
        {"with terminator", std::string("abc\0", 4), "abc"},
        {"embedded NUL", std::string("ab\0cd\0", 6), "ab"},
        {"only a NUL", std::string(1, '\0'), ""},
        {"no bytes at all", "", ""},
        {"long without terminator", std::string(3000, 'q'), std::string(3000, 'q')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetRaw(kMainDlgKey, "Text", REG_SZ, c.stored);
        EXPECT_EQ(c.read, m_store.ReadString("Text", "default"));
    }
}

// A writer keeps switching a value between a short and a long text while the store
// reads it. Whatever moment a read catches, it gives one of the two texts (or, when
// the value changes on every one of its attempts, the default), never a mixture, a
// text cut short, or bytes from beyond the value.
TEST_F(RegistryStoreTest, AStringChangingWhileReadIsReadWholeOrNotAtAll) {
    const std::string shortText = "kurz";
    const std::string longText(700, 'L');
    SetRaw(kMainDlgKey, "Racy", REG_SZ, shortText + '\0');
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_CURRENT_USER, kMainDlgKey, 0, KEY_SET_VALUE, &key);
        for (int n = 0; n < 20000 && !stop.load(); ++n) {
            const std::string& text = n % 2 != 0 ? longText : shortText;
            RegSetValueExA(key, "Racy", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1));
        }
        RegCloseKey(key);
    });
    int shortSeen = 0;
    int longSeen = 0;
    for (int n = 0; n < 3000; ++n) {
        const std::string text = m_store.ReadString("Racy", "default");
        if (text == shortText) {
            ++shortSeen;
        } else if (text == longText) {
            ++longSeen;
        } else {
            ASSERT_EQ("default", text) << "read " << n;
        }
    }
    stop = true;
    writer.join();
    EXPECT_GT(shortSeen + longSeen, 0);
}

TEST_F(RegistryStoreTest, OpeningASectionOnlyToReadCreatesItsKey) {
    m_store.Close();
    RegistrySettingsStore store;
    store.SetStoreKey(kProgramStoreKey);
    ASSERT_TRUE(DeleteTree(HKEY_CURRENT_USER, "Software\\Morvapps") == ERROR_SUCCESS);
    EXPECT_FALSE(KeyExists(kMainDlgKey));
    EXPECT_FALSE(store.IsOpen());
    ASSERT_TRUE(store.Open("MainDlg"));
    EXPECT_TRUE(store.IsOpen());
    ProgramSettings settings;
    settings.Load(store);
    store.Close();
    EXPECT_FALSE(store.IsOpen());
    EXPECT_TRUE(KeyExists(kMainDlgKey));
    EXPECT_FALSE(ValueExists(kMainDlgKey, "AutoRefresh"));
}

TEST_F(RegistryStoreTest, AClosedStoreReadsDefaultsAndWritesNothing) {
    m_store.Close();
    EXPECT_FALSE(m_store.WriteBool("AutoRefresh", true));
    EXPECT_FALSE(m_store.WriteString("MailboxPath", "C:\\"));
    EXPECT_TRUE(m_store.ReadBool("AutoRefresh", true));
    EXPECT_EQ("d", m_store.ReadString("MailboxPath", "d"));
    EXPECT_FALSE(m_store.DeleteValue("AutoRefresh"));
    EXPECT_FALSE(ValueExists(kMainDlgKey, "AutoRefresh"));
}

TEST_F(RegistryStoreTest, OpeningAnotherSectionMovesEveryAccessThere) {
    ASSERT_TRUE(m_store.WriteInt("Where", 1));
    ASSERT_TRUE(m_store.Open("Other"));
    ASSERT_TRUE(m_store.WriteInt("Where", 2));
    EXPECT_EQ(2, m_store.ReadInt("Where", 0));
    ASSERT_TRUE(m_store.Open("MainDlg"));
    EXPECT_EQ(1, m_store.ReadInt("Where", 0));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(GetRaw("Software\\Morvapps\\Foldtally\\Other", "Where", type, bytes));
    EXPECT_EQ(Bytes({2, 0, 0, 0}), bytes);
}

TEST_F(RegistryStoreTest, DeleteValueRemovesOnlyThatValue) {
    ASSERT_TRUE(m_store.WriteBool("A", true));
    ASSERT_TRUE(m_store.WriteBool("B", true));
    EXPECT_TRUE(m_store.DeleteValue("A"));
    EXPECT_FALSE(m_store.DeleteValue("A"));
    EXPECT_FALSE(ValueExists(kMainDlgKey, "A"));
    EXPECT_TRUE(ValueExists(kMainDlgKey, "B"));
}

TEST_F(RegistryStoreTest, DeleteSectionRemovesASiblingTreeAndKeepsTheRest) {
    CreateKey("Software\\Morvapps\\Foldtally\\Old\\a\\b\\c\\d");
    SetRaw("Software\\Morvapps\\Foldtally\\Old\\a\\b", "v", REG_BINARY, Bytes({1}));
    CreateKey("Software\\Morvapps\\Foldtally\\Old\\e");
    ASSERT_TRUE(m_store.WriteBool("Keep", true));
    EXPECT_TRUE(m_store.DeleteSection("Old"));
    EXPECT_FALSE(KeyExists("Software\\Morvapps\\Foldtally\\Old"));
    EXPECT_TRUE(ValueExists(kMainDlgKey, "Keep"));
    EXPECT_FALSE(m_store.DeleteSection("Old")); // nothing there to delete
}

TEST_F(RegistryStoreTest, DeleteSectionWithoutTheStoreKeyHasNothingToDo) {
    RegistrySettingsStore store;
    store.SetStoreKey("Morvapps\\NoSuchProgram");
    EXPECT_TRUE(store.DeleteSection("MainDlg"));
    EXPECT_FALSE(KeyExists("Software\\Morvapps\\NoSuchProgram"));
}

TEST_F(RegistryStoreTest, AnEmptyStoreKeyNeverReachesTheOtherSoftwareKeys) {
    CreateKey("Software\\MainDlg");
    CreateKey("Software\\Vendor\\Program");
    RegistrySettingsStore store;
    store.SetStoreKey(nullptr);
    EXPECT_EQ("", store.GetStoreKey());
    EXPECT_FALSE(store.Open("MainDlg"));
    EXPECT_TRUE(store.DeleteSection("Vendor"));
    EXPECT_TRUE(KeyExists("Software\\Vendor\\Program"));
    EXPECT_FALSE(m_store.DeleteSection("")); // would be the store key itself
    EXPECT_TRUE(KeyExists(kMainDlgKey));
}

TEST_F(RegistryStoreTest, ProgramSettingsAreStoredInTheirExactForms) {
    ProgramSettings settings;
    settings.m_bCompactFileSizes = false;
    settings.m_strMailboxPath = "C:\\PMAIL\\";
    settings.Save(m_store);
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
    };
    const Case cases[] = {
        {"AutoRefresh", REG_BINARY, Bytes({0})},
        {"AutoRefreshRate", REG_BINARY, Bytes({10, 0, 0, 0})},
        {"ShowFolderPath", REG_BINARY, Bytes({1})},
        {"WarnFolderPath", REG_BINARY, Bytes({1})},
        {"MailboxPathManual", REG_BINARY, Bytes({0})},
        {"MailboxPath", REG_SZ, std::string("C:\\PMAIL\\", 10)},
        {"NewmailPath", REG_SZ, std::string(1, '\0')},
        {"CompactFileSizes", REG_BINARY, Bytes({0})},
        {"ShowNewMailFolder", REG_BINARY, Bytes({1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD type = 0;
        std::string bytes;
        ASSERT_TRUE(GetRaw(kMainDlgKey, c.name, type, bytes));
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(c.bytes, bytes);
    }
}

TEST_F(RegistryStoreTest, ProgramSettingsIgnoreAnAutoRefreshWrittenAsANumber) {
    SetRaw(kMainDlgKey, "AutoRefresh", REG_DWORD, Bytes({1, 0, 0, 0}));
    SetRaw(kMainDlgKey, "AutoRefreshRate", REG_DWORD, Bytes({60, 0, 0, 0}));
    SetRaw(kMainDlgKey, "ShowFolderPath", REG_BINARY, Bytes({0}));
    ProgramSettings settings;
    settings.Load(m_store);
    EXPECT_FALSE(settings.m_bAutoRefresh);
    EXPECT_EQ(10, settings.m_nAutoRefreshRate);
    EXPECT_FALSE(settings.m_bShowFolderPath);
}

} // namespace
