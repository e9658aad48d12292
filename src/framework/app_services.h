// AppServices: what the program's dialogs ask of the application object. The dialogs
// live below the application and reach it only through this interface, so the folder
// of the dialogs never includes the folder of the application.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

class CDialog;
class SettingsStore;

class AppServices {
public:
    // The program's title, the caption of its main window.
    virtual const std::string& GetTitle() const = 0;
    // The program's own file, whose version resource the About box reads.
    virtual const std::string& GetModulePath() const = 0;
    // Where the settings are kept; null before start-up has chosen a store.
    virtual SettingsStore* GetSettingsStore() const = 0;
    // Runs `dialog` modally as the application's current modal dialog.
    virtual INT_PTR RunModal(CDialog& dialog) = 0;
    // Numbered messages: string `id` formatted with the arguments, in the program's
    // message box.
    virtual void Warning(uint32_t id, ...) = 0;
    virtual void Error(uint32_t id, ...) = 0;
    // Opens the help file, at `topic` when one is given.
    virtual void ShowHelp(const char* topic = nullptr) = 0;
    // The folder of the help's pages beside the program, with a final separator; empty
    // where there is none.
    virtual std::string GetHelpFolder() const { return std::string(); }
    // The mail client's mailbox and new-mail directories as start-up read them.
    virtual const std::string& GetMailboxPath() const = 0;
    virtual const std::string& GetNewmailPath() const = 0;

    // Whether this run keeps its settings in the INI file beside the program.
    virtual bool IsSettingsPortable() const { return false; }
    // Whether that file may not be written (the run keeps its changes in memory): then
    // nothing else of the program's is written beside it either.
    virtual bool IsSettingsFileReadOnly() const { return false; }
    // The full path of that file, when the run keeps its settings there; else empty.
    virtual std::string GetSettingsFilePath() const { return std::string(); }
    // Makes the INI file beside the program from what `save` writes into the store it is
    // given (open on no section), keeps the settings there for the rest of the run and
    // says where; true then. Otherwise the run keeps the store it had, and the user has
    // been told why.
    virtual bool SaveSettingsPortable(const std::function<bool(SettingsStore& file)>& save) {
        static_cast<void>(save);
        return false;
    }

protected:
    ~AppServices() = default;
};
