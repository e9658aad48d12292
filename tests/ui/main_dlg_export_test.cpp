// The list taken out of the main window on a mailbox whose names hold ';', '"', ','
// umlauts and high bytes: the export file in both formats read back field by field,
// the refusal for the directories the program never writes into (also through a
// folder link, a short name and the other spellings of the mailbox), a failing
// write that leaves the existing file alone, where Save As opens and that it comes back
// after a refusal or a failure, and Ctrl+C with both clipboard formats.
#include "folder_links.h"
#include "main_dlg_fixture_win32.h"
#include "resource.h"
#include "sizes/size_text.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdio>
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

    // The file's lines as the list must show them: titles and rows, nothing after them.
    std::vector<std::vector<std::string>> ExpectedExport(SizeStyle style = SizeStyle::Compact,
                                                         bool sizeFirst = false) const {
        std::vector<std::vector<std::string>> lines = {{"Dateiname",
                                                        "Gr\xF6\xDF"
                                                        "e",
                                                        "Ordnername", "Bytes"}};
        for (const ExpectedRow& row : ExpectedRows(true)) {
            lines.push_back(
                {row.fileName, FormatSize(row.size, style), row.folder, std::to_string(row.size)});
        }
        if (sizeFirst) {
            for (std::vector<std::string>& line : lines) {
                std::swap(line[0], line[1]);
            }
        }
        return lines;
    }

    // Runs the export with the prompt answering `path` and file type `filterIndex` the
    // first time and cancelling when asked again; returns the error message shown, if
    // any (the box is dismissed). `m_nPrompts` counts the prompts.
    std::string Export(CMainDlg& dlg, const std::string& path, int filterIndex) {
        m_nPrompts = 0;
        dlg.SetExportPrompt([&](HWND owner, const std::string&, std::string& chosen, int& index) {
            EXPECT_EQ(dlg.GetSafeHwnd(), owner);
            if (m_nPrompts++ > 0) {
                return false;
            }
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
        EXPECT_EQ(message.empty() ? 1 : 2, m_nPrompts) << "a refusal or failure asks again";
        return message;
    }

    int m_nPrompts = 0;
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

TEST_F(MainDlgExportTest, AfterAFilteredExportTheStatusLineSaysTheFileHoldsOnlyTheShownRows) {
    CMainDlg dlg(m_app);
    dlg.SetExportPrompt([&](HWND, const std::string&, std::string& file, int&) {
        return file = m_dir / "gefiltert.csv", true;
    });
    const std::string name = ExpectedRows(true)[1].fileName;
    RunMain(dlg, {[&] { return ::SetWindowTextA(dlg.GetFilterHwnd(), name.c_str()), true; },
                  [&] { return dlg.PostMessage(WM_COMMAND, ID_FILE_EXPORT, 0), true; },
                  [&] {
                      const std::string status = testsupport::WindowText(dlg.GetStatusHwnd());
                      return status.find("nur die 1 Zeilen") != std::string::npos;
                  }});
}

TEST_F(MainDlgExportTest, RefusesTheMailboxNewMailProgramAndInstallationFoldersInAnySpelling) {
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
    // Another user's folder of the mailbox's installation, and of the one chosen for the
    // overview.
    testsupport::TempDir chosen;
    for (const std::string& root : {m_dir.Path(), chosen.Path()}) {
        ASSERT_TRUE(testsupport::WriteFile(root + "PMAIL.USR", "U;bert;Bert\r\n"));
        ASSERT_TRUE(testsupport::MakeDirectory(root + "bert"));
    }
    Store(stored_names::kAllUsersRoot, REG_SZ, chosen.Path() + '\0');
    const std::string mailboxNoSlash = m_strMailbox.substr(0, m_strMailbox.size() - 1);
    const std::vector<std::string> targets = {
        m_strMailbox + "liste.csv",        upper(m_strMailbox) + "liste.csv",
        mailboxNoSlash + "\\\\liste.csv",  m_strMailbox + "sub\\..\\liste.csv",
        lower(m_strNewmail) + "liste.txt", program + "liste.csv",
        upper(program) + "LISTE.CSV",      m_dir / "bert\\liste.csv",
        chosen / "bert\\liste.csv",
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

// What Save As is offered, prompt by prompt, and what the test answers each time
// (an empty path: cancel).
struct PromptStep {
    std::string answer;
    std::string startFolder; // what it was offered
    std::string fileName;
};

class MainDlgSaveAsTest : public MainDlgExportTest {
protected:
    // Runs `exports` exports in one run of the window, answering the prompts with
    // `answers` in turn; each box shown is dismissed and its text kept in m_messages.
    std::vector<PromptStep> ExportThrough(CMainDlg& dlg, const std::vector<std::string>& answers,
                                          int exports = 1) {
        std::vector<PromptStep> steps;
        m_messages.clear();
        dlg.SetExportPrompt([&](HWND, const std::string& startFolder, std::string& path, int&) {
            const size_t n = steps.size();
            steps.push_back({n < answers.size() ? answers[n] : "", startFolder, path});
            if (steps.back().answer.empty()) {
                return false;
            }
            path = steps.back().answer;
            return true;
        });
        bool done = false;
        RunMain(dlg, {
                         [&] {
                             for (int i = 0; i < exports; ++i) {
                                 dlg.PostMessage(WM_COMMAND, ID_FILE_EXPORT, 0);
                             }
                             dlg.PostMessage(WM_USER + 77, 0, 0);
                             return true;
                         },
                         [&] {
                             // Boxes are read and dismissed until the command has ended.
                             if (HWND box = testsupport::FindOwnedDialog(dlg.GetSafeHwnd())) {
                                 if (::IsWindowVisible(box) &&
                                     (m_messages.empty() || m_messages.back().second != box)) {
                                     m_messages.emplace_back(StaticTexts(box), box);
                                     ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                                 }
                                 return false;
                             }
                             done = !::PeekMessageA(nullptr, dlg.GetSafeHwnd(), WM_USER + 77,
                                                    WM_USER + 77, PM_NOREMOVE);
                             return done;
                         },
                     });
        EXPECT_TRUE(done);
        return steps;
    }

    static std::string Documents() {
        char folder[MAX_PATH] = {};
        EXPECT_TRUE(SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, folder)));
        return std::string(folder) + "\\";
    }

    static std::string Today() {
        SYSTEMTIME now = {};
        ::GetLocalTime(&now);
        char name[40];
        std::snprintf(name, sizeof name, "Foldtally %04u-%02u-%02u.csv", now.wYear, now.wMonth,
                      now.wDay);
        return name;
    }

    std::vector<std::pair<std::string, HWND>> m_messages;
};

// First in the documents with a dated name, never in the program's own folder; then in
// the folder of the last export written, also in the next run through the stored value.
TEST_F(MainDlgSaveAsTest, OpensInTheDocumentsThenInTheLastExportFolderAcrossRuns) {
    StartApp();
    std::string program = m_app.GetModulePath();
    program = program.substr(0, program.rfind('\\') + 1);
    ASSERT_TRUE(testsupport::MakeDirectory(m_dir / "Ablage"));
    const std::string target = m_dir / "Ablage\\liste.csv";
    {
        CMainDlg dlg(m_app);
        // The second export in the same run is cancelled.
        const std::vector<PromptStep> steps = ExportThrough(dlg, {target}, 2);
        ASSERT_EQ(2u, steps.size());
        EXPECT_EQ(Documents(), steps[0].startFolder);
        EXPECT_NE(program, steps[0].startFolder);
        EXPECT_EQ(Today(), steps[0].fileName);
        EXPECT_TRUE(FileExists(target));
        // The same run offers that folder at once.
        EXPECT_EQ(m_dir / "Ablage\\", steps[1].startFolder);
        EXPECT_EQ(Today(), steps[1].fileName);
    }
    EXPECT_EQ(m_dir / "Ablage\\" + '\0', Stored(stored_names::kExportPath, REG_SZ));
    CMainDlg next(m_app);
    const std::vector<PromptStep> steps = ExportThrough(next, {});
    ASSERT_EQ(1u, steps.size());
    EXPECT_EQ(m_dir / "Ablage\\", steps[0].startFolder);
    EXPECT_TRUE(m_messages.empty());
}

// A cancelled or refused export stores no folder; a refusal (FEHLER 007) asks again in
// the folder first offered with the name typed, a failed write (FEHLER 008) asks again
// in the folder chosen; the next answer is written.
TEST_F(MainDlgSaveAsTest, AfterARefusalOrAFailedWriteSaveAsComesBackUntilTheFileIsWritten) {
    StartApp();
    {
        // Refused and then cancelled: no folder remembered, none stored.
        CMainDlg dlg(m_app);
        EXPECT_EQ(2u, ExportThrough(dlg, {m_strMailbox + "x.csv"}).size());
        EXPECT_EQ("", dlg.GetExportFolder());
        DWORD type = REG_NONE;
        std::string bytes;
        EXPECT_FALSE(GetRaw(kMainDlgKey, stored_names::kExportPath, type, bytes));
    }
    ASSERT_TRUE(testsupport::MakeDirectory(m_dir / "Ablage"));
    const std::string held = m_dir / "Ablage\\offen.csv";
    ASSERT_TRUE(testsupport::WriteFile(held, "alter Inhalt"));
    HANDLE file = ::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CMainDlg dlg(m_app);
    const std::string good = m_dir / "Ablage\\gut.txt";
    const std::vector<PromptStep> steps =
        ExportThrough(dlg, {m_strMailbox + "Liste im Postfach.csv", held, good});
    ::CloseHandle(file);
    ASSERT_EQ(3u, steps.size());
    ASSERT_EQ(2u, m_messages.size());
    EXPECT_NE(std::string::npos, m_messages[0].first.find("FEHLER 007")) << m_messages[0].first;
    EXPECT_EQ(Documents(), steps[1].startFolder);
    EXPECT_EQ("Liste im Postfach.csv", steps[1].fileName);
    EXPECT_NE(std::string::npos, m_messages[1].first.find("FEHLER 008")) << m_messages[1].first;
    EXPECT_EQ(m_dir / "Ablage\\", steps[2].startFolder);
    EXPECT_EQ("offen.csv", steps[2].fileName);
    EXPECT_EQ(ExpectedExport(), ParseSeparated(ReadBytes(good), '\t', false));
    EXPECT_EQ("alter Inhalt", ReadBytes(held));
    EXPECT_EQ(m_dir / "Ablage\\", dlg.GetExportFolder());
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

TEST_F(MainDlgExportTest, CtrlCCopiesWhatTheExportWritesInBothClipboardFormats) {
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
    // What the export writes: the byte column too, and nothing after the rows.
    expected = ExpectedExport(SizeStyle::Exact, true);
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
