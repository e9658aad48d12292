// Which key presses of a window open its context menu from the keyboard, and which key
// releases a window must keep from the system's menu handling. The system activates the
// menu bar when Alt or F10 is let go after no other key reached it; a key press that an
// accelerator (Alt-P) or the context menu (Shift-F10) took never reaches it, so under
// Wine the menu bar came up after them and the next Down opened "Datei".
#pragma once

#include <cstdint>

namespace view {

// The virtual key codes this rule knows (those of the platform).
constexpr uint32_t kKeyAlt = 0x12;
constexpr uint32_t kKeyApps = 0x5D;
constexpr uint32_t kKeyF10 = 0x79;

struct KeyEvent {
    bool down;    // pressed (including auto-repeat), else released
    uint32_t key; // virtual key code
    bool shift;   // Shift held
    bool alt;     // Alt held
};

enum class KeyAction {
    kPass,        // on to the accelerators and the control
    kContextMenu, // open the context menu of the control with the focus
    kSwallow,     // nobody sees it
};

class MenuKeyFilter {
public:
    // A key message before the accelerators see it.
    KeyAction Filter(const KeyEvent& event);
    // An accelerator took `event` (a press): the release of Alt it was held with must
    // not open the menu bar.
    void TakenByAccelerator(const KeyEvent& event);

private:
    bool m_bSwallowAltUp = false;
    bool m_bSwallowF10Up = false;
    bool m_bSwallowAppsUp = false;
};

} // namespace view
