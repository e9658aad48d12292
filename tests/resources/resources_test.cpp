// The compiled resources as the program reads them, checked by the rules the windows rely
// on rather than against a copy of the resource script: texts in the 8-bit code page,
// messages numbered as their ids, the version from the project's one number, each menu's
// mnemonics and commands distinct, every key a menu item names in the table of the window
// that shows it, each dialog's ids and mnemonics distinct with its controls inside it, and
// every list a report with owner data, as the report list class needs. All in German and in
// English, each holding what the other does, English texts within their controls.
#include "framework/win_app.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <process.h>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<UINT>*>(ids)->push_back(
            static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    }
    return TRUE;
}

// The ids of every resource of `type` the program holds.
std::vector<UINT> ResourceIds(LPCSTR type) {
    std::vector<UINT> ids;
    ::EnumResourceNamesA(nullptr, type, &CollectName, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
class EachLanguage : public testing::TestWithParam<LANGID> {};
INSTANTIATE_TEST_SUITE_P(ResourcesTest, EachLanguage, testing::Values(kGerman, kEnglish));
bool German() {
    return EachLanguage::GetParam() == kGerman;
}
// Resource `id` of `type` in `language` alone (no other instead); empty when it lacks it.
std::vector<BYTE> ResourceBytes(LPCSTR type, UINT id, LANGID language) {
    HRSRC found = ::FindResourceExA(nullptr, type, MAKEINTRESOURCEA(id), language);
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found)));
    return std::vector<BYTE>(data, data + (data ? ::SizeofResource(nullptr, found) : 0));
}
// The placeholders of a text in their order: "%s", "%02d", "%1", "%%".
std::vector<std::string> Placeholders(const std::string& text) {
    static const std::regex placeholder("%[-+#0-9.]*[A-Za-z]|%[1-9][0-9]*|%%");
    return {std::sregex_token_iterator(text.begin(), text.end(), placeholder), {}};
}
// Every text of the string table in `language` by its id, in the program's 8-bit code
// page (a block holds the ids of 16, each as its length and its characters).
std::map<UINT, std::string> StringTable(LANGID language) {
    std::map<UINT, std::string> texts;
    for (UINT block : ResourceIds(RT_STRING)) {
        const std::vector<BYTE> bytes = ResourceBytes(RT_STRING, block, language);
        const WCHAR* entry = reinterpret_cast<const WCHAR*>(bytes.data());
        for (UINT id = (block - 1) * 16; !bytes.empty() && id < block * 16; ++id) {
            char text[4100];
            const int length = ::WideCharToMultiByte(CP_ACP, 0, entry + 1, entry[0], text,
                                                     sizeof text, nullptr, nullptr);
            if (length > 0) {
                texts.emplace(id, std::string(text, static_cast<size_t>(length)));
            }
            entry += 1 + entry[0];
        }
    }
    return texts;
}

TEST_P(EachLanguage, EveryTextIsInTheProgramsCodePageAndEveryMessageCarriesItsIdsNumber) {
    size_t umlauts = 0;
    size_t messages = 0;
    const std::map<UINT, std::string> twins = StringTable(German() ? kEnglish : kGerman);
    for (const auto& [id, text] : StringTable(GetParam())) {
        SCOPED_TRACE(text);
        ASSERT_EQ(1u, twins.count(id)) << "not in the other language";
        EXPECT_EQ(Placeholders(text), Placeholders(twins.at(id)));
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            umlauts += c >= 0x80 ? 1 : 0;
            // An umlaut as UTF-8 is two bytes, the first 0xC3.
            const bool utf8 = c == 0xC3 && i + 1 < text.size() &&
                              (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80;
            EXPECT_FALSE(utf8) << id;
        }
        // "FEHLER 012: ..." stands at IDS_ERROR_000 + 12, "WARNUNG 504: ..." at
        // IDS_WARNING_501 + 3.
        unsigned number = 0;
        char kind[8] = "";
        if (std::sscanf(text.c_str(), "%7[A-Z] %3u:", kind, &number) == 2) {
            ++messages;
            const bool error = std::strcmp(kind, German() ? "FEHLER" : "ERROR") == 0;
            EXPECT_TRUE(error || std::strcmp(kind, German() ? "WARNUNG" : "WARNING") == 0);
            EXPECT_EQ(error ? IDS_ERROR_000 + number : IDS_WARNING_501 + number - 501, id);
        }
    }
    EXPECT_GT(umlauts, 0u) << "no text with an umlaut read";
    EXPECT_GT(messages, 10u) << "the messages were not found";
}

std::string VersionValue(const std::vector<char>& block, const char* path) {
    void* data = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), path, &data, &length) || length == 0) {
        return std::string();
    }
    return std::string(static_cast<const char*>(data));
}

TEST(ResourcesTest, VersionResourceIsGermanFirstAndCarriesTheProjectsVersion) {
    char module[MAX_PATH];
    ::GetModuleFileNameA(nullptr, module, sizeof module);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(module, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(::GetFileVersionInfoA(module, 0, size, block.data()));

    WORD* translation = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 8u);
    EXPECT_EQ(0x0407, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);
    EXPECT_EQ(StringTable(kGerman).at(IDS_APP_TITLE),
              VersionValue(block, "\\StringFileInfo\\040704B0\\FileDescription"));
    EXPECT_EQ(0x04B00409u, translation[2] | translation[3] << 16);
    EXPECT_EQ(StringTable(kEnglish).at(IDS_APP_TITLE),
              VersionValue(block, "\\StringFileInfo\\040904B0\\FileDescription"));

    // Numbers and texts both carry the project version, the one place it is set.
#define FT_QUOTE2(x) #x
#define FT_QUOTE(x) FT_QUOTE2(x)
    EXPECT_EQ(FT_QUOTE(FOLDTALLY_VERSION),
              VersionValue(block, "\\StringFileInfo\\040704B0\\FileVersion"));
    EXPECT_EQ(FT_QUOTE(FOLDTALLY_VERSION),
              VersionValue(block, "\\StringFileInfo\\040704B0\\ProductVersion"));
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const DWORD ms = (FOLDTALLY_VERSION_MAJOR << 16) | FOLDTALLY_VERSION_MINOR;
    const DWORD ls = (FOLDTALLY_VERSION_PATCH << 16) | FOLDTALLY_VERSION_TWEAK;
    EXPECT_EQ(ms, fixed->dwFileVersionMS);
    EXPECT_EQ(ls, fixed->dwFileVersionLS);
    EXPECT_EQ(ms, fixed->dwProductVersionMS);
    EXPECT_EQ(ls, fixed->dwProductVersionLS);
}

TEST(ResourcesTest, IconHas16And32And48PixelImages) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(nullptr, found);
    const BYTE* group = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found)));
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        sizes.push_back(group[6 + 14 * i]); // GRPICONDIRENTRY: width first
    }
    EXPECT_EQ((std::vector<int>{16, 32, 48}), sizes);
}

// The mnemonic of `text`, lower case; 0 for none ("&&" is an ampersand).
char Mnemonic(const char* text) {
    for (const char* amp = std::strchr(text, '&'); amp != nullptr && amp[1] != '\0';
         amp = std::strchr(amp + 2, '&')) {
        if (amp[1] != '&') {
            return static_cast<char>(::tolower(static_cast<unsigned char>(amp[1])));
        }
    }
    return 0;
}

std::vector<ACCEL> Accelerators(UINT id) {
    HACCEL table = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    std::vector<ACCEL> entries(static_cast<size_t>(::CopyAcceleratorTableA(table, nullptr, 0)));
    ::CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    return entries;
}

// The key a menu item's text names after its tab ("Strg-S" or "Ctrl+S", "F5", "Esc",
// "Eingabe" or "Enter") as an accelerator would hold it; false for what it cannot read.
bool KeyOfText(std::string text, ACCEL& key) {
    key = {};
    key.fVirt = FVIRTKEY | FNOINVERT;
    for (const auto& [prefix, flag] :
         {std::pair<const char*, BYTE>{German() ? "Strg-" : "Ctrl+", FCONTROL},
          {German() ? "Alt-" : "Alt+", FALT},
          {German() ? "Umschalt-" : "Shift+", FSHIFT}}) {
        if (text.rfind(prefix, 0) == 0) {
            key.fVirt |= flag;
            text.erase(0, std::strlen(prefix));
        }
    }
    if (text == "Esc" || text == (German() ? "Eingabe" : "Enter")) {
        key.key = text == "Esc" ? VK_ESCAPE : VK_RETURN;
    } else if (text.size() > 1 && text[0] == 'F') {
        key.key = static_cast<WORD>(VK_F1 + std::atoi(text.c_str() + 1) - 1);
    } else if (text.size() == 1) {
        key.key = static_cast<WORD>(::toupper(static_cast<unsigned char>(text[0])));
    } else {
        return false;
    }
    return true;
}

// One menu and its submenus: mnemonics and commands distinct within each popup, a sort
// menu's items one column each from ID_VIEW_SORT_FIRST on, and every key an item's text
// names in `keys` for that item's command (Alt-F4 is the system's own).
void ExpectMenuRules(HMENU menu, const std::vector<ACCEL>& keys, std::set<UINT>& commands) {
    std::string letters;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        SCOPED_TRACE(text);
        if (const char letter = Mnemonic(text)) {
            EXPECT_EQ(std::string::npos, letters.find(letter));
            letters += letter;
        }
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            ExpectMenuRules(sub, keys, commands);
            continue;
        }
        const UINT id = ::GetMenuItemID(menu, i);
        if (id == 0) {
            continue; // a separator
        }
        EXPECT_TRUE(commands.insert(id).second) << "a command twice in one menu";
        if (i > 0 && ::GetMenuItemID(menu, 0) == ID_VIEW_SORT_FIRST) {
            EXPECT_EQ(ID_VIEW_SORT_FIRST + static_cast<UINT>(i), id);
        }
        const char* tab = std::strchr(text, '\t');
        ACCEL named = {};
        if (tab == nullptr || std::strcmp(tab + 1, German() ? "Alt-F4" : "Alt+F4") == 0) {
            continue;
        }
        ASSERT_TRUE(KeyOfText(tab + 1, named));
        bool found = false;
        for (const ACCEL& key : keys) {
            found = found ||
                    (key.cmd == id && key.key == named.key && (key.fVirt & ~0x80) == named.fVirt);
        }
        EXPECT_TRUE(found) << "no such key for the command in the window's table";
    }
}

TEST_P(EachLanguage, MenusHaveDistinctMnemonicsAndCommandsAndTheKeysTheirItemsName) {
    // Each menu with the keys of the window that shows it.
    const std::pair<UINT, UINT> menus[] = {{IDR_MAINMENU, IDR_MAINACCEL},
                                           {IDR_CONTEXTMENU, IDR_MAINACCEL},
                                           {IDR_TREECONTEXTMENU, IDR_TREEACCEL},
                                           {IDR_ALLUSERSCONTEXTMENU, IDR_ALLUSERSACCEL}};
    EXPECT_EQ(std::size(menus), ResourceIds(RT_MENU).size()) << "a menu without its window";
    for (const auto& [menuId, keysId] : menus) {
        SCOPED_TRACE(menuId);
        const std::vector<BYTE> bytes = ResourceBytes(RT_MENU, menuId, GetParam());
        ASSERT_FALSE(bytes.empty()) << "not in this language";
        HMENU menu = ::LoadMenuIndirectA(bytes.data());
        ASSERT_NE(nullptr, menu);
        std::set<UINT> commands;
        ExpectMenuRules(menu, Accelerators(keysId), commands);
    }
}

// Every key is a virtual key that does not flash the menu bar, and no two keys of one
// table share key and modifiers: one of the commands would be unreachable.
TEST(ResourcesTest, EveryKeyTableHoldsDistinctVirtualKeys) {
    for (UINT id : ResourceIds(RT_ACCELERATOR)) {
        SCOPED_TRACE(id);
        const std::vector<ACCEL> table = Accelerators(id);
        EXPECT_FALSE(table.empty());
        for (size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(FVIRTKEY | FNOINVERT, table[i].fVirt & (FVIRTKEY | FNOINVERT));
            for (size_t j = i + 1; j < table.size(); ++j) {
                EXPECT_FALSE(table[i].key == table[j].key &&
                             (table[i].fVirt & ~0x80) == (table[j].fVirt & ~0x80))
                    << table[i].cmd << " and " << table[j].cmd;
            }
        }
    }
}

// Templates are only inspected: no message is handled (a static function, as the
// platform calls it stdcall).
INT_PTR CALLBACK NoHandler(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM children) {
    auto& found = *reinterpret_cast<std::vector<HWND>*>(children);
    if (found.empty() || ::GetParent(child) == ::GetParent(found.front())) {
        found.push_back(child); // the dialog's own controls, not a list's header
    }
    return TRUE;
}

// Dialog `id` in `language`, made from its template but hidden; null when it is missing.
HWND CreateHidden(UINT id, LANGID language) {
    std::vector<BYTE> bytes = ResourceBytes(RT_DIALOG, id, language);
    bytes.resize(std::max<size_t>(bytes.size(), 16)); // an extended one: style at 12
    *reinterpret_cast<DWORD*>(&bytes[bytes[2] == 0xFF ? 12 : 0]) &= ~WS_VISIBLE;
    const auto dialog = reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data());
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    return bytes[2] ? ::CreateDialogIndirectParamA(module, dialog, nullptr, NoHandler, 0) : nullptr;
}
// A dialog's style, then its controls' ids, classes and styles in their order.
std::vector<std::string> Shape(HWND dlg) {
    std::vector<HWND> children;
    ::EnumChildWindows(dlg, &CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<std::string> shape{std::to_string(::GetWindowLongA(dlg, GWL_STYLE))};
    for (HWND control : children) {
        char name[32] = "";
        ::GetClassNameA(control, name, sizeof name);
        shape.push_back(std::to_string(::GetDlgCtrlID(control)) + name +
                        std::to_string(::GetWindowLongA(control, GWL_STYLE)));
    }
    return shape;
}
// The dialogs' checks at 144 DPI, where texts grow otherwise than controls: in a process of
// their own (the screen's DPI is read once per process) started with the prefix's DPI so.
TEST(ResourcesTest, DialogsKeepTheirRulesAt144Dpi) {
    const char desktop[] = "Control Panel\\Desktop";
    DWORD saved = 0, size = sizeof saved, high = 144;
    const bool had = ::RegGetValueA(HKEY_CURRENT_USER, desktop, "LogPixels", RRF_RT_REG_DWORD,
                                    nullptr, &saved, &size) == ERROR_SUCCESS;
    ::RegSetKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels", REG_DWORD, &high, sizeof high);
    char me[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, me, sizeof me);
    EXPECT_EQ(0, _spawnl(_P_WAIT, me, me, "--gtest_filter=*EveryDialog*", "--dpi=144", nullptr));
    had ? ::RegSetKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels", REG_DWORD, &saved, size)
        : ::RegDeleteKeyValueA(HKEY_CURRENT_USER, desktop, "LogPixels");
}
TEST_P(EachLanguage, EveryDialogHasDistinctIdsAndMnemonicsItsControlsInsideAndReportLists) {
    const std::vector<UINT> dialogs = ResourceIds(RT_DIALOG);
    EXPECT_GE(dialogs.size(), 5u);
    for (UINT id : dialogs) {
        SCOPED_TRACE(id);
        HWND dlg = CreateHidden(id, GetParam());
        ASSERT_NE(nullptr, dlg);
        HWND twin = CreateHidden(id, German() ? kEnglish : kGerman);
        ASSERT_NE(nullptr, twin) << "not in both languages";
        EXPECT_EQ(Shape(dlg), Shape(twin)) << "the other language's dialog has other controls";
        ::DestroyWindow(twin);
        HDC screen = ::GetDC(dlg);
        const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
        EXPECT_EQ(std::strcmp(__argv[__argc - 1], "--dpi=144") ? 96 : 144, dpi);
        RECT client = {};
        ::GetClientRect(dlg, &client);
        std::vector<HWND> children;
        ::EnumChildWindows(dlg, &CollectChild, reinterpret_cast<LPARAM>(&children));
        std::set<int> ids;
        std::string letters;
        for (HWND control : children) {
            char name[32] = "";
            char text[256] = "";
            ::GetClassNameA(control, name, sizeof name);
            ::GetWindowTextA(control, text, sizeof text);
            SCOPED_TRACE(text);
            const LONG style = ::GetWindowLongA(control, GWL_STYLE);
            const int controlId = ::GetDlgCtrlID(control);
            EXPECT_TRUE(controlId == -1 || controlId == 0xFFFF || ids.insert(controlId).second);
            const bool prefix = lstrcmpiA(name, "Static") != 0 || !(style & SS_NOPREFIX);
            if (const char letter = prefix ? Mnemonic(text) : 0) {
                EXPECT_EQ(std::string::npos, letters.find(letter));
                letters += letter;
            }
            // An English text (German keeps its layout) as drawn in its control's font within
            // the control, less a button's box or frame.
            std::string shown(text);
            shown.erase(std::remove(shown.begin(), shown.end(), '&'), shown.end());
            const bool button = lstrcmpiA(name, "Button") == 0;
            const bool label =
                lstrcmpiA(name, "Static") == 0 &&
                ((style & SS_TYPEMASK) <= SS_RIGHT || (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP);
            RECT room = {};
            ::GetClientRect(control, &room);
            SIZE size = {};
            ::SelectObject(screen,
                           reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
            ::GetTextExtentPoint32A(screen, shown.c_str(), static_cast<int>(shown.size()), &size);
            EXPECT_TRUE(German() || !(button || label) ||
                        size.cx <= room.right - (button ? ::MulDiv(16, dpi, 96) : 0))
                << shown << ": " << size.cx << " pixels at " << dpi << " DPI";
            RECT r = {};
            ::GetWindowRect(control, &r);
            ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                        r.bottom <= client.bottom);
            if (lstrcmpiA(name, WC_LISTVIEWA) == 0) {
                EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK);
                EXPECT_TRUE(style & LVS_OWNERDATA) << "the report list asks its model";
            }
        }
        ::ReleaseDC(dlg, screen);
        ::DestroyWindow(dlg);
    }
}

} // namespace
