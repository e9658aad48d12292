// The list taken out of the main window on a mailbox whose names hold ';', '"', ','
// umlauts and high bytes: the export file in both formats read back field by field,
// the refusal for the three directories the program never writes into (also through a
// folder link, a short name and the other spellings of the mailbox), a failing
// write that leaves the existing file alone, and Ctrl+C with both clipboard formats.
#include "folder_links.h"
#include "main_dlg_fixture_win32.h"
#include "resource.h"
#include "sizes/size_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

using testsupport::UiScript;

namespace uitest {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Lines split at CR LF, fields at `separator`; with `quoted`, a field in quotes may
// hold separators, doubled quotes and line ends. Written again for the test.
std::vector<std::vector<std::string>> ParseSeparated(const std::string& text, char separator,
                                                     bool quoted) {
    std::vector<std::vector<std::string>> lines(1, std::vector<std::string>(1));
    bool inQuotes = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = lines.back().back();
        if (inQuotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (quoted && c == '"' && field.empty()) {
            inQuotes = true;
        } else if (c == separator) {
            lines.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.emplace_back(1);
            ++i;
        } else {
            field += c;
        }
    }
    if (lines.back().size() == 1 && lines.back()[0].empty()) {
        lines.pop_back(); // after the last line end
    }
    return lines;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class MainDlgExportTest : public MainDlgTest {
protected:
    MainDlgExportTest() { m_bAwkwardNames = true; }

    // The file's lines as the list must show them: titles, rows, status line.
    std::vector<std::vector<std::string>> ExpectedExport() const {
        std::vector<std::vector<std::string>> lines = {{"Dateiname",
                                                        "Gr\xF6\xDF"
                                                        "e",
                                                        "Ordnername", "Bytes"}};
        uint64_t total = 0;
        for (const ExpectedRow& row : ExpectedRows(true)) {
            lines.push_back({row.fileName, FormatSize(row.size, SizeStyle::Compact), row.folder,
                             std::to_string(row.size)});
            total += row.size;
        }
        const std::string status = std::to_string(lines.size() - 1) + " Dateien, " +
                                   FormatSize(total, SizeStyle::Compact) + " (" +
                                   FormatSize(total, SizeStyle::Exact) + " Bytes)";
        lines.push_back({status, "", "", std::to_string(total)});
        return lines;
    }

    // Runs the export with the prompt answering `path` and file type `filterIndex`;
    // returns the error message shown, if any (the box is dismissed).
    std::string Export(CMainDlg& dlg, const std::string& path, int filterIndex) {
        dlg.SetExportPrompt([&](HWND owner, std::string& chosen, int& index) {
            EXPECT_EQ(dlg.GetSafeHwnd(), owner);
            chosen = path;
            index = filterIndex;
            return true;
        });
        std::string message;
        HWND box = nullptr;
        RunMain(dlg, {
                         [&] {
                             dlg.PostMessage(WM_COMMAND, ID_FILE_EXPORT, 0);
                             dlg.PostMessage(WM_USER + 77, 0, 0); // marks the command's end
                             return true;
                         },
                         [&] {
                             box = testsupport::FindOwnedDialog(dlg.GetSafeHwnd());
                             return box != nullptr ||
                                    !::PeekMessageA(nullptr, dlg.GetSafeHwnd(), WM_USER + 77,
                                                    WM_USER + 77, PM_NOREMOVE);
                         },
                         [&] {
                             if (box) {
                                 message = StaticTexts(box);
                                 ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                             }
                             return true;
                         },
                         [&] { return testsupport::FindOwnedDialog(dlg.GetSafeHwnd()) == nullptr; },
                     });
        return message;
    }
};

TEST_F(MainDlgExportTest, BothFormatsHoldTheListAsShownByteForByte) {
    struct Case {
        const char* file;
        int filterIndex;
        char separator;
        bool quoted;
    } cases[] = {
        {"liste.csv", 1, ';', true},
        {"liste.txt", 2, '\t', false},
        {"LISTE.CSV", 2, ';', true}, // the name's extension wins over the file type
        {"ohne_endung", 2, '\t', false},
    };
    for (const Case& c : cases) {
        CMainDlg dlg(m_app);
        const std::string path = m_dir / c.file;
        EXPECT_EQ("", Export(dlg, path, c.filterIndex)) << c.file;
        const std::string bytes = ReadBytes(path);
        ASSERT_FALSE(bytes.empty()) << c.file;
        EXPECT_EQ(ExpectedExport(), ParseSeparated(bytes, c.separator, c.quoted)) << c.file;
        // Every line ends in CR LF, and no bare LF or CR stands anywhere else.
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << c.file << " at " << i;
            }
        }
        if (c.quoted) {
            // Quotes only where a field needs them: the first line needs none.
            EXPECT_EQ(0u, bytes.find("Dateiname;Gr\xF6\xDF"
                                     "e;Ordnername;Bytes\r\n"));
            EXPECT_NE(std::string::npos, bytes.find("\"\"")) << "a doubled quote";
        }
    }
}

TEST_F(MainDlgExportTest, RefusesTheMailboxNewMailAndProgramDirectoriesInAnySpelling) {
    StartApp();
    std::string program = m_app.GetModulePath();
    program = program.substr(0, program.rfind('\\') + 1);
    auto upper = [](std::string s) {
        for (char& c : s) {
            c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
        }
        return s;
    };
    auto lower = [](std::string s) {
        for (char& c : s) {
            c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
        }
        return s;
    };
    const std::string mailboxNoSlash = m_strMailbox.substr(0, m_strMailbox.size() - 1);
    const std::vector<std::string> targets = {
        m_strMailbox + "liste.csv",        upper(m_strMailbox) + "liste.csv",
        mailboxNoSlash + "\\\\liste.csv",  m_strMailbox + "sub\\..\\liste.csv",
        lower(m_strNewmail) + "liste.txt", program + "liste.csv",
        upper(program) + "LISTE.CSV",
    };
    for (const std::string& target : targets) {
        CMainDlg dlg(m_app);
        EXPECT_NE(std::string::npos, Export(dlg, target, 1).find("FEHLER 007")) << target;
        EXPECT_FALSE(FileExists(target)) << target;
    }
    // Nothing at all was written among the folder files.
    EXPECT_FALSE(FileExists(m_strMailbox + "liste.csv.0.tmp"));
}

// The mailbox under a long name (so that it has a short one besides) with a folder
// link to it in an export folder, as Wine shows a Unix link inside its drive C:.
class MainDlgExportLinkTest : public MainDlgExportTest {
protected:
    void SetUp() override {
        MainDlgExportTest::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        const std::string longName = m_dir / "Postfach Anna";
        ASSERT_TRUE(
            ::MoveFileA(m_strMailbox.substr(0, m_strMailbox.size() - 1).c_str(), longName.c_str()));
        NameMailbox(longName);
        ASSERT_TRUE(testsupport::MakeDirectory(m_dir / "Export"));
        m_strLink = m_dir / "Export\\link";
        ASSERT_TRUE(testsupport::MakeFolderLink(m_strLink, longName));
        char shortName[MAX_PATH];
        const DWORD n = ::GetShortPathNameA(longName.c_str(), shortName, MAX_PATH);
        ASSERT_TRUE(n > 0 && n < MAX_PATH);
        m_strShort = shortName;
        ASSERT_NE(longName, m_strShort);
        for (const mailgen::ExpectedRow& row : m_expected.folders) {
            m_folderFiles[row.fileName] = ReadBytes(m_strMailbox + row.fileName);
        }
        ASSERT_FALSE(m_folderFiles.empty());
    }

    // The mail client's key names the mailbox as `path` (without a final backslash).
    void NameMailbox(const std::string& path) {
        SetRaw("Software\\Pegasus Mail\\Mailbox", "", REG_SZ, path + '\0');
        m_strMailbox = path + "\\";
    }

    // Every folder file as it was, and no temporary file beside them.
    void ExpectMailboxUntouched(const std::string& context) {
        for (const auto& file : m_folderFiles) {
            EXPECT_EQ(file.second, ReadBytes(m_dir / ("Postfach Anna\\" + file.first)))
                << file.first << " after " << context;
        }
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA((m_dir / "Postfach Anna\\*.tmp").c_str(), &found);
        EXPECT_EQ(INVALID_HANDLE_VALUE, search) << found.cFileName << " after " << context;
        if (search != INVALID_HANDLE_VALUE) {
            ::FindClose(search);
        }
    }

    std::string m_strLink;
    std::string m_strShort;
    std::map<std::string, std::string> m_folderFiles;
};

TEST_F(MainDlgExportLinkTest, RefusesTheMailboxThroughALinkAShortNameAndOtherSpellings) {
    const std::string mailbox = m_dir / "Postfach Anna";
    const std::string folderFile = m_folderFiles.begin()->first;
    std::vector<std::string> targets = {
        m_strLink + "\\" + folderFile, // replaced a folder file before
        m_strLink + "\\liste.csv",           m_strShort + "\\liste.csv",
        mailbox + "..\\liste.csv",           "\\\\?\\" + mailbox + "\\liste.csv",
        "\\\\.\\" + mailbox + "\\liste.csv",
    };
    const std::string otherDrive = testsupport::OtherDriveForm(mailbox);
    if (!otherDrive.empty()) {
        targets.push_back(otherDrive + "\\liste.csv");
    }
    for (const std::string& target : targets) {
        CMainDlg dlg(m_app);
        EXPECT_NE(std::string::npos, Export(dlg, target, 1).find("FEHLER 007")) << target;
        ExpectMailboxUntouched(target);
        EXPECT_FALSE(FileExists(mailbox + "\\liste.csv")) << target;
    }
    // Beside the link the export writes as before.
    CMainDlg dlg(m_app);
    EXPECT_EQ("", Export(dlg, m_dir / "Export\\liste.csv", 1));
    EXPECT_TRUE(FileExists(m_dir / "Export\\liste.csv"));
}

TEST_F(MainDlgExportLinkTest, AMailboxNamedInShortOrOtherDriveFormStillRefusesTheLongPath) {
    const std::string mailbox = m_dir / "Postfach Anna";
    std::vector<std::string> names = {m_strShort};
    const std::string otherDrive = testsupport::OtherDriveForm(mailbox);
    if (!otherDrive.empty()) {
        names.push_back(otherDrive);
    }
    for (const std::string& name : names) {
        NameMailbox(name);
        StartApp();
        CMainDlg dlg(m_app);
        const std::string target = mailbox + "\\" + m_folderFiles.begin()->first;
        EXPECT_NE(std::string::npos, Export(dlg, target, 1).find("FEHLER 007")) << name;
        ExpectMailboxUntouched(name);
    }
}

TEST_F(MainDlgExportTest, AFailedWriteLeavesTheExistingFileAsItWas) {
    const std::string path = m_dir / "offen.csv";
    ASSERT_TRUE(testsupport::WriteFile(path, "alter Inhalt"));
    // Held open without sharing, as a spreadsheet holds the file it shows: the new
    // content cannot take its place.
    HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CMainDlg dlg(m_app);
    const std::string message = Export(dlg, path, 1);
    ::CloseHandle(held);
    EXPECT_NE(std::string::npos, message.find("FEHLER 008")) << message;
    EXPECT_EQ("alter Inhalt", ReadBytes(path));
    EXPECT_FALSE(FileExists(path + ".0.tmp"));
    // A folder that does not exist fails the same way.
    CMainDlg again(m_app);
    EXPECT_NE(std::string::npos, Export(again, m_dir / "fehlt\\liste.csv", 1).find("FEHLER 008"));
}

std::string ClipboardBytes(UINT format) {
    std::string bytes;
    if (!::OpenClipboard(nullptr)) {
        return bytes;
    }
    if (HANDLE data = ::GetClipboardData(format)) {
        const char* p = static_cast<const char*>(::GlobalLock(data));
        if (p) {
            bytes.assign(p, ::GlobalSize(data));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return bytes;
}

TEST_F(MainDlgExportTest, CtrlCCopiesTheListAsShownInBothClipboardFormats) {
    CMainDlg dlg(m_app);
    std::string text;
    std::string unicode;
    std::vector<std::vector<std::string>> expected;
    RunMain(dlg, {
                     [&] {
                         // Exact sizes and the size column first, so "as shown" is seen.
                         dlg.PostMessage(WM_COMMAND, ID_VIEW_COMPACT, 0);
                         return true;
                     },
                     [&] { return !dlg.GetSettings().m_bCompactFileSizes; },
                     [&] {
                         dlg.GetFolderList().SetColumnOrder({1, 0, 2});
                         BYTE keys[256] = {};
                         ::GetKeyboardState(keys);
                         keys[VK_CONTROL] = 0x80;
                         ::SetKeyboardState(keys);
                         ::PostMessageA(dlg.GetFolderList().GetSafeHwnd(), WM_KEYDOWN, 'C', 0);
                         return true;
                     },
                     [&] {
                         text = ClipboardBytes(CF_TEXT);
                         return !text.empty();
                     },
                     [&] {
                         BYTE keys[256] = {};
                         ::GetKeyboardState(keys);
                         keys[VK_CONTROL] = 0;
                         ::SetKeyboardState(keys);
                         unicode = ClipboardBytes(CF_UNICODETEXT);
                         return true;
                     },
                 });
    expected.push_back({"Gr\xF6\xDF"
                        "e",
                        "Dateiname", "Ordnername"});
    for (const ExpectedRow& row : ExpectedRows(true)) {
        expected.push_back({FormatSize(row.size, SizeStyle::Exact), row.fileName, row.folder});
    }
    const std::string cp1252 = text.substr(0, text.find('\0'));
    EXPECT_EQ(expected, ParseSeparated(cp1252, '\t', false));
    // The same text in UTF-16: each Windows-1252 byte as its character.
    std::wstring wide(unicode.size() / 2, L'\0');
    std::memcpy(&wide[0], unicode.data(), wide.size() * 2);
    wide = wide.substr(0, wide.find(L'\0'));
    const int n = ::WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string back(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(1252, 0, wide.c_str(), static_cast<int>(wide.size()), &back[0], n,
                          nullptr, nullptr);
    EXPECT_EQ(cp1252, back);
    EXPECT_NE(std::wstring::npos, wide.find(L"Gr\u00F6\u00DFe"));
}

} // namespace
} // namespace uitest
