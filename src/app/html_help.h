// The platform's HTML Help viewer, loaded when first asked for: "hhctrl.ocx" is not
// linked, so the program starts even where the component is missing.
#pragma once

#include <windows.h>

// HtmlHelpA of the loaded component; null when it cannot be loaded (then every call
// fails alike) or when the viewer opens no window.
HWND CallHtmlHelp(HWND owner, const char* path, UINT command, DWORD_PTR data);
