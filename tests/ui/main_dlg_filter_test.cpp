// The main window's filter line under Wine: Ctrl+F, typed words, the rows and the status
// line that follow, a filter that passes nothing, Escape, and a size that is no size.
#include "main_dlg_fixture_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace uitest {
namespace {

TEST_F(MainDlgTest, TypingIntoTheFilterShowsOnlyTheMatchingRowsUntilEscapeEmptiesIt) {
    CMainDlg dlg(m_app);
    const std::vector<ExpectedRow> all = ExpectedRows(true);
    ASSERT_GE(all.size(), 3u);
    std::string typed = all[1].fileName; // typed in small letters
    std::transform(typed.begin(), typed.end(), typed.begin(), ::tolower);
    const auto key = [](UINT code, BYTE control) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = control;
        ::SetKeyboardState(keys);
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, code, 1);
    };
    const auto type = [](HWND box, const std::string& text) {
        for (const char c : text) {
            ::PostMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
    };
    const auto rows = [&] { return ListTexts(dlg.GetFolderList()).size(); };
    const auto status = [&] { return testsupport::WindowText(dlg.GetStatusHwnd()); };
    RunMain(dlg, {[&] { return ::SetFocus(dlg.GetListHwnd()), key('F', 0x80), true; },
                  [&] {
                      key(0, 0);
                      EXPECT_EQ(dlg.GetFilterHwnd(), ::GetFocus()) << "Ctrl+F";
                      return type(dlg.GetFilterHwnd(), typed), true;
                  },
                  [&] { return rows() == 1; }, // as typed: no key to start it
                  [&] {
                      EXPECT_EQ(all[1].fileName, ListTexts(dlg.GetFolderList())[0][0]);
                      EXPECT_EQ("1 von " + std::to_string(all.size()) + " Dateien, ",
                                status().substr(0, status().find(',') + 2));
                      return type(dlg.GetFilterHwnd(), " -" + typed), true;
                  },
                  [&] { return rows() == 0; },
                  [&] {
                      EXPECT_TRUE(dlg.ShowsNoMatch());
                      return key(VK_ESCAPE, 0), true;
                  },
                  [&] { return rows() == all.size(); },
                  [&] {
                      EXPECT_EQ("", testsupport::WindowText(dlg.GetFilterHwnd()));
                      return type(dlg.GetFilterSizeHwnd(), "zehn"), true;
                  },
                  [&] { return testsupport::WindowText(dlg.GetFilterSizeHwnd()) == "zehn"; },
                  [&] {
                      EXPECT_EQ(all.size(), rows()) << "a size that is none filters nothing";
                      HDC dc = ::GetDC(dlg.GetFilterSizeHwnd());
                      ::SendMessageA(dlg.GetSafeHwnd(), WM_CTLCOLOREDIT,
                                     reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(dlg.GetFilterSizeHwnd()));
                      EXPECT_EQ(RGB(0xC0, 0, 0), ::GetTextColor(dc)) << "shown in red";
                      return ::ReleaseDC(dlg.GetFilterSizeHwnd(), dc), true;
                  }});
}

} // namespace
} // namespace uitest
