// The INI store against real profile files in the test prefix: the stored text of every
// value type, values cut at 1023 characters, the decoding edge cases read from a file,
// and removing keys and sections.
#include "settings/ini_store_win32.h"
#include "settings/program_settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using testsupport::kPoison;

class IniStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_strPath = m_dir / "Foldtally.ini";
        m_store.File().SetPath(m_strPath);
        ASSERT_TRUE(m_store.Open("MainDlg"));
    }

    // The file's lines without their CR LF.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        const std::string text = testsupport::ReadFile(m_strPath);
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line);
            start = end + 1;
        }
        return lines;
    }

    void WriteIni(const std::string& text) { ASSERT_TRUE(testsupport::WriteFile(m_strPath, text)); }

    testsupport::TempDir m_dir;
    std::string m_strPath;
    IniSettingsStore m_store;
};

TEST_F(IniStoreTest, EveryValueTypeIsStoredAsItsText) {
    const int32_t columns[] = {-1, 20, 300};
    const unsigned char sort[] = {0x2C, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0xff};
    ASSERT_TRUE(m_store.WriteBool("AutoRefresh", true));
    ASSERT_TRUE(m_store.WriteBool("ShowFolderPath", false));
    ASSERT_TRUE(m_store.WriteInt("AutoRefreshRate", -2147483647 - 1));
    ASSERT_TRUE(m_store.WriteIntArray("Columns", 3, columns));
    ASSERT_TRUE(m_store.WriteBinary("Sort", sizeof sort, sort));
    ASSERT_TRUE(m_store.WriteString("MailboxPath", "C:\\Gr\xF6\xDF"
                                                   "e\\"));
    const std::vector<std::string> expected = {
        "[MainDlg]",
        "AutoRefresh=1",
        "ShowFolderPath=0",
        "AutoRefreshRate=-2147483648",
        "Columns=-1, 20, 300",
        "Sort=2C000000010000FF",
        "MailboxPath=C:\\Gr\xF6\xDF"
        "e\\",
    };
    EXPECT_EQ(expected, Lines());
}

TEST_F(IniStoreTest, EveryValueTypeReadsBackAsWritten) {
    const int32_t columns[] = {INT32_MIN, 0, INT32_MAX};
    std::vector<unsigned char> placement(44);
    for (size_t i = 0; i < placement.size(); ++i) {
        placement[i] = static_cast<unsigned char>(255 - 5 * i);
    }
    ASSERT_TRUE(m_store.WriteBool("B", true));
    ASSERT_TRUE(m_store.WriteInt("I", -77));
    ASSERT_TRUE(m_store.WriteIntArray("A", 3, columns));
    ASSERT_TRUE(m_store.WriteBinary("P", 44, placement.data()));
    ASSERT_TRUE(m_store.WriteString("S", "D:\\Mail\\"));
    EXPECT_TRUE(m_store.ReadBool("B", false));
    EXPECT_EQ(-77, m_store.ReadInt("I", 0));
    int32_t ints[4] = {1, 1, 1, 1};
    const int32_t def[3] = {9, 9, 9};
    m_store.ReadIntArray("A", 3, def, ints);
    EXPECT_EQ((std::vector<int32_t>{INT32_MIN, 0, INT32_MAX, 1}),
              std::vector<int32_t>(ints, ints + 4));
    std::vector<unsigned char> block(45, kPoison);
    const std::vector<unsigned char> zeros(44, 0);
    m_store.ReadBinary("P", 44, zeros.data(), block.data());
    EXPECT_TRUE(std::equal(placement.begin(), placement.end(), block.begin()));
    EXPECT_EQ(kPoison, block[44]);
    EXPECT_EQ("D:\\Mail\\", m_store.ReadString("S", "x"));
}

TEST_F(IniStoreTest, MissingAndEmptyValuesGiveTheDefault) {
    WriteIni("[MainDlg]\r\nAutoRefresh=\r\nAutoRefreshRate=\r\nColumns=\r\nPlacement=\r\n");
    EXPECT_TRUE(m_store.ReadBool("AutoRefresh", true));
    EXPECT_EQ(33, m_store.ReadInt("AutoRefreshRate", 33));
    EXPECT_TRUE(m_store.ReadBool("Missing", true));
    EXPECT_EQ(33, m_store.ReadInt("Missing", 33));
    EXPECT_EQ("def", m_store.ReadString("Missing", "def"));
    const int32_t def[3] = {1, 2, 3};
    int32_t ints[3] = {0, 0, 0};
    m_store.ReadIntArray("Columns", 3, def, ints);
    EXPECT_EQ((std::vector<int32_t>{1, 2, 3}), std::vector<int32_t>(ints, ints + 3));
    ints[0] = 0;
    m_store.ReadIntArray("Missing", 3, def, ints);
    EXPECT_EQ(1, ints[0]);
    unsigned char defBytes[4] = {1, 2, 3, 4};
    unsigned char bytes[4] = {0, 0, 0, 0};
    m_store.ReadBinary("Placement", 4, defBytes, bytes);
    EXPECT_EQ(0, std::memcmp(defBytes, bytes, 4));
    std::memset(bytes, 0, 4);
    m_store.ReadBinary("Missing", 4, defBytes, bytes);
    EXPECT_EQ(0, std::memcmp(defBytes, bytes, 4));
}

TEST_F(IniStoreTest, TheDecodingEdgeCasesHoldForValuesReadFromTheFile) {
    std::string hex;
    for (int i = 0; i < 44; ++i) {
        static const char digits[] = "0123456789ABCDEF";
        hex += digits[(i * 3) % 16];
        hex += digits[(i * 7) % 16];
    }
    std::string broken = hex;
    broken[20] = 'Q';
    WriteIni("[MainDlg]\r\nPlacement89=" + hex + "A\r\nPlacementBad=" + broken +
             "\r\nPlacement43=" + hex.substr(0, 86) + "\r\nColumns=4, 0, 1\r\nColOrder=4.0:1\r\n" +
             "Short=4, 0\r\n");
    const std::vector<unsigned char> def(44, 0xEE);
    std::vector<unsigned char> dest(44, kPoison);
    m_store.ReadBinary("Placement89", 44, def.data(), dest.data());
    for (int i = 0; i < 44; ++i) {
        EXPECT_EQ((i * 3) % 16 * 16 + (i * 7) % 16, dest[i]) << i;
    }
    std::vector<unsigned char> partly(44, kPoison);
    m_store.ReadBinary("PlacementBad", 44, def.data(), partly.data());
    EXPECT_TRUE(std::equal(partly.begin(), partly.begin() + 10, dest.begin()));
    EXPECT_EQ(std::vector<unsigned char>(34, kPoison),
              std::vector<unsigned char>(partly.begin() + 10, partly.end()));
    std::vector<unsigned char> shorter(44, kPoison);
    m_store.ReadBinary("Placement43", 44, def.data(), shorter.data());
    EXPECT_EQ(def, shorter);

    const int32_t defInts[3] = {7, 8, 9};
    for (const char* name : {"Columns", "ColOrder", "Short"}) {
        SCOPED_TRACE(name);
        int32_t ints[3] = {-1, -1, -1};
        m_store.ReadIntArray(name, 3, defInts, ints);
        const std::vector<int32_t> want = std::strcmp(name, "Short") == 0
                                              ? std::vector<int32_t>{7, 8, 9}
                                              : std::vector<int32_t>{4, 0, 1};
        EXPECT_EQ(want, std::vector<int32_t>(ints, ints + 3));
    }
}

TEST_F(IniStoreTest, LongValuesAreCutAt1023CharactersAndNeverOverrun) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    ASSERT_TRUE(m_store.WriteString("Long", text));
    for (size_t length : {1022u, 1023u, 1024u, 1025u, 3000u}) {
        SCOPED_TRACE(length);
        ASSERT_TRUE(m_store.WriteString("Long", text.substr(0, length)));
        const size_t want = length < 1023 ? length : 1023;
        EXPECT_EQ(text.substr(0, want), m_store.ReadString("Long", ""));
    }
    // A default longer than the buffer is cut the same way.
    EXPECT_EQ(text.substr(0, 1023), m_store.ReadString("Missing", text));
    // Every buffer size cuts at its own size less one.
    for (size_t size : {0u, 1u, 2u, 3u, 16u}) {
        SCOPED_TRACE(size);
        m_store.File().SetBufferSize(size);
        const size_t kept = m_store.File().GetBufferSize() - 1;
        EXPECT_EQ(text.substr(0, kept), m_store.ReadString("Long", ""));
    }
}

TEST_F(IniStoreTest, ABinaryValueTooLongForTheBufferGivesItsDefault) {
    // 600 bytes are 1200 digits, of which the read keeps 1023: 511 bytes, not 600.
    std::vector<unsigned char> block(600, 0x42);
    ASSERT_TRUE(m_store.WriteBinary("Big", block.size(), block.data()));
    const std::vector<unsigned char> def(600, 0x01);
    std::vector<unsigned char> dest(600, kPoison);
    m_store.ReadBinary("Big", 600, def.data(), dest.data());
    EXPECT_EQ(def, dest);
}

TEST_F(IniStoreTest, DeletingRemovesTheKeyLineOrTheWholeSection) {
    ASSERT_TRUE(m_store.WriteBool("A", true));
    ASSERT_TRUE(m_store.WriteBool("B", true));
    ASSERT_TRUE(m_store.Open("Other"));
    ASSERT_TRUE(m_store.WriteInt("C", 3));
    ASSERT_TRUE(m_store.Open("MainDlg"));
    EXPECT_TRUE(m_store.DeleteValue("A"));
    EXPECT_EQ((std::vector<std::string>{"[MainDlg]", "B=1", "[Other]", "C=3"}), Lines());
    EXPECT_TRUE(m_store.DeleteSection("Other"));
    EXPECT_EQ((std::vector<std::string>{"[MainDlg]", "B=1"}), Lines());
    EXPECT_EQ(3, m_store.ReadInt("C", 3)); // not in this section
}

TEST_F(IniStoreTest, OpenNeedsAPathAndASectionAndCloseForgetsTheSection) {
    EXPECT_TRUE(m_store.IsOpen());
    m_store.Close();
    EXPECT_FALSE(m_store.IsOpen());
    IniSettingsStore pathless;
    EXPECT_TRUE(pathless.Open("MainDlg"));
    EXPECT_FALSE(pathless.IsOpen());
    EXPECT_TRUE(m_store.Open("MainDlg"));
    EXPECT_TRUE(m_store.IsOpen());
    EXPECT_TRUE(m_store.Open(""));
    EXPECT_FALSE(m_store.IsOpen());
}

TEST_F(IniStoreTest, ARelativePathIsMadeAbsoluteWhenSet) {
    IniFile file;
    file.SetPath("Foldtally.ini");
    ASSERT_GT(file.GetPath().size(), 14u);
    EXPECT_EQ(':', file.GetPath()[1]);
    EXPECT_EQ("\\Foldtally.ini", file.GetPath().substr(file.GetPath().size() - 14));
    EXPECT_EQ(1024u, file.GetBufferSize());
}

TEST_F(IniStoreTest, ProgramSettingsAreStoredAsTextAndReadBack) {
    ProgramSettings settings;
    settings.m_bAutoRefresh = true;
    settings.m_nAutoRefreshRate = 25;
    settings.m_bCompactFileSizes = false;
    settings.m_strNewmailPath = "\\\\server\\new\\";
    settings.Save(m_store);
    const std::vector<std::string> expected = {
        "[MainDlg]",          "AutoRefresh=1",
        "AutoRefreshRate=25", "ShowFolderPath=1",
        "WarnFolderPath=1",   "MailboxPathManual=0",
        "MailboxPath=",       "NewmailPath=\\\\server\\new\\",
        "CompactFileSizes=0", "ShowNewMailFolder=1",
    };
    EXPECT_EQ(expected, Lines());
    ProgramSettings loaded;
    loaded.Load(m_store);
    EXPECT_TRUE(loaded.m_bAutoRefresh);
    EXPECT_EQ(25, loaded.m_nAutoRefreshRate);
    EXPECT_FALSE(loaded.m_bCompactFileSizes);
    EXPECT_EQ("\\\\server\\new\\", loaded.m_strNewmailPath);
    EXPECT_EQ("", loaded.m_strMailboxPath);
}

} // namespace
