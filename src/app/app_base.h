// CAppBase: a reusable application base for dialog-based programs. It runs every modal
// dialog (so it always knows the innermost one, the parent of message boxes and the
// owner of help), shows numbered messages in the program's message box, and owns the
// settings store.
#pragma once

#include "framework/app_services.h"
#include "framework/dialog.h"
#include "framework/win_app.h"
#include "settings/portable_settings.h"
#include "settings/settings_store.h"
#include "ui/message_dlg.h"

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>

class CAppBase : public CWinApp, public AppServices {
public:
    static constexpr size_t kMessageBufferSize = 1000;

    CAppBase();
    ~CAppBase() override;

    // Parses the command line, runs SetStrings and creates the INI store whatever it
    // returned; returns SetStrings' result.
    BOOL InitInstance() override;
    // The module path (cut to 260 characters), the INI file beside it, the registry key
    // and the title; false when no module path can be had at all.
    virtual bool SetStrings();
    // Called by SetStrings once the paths beside the program are known, before anything
    // is read from them: a test puts the INI file elsewhere here.
    virtual void OnModulePaths() {}

    // Runs `dialog` modally as the current modal dialog and restores the previous one
    // afterwards, also when the run throws.
    INT_PTR RunModal(CDialog& dialog) override;
    void SetHelpCallback(MessageHelpCallback callback, void* context);

    // Replace the settings store (the current one is destroyed first).
    void CreateIniStore();
    void CreateRegistryStore();
    // The store of this run: the INI file beside the program when one lies there, else
    // the registry. An INI file this run cannot write is read, error 010 says so, and
    // the run's changes stay in memory.
    void ChooseSettingsStore();
    // The language the user chose, read before the store of the run is chosen, so that
    // the first warnings already speak it: from the INI file beside the program when the
    // run keeps its settings there, else from the registry, only read.
    LanguageChoice StoredLanguageChoice() const;
    bool IsSettingsPortable() const override {
        return m_settingsHome != settings::SettingsHome::kRegistry;
    }
    bool IsSettingsFileReadOnly() const override {
        return m_settingsHome == settings::SettingsHome::kIniFileInMemory;
    }
    std::string GetSettingsFilePath() const override {
        return IsSettingsPortable() ? m_strIniPath : std::string();
    }
    bool SaveSettingsPortable(const std::function<bool(SettingsStore& file)>& save) override;

    // Numbered messages: the text of string `id` formatted with the arguments, in the
    // message box with caption "WARNUNG" or "FEHLER".
    void Warning(uint32_t id, ...) override;
    void Error(uint32_t id, ...) override;
    // A numbered note, not a problem: information icon, the program's title as caption.
    void Inform(uint32_t id, ...);
    // Formats into a buffer of kMessageBufferSize characters (longer text is cut, never
    // overrun) and runs the message box through RunModal. Returns its result.
    INT_PTR ShowMessage(const char* format, va_list args, const char* caption, int iconKind);

    CDialog* GetModalDlg() const { return m_pModalDlg; }
    SettingsStore* GetSettingsStore() const override { return m_pSettingsStore.get(); }
    uint32_t GetLastMessageId() const { return m_nLastMessageId; }
    const std::string& GetModulePath() const override { return m_strModulePath; }
    const std::string& GetTitle() const override { return CWinApp::GetTitle(); }
    const std::string& GetAppTitle() const { return m_strAppTitle; }
    const std::string& GetIniPath() const { return m_strIniPath; }
    const std::string& GetHelpFilePath() const { return m_strHelpFilePath; }
    const std::string& GetRegistryKey() const { return m_strRegistryKey; }

protected:
    CDialog* m_pModalDlg = nullptr;
    MessageHelpCallback m_pfnHelpCallback = nullptr;
    uint32_t m_nLastMessageId = 0;
    void* m_pHelpContext = nullptr;
    std::unique_ptr<SettingsStore> m_pSettingsStore;
    CCommandLineInfo m_cmdInfo;
    std::string m_strModulePath;
    std::string m_strAppTitle;
    settings::SettingsHome m_settingsHome = settings::SettingsHome::kRegistry;

private:
    void ShowNumbered(uint32_t id, va_list args, const char* caption, int iconKind);
};
