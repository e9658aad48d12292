// CMessageDlg: the program's own message box. Unlike the platform's, it can offer a
// "&Hilfe" button (and F1) that tells its owner which message the user wants help on.
// Its template is built in memory; its controls are created when it opens.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"

#include <cstdint>
#include <string>

class CMessageDlg;

// Told about help requests (code 5) and, exactly once, about the box's end (code 0).
using MessageHelpCallback = int (*)(uint32_t code, uint32_t messageId, void* context,
                                    CMessageDlg* dialog);

enum MessageIcon { kIconNone = 0, kIconError = 1, kIconWarning = 2, kIconInformation = 3 };

class CMessageDlg : public CDialog {
public:
    static constexpr uint32_t kCodeHelp = 5;
    static constexpr uint32_t kCodeDestroyed = 0;

    // `caption` may be null; `iconKind` is a MessageIcon, any other value means none.
    // Throws std::bad_alloc when the template memory cannot be had.
    CMessageDlg(HWND parent, const char* text, const char* caption, int iconKind);
    ~CMessageDlg() override;

    // Help wiring, before the box runs: with a callback the box shows "&Hilfe".
    void SetHelpCallback(MessageHelpCallback callback, uint32_t id, void* ctx) {
        helpCallback = callback;
        messageId = id;
        context = ctx;
    }

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The control ids the box gives its controls.
    static constexpr int kTextId = 0xFFFF;
    static constexpr int kCloseId = IDOK;
    static constexpr int kHelpId = IDHELP;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    HWND CreateChild(const char* className, const char* text, DWORD style, int id, int x, int y,
                     int width, int height);
    void RequestHelp();

    HGLOBAL templateMemory = nullptr;
    std::string text;
    std::string caption;
    HICON icon = nullptr;
    bool beep = false;
    UINT beepType = 0;
    MessageHelpCallback helpCallback = nullptr;
    uint32_t messageId = 0;
    void* context = nullptr;
    CStatic m_textStatic;
    CButton m_closeButton;
    CButton m_helpButton;
    CStatic m_iconStatic;
};
