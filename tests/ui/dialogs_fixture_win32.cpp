// The settings and About tests' application object and control helpers.
#include "dialogs_fixture_win32.h"

namespace dialogtest {

DialogTestApp::DialogTestApp() {
    SetHelpFilePath("C:\\programme\\foldtally.chm");
    SetHelpViewer([this](HWND owner, const char* path, UINT command, DWORD_PTR data) {
        m_helpCalls.push_back({owner, path, command, data});
        return ::GetDesktopWindow();
    });
}

std::string BesideTestProgram(const char* fileName) {
    return apptest::ModuleDirectory() + fileName;
}

HWND Item(HWND dialog, int id) {
    return ::GetDlgItem(dialog, id);
}

std::string ItemText(HWND dialog, int id) {
    char text[1024] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void SetItemText(HWND dialog, int id, const std::string& text) {
    ::SetDlgItemTextA(dialog, id, text.c_str());
}

bool IsChecked(HWND dialog, int id) {
    return ::SendMessageA(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) {
    return ::IsWindowEnabled(Item(dialog, id)) != FALSE;
}

void Click(HWND dialog, int id) {
    ::SendMessageA(Item(dialog, id), BM_CLICK, 0, 0);
}

void Type(HWND dialog, int id, const std::string& characters) {
    HWND edit = Item(dialog, id);
    for (char c : characters) {
        ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

bool HasFocusWithAllSelected(HWND dialog, int id) {
    HWND edit = Item(dialog, id);
    DWORD start = 99;
    DWORD end = 99;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const DWORD length = static_cast<DWORD>(::GetWindowTextLengthA(edit));
    return ::GetFocus() == edit && start == 0 && end == length;
}

} // namespace dialogtest
