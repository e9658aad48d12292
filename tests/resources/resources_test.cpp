// The compiled resources as the program reads them: German texts arrive in the 8-bit
// code page byte for byte, the version's first translation is German, the menus,
// keys, icon sizes and the settings dialog's controls are what the dialogs rely on.
#include "framework/win_app.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Templates are only inspected: no message is handled (a static function, as the
// platform calls it stdcall).
INT_PTR CALLBACK NoHandler(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

struct StringCase {
    UINT id;
    const char* text;
};

TEST(ResourcesTest, StringTableHoldsEveryTextInTheProgramsCodePage) {
    const StringCase cases[] = {
        {2001, "Dateiname"},
        {2002, "Größe"},
        {2003, "Ordnername"},
        {2004, "%d Dateien, %s (%s Bytes)"},
        {2005, "<Posteingang>"},
        {2006, "&Schließen"},
        {2030, "Liste exportieren"},
        {2031, "CSV für Excel (*.csv)|*.csv|Tabulatorgetrennt (*.txt)|*.txt|"},
        {2032, "Bytes"},
        {2101, "FEHLER 000: Unerwarteter Fehler."},
        {2102, "FEHLER 001: Online-Hilfe-Datei nicht gefunden."},
        {2103, "FEHLER 002: Auto-Refresh-Thread konnte nicht gestartet werden."},
        {2104, "FEHLER 003: Auto-Refresh-Thread konnte nicht beendet werden."},
        {2105, "FEHLER 004: Der Wert für die Aktualisierungs-Rate muss größer als 0 sein."},
        {2106, "FEHLER 005: Ungültiger Mailbox-Pfad."},
        {2107, "FEHLER 006: Ungültiger Newmail-Pfad."},
        {2108, "FEHLER 007: In das Mailbox-, das Newmail- und das Programmverzeichnis schreibt "
               "das Programm nicht. Bitte ein anderes Verzeichnis wählen."},
        {2109, "FEHLER 008: Die Datei konnte nicht geschrieben werden."},
        {2110, "FEHLER 009: Die Liste konnte nicht in die Zwischenablage kopiert werden."},
        {2601, "WARNUNG 501: Der Mailbox-Pfad konnte nicht aus der Registry ermittelt werden."},
        {2602, "WARNUNG 502: Die Datei \"hierarch.pm\" konnte nicht zum Lesen geöffnet werden."},
        {2603, "WARNUNG 503: Der Newmail-Pfad konnte nicht aus der Registry ermittelt werden."},
        {57344, "Ordner-Statistik für Pegasus-Mail"},
        // The window "Alle Postfächer": the report's column titles and its message.
        {2113, "FEHLER 012: Im Verzeichnis \"%s\" liegt keine Benutzerliste PMAIL.USR."},
        {2120, "Benutzer"},
        {2121, "Name"},
        {2122, "Ordnerdateien"},
        {2123, "Größe"},
        {2124, "Anteil"},
        {2125, "Posteingang"},
        {2126, "Größte Ordnerdatei"},
        {2127, "Grenze"},
        {2128, "Lese Postfächer: %s von %s"},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.text, LoadResourceString(c.id));
    }
    // The umlaut is one Windows-1252 byte, not two UTF-8 bytes.
    EXPECT_EQ(std::string("Gr\xF6\xDF"
                          "e"),
              LoadResourceString(2002));
}

std::string VersionValue(const std::vector<char>& block, const char* path) {
    void* data = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), path, &data, &length) || length == 0) {
        return std::string();
    }
    return std::string(static_cast<const char*>(data));
}

TEST(ResourcesTest, VersionResourceIsGermanFirstAndDescribesTheProgram) {
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
    ASSERT_GE(length, 4u);
    EXPECT_EQ(0x0407, translation[0]);
    EXPECT_EQ(0x04B0, translation[1]);

    EXPECT_EQ("Ordner-Statistik für Pegasus-Mail",
              VersionValue(block, "\\StringFileInfo\\040704B0\\FileDescription"));
    EXPECT_EQ("Foldtally", VersionValue(block, "\\StringFileInfo\\040704B0\\ProductName"));
    EXPECT_EQ("Copyright © Morvapps",
              VersionValue(block, "\\StringFileInfo\\040704B0\\LegalCopyright"));

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

struct MenuItem {
    const char* text; // null: separator
    UINT id;          // kPopup: a submenu
};
constexpr UINT kPopup = 0xFFFFFFFF;

void ExpectMenu(HMENU menu, const std::vector<MenuItem>& items) {
    ASSERT_EQ(static_cast<int>(items.size()), ::GetMenuItemCount(menu));
    for (size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        MENUITEMINFOA info = {};
        char text[128] = "";
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
        if (items[i].text == nullptr) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
        } else {
            EXPECT_STREQ(items[i].text, text);
            if (items[i].id == kPopup) {
                EXPECT_NE(nullptr, ::GetSubMenu(menu, static_cast<int>(i)));
            } else {
                EXPECT_EQ(items[i].id, info.wID);
            }
        }
    }
}

TEST(ResourcesTest, MenusHoldTheirItemsInOrder) {
    HMENU bar = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(4, ::GetMenuItemCount(bar));
    const char* popups[] = {"&Datei", "&Ansicht", "&Extras", "&Hilfe"};
    for (int i = 0; i < 4; ++i) {
        char text[64] = "";
        ::GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(popups[i], text);
    }
    ExpectMenu(::GetSubMenu(bar, 0), {{"Liste e&xportieren...\tStrg-S", 40009},
                                      {"&Kopieren\tStrg-C", 40010},
                                      {nullptr, 0},
                                      {"&Alle Postfächer...\tStrg-U", 40080},
                                      {"&Installation wählen...", 40082},
                                      {nullptr, 0},
                                      {"B&eenden\tAlt-F4", 57665}});
    ExpectMenu(::GetSubMenu(bar, 1), {{"Dateigrößen &kompakt\tStrg-K", 40006},
                                      {"&Posteingang anzeigen\tAlt-P", 40007},
                                      {"&Sortieren nach", kPopup},
                                      {"Spa&lten", kPopup},
                                      {"Ä&nderung seit", kPopup},
                                      {nullptr, 0},
                                      {"Ordner&baum...\tStrg-B", 40008},
                                      {"&Aktualisieren\tF5", 40001},
                                      {"&Einlesen abbrechen\tEsc", 40050}});
    ExpectMenu(::GetSubMenu(::GetSubMenu(bar, 1), 2),
               {{"&Dateiname", 40020}, {"&Größe", 40021}, {"&Ordnername", 40022}});
    ExpectMenu(::GetSubMenu(::GetSubMenu(bar, 1), 3), {{"&Geändert", 40060}, {"Ä&nderung", 40061}});
    ExpectMenu(::GetSubMenu(::GetSubMenu(bar, 1), 4), {{"&gestern", 40071},
                                                       {"einer &Woche", 40072},
                                                       {"einem &Monat", 40073},
                                                       {"einem &Tag des Verlaufs...", 40074}});
    ExpectMenu(::GetSubMenu(bar, 2), {{"&Einstellungen...\tStrg-E", 40002},
                                      {"Einstellungen &portabel speichern", 40040},
                                      {nullptr, 0},
                                      {"&Verlauf löschen...", 40070}});
    ExpectMenu(
        ::GetSubMenu(bar, 3),
        {{"&Inhalt...", 40003}, {"&Hilfe...\tF1", 40004}, {nullptr, 0}, {"I&nfo...", 40005}});
    ::DestroyMenu(bar);

    HMENU context = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTEXTMENU));
    ASSERT_NE(nullptr, context);
    ExpectMenu(::GetSubMenu(context, 0), {{"Dateigrößen &kompakt\tStrg-K", 40006},
                                          {"&Posteingang anzeigen\tAlt-P", 40007},
                                          {"&Ordnerbaum...\tStrg-B", 40008},
                                          {"Alle Post&fächer...\tStrg-U", 40080},
                                          {"&Aktualisieren\tF5", 40001},
                                          {nullptr, 0},
                                          {"&Einstellungen...\tStrg-E", 40002},
                                          {nullptr, 0},
                                          {"Hilfe-&Inhalt...", 40003},
                                          {"&Hilfe...\tF1", 40004},
                                          {"I&nfo...", 40005},
                                          {nullptr, 0},
                                          {"Liste e&xportieren...\tStrg-S", 40009},
                                          {"Kopie&ren\tStrg-C", 40010},
                                          {nullptr, 0},
                                          {"&Beenden\tAlt-F4", 57665}});
    ::DestroyMenu(context);

    HMENU tree = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TREECONTEXTMENU));
    ASSERT_NE(nullptr, tree);
    ExpectMenu(::GetSubMenu(tree, 0), {{"&Sortieren nach", kPopup},
                                       {nullptr, 0},
                                       {"&Aktualisieren\tF5", 40001},
                                       {"&Hilfe...\tF1", 9}});
    ExpectMenu(::GetSubMenu(::GetSubMenu(tree, 0), 0), {{"&Ordner", 40020},
                                                        {"&Gesamt", 40021},
                                                        {"&Anteil", 40022},
                                                        {"&Eigene Größe", 40023},
                                                        {"&Dateien", 40024}});
    ::DestroyMenu(tree);
}

// Within one popup no two items share a mnemonic, and no two keys of a table share
// their key and modifiers: a collision would make one of the commands unreachable.
void ExpectDistinctMnemonics(HMENU menu) {
    std::string letters;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const char* amp = std::strchr(text, '&');
        if (amp && amp[1]) {
            const char letter = static_cast<char>(::tolower(static_cast<unsigned char>(amp[1])));
            EXPECT_EQ(std::string::npos, letters.find(letter)) << text;
            letters += letter;
        }
    }
}

std::vector<ACCEL> Accelerators(UINT id);

TEST(ResourcesTest, MnemonicsAndKeysDoNotCollide) {
    HMENU bar = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    ExpectDistinctMnemonics(bar);
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
        ExpectDistinctMnemonics(::GetSubMenu(bar, i));
    }
    ExpectDistinctMnemonics(::GetSubMenu(::GetSubMenu(bar, 1), 2));
    ::DestroyMenu(bar);
    for (UINT id : {IDR_CONTEXTMENU, IDR_TREECONTEXTMENU, IDR_ALLUSERSCONTEXTMENU}) {
        HMENU context = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
        ExpectDistinctMnemonics(::GetSubMenu(context, 0));
        for (int i = 0; i < ::GetMenuItemCount(::GetSubMenu(context, 0)); ++i) {
            if (HMENU sort = ::GetSubMenu(::GetSubMenu(context, 0), i)) {
                ExpectDistinctMnemonics(sort);
            }
        }
        ::DestroyMenu(context);
    }
    for (UINT id : {IDR_MAINACCEL, IDR_ALLUSERSACCEL}) {
        const std::vector<ACCEL> table = Accelerators(id);
        for (size_t i = 0; i < table.size(); ++i) {
            for (size_t j = i + 1; j < table.size(); ++j) {
                EXPECT_FALSE(table[i].key == table[j].key && table[i].fVirt == table[j].fVirt)
                    << table[i].cmd << " and " << table[j].cmd;
            }
        }
    }
}

std::vector<ACCEL> Accelerators(UINT id) {
    HACCEL table = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    std::vector<ACCEL> entries(static_cast<size_t>(::CopyAcceleratorTableA(table, nullptr, 0)));
    ::CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    return entries;
}

TEST(ResourcesTest, AcceleratorTablesAreVirtualKeysWithoutInversion) {
    struct Key {
        BYTE modifiers;
        WORD key;
        WORD command;
    };
    const Key main[] = {{FCONTROL, 'B', 40008}, {FCONTROL, 'E', 40002}, {FCONTROL, 'K', 40006},
                        {FCONTROL, 'S', 40009}, {FCONTROL, 'C', 40010}, {FALT, 'P', 40007},
                        {FCONTROL, 'U', 40080}, {0, VK_F1, 40004},      {0, VK_F5, 40001},
                        {0, VK_ESCAPE, 40050}};
    const std::vector<ACCEL> table = Accelerators(IDR_MAINACCEL);
    ASSERT_EQ(10u, table.size());
    for (size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FVIRTKEY | FNOINVERT | main[i].modifiers, table[i].fVirt & ~0x80);
        EXPECT_EQ(main[i].key, table[i].key);
        EXPECT_EQ(main[i].command, table[i].cmd);
    }
    const std::vector<ACCEL> settings = Accelerators(IDR_SETTINGSACCEL);
    ASSERT_EQ(1u, settings.size());
    EXPECT_EQ(FVIRTKEY | FNOINVERT, settings[0].fVirt & ~0x80);
    EXPECT_EQ(VK_F1, settings[0].key);
    EXPECT_EQ(9, settings[0].cmd);
    // The tree window's own keys: its help, its rescan and the cancel of a scan.
    const std::vector<ACCEL> tree = Accelerators(IDR_TREEACCEL);
    ASSERT_EQ(3u, tree.size());
    EXPECT_EQ(VK_F1, tree[0].key);
    EXPECT_EQ(9, tree[0].cmd);
    EXPECT_EQ(VK_F5, tree[1].key);
    EXPECT_EQ(40001, tree[1].cmd);
    EXPECT_EQ(VK_ESCAPE, tree[2].key);
    EXPECT_EQ(40050, tree[2].cmd);
    // The overview's: the tree's, Enter for a row's tree, and the main list's copy and
    // export.
    const Key users[] = {{0, VK_F1, 9},         {0, VK_F5, 40001},      {0, VK_ESCAPE, 40050},
                         {0, VK_RETURN, 40081}, {FCONTROL, 'C', 40010}, {FCONTROL, 'S', 40009}};
    const std::vector<ACCEL> overview = Accelerators(IDR_ALLUSERSACCEL);
    ASSERT_EQ(6u, overview.size());
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FVIRTKEY | FNOINVERT | users[i].modifiers, overview[i].fVirt & ~0x80);
        EXPECT_EQ(users[i].key, overview[i].key);
        EXPECT_EQ(users[i].command, overview[i].cmd);
    }
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

struct ControlCase {
    int id;
    const char* className;
    int x, y, cx, cy;
    const char* text;
};

TEST(ResourcesTest, SettingsDialogControlsSitWhereTheLayoutSaysWithTheirLimitsAndStyles) {
    HWND dlg = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS),
                                    nullptr, NoHandler, 0);
    ASSERT_NE(nullptr, dlg);
    char caption[64] = "";
    ::GetWindowTextA(dlg, caption, sizeof caption);
    EXPECT_STREQ("Einstellungen", caption);
    RECT size = {0, 0, 279, 204};
    ::MapDialogRect(dlg, &size);
    RECT client;
    ::GetClientRect(dlg, &client);
    EXPECT_EQ(size.right, client.right);
    EXPECT_EQ(size.bottom, client.bottom);
    const ControlCase cases[] = {
        {1005, "Button", 13, 19, 119, 10, "Ansicht regelmäßig aktualisieren."},
        {1007, "Static", 13, 32, 37, 8, "Ansicht alle"},
        {1008, "Edit", 53, 30, 19, 12, ""},
        {1010, "Static", 75, 32, 77, 8, "Sekunden aktualisieren."},
        {1012, "Button", 13, 68, 242, 10,
         "Die Pfade zu Mailbox- und Newmail-Verzeichniss aus der Registry lesen."},
        {1013, "Button", 13, 80, 220, 10,
         "Die Pfade zu Mailbox- und Newmail-Verzeichnis explizit angeben."},
        {1020, "Static", 13, 96, 65, 8, "Mailbox-Verzeichnis:"},
        {1014, "Edit", 82, 95, 181, 12, ""},
        {1021, "Static", 13, 112, 68, 8, "Newmail-Verzeichnis:"},
        {1016, "Edit", 82, 111, 181, 12, ""},
        {1017, "Button", 13, 148, 91, 10, "Ordner-Pfade anzeigen."},
        {1015, "Button", 13, 160, 246, 10,
         "Warnung anzeigen, wenn \"hierarch.pm\" nicht ausgewertet werden kann."},
        {IDOK, "Button", 7, 183, 50, 14, "&OK"},
        {IDCANCEL, "Button", 61, 183, 50, 14, "&Abbrechen"},
        {9, "Button", 222, 183, 50, 14, "&Hilfe"},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(c.id);
        HWND control = ::GetDlgItem(dlg, c.id);
        ASSERT_NE(nullptr, control);
        char name[32] = "", text[128] = "";
        ::GetClassNameA(control, name, sizeof name);
        ::GetWindowTextA(control, text, sizeof text);
        EXPECT_EQ(0, lstrcmpiA(c.className, name));
        EXPECT_STREQ(c.text, text);
        // The dialog manager maps position and size each on its own.
        RECT expected = {c.x, c.y, c.cx, c.cy};
        ::MapDialogRect(dlg, &expected);
        RECT actual;
        ::GetWindowRect(control, &actual);
        ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(expected.left, actual.left);
        EXPECT_EQ(expected.top, actual.top);
        EXPECT_EQ(expected.right, actual.right - actual.left);
        EXPECT_EQ(expected.bottom, actual.bottom - actual.top);
    }
    auto style = [dlg](int id) { return ::GetWindowLongA(::GetDlgItem(dlg, id), GWL_STYLE); };
    EXPECT_TRUE(style(1008) & ES_NUMBER);
    EXPECT_TRUE(style(1014) & ES_UPPERCASE);
    EXPECT_TRUE(style(1016) & ES_UPPERCASE);
    EXPECT_TRUE(style(1012) & WS_GROUP);
    EXPECT_FALSE(style(1013) & WS_GROUP);
    EXPECT_EQ(BS_DEFPUSHBUTTON, style(IDOK) & BS_TYPEMASK);
    ::DestroyWindow(dlg);
}

TEST(ResourcesTest, MainAndAboutTemplatesCarryTheirControls) {
    HINSTANCE self = ::GetModuleHandleA(nullptr);
    HWND main =
        ::CreateDialogParamA(self, MAKEINTRESOURCEA(IDD_FOLDTALLY_DIALOG), nullptr, NoHandler, 0);
    ASSERT_NE(nullptr, main);
    const LONG style = ::GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(::GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_NE(nullptr, ::GetMenu(main));
    const LONG list = ::GetWindowLongA(::GetDlgItem(main, IDC_FOLDERLIST), GWL_STYLE);
    EXPECT_EQ(LVS_REPORT, list & LVS_TYPEMASK);
    EXPECT_TRUE(list & LVS_SINGLESEL);
    char status[64] = "";
    ::GetDlgItemTextA(main, IDC_STATUS, status, sizeof status);
    EXPECT_STREQ("$ 23 Ordner, 7.654.321 Bytes $", status);
    ::DestroyWindow(main);

    HWND about = ::CreateDialogParamA(self, MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, NoHandler, 0);
    ASSERT_NE(nullptr, about);
    for (int id : {1001, 1002, 1003, 1019, 1004, 1005, IDOK}) {
        EXPECT_NE(nullptr, ::GetDlgItem(about, id)) << id;
    }
    char close[32] = "";
    ::GetDlgItemTextA(about, IDOK, close, sizeof close);
    EXPECT_STREQ("&Schließen", close);
    RECT size = {0, 0, 274, 111};
    ::MapDialogRect(about, &size);
    RECT client;
    ::GetClientRect(about, &client);
    EXPECT_EQ(size.right, client.right);
    EXPECT_EQ(size.bottom, client.bottom);
    ::DestroyWindow(about);
}

} // namespace
