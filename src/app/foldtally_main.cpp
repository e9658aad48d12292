// The program's entry: one application object that runs the main dialog.
#include "app/foldtally_app.h"
#include "app/placeholder_main_dlg.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CFoldtallyApp app;
    app.SetMainDialogFactory([](CFoldtallyApp& self) -> std::unique_ptr<CDialog> {
        return std::unique_ptr<CDialog>(new CPlaceholderMainDlg(self));
    });
    return app.Run(hInstance);
}
