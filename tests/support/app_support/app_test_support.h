// Shared pieces of the application tests: the mail client's registry keys, saved and
// restored around each test, and an application object ready to run dialogs.
#pragma once

#include "app/foldtally_app.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace apptest {

// Saves the default values of Software\Pegasus Mail\Mailbox and \Newmail and puts them
// back (or removes the keys again) when it goes.
class MailClientKeys {
public:
    MailClientKeys();
    ~MailClientKeys();
    MailClientKeys(const MailClientKeys&) = delete;
    MailClientKeys& operator=(const MailClientKeys&) = delete;

    // Sets the key's default value with the given type.
    static void Set(const char* key, DWORD type, const std::string& value);
    static void Remove(const char* key);

private:
    struct Saved {
        bool present = false;
        DWORD type = 0;
        std::string data;
    };
    static Saved Save(const char* key);
    static void Restore(const char* key, const Saved& saved);
    Saved m_mailbox;
    Saved m_newmail;
};

// An application object with its instance and title, and its help paths settable. The
// tests run under Wine, where the program hands help to the host's browser; they take
// the help viewer's way unless they choose the browser's.
class TestApp : public CFoldtallyApp {
public:
    TestApp() {
        InitApplication(::GetModuleHandleA(nullptr));
        SetHelpInBrowser(false);
    }
    void SetHelpFilePath(const std::string& path) { m_strHelpFilePath = path; }
    // The INI file start-up takes for the one beside the program, in place of the test
    // program's own.
    void SetIniPathOverride(const std::string& path) { m_strIniOverride = path; }
    void OnModulePaths() override {
        if (!m_strIniOverride.empty()) {
            m_strIniPath = m_strIniOverride;
        }
    }
    void SetHelpPagesPath(const std::string& path, const std::string& german = std::string()) {
        m_strHelpPagesPath = path;
        m_strGermanHelpPagesPath = german;
    }

private:
    std::string m_strIniOverride;
};

// The text of the message the program shows when it finds no help.
constexpr char kError001[] = "FEHLER 001: Online-Hilfe-Datei nicht gefunden.";

// A dialog to be the current modal one; a test's script runs inside its modal loop.
class HostDlg : public CDialog {
public:
    HostDlg() : CDialog(IDD_ABOUTBOX) {}
};

// The directory of this test program, with its final backslash.
std::string ModuleDirectory();
std::string ModulePathWithExtension(const char* extension);

} // namespace apptest
