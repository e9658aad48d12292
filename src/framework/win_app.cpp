// CWinApp: instance, title, command line and the run of the start-up hook.
#include "framework/win_app.h"

#include "diag/path_parts.h"
#include "diag/trace.h"

#include <commctrl.h>

#include <cstdlib>
#include <exception>

namespace {

CWinApp* g_pCurrentApp = nullptr;
HINSTANCE g_hResourceInstance = nullptr;

const UINT kTitleStringId = 57344;

} // namespace

HINSTANCE GetResourceInstance() {
    return g_hResourceInstance != nullptr ? g_hResourceInstance : ::GetModuleHandleA(nullptr);
}

std::string LoadResourceString(UINT id) {
    // LoadStringA cannot say how long a string is; a string table entry holds at most
    // 4097 characters, so this buffer takes any of them whole.
    char buffer[4100];
    const int length = ::LoadStringA(GetResourceInstance(), id, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

void CCommandLineInfo::ParseParam(const char* param, bool isFlag, bool /*isLast*/) {
    (isFlag ? m_flags : m_params).push_back(param);
}

CWinApp::CWinApp() {
    g_pCurrentApp = this;
}

CWinApp::~CWinApp() {
    if (g_pCurrentApp == this) {
        g_pCurrentApp = nullptr;
    }
}

CWinApp* CWinApp::Current() {
    return g_pCurrentApp;
}

void CWinApp::InitApplication(HINSTANCE hInstance) {
    m_hInstance = hInstance;
    g_hResourceInstance = hInstance;
    m_strTitle = LoadResourceString(kTitleStringId);
    if (m_strTitle.empty()) {
        char path[MAX_PATH];
        const DWORD n = ::GetModuleFileNameA(hInstance, path, sizeof path);
        if (n > 0 && n < sizeof path) {
            m_strTitle = PathParts(std::string(path, n)).GetBaseName();
        }
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
    for (int i = 1; i < __argc; ++i) {
        const char* arg = __argv[i];
        const bool isFlag = arg[0] == '-' || arg[0] == '/';
        info.ParseParam(isFlag ? arg + 1 : arg, isFlag, i + 1 == __argc);
    }
}

int CWinApp::Run(HINSTANCE hInstance) {
    InitApplication(hInstance);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The program has no other place to report what escaped; the trace names it for the
    // developer and the exit code tells the caller.
    try {
        InitInstance();
        return ExitInstance();
    } catch (const std::exception& e) {
        Trace("[framework.CWinApp.Run] WARNUNG: Ausnahme \"%s\"\n", e.what());
    } catch (...) {
        Trace("[framework.CWinApp.Run] WARNUNG: unbekannte Ausnahme\n");
    }
    return 3;
}
