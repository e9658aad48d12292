// CWinApp: instance, title, command line and the run of the start-up hook.
#include "framework/win_app.h"

#include "diag/path_parts.h"
#include "diag/trace.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace {

CWinApp* g_pCurrentApp = nullptr;
HINSTANCE g_hResourceInstance = nullptr;
Language g_resourceLanguage = Language::German;

const LANGID kGermanId = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const LANGID kEnglishId = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Entry `id` of the string table block `block` (16 counted UTF-16 strings); empty when
// the block ends early or holds no such text.
std::wstring StringOfBlock(HRSRC block, UINT id) {
    HGLOBAL loaded = block != nullptr ? ::LoadResource(GetResourceInstance(), block) : nullptr;
    const auto* words =
        static_cast<const WCHAR*>(loaded != nullptr ? ::LockResource(loaded) : nullptr);
    if (words == nullptr) {
        return std::wstring();
    }
    const DWORD size = ::SizeofResource(GetResourceInstance(), block) / sizeof(WCHAR);
    DWORD at = 0;
    for (UINT i = 0; i < (id & 15u); ++i) {
        if (at >= size) {
            return std::wstring();
        }
        at += 1 + static_cast<DWORD>(words[at]);
    }
    if (at >= size || words[at] == 0 || size - at - 1 < words[at]) {
        return std::wstring();
    }
    return std::wstring(words + at + 1, words[at]);
}

std::string ToProgramCodePage(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int wide = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(std::max(length, 0)), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, &result[0], length, nullptr, nullptr);
    }
    return result;
}

const UINT kTitleStringId = 57344;

} // namespace

HINSTANCE GetResourceInstance() {
    return g_hResourceInstance != nullptr ? g_hResourceInstance : ::GetModuleHandleA(nullptr);
}

void SetResourceLanguage(Language language) {
    g_resourceLanguage = language;
}

LANGID ResourceLanguageId() {
    return g_resourceLanguage == Language::English ? kEnglishId : kGermanId;
}

HRSRC FindProgramResource(LPCSTR type, LPCSTR name) {
    HRSRC found = ::FindResourceExA(GetResourceInstance(), type, name, ResourceLanguageId());
    if (found == nullptr && ResourceLanguageId() != kGermanId) {
        found = ::FindResourceExA(GetResourceInstance(), type, name, kGermanId);
    }
    return found;
}

std::string LoadResourceString(UINT id) {
    // Strings live in blocks of 16; a block may exist in English while one of its
    // strings was not translated, so each string falls back on its own.
    const LPCSTR block = MAKEINTRESOURCEA((id >> 4) + 1);
    std::wstring text = StringOfBlock(
        ::FindResourceExA(GetResourceInstance(), RT_STRING, block, ResourceLanguageId()), id);
    if (text.empty() && ResourceLanguageId() != kGermanId) {
        text = StringOfBlock(::FindResourceExA(GetResourceInstance(), RT_STRING, block, kGermanId),
                             id);
    }
    return ToProgramCodePage(text);
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
    LoadTitle();
}

void CWinApp::LoadTitle() {
    m_strTitle = LoadResourceString(kTitleStringId);
    if (m_strTitle.empty()) {
        char path[MAX_PATH];
        const DWORD n = ::GetModuleFileNameA(m_hInstance, path, sizeof path);
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
