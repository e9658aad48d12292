// The version reader on real files: the program's own resource, a probe module with
// two translations (English first, German without a product name) and one without a
// translation table, and files that have no version resource at all.
#include "dialogs_fixture_win32.h"
#include "ui/version_info.h"

#include <gtest/gtest.h>

#include <fstream>

using dialogtest::BesideTestProgram;

namespace {

const char kTwoTranslations[] = "version_probe_two_translations.dll";
const char kNoTranslation[] = "version_probe_no_translation.dll";

std::string OwnModule() {
    return apptest::ModulePathWithExtension(".exe");
}

struct Fixed {
    uint16_t major = 0xEEEE, minor = 0xEEEE, revision = 0xEEEE, build = 0xEEEE;
};

TEST(VersionInfoTest, TheProgramsOwnResourceIsReadInGerman) {
    CVersionInfo info;
    ASSERT_TRUE(info.LoadFile(OwnModule(), 0));
    EXPECT_EQ("\\StringFileInfo\\040704B0\\", info.GetPrefix());
    EXPECT_EQ("Foldtally", info.QueryString("ProductName"));
    EXPECT_EQ("Ordner-Statistik für Pegasus-Mail", info.QueryString("FileDescription"));
}

TEST(VersionInfoTest, FixedVersionAndTextComeFromTheFile) {
    struct Case {
        const char* file;
        uint16_t major, minor, revision, build;
        const char* text;
    };
    const Case cases[] = {
        {kTwoTranslations, 1, 2, 3, 4, "v1.02c Build 0004"},
        {kNoTranslation, 4, 5, 26, 0, "v4.05z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CVersionInfo info;
        ASSERT_TRUE(info.LoadFile(BesideTestProgram(c.file), 0));
        Fixed f;
        ASSERT_TRUE(info.GetFixedVersion(f.major, f.minor, f.revision, f.build));
        EXPECT_EQ(c.major, f.major);
        EXPECT_EQ(c.minor, f.minor);
        EXPECT_EQ(c.revision, f.revision);
        EXPECT_EQ(c.build, f.build);
        EXPECT_EQ(c.text, info.GetVersionText());
    }
}

TEST(VersionInfoTest, TranslationIndexChoosesTheStringTable) {
    struct Case {
        int index;
        const char* prefix;
        const char* description;
        const char* product;
    };
    const Case cases[] = {
        {0, "\\StringFileInfo\\040904E4\\", "Version probe", "Probe"},
        {1, "\\StringFileInfo\\040704B0\\", "Versionssonde für Prüfungen", ""},
        {2, "\\StringFileInfo\\040904E4\\", "Version probe", "Probe"},
        {99, "\\StringFileInfo\\040904E4\\", "Version probe", "Probe"},
        {-1, "\\StringFileInfo\\040904E4\\", "Version probe", "Probe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        CVersionInfo info;
        ASSERT_TRUE(info.LoadFile(BesideTestProgram(kTwoTranslations), c.index));
        EXPECT_EQ(c.prefix, info.GetPrefix());
        EXPECT_EQ(c.description, info.QueryString("FileDescription"));
        EXPECT_EQ(c.product, info.QueryString("ProductName"));
        EXPECT_EQ("", info.QueryString("NoSuchValue"));
    }
}

TEST(VersionInfoTest, SelectTranslationSwitchesTablesOfTheLoadedBlock) {
    CVersionInfo info;
    ASSERT_TRUE(info.LoadFile(BesideTestProgram(kTwoTranslations), 0));
    info.SelectTranslation(1);
    EXPECT_EQ("Urheberrecht Sonde", info.QueryString("LegalCopyright"));
    info.SelectTranslation(0);
    EXPECT_EQ("Copyright probe", info.QueryString("LegalCopyright"));
}

TEST(VersionInfoTest, WithoutTranslationTableLanguageZeroAndUnicodeAreRead) {
    CVersionInfo info;
    ASSERT_TRUE(info.LoadFile(BesideTestProgram(kNoTranslation), 3));
    EXPECT_EQ("\\StringFileInfo\\000004B0\\", info.GetPrefix());
    EXPECT_EQ("Sonde B", info.QueryString("ProductName"));
    EXPECT_EQ("", info.QueryString("FileDescription"));
}

TEST(VersionInfoTest, FilesWithoutVersionResourceGiveNothing) {
    const std::string plain = BesideTestProgram("version_info_test_plain.txt");
    {
        std::ofstream out(plain, std::ios::binary);
        out << "no version resource here";
    }
    for (const std::string& path : {plain, BesideTestProgram("no-such-file.exe"), std::string()}) {
        SCOPED_TRACE(path);
        CVersionInfo info;
        EXPECT_FALSE(info.LoadFile(path, 0));
        EXPECT_FALSE(info.IsLoaded());
        Fixed f;
        EXPECT_FALSE(info.GetFixedVersion(f.major, f.minor, f.revision, f.build));
        EXPECT_EQ(0xEEEE, f.major);
        EXPECT_EQ(0xEEEE, f.build);
        EXPECT_EQ("", info.GetVersionText());
        EXPECT_EQ("", info.QueryString("ProductName"));
    }
    ::DeleteFileA(plain.c_str());
}

TEST(VersionInfoTest, LoadingAnotherFileOrFreeingReleasesTheFormerBlock) {
    CVersionInfo info;
    ASSERT_TRUE(info.LoadFile(BesideTestProgram(kTwoTranslations), 1));
    EXPECT_FALSE(info.LoadFile(BesideTestProgram("no-such-file.dll"), 0));
    EXPECT_EQ("", info.GetPrefix());
    EXPECT_EQ("", info.QueryString("LegalCopyright"));
    EXPECT_EQ("", info.GetVersionText());

    ASSERT_TRUE(info.LoadFile(BesideTestProgram(kTwoTranslations), 1));
    info.Free();
    EXPECT_FALSE(info.IsLoaded());
    EXPECT_EQ("", info.GetPrefix());
    EXPECT_EQ("", info.QueryString("LegalCopyright"));
    EXPECT_EQ("", info.GetVersionText());
    // Without a block the default translation is chosen.
    info.SelectTranslation(0);
    EXPECT_EQ("\\StringFileInfo\\000004B0\\", info.GetPrefix());
}

} // namespace
