// CMenu: loading, attaching and destroying the owned handle.
#include "framework/menu.h"

#include "framework/win_app.h"

bool CMenu::LoadMenu(UINT resourceId) {
    HMENU loaded = ::LoadMenuA(GetResourceInstance(), MAKEINTRESOURCEA(resourceId));
    if (loaded == nullptr) {
        return false;
    }
    DestroyMenu();
    m_hMenu = loaded;
    return true;
}

bool CMenu::Attach(HMENU hMenu) {
    if (hMenu == nullptr || m_hMenu != nullptr) {
        return false;
    }
    m_hMenu = hMenu;
    return true;
}

bool CMenu::DestroyMenu() {
    if (m_hMenu == nullptr) {
        return false;
    }
    const bool destroyed = ::DestroyMenu(m_hMenu) != FALSE;
    m_hMenu = nullptr;
    return destroyed;
}
