// Menus with their ownership in the type. CMenu owns its handle and destroys it (a
// loaded context menu), unless it hands it back with Detach first; movable, not
// copyable, so one handle has one owner. CMenuHandle borrows one (a window's menu bar,
// a popup inside a menu) and never destroys it.
#pragma once

#include <windows.h>

class CMenuHandle {
public:
    explicit CMenuHandle(HMENU hMenu = nullptr) : m_hMenu(hMenu) {}
    CMenuHandle(const CMenuHandle&) = delete;
    CMenuHandle& operator=(const CMenuHandle&) = delete;
    CMenuHandle(CMenuHandle&& other) noexcept : m_hMenu(other.m_hMenu) {}
    CMenuHandle& operator=(CMenuHandle&& other) noexcept {
        m_hMenu = other.m_hMenu;
        return *this;
    }

    // The window's menu bar; empty when the window has none.
    static CMenuHandle FromWindow(HWND hWnd) { return CMenuHandle(::GetMenu(hWnd)); }
    // The popup at `position`; empty when there is none.
    CMenuHandle GetSubMenu(int position) const {
        return CMenuHandle(m_hMenu != nullptr ? ::GetSubMenu(m_hMenu, position) : nullptr);
    }
    // Checks or clears the item with command `id`; false when there is no such item.
    bool CheckItem(UINT id, bool checked) const {
        const DWORD previous =
            ::CheckMenuItem(m_hMenu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
        return previous != static_cast<DWORD>(-1);
    }
    // Enables or greys the item with command `id`; false when there is no such item.
    bool EnableItem(UINT id, bool enabled) const {
        const UINT previous =
            ::EnableMenuItem(m_hMenu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        return previous != static_cast<UINT>(-1);
    }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    explicit operator bool() const { return m_hMenu != nullptr; }

private:
    HMENU m_hMenu;
};

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
    // The handle lent out; valid for as long as this menu holds it.
    CMenuHandle Borrow() const { return CMenuHandle(m_hMenu); }

protected:
    HMENU m_hMenu = nullptr;
};
