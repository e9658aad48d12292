// The main window under test: a registry of its own (HKEY_CURRENT_USER redirected for
// the test), the mail client's keys pointing at a generated mailbox, an application
// object with the registry store, and helpers to run the dialog with a script, seed
// stored values and read them back.
#pragma once

#include "app_test_support.h"
#include "folder_list_host_win32.h"
#include "mailgen.h"
#include "scratch_registry_win32.h"
#include "test_support.h"
#include "ui/main_dlg.h"
#include "ui_script_win32.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace uitest {

constexpr char kLegacyKey[] = "SOFTWARE\\Corvapps\\Foldtally\\MainDlg";

// Little-endian bytes of 32-bit integers, as the store keeps them.
std::string Ints(std::initializer_list<int32_t> values);
std::string Byte(uint8_t value);

class MainDlgTest : public ScratchRegistryTest {
protected:
    void SetUp() override;

    // The application as start-up leaves it: directories read, registry store made.
    void StartApp();
    // Runs a fresh main dialog through the application: first (unless `waitFirst` is
    // false, for boxes that open during initialisation) until it is up and enabled,
    // then the steps, each once no scan runs or waits (unless m_bStepsWaitForScans is
    // false, for tests of what the window does during a scan), then (unless the steps end it
    // themselves) the system close command. Returns the dialog's result.
    INT_PTR RunMain(const std::vector<testsupport::UiScript::Step>& steps);
    INT_PTR RunMain(CMainDlg& dlg, const std::vector<testsupport::UiScript::Step>& steps,
                    bool waitFirst = true, bool closeAtEnd = true);

    // A step that waits until the dialog is up and its modal loop runs.
    static testsupport::UiScript::Step WaitUntilShown(CMainDlg& dlg);

    // Stored values in the program's section.
    void Store(const std::string& name, DWORD type, const std::string& bytes) {
        SetRaw(kMainDlgKey, name, type, bytes);
    }
    std::string Stored(const std::string& name, DWORD expectedType);
    // Every stored value but "Placement" holds a first start's default, in its own type
    // and size: the default column widths in order 0 1 2, sort by folder ascending, the nine
    // settings' defaults.
    void ExpectDefaultsStoredBesidesPlacement();

    // The rows the list must show for the generated mailbox, in default order.
    std::vector<ExpectedRow> ExpectedRows(bool withNewMail) const;

    // The list's texts and the state of the menu bar's check marks.
    static bool IsChecked(HWND dialog, UINT command);

    bool m_bStepsWaitForScans = true;
    bool m_bAwkwardNames = false; // set before SetUp: names that separated values must quote
    testsupport::TempDir m_dir;
    std::string m_strMailbox;
    std::string m_strNewmail;
    mailgen::Expectation m_expected;
    apptest::TestApp m_app;
    CMainDlg* m_pDlg = nullptr; // the dialog of the running RunMain
};

// Visible dialog boxes ("#32770") owned by `owner`.
int CountOwnedDialogs(HWND owner);
// The text of a dialog's static controls, joined by "|".
std::string StaticTexts(HWND dialog);

} // namespace uitest
