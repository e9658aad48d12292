// The portable copy under Wine: with an INI file beside the program a run keeps every
// setting there and writes nothing to the registry; one it cannot write shows error
// 010 and keeps the run's changes in memory; "Einstellungen portabel speichern" makes
// the file from the current settings, or shows error 010 and keeps the registry.
#include "app_test_support.h"
#include "history/history_store.h"
#include "platform/clock.h"
#include "resource.h"
#include "scratch_registry_win32.h"
#include "test_support.h"
#include "ui/main_dlg.h"
#include "ui_script_win32.h"
#include "view/stored_values.h"

#include <gtest/gtest.h>

#include <algorithm>

using apptest::MailClientKeys;
using apptest::TestApp;
using testsupport::BoxCloser;
using testsupport::UiScript;

namespace {

const char kSection[] = "MainDlg";
const char kStoreKey[] = "Software\\Morvapps\\Foldtally\\MainDlg";
const char kLegacyKey[] = "SOFTWARE\\Corvapps\\Foldtally\\MainDlg";

std::string IniValue(const std::string& path, const char* name) {
    char text[1024] = {};
    ::GetPrivateProfileStringA(kSection, name, "<none>", text, sizeof text, path.c_str());
    return text;
}

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

class PortableTest : public ScratchRegistryTest {
protected:
    void SetUp() override {
        ScratchRegistryTest::SetUp();
        MailClientKeys::Set("Mailbox", REG_SZ, m_mailbox.Path());
        MailClientKeys::Set("Newmail", REG_SZ, m_mailbox.Path());
        m_strIni = m_folder / "foldtally.ini";
        m_app.SetIniPathOverride(m_strIni);
        m_app.SetMainDialogFactory([](CFoldtallyApp& self) -> std::unique_ptr<CDialog> {
            return std::unique_ptr<CDialog>(new CMainDlg(self));
        });
    }
    void TearDown() override {
        // A file marked read-only would stay behind its folder.
        ::SetFileAttributesA(m_strIni.c_str(), FILE_ATTRIBUTE_NORMAL);
        ScratchRegistryTest::TearDown();
    }

    // Runs the program: `commands` go to the main window in turn, each once the boxes
    // before it are closed; then the window is closed as the user would.
    void Run(const std::vector<UINT>& commands) {
        std::vector<UiScript::Step> steps;
        steps.push_back([this] { return MainWindow() != nullptr; });
        for (UINT command : commands) {
            steps.push_back([this, command] {
                m_bPortableItemGreyed.push_back(PortableItemGreyed());
                ::PostMessageA(MainWindow(), WM_COMMAND, command, 0);
                return true;
            });
            steps.push_back(
                [this] { return testsupport::FindOwnedDialog(MainWindow()) == nullptr; });
        }
        // A close during a scan cancels it, and with it the day's history entry.
        steps.push_back([this] { return !ScanCancellable(); });
        steps.push_back([this] {
            m_bPortableItemGreyed.push_back(PortableItemGreyed());
            ::PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        });
        UiScript script(std::move(steps), 10000);
        EXPECT_FALSE(m_app.InitInstance());
        EXPECT_TRUE(script.Finished());
    }
    HWND MainWindow() const {
        return m_app.m_pMainWnd != nullptr ? m_app.m_pMainWnd->GetSafeHwnd() : nullptr;
    }
    bool ItemGreyed(UINT command) const {
        const UINT state = ::GetMenuState(::GetMenu(MainWindow()), command, MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && (state & MF_GRAYED) != 0;
    }
    bool PortableItemGreyed() const { return ItemGreyed(ID_EXTRAS_PORTABLE); }
    bool ScanCancellable() const { return !ItemGreyed(ID_VIEW_CANCEL_SCAN); }
    // The boxes whose text starts with `start`.
    std::vector<BoxCloser::Box> Boxes(const std::string& start) const {
        std::vector<BoxCloser::Box> found;
        for (const BoxCloser::Box& box : m_boxes.Seen()) {
            if (box.text.rfind(start, 0) == 0) {
                found.push_back(box);
            }
        }
        return found;
    }
    std::string Error010() const {
        return "FEHLER 010: Die Datei \"foldtally.ini\" neben dem Programm kann nicht "
               "geschrieben werden. Die Einstellungen dieses Programmlaufs bleiben "
               "erhalten, werden aber nicht in dieser Datei gespeichert.";
    }

    MailClientKeys m_keys;
    testsupport::TempDir m_mailbox;
    testsupport::TempDir m_folder; // where the program lies
    std::string m_strIni;
    TestApp m_app;
    BoxCloser m_boxes;
    std::vector<bool> m_bPortableItemGreyed; // before each command and before the close
};

TEST_F(PortableTest, APortableRunKeepsEverySettingInTheFileAndWritesNothingToTheRegistry) {
    ASSERT_TRUE(testsupport::WriteFile(
        m_strIni, "[MainDlg]\r\nCompactFileSizes=0\r\nAutoRefreshRate=25\r\nShowFolderPath=0\r\n"));
    // An old key of an earlier version stays: a portable run leaves the registry alone.
    SetRaw(kLegacyKey, "AutoRefreshRate", REG_BINARY, std::string("\x07\0\0\0", 4));

    Run({ID_VIEW_NEWMAIL});

    EXPECT_TRUE(m_app.IsSettingsPortable());
    EXPECT_EQ("0", IniValue(m_strIni, "CompactFileSizes")) << "read from the file and kept";
    EXPECT_EQ("25", IniValue(m_strIni, "AutoRefreshRate"));
    EXPECT_EQ("0", IniValue(m_strIni, "ShowNewMailFolder")) << "this run's change";
    EXPECT_EQ(88u, IniValue(m_strIni, "Placement").size());
    const std::string columns = IniValue(m_strIni, "Columns");
    EXPECT_EQ(2, std::count(columns.begin(), columns.end(), ',')) << columns;
    EXPECT_FALSE(KeyExists("Software\\Morvapps"));
    EXPECT_TRUE(ValueExists(kLegacyKey, "AutoRefreshRate"));
    EXPECT_EQ((std::vector<bool>{true, true}), m_bPortableItemGreyed);
    EXPECT_TRUE(Boxes("FEHLER").empty());
    // The day's history entry lies beside the file, in the mailbox's own folder.
    const history::MailboxHistory besideFile(m_folder / "Verlauf\\", m_mailbox.Path());
    ASSERT_EQ(1u, besideFile.Days().size());
    EXPECT_EQ(platform::LocalToday().day, besideFile.Days()[0].day);
}

TEST_F(PortableTest, AFileThatCannotBeWrittenShows010AndKeepsTheRunsChangesInMemory) {
    const std::string before = "[MainDlg]\r\nCompactFileSizes=0\r\nShowFolderPath=0\r\n";
    ASSERT_TRUE(testsupport::WriteFile(m_strIni, before));
    // Wine takes the write permission away, which it then shows as this attribute.
    ASSERT_TRUE(::SetFileAttributesA(m_strIni.c_str(), FILE_ATTRIBUTE_READONLY));

    Run({ID_VIEW_COMPACT, ID_VIEW_NEWMAIL});

    const std::vector<BoxCloser::Box> errors = Boxes("FEHLER");
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ(Error010(), errors[0].text);
    EXPECT_EQ(nullptr, errors[0].owner) << "shown at start, before the main window";
    EXPECT_EQ(before, testsupport::ReadFile(m_strIni));
    EXPECT_FALSE(KeyExists("Software\\Morvapps"));
    EXPECT_EQ((std::vector<bool>{true, true, true}), m_bPortableItemGreyed);
    // What the run changed it still knows, as a window opened again would read it.
    SettingsStore* store = m_app.GetSettingsStore();
    ASSERT_TRUE(store->Open(kSection));
    EXPECT_TRUE(store->ReadBool("CompactFileSizes", false));
    EXPECT_FALSE(store->ReadBool("ShowNewMailFolder", true));
    EXPECT_FALSE(store->ReadBool("ShowFolderPath", true)) << "and what the file holds";
    store->Close();
    // Nor is a history written beside a file that may not be written.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((m_folder / "Verlauf").c_str()));
}

// The language is read before the store is chosen (the first boxes speak it already) and
// from the store the run keeps: here the file beside the program, whose English the
// German Wine of the tests would never give. A choice in the menu is for the next start.
TEST_F(PortableTest, TheStoredLanguageSpeaksFromTheStartAndTheMenuKeepsAChoiceForTheNext) {
    struct German {
        ~German() {
            SetResourceLanguage(Language::German);
            SetUserLanguage(Language::German);
        }
    } restore;
    ASSERT_TRUE(testsupport::WriteFile(m_strIni, "[MainDlg]\r\nLanguage=2\r\n"));
    std::string menuBar;
    m_app.SetMainDialogFactory([&menuBar](CFoldtallyApp& self) -> std::unique_ptr<CDialog> {
        struct Dlg : CMainDlg {
            Dlg(CFoldtallyApp& app, std::string& menu) : CMainDlg(app), m_menu(menu) {}
            BOOL OnInitDialog() override {
                const BOOL result = CMainDlg::OnInitDialog();
                char text[64] = {};
                ::GetMenuStringA(::GetMenu(m_hWnd), 0, text, sizeof text, MF_BYPOSITION);
                m_menu = text;
                return result;
            }
            std::string& m_menu;
        };
        return std::unique_ptr<CDialog>(new Dlg(self, menuBar));
    });

    Run({ID_EXTRAS_LANGUAGE_GERMAN, ID_EXTRAS_LANGUAGE_GERMAN});

    EXPECT_EQ("&File", menuBar);
    EXPECT_EQ("1", IniValue(m_strIni, "Language"));
    // Once said; the same choice again changes nothing this run can show.
    const std::vector<BoxCloser::Box> boxes = Boxes("The chosen language");
    ASSERT_EQ(1u, boxes.size()) << (m_boxes.Seen().empty() ? "" : m_boxes.Seen()[0].text);
}

TEST_F(PortableTest, TheCommandWritesTheCurrentSettingsBesideTheProgramAndTheRunKeepsThemThere) {
    SetRaw(kStoreKey, "ShowFolderPath", REG_BINARY, std::string(1, '\0'));
    // The other windows' values, which this window does not hold, each in its form.
    for (const view::StoredValue& v : view::kStoredValues) {
        const size_t size =
            v.form == view::StoredForm::kBytes ? v.size : 4 * std::max<size_t>(v.size, 1);
        if (v.window != view::StoredWindow::kMain) {
            SetRaw(kStoreKey, v.name, REG_BINARY, std::string(size, '\x01'));
        }
    }
    std::string treePlacement(44, '\0');
    treePlacement[0] = 44;
    treePlacement[8] = 1;
    SetRaw(kStoreKey, "TreePlacement", REG_BINARY, treePlacement);
    SetRaw(kStoreKey, "TreeColumns", REG_BINARY,
           std::string("\xC8\0\0\0\x50\0\0\0\x3C\0\0\0\x50\0\0\0\x3C\0\0\0", 20));

    Run({ID_VIEW_COMPACT, ID_EXTRAS_PORTABLE, ID_VIEW_NEWMAIL});

    ASSERT_TRUE(IsFile(m_strIni));
    EXPECT_TRUE(m_app.IsSettingsPortable());
    const std::vector<BoxCloser::Box> notes = Boxes("Die Einstellungen stehen jetzt");
    ASSERT_EQ(1u, notes.size());
    EXPECT_EQ("Die Einstellungen stehen jetzt in der Datei \"" + m_strIni +
                  "\". Solange sie neben dem Programm liegt, speichert das Programm seine "
                  "Einstellungen dort und nicht in der Registry.",
              notes[0].text);
    EXPECT_EQ("Ordner-Statistik für Pegasus-Mail", notes[0].caption);
    EXPECT_TRUE(Boxes("FEHLER").empty());
    // The values of the moment: the one changed before, the one from the registry, the
    // tree window's.
    EXPECT_EQ("0", IniValue(m_strIni, "CompactFileSizes"));
    EXPECT_EQ("0", IniValue(m_strIni, "ShowFolderPath"));
    EXPECT_EQ("10", IniValue(m_strIni, "AutoRefreshRate"));
    EXPECT_EQ("2C0000000000000001" + std::string(70, '0'), IniValue(m_strIni, "TreePlacement"));
    EXPECT_EQ("200, 80, 60, 80, 60", IniValue(m_strIni, "TreeColumns"));
    for (const view::StoredValue& v : view::kStoredValues) {
        EXPECT_TRUE(v.window == view::StoredWindow::kMain || IniValue(m_strIni, v.name) != "<none>")
            << v.name;
    }
    EXPECT_EQ(88u, IniValue(m_strIni, "Placement").size());
    // After the command the run keeps its settings in the file, not in the registry.
    EXPECT_EQ("0", IniValue(m_strIni, "ShowNewMailFolder"));
    EXPECT_FALSE(ValueExists(kStoreKey, "ShowNewMailFolder"));
    EXPECT_FALSE(ValueExists(kStoreKey, "CompactFileSizes"));
    EXPECT_EQ((std::vector<bool>{false, false, true, true}), m_bPortableItemGreyed);
}

TEST_F(PortableTest, TheCommandWhereTheFileCannotBeWrittenShows010AndKeepsTheRegistry) {
    // A folder of the file's name: no one can write the file there, root neither.
    ASSERT_TRUE(testsupport::MakeDirectory(m_strIni));

    Run({ID_VIEW_COMPACT, ID_EXTRAS_PORTABLE});
    ::RemoveDirectoryA(m_strIni.c_str());

    const std::vector<BoxCloser::Box> errors = Boxes("FEHLER");
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ(Error010(), errors[0].text);
    EXPECT_TRUE(Boxes("Die Einstellungen stehen jetzt").empty());
    EXPECT_FALSE(m_app.IsSettingsPortable());
    // Nothing lost: the run's values went where they always went.
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(GetRaw(kStoreKey, "CompactFileSizes", type, bytes));
    EXPECT_EQ(std::string(1, '\0'), bytes);
    EXPECT_EQ((std::vector<bool>{false, false, false}), m_bPortableItemGreyed);
}

} // namespace
