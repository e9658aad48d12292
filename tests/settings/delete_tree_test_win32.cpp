// Removing key trees and the legacy location, against Wine's real registry: trees of
// several levels, a child that cannot be deleted, and the legacy vendor key with and
// without other programs' keys beside ours.
#include "scratch_registry_win32.h"
#include "settings/program_settings.h"
#include "settings/registry_store_win32.h"

namespace {

class DeleteTreeTest : public ScratchRegistryTest {};

TEST_F(DeleteTreeTest, RemovesNestedSubkeysOfAnyDepthWithTheirValues) {
    std::string deepest = "Section";
    for (int level = 0; level < 12; ++level) {
        deepest += "\\level" + std::to_string(level);
        CreateKey(deepest + "\\side" + std::to_string(level));
        SetRaw(deepest, "v", REG_BINARY, "x");
    }
    CreateKey("Section\\z\\y\\x");
    CreateKey("Sibling\\child");
    EXPECT_EQ(ERROR_SUCCESS, DeleteTree(HKEY_CURRENT_USER, "Section"));
    EXPECT_FALSE(KeyExists("Section"));
    EXPECT_TRUE(KeyExists("Sibling\\child"));
}

TEST_F(DeleteTreeTest, AMissingKeyOrAnEmptyNameIsAnErrorAndDeletesNothing) {
    CreateKey("Parent\\child");
    RegistryKey parent;
    ASSERT_EQ(ERROR_SUCCESS, parent.Open(HKEY_CURRENT_USER, "Parent", KEY_ALL_ACCESS));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, parent.DeleteTree("missing"));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, parent.DeleteTree(""));
    EXPECT_TRUE(KeyExists("Parent\\child"));
    EXPECT_EQ(ERROR_SUCCESS, parent.DeleteTree("child"));
    EXPECT_FALSE(KeyExists("Parent\\child"));
    EXPECT_TRUE(KeyExists("Parent"));
}

// A key named in characters outside the 8-bit code page enumerates as "??" through the
// A functions, and no key of that name can be opened: for this program such a child
// cannot be deleted. It must stop the walk with its error and leave its parents.
TEST_F(DeleteTreeTest, AChildThatCannotBeDeletedStopsTheWalkAndKeepsItsParents) {
    CreateKey("Section\\a\\inner");
    CreateKey("Section\\c");
    const wchar_t* const locked = L"Section\\b\\\u4E2D\u6587";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, locked, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, DeleteTree(HKEY_CURRENT_USER, "Section"));
    EXPECT_FALSE(KeyExists("Section\\a")); // enumerated before the locked one
    EXPECT_TRUE(KeyExists("Section\\b"));
    EXPECT_TRUE(KeyExists("Section\\c")); // the walk stopped before it
    EXPECT_TRUE(KeyExists("Section"));

    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, locked));
    EXPECT_EQ(ERROR_SUCCESS, DeleteTree(HKEY_CURRENT_USER, "Section"));
    EXPECT_FALSE(KeyExists("Section"));
}

class LegacyStoreTest : public ScratchRegistryTest {};

constexpr char kLegacyMainDlg[] = "SOFTWARE\\Corvapps\\Foldtally\\MainDlg";

TEST_F(LegacyStoreTest, NothingIsFoundWhereNoLegacySectionExists) {
    EXPECT_EQ(nullptr, FindLegacyStore("MainDlg"));
    EXPECT_FALSE(KeyExists("SOFTWARE\\Corvapps")); // looking created nothing
    CreateKey("SOFTWARE\\Corvapps\\Foldtally\\Other");
    EXPECT_EQ(nullptr, FindLegacyStore("MainDlg"));
}

TEST_F(LegacyStoreTest, AFoundStoreReadsTheLegacySection) {
    SetRaw(kLegacyMainDlg, "AutoRefresh", REG_BINARY, std::string(1, '\1'));
    SetRaw(kLegacyMainDlg, "AutoRefreshRate", REG_BINARY, std::string("\x2D\0\0\0", 4));
    SetRaw(kLegacyMainDlg, "MailboxPath", REG_SZ, std::string("D:\\MAIL\\\0", 9));
    std::unique_ptr<RegistrySettingsStore> legacy = FindLegacyStore("MainDlg");
    ASSERT_NE(nullptr, legacy);
    EXPECT_EQ("Corvapps\\Foldtally", legacy->GetStoreKey());
    EXPECT_FALSE(legacy->IsOpen());
    ASSERT_TRUE(legacy->Open("MainDlg"));
    ProgramSettings settings;
    settings.Load(*legacy);
    EXPECT_TRUE(settings.m_bAutoRefresh);
    EXPECT_EQ(45, settings.m_nAutoRefreshRate);
    EXPECT_EQ("D:\\MAIL\\", settings.m_strMailboxPath);
    EXPECT_TRUE(settings.m_bShowFolderPath);
}

TEST_F(LegacyStoreTest, DeletingTheLegacyStoreRemovesTheVendorKeyWhenNothingElseIsLeft) {
    CreateKey(std::string(kLegacyMainDlg) + "\\nested\\deeper");
    SetRaw(kLegacyMainDlg, "AutoRefresh", REG_BINARY, std::string(1, '\1'));
    CreateKey("SOFTWARE\\Unrelated");
    DeleteLegacyStore();
    EXPECT_FALSE(KeyExists("SOFTWARE\\Corvapps"));
    EXPECT_TRUE(KeyExists("SOFTWARE\\Unrelated"));
}

TEST_F(LegacyStoreTest, DeletingTheLegacyStoreKeepsTheVendorKeyWhileItHasOtherSubkeys) {
    CreateKey(std::string(kLegacyMainDlg) + "\\nested");
    SetRaw("SOFTWARE\\Corvapps\\OtherProgram", "Keep", REG_BINARY, std::string(1, '\1'));
    DeleteLegacyStore();
    EXPECT_FALSE(KeyExists("SOFTWARE\\Corvapps\\Foldtally"));
    EXPECT_TRUE(ValueExists("SOFTWARE\\Corvapps\\OtherProgram", "Keep"));
}

TEST_F(LegacyStoreTest, DeletingWhatIsNotThereChangesNothing) {
    CreateKey("SOFTWARE\\Other");
    DeleteLegacyStore();
    EXPECT_TRUE(KeyExists("SOFTWARE\\Other"));
    CreateKey("SOFTWARE\\Corvapps");
    DeleteLegacyStore(); // no program key below the vendor: the empty vendor key goes
    EXPECT_FALSE(KeyExists("SOFTWARE\\Corvapps"));
}

// The whole move as the main dialog does it: read from the legacy store, drop it,
// then save to the application's store.
TEST_F(LegacyStoreTest, MigratedValuesReachTheCurrentLocationInTheirExactForms) {
    SetRaw(kLegacyMainDlg, "ShowFolderPath", REG_BINARY, std::string(1, '\0'));
    SetRaw(kLegacyMainDlg, "AutoRefreshRate", REG_BINARY, std::string("\x1E\0\0\0", 4));
    ProgramSettings settings;
    {
        std::unique_ptr<RegistrySettingsStore> legacy = FindLegacyStore("MainDlg");
        ASSERT_NE(nullptr, legacy);
        ASSERT_TRUE(legacy->Open("MainDlg"));
        settings.Load(*legacy);
    }
    DeleteLegacyStore();
    RegistrySettingsStore store(kProgramStoreKey);
    ASSERT_TRUE(store.Open("MainDlg"));
    settings.Save(store);
    store.Close();
    EXPECT_FALSE(KeyExists("SOFTWARE\\Corvapps"));
    EXPECT_EQ(nullptr, FindLegacyStore("MainDlg"));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(GetRaw(kMainDlgKey, "AutoRefreshRate", type, bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    EXPECT_EQ(std::string("\x1E\0\0\0", 4), bytes);
    ASSERT_TRUE(GetRaw(kMainDlgKey, "ShowFolderPath", type, bytes));
    EXPECT_EQ(std::string(1, '\0'), bytes);
}

} // namespace
