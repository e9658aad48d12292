// Loading "hhctrl.ocx" once and calling its HtmlHelpA.
#include "app/html_help.h"

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

HtmlHelpFunction LoadHtmlHelp() {
    static bool s_bTried = false;
    static HtmlHelpFunction s_pfnHtmlHelp = nullptr;
    if (!s_bTried) {
        s_bTried = true;
        HMODULE module = ::LoadLibraryA("hhctrl.ocx");
        if (module != nullptr) {
            // Through void (*)(): the one function pointer type the compiler accepts as
            // "any function" when converting.
            const FARPROC proc = ::GetProcAddress(module, "HtmlHelpA");
            s_pfnHtmlHelp = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void (*)()>(proc));
        }
    }
    return s_pfnHtmlHelp;
}

} // namespace

HWND CallHtmlHelp(HWND owner, const char* path, UINT command, DWORD_PTR data) {
    HtmlHelpFunction htmlHelp = LoadHtmlHelp();
    return htmlHelp != nullptr ? htmlHelp(owner, path, command, data) : nullptr;
}
