// The context-menu keys and the releases kept from the menu bar.
#include "view/menu_keys.h"

namespace view {

KeyAction MenuKeyFilter::Filter(const KeyEvent& event) {
    if (event.down) {
        if (event.key == kKeyAlt) {
            // A new press of Alt alone may open the menu bar again when let go.
            m_bSwallowAltUp = false;
            return KeyAction::kPass;
        }
        if ((event.key == kKeyF10 && event.shift && !event.alt) || event.key == kKeyApps) {
            (event.key == kKeyF10 ? m_bSwallowF10Up : m_bSwallowAppsUp) = true;
            return KeyAction::kContextMenu;
        }
        return KeyAction::kPass;
    }
    bool* swallow = event.key == kKeyAlt    ? &m_bSwallowAltUp
                    : event.key == kKeyF10  ? &m_bSwallowF10Up
                    : event.key == kKeyApps ? &m_bSwallowAppsUp
                                            : nullptr;
    if (swallow != nullptr && *swallow) {
        *swallow = false;
        return KeyAction::kSwallow;
    }
    return KeyAction::kPass;
}

void MenuKeyFilter::TakenByAccelerator(const KeyEvent& event) {
    if (event.down && event.alt && event.key != kKeyAlt) {
        m_bSwallowAltUp = true;
    }
}

} // namespace view
