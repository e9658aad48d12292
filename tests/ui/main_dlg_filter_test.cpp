// The main window's filter line under Wine: Ctrl+F, typed words, the rows and the status
// line that follow, a filter that passes nothing, Escape, and a size that is no size.
#include "main_dlg_fixture_win32.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cctype>

namespace uitest {
namespace {

void TypeIntoBox(HWND box, const std::string& text) {
    for (const char c : text) {
        ::PostMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
}

TEST_F(MainDlgTest, TypingIntoTheFilterShowsOnlyTheMatchingRowsUntilEscapeEmptiesIt) {
    CMainDlg dlg(m_app);
    const std::vector<ExpectedRow> all = ExpectedRows(true);
    ASSERT_GE(all.size(), 3u);
    const ExpectedRow& wanted = all[1];
    std::string typed = wanted.fileName;
    for (char& c : typed) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const auto postKey = [&](UINT key, bool control) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(keys);
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, key, 1);
    };
    const auto rows = [&] { return ListTexts(dlg.GetFolderList()).size(); };
    RunMain(dlg, {[&] {
                      ::SetFocus(dlg.GetListHwnd());
                      postKey('F', true);
                      return true;
                  },
                  [&] {
                      postKey(0, false);
                      EXPECT_EQ(dlg.GetFilterHwnd(), ::GetFocus()) << "Ctrl+F";
                      TypeIntoBox(dlg.GetFilterHwnd(), typed);
                      return true;
                  },
                  [&] { return rows() == 1; }, // as typed: no key to start it
                  [&] {
                      EXPECT_EQ(wanted.fileName, ListTexts(dlg.GetFolderList())[0][0]);
                      const std::string status = testsupport::WindowText(dlg.GetStatusHwnd());
                      EXPECT_EQ("1 von " + std::to_string(all.size()) + " Dateien, ",
                                status.substr(0, status.find(',') + 2));
                      TypeIntoBox(dlg.GetFilterHwnd(), " -" + typed);
                      return true;
                  },
                  [&] { return rows() == 0; },
                  [&] {
                      EXPECT_TRUE(dlg.ShowsNoMatch());
                      postKey(VK_ESCAPE, false);
                      return true;
                  },
                  [&] { return rows() == all.size(); },
                  [&] {
                      EXPECT_EQ("", testsupport::WindowText(dlg.GetFilterHwnd()));
                      EXPECT_FALSE(dlg.ShowsNoMatch());
                      TypeIntoBox(dlg.GetFilterSizeHwnd(), "zehn");
                      return true;
                  },
                  [&] { return testsupport::WindowText(dlg.GetFilterSizeHwnd()) == "zehn"; },
                  [&] {
                      EXPECT_EQ(all.size(), rows()) << "a size that is none filters nothing";
                      HDC dc = ::GetDC(dlg.GetFilterSizeHwnd());
                      ::SendMessageA(dlg.GetSafeHwnd(), WM_CTLCOLOREDIT,
                                     reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(dlg.GetFilterSizeHwnd()));
                      EXPECT_EQ(RGB(0xC0, 0, 0), ::GetTextColor(dc)) << "shown in red";
                      ::ReleaseDC(dlg.GetFilterSizeHwnd(), dc);
                      return true;
                  }});
}

} // namespace
} // namespace uitest
