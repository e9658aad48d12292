// Shared pieces of the settings dialog and About box tests: an application object
// whose module path and help viewer a test chooses, and one-line reads and actions on
// a running dialog's controls.
#pragma once

#include "app_test_support.h"

#include <windows.h>

#include <string>
#include <vector>

namespace dialogtest {

// One call of the help viewer.
struct HelpCall {
    HWND owner;
    std::string path;
    UINT command;
    DWORD_PTR data;
};

// The application the dialogs talk to: its help opens nothing but is recorded, and
// its module path is whatever file the test wants the About box to read.
class DialogTestApp : public apptest::TestApp {
public:
    DialogTestApp();
    void SetModulePath(const std::string& path) { m_strModulePath = path; }

    std::vector<HelpCall> m_helpCalls;
};

// The full path of a file beside the test program.
std::string BesideTestProgram(const char* fileName);

HWND Item(HWND dialog, int id);
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// A click as the mouse makes it: the button changes its state and tells the dialog.
void Click(HWND dialog, int id);
// Characters into the edit as the keyboard delivers them (WM_CHAR each).
void Type(HWND dialog, int id, const std::string& characters);
// Whether the edit has the focus and its whole text selected.
bool HasFocusWithAllSelected(HWND dialog, int id);

} // namespace dialogtest
