// What the window benchmarks share: a millisecond clock and an application without
// settings, help or messages, so a window can be opened and timed on its own.
#pragma once

#include "framework/app_services.h"
#include "framework/dialog.h"

#include <windows.h>

#include <string>

namespace bench {

inline double NowMs() {
    LARGE_INTEGER frequency, count;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&count);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class QuietApp : public AppServices {
public:
    const std::string& GetTitle() const override { return m_text; }
    const std::string& GetModulePath() const override { return m_text; }
    SettingsStore* GetSettingsStore() const override { return nullptr; }
    INT_PTR RunModal(CDialog& dialog) override { return dialog.DoModal(); }
    void Warning(uint32_t, ...) override {}
    void Error(uint32_t, ...) override {}
    void ShowHelp(const char*) override {}
    const std::string& GetMailboxPath() const override { return m_text; }
    const std::string& GetNewmailPath() const override { return m_text; }
    std::string m_text = "Foldtally";
};

} // namespace bench
