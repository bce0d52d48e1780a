// Inside the menu code: the items of a menu as the pop-up window reads them.
#pragma once

#include <string>
#include <vector>

#include "platform/windlg.h"

namespace platform::user {

struct MenuEntry {
    UINT flags = 0;  // MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_POPUP, MF_SEPARATOR
    UINT id = 0;
    std::u16string text;
    HMENU sub = nullptr;
};

// A copy of the menu's items; false (ERROR_INVALID_MENU_HANDLE) for an unknown menu.
bool menuEntries(HMENU menu, std::vector<MenuEntry>* out);

}  // namespace platform::user
