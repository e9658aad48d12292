// CMenu: a menu handle that the wrapper owns and destroys, unless it hands it back with
// Detach first. Movable, not copyable, so one handle has one owner.
#pragma once

#include <windows.h>

class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    CMenu(CMenu&& other) noexcept : m_hMenu(other.Detach()) {}
    CMenu& operator=(CMenu&& other) noexcept {
        if (this != &other) {
            DestroyMenu();
            m_hMenu = other.Detach();
        }
        return *this;
    }

    // Loads a menu from the program's resources; false when there is none.
    [[nodiscard]] bool LoadMenu(UINT resourceId);
    // Takes a handle; false (and nothing taken) for a null handle or when one is held.
    bool Attach(HMENU hMenu);
    HMENU Detach() {
        HMENU h = m_hMenu;
        m_hMenu = nullptr;
        return h;
    }
    bool DestroyMenu();
    HMENU GetSafeHmenu() const { return m_hMenu; }

protected:
    HMENU m_hMenu = nullptr;
};
