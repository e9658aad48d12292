// CMenu: loading, attaching and destroying the owned handle.
#include "framework/menu.h"

#include "framework/win_app.h"

bool CMenu::LoadMenu(UINT resourceId) {
    HRSRC found = FindProgramResource(RT_MENU, MAKEINTRESOURCEA(resourceId));
    HGLOBAL resource = found != nullptr ? ::LoadResource(GetResourceInstance(), found) : nullptr;
    const void* menuTemplate = resource != nullptr ? ::LockResource(resource) : nullptr;
    HMENU loaded = menuTemplate != nullptr ? ::LoadMenuIndirectA(menuTemplate) : nullptr;
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
