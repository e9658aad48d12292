// The platform's HTML Help viewer, loaded when first asked for: "hhctrl.ocx" is not
// linked, so the program starts even where the component is missing, and it is loaded
// from the system directory only, never from the program's own folder.
#pragma once

#include <windows.h>

// HtmlHelpA of the loaded component; null when it cannot be loaded (then every call
// fails alike) or when the viewer opens no window.
HWND CallHtmlHelp(HWND owner, const char* path, UINT command, DWORD_PTR data);
// Closes every window the viewer opened (HH_CLOSE_ALL, which the component asks for
// before it is unloaded) and unloads it; nothing when it is not loaded. A later
// CallHtmlHelp loads it again.
void CloseHtmlHelp();
