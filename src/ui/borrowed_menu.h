// CBorrowedMenu: a menu wrapper that either borrows a handle (a window's menu bar, a
// popup inside it) and leaves it alive, or owns it like CMenu (a loaded context menu).
#pragma once

#include "framework/menu.h"

#include <memory>

class CBorrowedMenu : public CMenu {
public:
    CBorrowedMenu() = default;
    ~CBorrowedMenu() override;

    // The window's menu bar, borrowed; null when the window has none.
    static std::unique_ptr<CBorrowedMenu> FromWindow(HWND hWnd);
    // The popup at `position`, borrowed; null when there is none.
    std::unique_ptr<CBorrowedMenu> GetSubMenu(int position) const;
    // Checks or clears the item with command `id`; false when there is no such item.
    bool CheckItem(UINT id, bool checked);

    bool borrowed = false;

private:
    static std::unique_ptr<CBorrowedMenu> Borrow(HMENU hMenu);
};
