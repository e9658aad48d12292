// The main window's test fixture: mailbox, registry, application and dialog runs.
#include "main_dlg_fixture_win32.h"

#include "settings/value_codecs.h"

#include <gtest/gtest.h>

namespace uitest {

std::string Ints(std::initializer_list<int32_t> values) {
    std::string bytes;
    for (int32_t v : values) {
        unsigned char b[4];
        StoreLittleEndian32(v, b);
        bytes.append(reinterpret_cast<const char*>(b), 4);
    }
    return bytes;
}

std::string Byte(uint8_t value) {
    return std::string(1, static_cast<char>(value));
}

namespace {

// The dialog of the running RunMain, for the watchdog.
CMainDlg* g_pRunning = nullptr;

// A main window that ignores Escape and IDCANCEL outlives a timed-out script; the
// watchdog ends it (and every box above it), so a broken test fails instead of hanging.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pRunning != nullptr) {
        ADD_FAILURE() << "the main window was still open at the time limit";
        g_pRunning->EndDialog(-2);
    }
    testsupport::CancelThreadDialogs();
}

} // namespace

void MainDlgTest::SetUp() {
    ScratchRegistryTest::SetUp();
    m_strMailbox = m_dir / "mail\\";
    m_strNewmail = m_dir / "new\\";
    mailgen::Options options;
    options.awkwardNames = m_bAwkwardNames;
    options.seed = 4242;
    options.folders = 14;
    options.maxDepth = 3;
    options.brokenFolders = 2;
    options.newMailFiles = 3;
    std::string error;
    ASSERT_TRUE(mailgen::Generate(m_strMailbox, m_strNewmail, options, m_expected, error)) << error;
    // The mail client's keys hold their directories as it writes them: no final
    // backslash, which start-up adds.
    SetRaw("Software\\Pegasus Mail\\Mailbox", "", REG_SZ,
           m_strMailbox.substr(0, m_strMailbox.size() - 1) + '\0');
    SetRaw("Software\\Pegasus Mail\\Newmail", "", REG_SZ,
           m_strNewmail.substr(0, m_strNewmail.size() - 1) + '\0');
}

void MainDlgTest::StartApp() {
    ASSERT_TRUE(m_app.SetStrings());
    m_app.CreateRegistryStore();
    ASSERT_EQ(m_strMailbox, m_app.GetMailboxPath());
}

testsupport::UiScript::Step MainDlgTest::WaitUntilShown(CMainDlg& dlg) {
    return [&dlg] {
        return dlg.GetSafeHwnd() != nullptr && dlg.IsWindowVisible() &&
               ::IsWindowEnabled(dlg.GetSafeHwnd()) && dlg.GetRefreshCount() > 0;
    };
}

INT_PTR MainDlgTest::RunMain(CMainDlg& dlg, const std::vector<testsupport::UiScript::Step>& steps,
                             bool waitFirst, bool closeAtEnd) {
    if (m_app.GetSettingsStore() == nullptr || m_app.GetRegistryKey().empty()) {
        StartApp();
    }
    std::vector<testsupport::UiScript::Step> all;
    if (waitFirst) {
        all.push_back(WaitUntilShown(dlg));
    }
    for (const testsupport::UiScript::Step& step : steps) {
        if (m_bStepsWaitForScans) {
            all.push_back([&dlg, step] { return !dlg.IsScanBusy() && step(); });
        } else {
            all.push_back(step);
        }
    }
    if (closeAtEnd) {
        all.push_back([&dlg] {
            dlg.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        });
    }
    m_pDlg = &dlg;
    g_pRunning = &dlg;
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 20000, Watchdog);
    testsupport::UiScript script(all, 15000);
    const INT_PTR result = m_app.RunModal(dlg);
    ::KillTimer(nullptr, watchdog);
    g_pRunning = nullptr;
    m_pDlg = nullptr;
    return result;
}

INT_PTR MainDlgTest::RunMain(const std::vector<testsupport::UiScript::Step>& steps) {
    CMainDlg dlg(m_app);
    return RunMain(dlg, steps);
}

void MainDlgTest::ExpectDefaultsStoredBesidesPlacement() {
    const std::vector<int32_t> widths = DefaultColumnWidths();
    EXPECT_EQ(Ints({widths[0], widths[1], widths[2]}), Stored("Columns", REG_BINARY));
    EXPECT_EQ(Ints({0, 1, 2}), Stored("ColOrder", REG_BINARY));
    EXPECT_EQ(Ints({2, 0}), Stored("Sort", REG_BINARY));
    EXPECT_EQ(Byte(0), Stored("AutoRefresh", REG_BINARY));
    EXPECT_EQ(Ints({10}), Stored("AutoRefreshRate", REG_BINARY));
    EXPECT_EQ(Byte(1), Stored("ShowFolderPath", REG_BINARY));
    EXPECT_EQ(Byte(1), Stored("WarnFolderPath", REG_BINARY));
    EXPECT_EQ(Byte(0), Stored("MailboxPathManual", REG_BINARY));
    EXPECT_EQ(std::string(1, '\0'), Stored("MailboxPath", REG_SZ));
    EXPECT_EQ(std::string(1, '\0'), Stored("NewmailPath", REG_SZ));
    EXPECT_EQ(Byte(1), Stored("CompactFileSizes", REG_BINARY));
    EXPECT_EQ(Byte(1), Stored("ShowNewMailFolder", REG_BINARY));
}

std::string MainDlgTest::Stored(const std::string& name, DWORD expectedType) {
    DWORD type = REG_NONE;
    std::string bytes;
    EXPECT_TRUE(GetRaw(kMainDlgKey, name, type, bytes)) << name << " is not stored";
    EXPECT_EQ(expectedType, type) << name;
    return bytes;
}

std::vector<ExpectedRow> MainDlgTest::ExpectedRows(bool withNewMail) const {
    std::vector<ExpectedRow> rows;
    for (const mailgen::ExpectedRow& r : m_expected.folders) {
        rows.push_back({r.fileName, r.folderPath + r.folderName, r.size});
    }
    if (withNewMail) {
        rows.push_back({"*.CNM", "<Posteingang>", m_expected.newMailSize});
    }
    return SortedRows(rows, 2, false, {0, 1, 2});
}

bool MainDlgTest::IsChecked(HWND dialog, UINT command) {
    HMENU view = ::GetSubMenu(::GetMenu(dialog), 1);
    return (::GetMenuState(view, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

namespace {

struct CountContext {
    HWND owner;
    int count;
};

BOOL CALLBACK CountOwned(HWND hWnd, LPARAM lParam) {
    CountContext* c = reinterpret_cast<CountContext*>(lParam);
    char name[16] = "";
    ::GetClassNameA(hWnd, name, sizeof name);
    if (::IsWindowVisible(hWnd) && std::string(name) == "#32770" &&
        ::GetWindow(hWnd, GW_OWNER) == c->owner) {
        ++c->count;
    }
    return TRUE;
}

} // namespace

int CountOwnedDialogs(HWND owner) {
    CountContext c = {owner, 0};
    ::EnumThreadWindows(::GetCurrentThreadId(), CountOwned, reinterpret_cast<LPARAM>(&c));
    return c.count;
}

std::string StaticTexts(HWND dialog) {
    std::string texts;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        ::GetClassNameA(child, name, sizeof name);
        const std::string text = testsupport::WindowText(child);
        if (lstrcmpiA(name, "Static") == 0 && !text.empty()) {
            texts += (texts.empty() ? "" : "|") + text;
        }
    }
    return texts;
}

} // namespace uitest
