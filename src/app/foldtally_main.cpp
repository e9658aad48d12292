// The program's entry: one application object that runs the main dialog.
#include "app/foldtally_app.h"
#include "framework/system_library.h"
#include "ui/main_dlg.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    // Before anything loads a library: none may come from the program's folder.
    framework::RestrictLibrarySearchToSystem();
    CFoldtallyApp app;
    app.SetMainDialogFactory([](CFoldtallyApp& self) -> std::unique_ptr<CDialog> {
        return std::unique_ptr<CDialog>(new CMainDlg(self));
    });
    return app.Run(hInstance);
}
