// CSettingsDlg: template 103 without data exchange yet.
#include "ui/settings_dlg.h"

#include "resource.h"

CSettingsDlg::CSettingsDlg(HWND parent) : CDialog(IDD_SETTINGS, parent) {}
