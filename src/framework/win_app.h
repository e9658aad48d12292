// CWinApp: the application base of a dialog-based program. It knows the instance
// handle and the application title, and runs the start-up hook; the program itself
// is whatever InitInstance does (here: one modal main dialog).
#pragma once

#include "text/language.h"

#include <windows.h>

#include <string>
#include <vector>

class CWnd;

// Instance whose resources the program loads: the one set by the running application,
// else the executable's own module.
HINSTANCE GetResourceInstance();

// The language of the resources the program loads: German, or their English twins
// (the same ids). Chosen by the program, never by the thread's locale, so a German
// Windows can run the English program and the other way round. German until set.
void SetResourceLanguage(Language language);
LANGID ResourceLanguageId();

// Resource `name` of `type` in the program's language, else the German one: a text
// missing in English shows in German rather than not at all. Null when neither exists.
HRSRC FindProgramResource(LPCSTR type, LPCSTR name);

// String-table entry `id` in the program's 8-bit code page, in the program's language
// (else German); empty when it is missing.
std::string LoadResourceString(UINT id);

// The standard command-line record: arguments beginning with '-' or '/' are flags
// (kept without that character), the others parameters.
class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(const char* param, bool isFlag, bool isLast);

    std::vector<std::string> m_flags;
    std::vector<std::string> m_params;
};

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The whole life of the program: InitApplication, the common controls, InitInstance,
    // then ExitInstance. Returns the process exit code.
    int Run(HINSTANCE hInstance);

    // Sets the instance and the title: string 57344, or the module's base name when the
    // program has no such string.
    void InitApplication(HINSTANCE hInstance);
    // The title again, after the resources' language was chosen.
    void LoadTitle();

    // Start-up hook. A dialog-based program does all its work here and returns FALSE,
    // so the program ends afterwards.
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }

    // Hands every argument of the command line to `info`.
    void ParseCommandLine(CCommandLineInfo& info) const;

    HINSTANCE GetInstance() const { return m_hInstance; }
    const std::string& GetTitle() const { return m_strTitle; }

    // The application object of this process (the last one constructed), or null.
    static CWinApp* Current();

    CWnd* m_pMainWnd = nullptr;

protected:
    HINSTANCE m_hInstance = nullptr;
    std::string m_strTitle;
    std::string m_strIniPath;
    std::string m_strHelpFilePath;
    std::string m_strRegistryKey;
};
