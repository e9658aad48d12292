// Loading "hhctrl.ocx" from the system directory, calling its HtmlHelpA, unloading it.
#include "app/html_help.h"

#include "framework/system_library.h"

#include <htmlhelp.h>

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

struct Component {
    bool tried = false;
    HMODULE module = nullptr;
    HtmlHelpFunction htmlHelp = nullptr;
};

Component& TheComponent() {
    static Component s_component;
    return s_component;
}

HtmlHelpFunction LoadHtmlHelp() {
    Component& component = TheComponent();
    if (!component.tried) {
        component.tried = true;
        component.module = framework::LoadSystemLibrary("hhctrl.ocx");
        component.htmlHelp =
            framework::SystemFunction<HtmlHelpFunction>(component.module, "HtmlHelpA");
    }
    return component.htmlHelp;
}

} // namespace

HWND CallHtmlHelp(HWND owner, const char* path, UINT command, DWORD_PTR data) {
    HtmlHelpFunction htmlHelp = LoadHtmlHelp();
    return htmlHelp != nullptr ? htmlHelp(owner, path, command, data) : nullptr;
}

void CloseHtmlHelp() {
    Component& component = TheComponent();
    if (component.htmlHelp != nullptr) {
        component.htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
    if (component.module != nullptr) {
        ::FreeLibrary(component.module);
    }
    component = Component();
}
