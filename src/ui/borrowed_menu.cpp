// CBorrowedMenu: borrowing handles and setting check marks.
#include "ui/borrowed_menu.h"

CBorrowedMenu::~CBorrowedMenu() {
    if (borrowed) {
        Detach();
    }
}

std::unique_ptr<CBorrowedMenu> CBorrowedMenu::Borrow(HMENU hMenu) {
    std::unique_ptr<CBorrowedMenu> menu(new CBorrowedMenu);
    if (!menu->Attach(hMenu)) {
        return nullptr;
    }
    menu->borrowed = true;
    return menu;
}

std::unique_ptr<CBorrowedMenu> CBorrowedMenu::FromWindow(HWND hWnd) {
    return Borrow(::GetMenu(hWnd));
}

std::unique_ptr<CBorrowedMenu> CBorrowedMenu::GetSubMenu(int position) const {
    return Borrow(::GetSubMenu(m_hMenu, position));
}

bool CBorrowedMenu::CheckItem(UINT id, bool checked) {
    const DWORD previous =
        ::CheckMenuItem(m_hMenu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    return previous != static_cast<DWORD>(-1);
}
