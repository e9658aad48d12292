// CSettingsDlg: the settings dialog, reduced for now to what the main window relies
// on: it runs template 103 modally with a working copy of the nine settings, which it
// hands back unchanged, and ends with IDOK on "&OK" and IDCANCEL on "&Abbrechen". Its
// controls do not show or change the values yet; the full dialog replaces this class.
#pragma once

#include "framework/dialog.h"
#include "settings/program_settings.h"

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(HWND parent);

    ProgramSettings m_settings; // the working record, copied in and out by the caller
};
