// Start-up: file names beside the program whatever the current directory, the mail
// client's directories with their warnings, the stores, and the order of InitInstance.
#include "app_test_support.h"
#include "resource.h"
#include "settings/change_tracking_store.h"
#include "settings/ini_store_win32.h"
#include "settings/registry_store_win32.h"
#include "test_support.h"
#include "ui_script_win32.h"

#include <gtest/gtest.h>

using apptest::MailClientKeys;
using apptest::TestApp;
using testsupport::BoxCloser;

namespace {

// The application's store is the backend of `T` behind the store that writes only changes.
template <class T> T* BackendOf(SettingsStore* store) {
    ChangeTrackingStore* tracking = dynamic_cast<ChangeTrackingStore*>(store);
    return tracking != nullptr ? dynamic_cast<T*>(&tracking->Backend()) : nullptr;
}

const char kWarning501[] =
    "WARNUNG 501: Der Mailbox-Pfad konnte nicht aus der Registry ermittelt werden.";
const char kWarning503[] =
    "WARNUNG 503: Der Newmail-Pfad konnte nicht aus der Registry ermittelt werden.";

class StartupTest : public testing::Test {
protected:
    MailClientKeys m_keys;
};

TEST_F(StartupTest, IniAndHelpFilesSitBesideTheProgramWhateverTheCurrentDirectory) {
    MailClientKeys::Set("Mailbox", REG_SZ, "C:\\PMAIL\\MAIL");
    MailClientKeys::Set("Newmail", REG_SZ, "C:\\PMAIL\\NEU");
    testsupport::TempDir elsewhere;
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(elsewhere.Path().c_str()));
    TestApp app;
    const bool ok = app.SetStrings();
    ::SetCurrentDirectoryA(previous);

    EXPECT_TRUE(ok);
    EXPECT_EQ(apptest::ModulePathWithExtension(".exe"), app.GetModulePath());
    EXPECT_EQ(apptest::ModulePathWithExtension(".ini"), app.GetIniPath());
    EXPECT_EQ(apptest::ModulePathWithExtension(".chm"), app.GetHelpFilePath());
    EXPECT_EQ("Morvapps\\Foldtally", app.GetRegistryKey());
    EXPECT_EQ("Ordner-Statistik für Pegasus-Mail", app.GetAppTitle());
}

// English chosen: the title and the help speak it where the English help is installed,
// and the German help opens where it is not, rather than none.
TEST_F(StartupTest, TheChosenLanguageNamesTheProgramAndPicksItsHelpElseTheGermanOne) {
    struct German {
        ~German() {
            SetResourceLanguage(Language::German);
            SetUserLanguage(Language::German);
        }
    } restore;
    MailClientKeys::Set("Mailbox", REG_SZ, "C:\\PMAIL\\MAIL");
    MailClientKeys::Set("Newmail", REG_SZ, "C:\\PMAIL\\NEU");
    testsupport::TempDir folder;
    const std::string ini = folder / "foldtally.ini";
    ASSERT_TRUE(testsupport::WriteFile(ini, "[MainDlg]\r\nLanguage=2\r\n"));
    const std::string english = apptest::ModulePathWithExtension("_en.chm");
    for (bool installed : {false, true}) {
        if (installed) {
            ASSERT_TRUE(testsupport::WriteFile(english, "ITSF"));
        }
        TestApp app;
        app.SetIniPathOverride(ini);
        ASSERT_TRUE(app.SetStrings());
        EXPECT_EQ(installed ? english : apptest::ModulePathWithExtension(".chm"),
                  app.GetHelpFilePath());
        EXPECT_EQ("Folder Statistics for Pegasus Mail", app.GetAppTitle());
    }
    ::DeleteFileA(english.c_str());
}

struct DirectoryCase {
    const char* stored;
    const char* expected;
};

TEST_F(StartupTest, DirectoriesEndInOneBackslashAndEmptyStaysEmptyWithoutWarning) {
    const DirectoryCase cases[] = {
        {"C:\\PMail\\Mail", "C:\\PMail\\Mail\\"},   {"C:\\PMail\\Mail\\", "C:\\PMail\\Mail\\"},
        {"\\\\SERVER\\Mail", "\\\\SERVER\\Mail\\"}, {"", ""},
        {"Größe\\Entwürfe", "Größe\\Entwürfe\\"},
    };
    for (const DirectoryCase& c : cases) {
        SCOPED_TRACE(c.stored);
        MailClientKeys::Set("Mailbox", REG_SZ, c.stored);
        MailClientKeys::Set("Newmail", REG_SZ, c.stored);
        BoxCloser boxes;
        testsupport::TraceCapture trace;
        TestApp app;
        ASSERT_TRUE(app.SetStrings());
        EXPECT_EQ(c.expected, app.GetMailboxPath());
        EXPECT_EQ(c.expected, app.GetNewmailPath());
        EXPECT_TRUE(boxes.Seen().empty());
        ASSERT_EQ(2u, trace.Lines().size());
        EXPECT_EQ(std::string("[Foldtally.CFoldtallyApp.SetStrings] Mailbox-Path = \"") +
                      c.expected + "\"\n",
                  trace.Lines()[0]);
        EXPECT_EQ(std::string("[Foldtally.CFoldtallyApp.SetStrings] Newmail-Path = \"") +
                      c.expected + "\"\n",
                  trace.Lines()[1]);
    }
}

TEST_F(StartupTest, MissingKeysWarn501Then503) {
    MailClientKeys::Remove("Mailbox");
    MailClientKeys::Remove("Newmail");
    BoxCloser boxes;
    TestApp app;
    ASSERT_TRUE(app.SetStrings());
    EXPECT_EQ("", app.GetMailboxPath());
    EXPECT_EQ("", app.GetNewmailPath());
    ASSERT_EQ(2u, boxes.Seen().size());
    EXPECT_EQ("WARNUNG", boxes.Seen()[0].caption);
    EXPECT_EQ(kWarning501, boxes.Seen()[0].text);
    EXPECT_EQ(nullptr, boxes.Seen()[0].owner);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_EXCLAMATION), boxes.Seen()[0].icon);
    EXPECT_EQ(kWarning503, boxes.Seen()[1].text);
    EXPECT_EQ(2603u, app.GetLastMessageId());
}

struct TypeCase {
    const char* what;
    DWORD type;
    bool warned;
};

TEST_F(StartupTest, OnlyAStringValueCountsAsReadable) {
    const TypeCase cases[] = {
        {"REG_SZ", REG_SZ, false},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, true},
        {"REG_BINARY", REG_BINARY, true},
        {"REG_MULTI_SZ", REG_MULTI_SZ, true},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.what);
        MailClientKeys::Set("Mailbox", c.type, "%WINDIR%\\Mail");
        MailClientKeys::Set("Newmail", REG_SZ, "C:\\NEU");
        BoxCloser boxes;
        TestApp app;
        ASSERT_TRUE(app.SetStrings());
        EXPECT_EQ(c.warned ? "" : "%WINDIR%\\Mail\\", app.GetMailboxPath());
        EXPECT_EQ("C:\\NEU\\", app.GetNewmailPath());
        ASSERT_EQ(c.warned ? 1u : 0u, boxes.Seen().size());
        if (c.warned) {
            EXPECT_EQ(kWarning501, boxes.Seen()[0].text);
        }
    }
}

TEST_F(StartupTest, WarningIdZeroReadsSilently) {
    MailClientKeys::Remove("Mailbox");
    BoxCloser boxes;
    TestApp app;
    EXPECT_EQ("", app.ReadMailClientDirectory("Mailbox", 0));
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(StartupTest, IniStoreBesideTheProgramIsReplacedByTheRegistryStore) {
    MailClientKeys::Set("Mailbox", REG_SZ, "C:\\M");
    MailClientKeys::Set("Newmail", REG_SZ, "C:\\N");
    TestApp app;
    ASSERT_TRUE(app.SetStrings());
    app.CreateIniStore();
    IniSettingsStore* ini = BackendOf<IniSettingsStore>(app.GetSettingsStore());
    ASSERT_NE(nullptr, ini);
    EXPECT_EQ(app.GetIniPath(), ini->File().GetPath());
    EXPECT_EQ(1024u, ini->File().GetBufferSize());
    EXPECT_FALSE(ini->IsOpen());
    app.CreateRegistryStore();
    RegistrySettingsStore* registry = BackendOf<RegistrySettingsStore>(app.GetSettingsStore());
    ASSERT_NE(nullptr, registry);
    EXPECT_EQ("Morvapps\\Foldtally", registry->GetStoreKey());
    EXPECT_FALSE(registry->IsOpen());
}

// Stands in for the main dialog: records what start-up had done when it opened.
class ProbeMainDlg : public CDialog {
public:
    explicit ProbeMainDlg(CFoldtallyApp& app) : CDialog(IDD_FOLDTALLY_DIALOG), m_app(app) {}
    CFoldtallyApp& m_app;
    static size_t s_boxesBefore;
    static bool s_registryStore;
    static bool s_isCurrent;
    static bool s_isMainWindow;
    static HWND s_owner;
    static const testsupport::BoxCloser* s_boxes;

protected:
    BOOL OnInitDialog() override {
        s_boxesBefore = s_boxes->Seen().size();
        s_registryStore = BackendOf<RegistrySettingsStore>(m_app.GetSettingsStore()) != nullptr;
        s_isCurrent = m_app.GetModalDlg() == this;
        s_isMainWindow = m_app.m_pMainWnd == this;
        s_owner = ::GetWindow(m_hWnd, GW_OWNER);
        EndDialog(IDOK);
        return TRUE;
    }
};
size_t ProbeMainDlg::s_boxesBefore = 0;
bool ProbeMainDlg::s_registryStore = false;
bool ProbeMainDlg::s_isCurrent = false;
bool ProbeMainDlg::s_isMainWindow = false;
HWND ProbeMainDlg::s_owner = reinterpret_cast<HWND>(1);
const testsupport::BoxCloser* ProbeMainDlg::s_boxes = nullptr;

TEST_F(StartupTest, InitInstanceWarnsThenRunsTheMainDialogOnTheRegistryStore) {
    MailClientKeys::Remove("Mailbox");
    MailClientKeys::Remove("Newmail");
    BoxCloser boxes;
    ProbeMainDlg::s_boxes = &boxes;
    TestApp app;
    int made = 0;
    app.SetMainDialogFactory([&made](CFoldtallyApp& self) -> std::unique_ptr<CDialog> {
        ++made;
        return std::unique_ptr<CDialog>(new ProbeMainDlg(self));
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(1, made);
    EXPECT_EQ(2u, ProbeMainDlg::s_boxesBefore);
    ASSERT_EQ(2u, boxes.Seen().size());
    EXPECT_EQ(kWarning501, boxes.Seen()[0].text.substr(0, sizeof kWarning501 - 1));
    // The help callback is installed before the warnings, so they offer help.
    EXPECT_EQ((std::vector<std::string>{"&Schließen", "&Hilfe"}), boxes.Seen()[0].buttons);
    EXPECT_TRUE(ProbeMainDlg::s_registryStore);
    EXPECT_TRUE(ProbeMainDlg::s_isCurrent);
    EXPECT_TRUE(ProbeMainDlg::s_isMainWindow);
    EXPECT_EQ(nullptr, ProbeMainDlg::s_owner);
    EXPECT_EQ(nullptr, app.GetModalDlg());
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

} // namespace
