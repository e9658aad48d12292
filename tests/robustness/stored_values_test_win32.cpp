// Every value of the section "MainDlg" stored in every wrong type and size, as another
// tool or a damaged registry may leave it: the main window starts with the default of
// each value, runs, and stores each value again in its own type and size at closing.
// Each wrong value carries a tempting payload (a placement elsewhere, other columns,
// the opposite switches, a typed-in directory), so a reader that took it anyway would
// show in the window.
#include "main_dlg_fixture_win32.h"

#include <gtest/gtest.h>

namespace uitest {
namespace {

// One value of the section: its name, its own type and the bytes of a value that
// differs from its default.
struct StoredValue {
    const char* name;
    DWORD type;
    std::string payload;
};

std::vector<StoredValue> TemptingValues() {
    return {
        {"Placement", REG_BINARY, Ints({44, 0, 1, -1, -1, -1, -1, 100, 120, 700, 620})},
        {"Columns", REG_BINARY, Ints({50, 60, 70})},
        {"ColOrder", REG_BINARY, Ints({2, 1, 0})},
        {"Sort", REG_BINARY, Ints({0, 1})},
        {"AutoRefresh", REG_BINARY, Byte(1)},
        {"AutoRefreshRate", REG_BINARY, Ints({3})},
        {"ShowFolderPath", REG_BINARY, Byte(0)},
        {"WarnFolderPath", REG_BINARY, Byte(0)},
        {"MailboxPathManual", REG_BINARY, Byte(1)},
        {"MailboxPath", REG_SZ, "C:\\Falsch\\"},
        {"NewmailPath", REG_SZ, "C:\\Auch falsch\\"},
        {"CompactFileSizes", REG_BINARY, Byte(0)},
        {"ShowNewMailFolder", REG_BINARY, Byte(0)},
    };
}

std::string Resized(std::string bytes, size_t size) {
    bytes.resize(size, '\0');
    return bytes;
}

// A way of storing a value wrongly: the type and the bytes made from the payload, or
// nothing where the form is the value's own (a string stored as a string).
struct WrongForm {
    const char* what;
    DWORD type;
    std::string (*bytes)(const StoredValue& value);
};

const WrongForm kWrongForms[] = {
    {"REG_DWORD", REG_DWORD, [](const StoredValue& v) { return Resized(v.payload, 4); }},
    {"REG_DWORD_BIG_ENDIAN", REG_DWORD_BIG_ENDIAN,
     [](const StoredValue& v) { return Resized(v.payload, 4); }},
    {"REG_QWORD", REG_QWORD, [](const StoredValue& v) { return Resized(v.payload, 8); }},
    {"REG_SZ", REG_SZ, [](const StoredValue& v) { return v.payload + '\0'; }},
    {"REG_EXPAND_SZ", REG_EXPAND_SZ, [](const StoredValue& v) { return v.payload + '\0'; }},
    {"REG_MULTI_SZ", REG_MULTI_SZ, [](const StoredValue& v) { return v.payload + '\0' + '\0'; }},
    {"REG_NONE", REG_NONE, [](const StoredValue& v) { return v.payload; }},
    {"an unknown type", 77, [](const StoredValue& v) { return v.payload; }},
    {"empty REG_BINARY", REG_BINARY, [](const StoredValue&) { return std::string(); }},
    {"REG_BINARY one byte short", REG_BINARY,
     [](const StoredValue& v) { return v.payload.substr(0, v.payload.size() - 1); }},
    {"REG_BINARY one byte long", REG_BINARY,
     [](const StoredValue& v) { return v.payload + '\x01'; }},
    {"REG_BINARY of 64 KiB", REG_BINARY,
     [](const StoredValue& v) { return Resized(v.payload, 65536); }},
};

TEST_F(MainDlgTest, EveryValueInEveryWrongTypeAndSizeStartsTheWindowWithItsDefault) {
    StartApp();
    for (const WrongForm& form : kWrongForms) {
        SCOPED_TRACE(form.what);
        for (const StoredValue& value : TemptingValues()) {
            if (form.type == value.type && value.type == REG_SZ) {
                continue; // a string stored as a string is no wrong form
            }
            Store(value.name, form.type, form.bytes(value));
        }
        CMainDlg dlg(m_app);
        RunMain(dlg, {[&] {
                    WINDOWPLACEMENT wp = {};
                    wp.length = sizeof wp;
                    ::GetWindowPlacement(dlg.GetSafeHwnd(), &wp);
                    EXPECT_EQ(static_cast<UINT>(SW_SHOWNORMAL), wp.showCmd);
                    EXPECT_EQ(6, wp.rcNormalPosition.left);
                    EXPECT_EQ(6, wp.rcNormalPosition.top);
                    EXPECT_EQ(478, wp.rcNormalPosition.right);
                    EXPECT_EQ(379, wp.rcNormalPosition.bottom);
                    CFolderListCtrl& list = dlg.GetFolderList();
                    int32_t widths[3] = {};
                    list.GetColumnWidths(widths, 3);
                    EXPECT_EQ(uitest::DefaultColumnWidths(),
                              std::vector<int32_t>(widths, widths + 3));
                    EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), list.GetColumnOrder());
                    EXPECT_EQ(2, list.GetSortColumn());
                    EXPECT_FALSE(list.IsSortDescending());
                    const ProgramSettings& s = dlg.GetSettings();
                    EXPECT_FALSE(s.m_bAutoRefresh);
                    EXPECT_EQ(10, s.m_nAutoRefreshRate);
                    EXPECT_TRUE(s.m_bShowFolderPath);
                    EXPECT_TRUE(s.m_bWarnFolderPath);
                    EXPECT_FALSE(s.m_bMailboxPathManual);
                    EXPECT_EQ("", s.m_strMailboxPath);
                    EXPECT_EQ("", s.m_strNewmailPath);
                    EXPECT_TRUE(s.m_bCompactFileSizes);
                    EXPECT_TRUE(s.m_bShowNewMailFolder);
                    EXPECT_EQ(worker::PeriodicWorker::Idle, dlg.GetWorker().GetState());
                    // The mailbox from the mail client's keys, shown in full.
                    EXPECT_EQ(static_cast<int>(m_expected.folders.size()) + 1, list.GetItemCount());
                    return true;
                }});
        // Closing stores every value again, each in its own type and size.
        EXPECT_EQ(44u, Stored("Placement", REG_BINARY).size());
        ExpectDefaultsStoredBesidesPlacement();
    }
}

// The same payloads in their own types and sizes are taken: the wrong forms above
// would have shown them.
TEST_F(MainDlgTest, TheTemptingValuesInTheirOwnFormsAreTaken) {
    for (const StoredValue& value : TemptingValues()) {
        Store(value.name, value.type, value.type == REG_SZ ? value.payload + '\0' : value.payload);
    }
    CMainDlg dlg(m_app);
    RunMain(dlg, {[&] {
                WINDOWPLACEMENT wp = {};
                wp.length = sizeof wp;
                ::GetWindowPlacement(dlg.GetSafeHwnd(), &wp);
                EXPECT_EQ(100, wp.rcNormalPosition.left);
                EXPECT_EQ(620, wp.rcNormalPosition.bottom);
                CFolderListCtrl& list = dlg.GetFolderList();
                int32_t widths[3] = {};
                list.GetColumnWidths(widths, 3);
                EXPECT_EQ(50, widths[0]);
                EXPECT_EQ((std::vector<int32_t>{2, 1, 0}), list.GetColumnOrder());
                EXPECT_EQ(0, list.GetSortColumn());
                EXPECT_TRUE(list.IsSortDescending());
                const ProgramSettings& s = dlg.GetSettings();
                EXPECT_TRUE(s.m_bAutoRefresh);
                EXPECT_EQ(3, s.m_nAutoRefreshRate);
                EXPECT_FALSE(s.m_bShowFolderPath);
                EXPECT_FALSE(s.m_bWarnFolderPath);
                EXPECT_TRUE(s.m_bMailboxPathManual);
                EXPECT_EQ("C:\\Falsch\\", dlg.GetMailboxPath());
                EXPECT_EQ("C:\\Auch falsch\\", dlg.GetNewmailPath());
                EXPECT_FALSE(s.m_bCompactFileSizes);
                EXPECT_FALSE(s.m_bShowNewMailFolder);
                return true;
            }});
}

} // namespace
} // namespace uitest
