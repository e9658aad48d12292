// The application as a window under test sees it: settings in a store in memory, the
// numbered errors and the help topics asked for recorded, modal runs straight through
// the dialog, and a mailbox path the test may set.
#pragma once

#include "framework/app_services.h"
#include "framework/dialog.h"
#include "memory_store.h"

#include <string>
#include <vector>

class RecordingApp : public AppServices {
public:
    const std::string& GetTitle() const override { return m_title; }
    const std::string& GetModulePath() const override { return m_title; }
    SettingsStore* GetSettingsStore() const override { return &m_store; }
    INT_PTR RunModal(CDialog& dialog) override { return dialog.DoModal(); }
    void Warning(uint32_t, ...) override {}
    void Error(uint32_t id, ...) override { m_errors.push_back(id); }
    void ShowHelp(const char* topic) override { m_help.push_back(topic ? topic : ""); }
    const std::string& GetMailboxPath() const override { return m_mailbox; }
    const std::string& GetNewmailPath() const override { return m_mailbox; }

    mutable MemorySettingsStore m_store;
    std::vector<uint32_t> m_errors;
    std::vector<std::string> m_help;
    std::string m_title = "Foldtally";
    std::string m_mailbox = "Foldtally";
};
