// The small command menu of a right-clicked phrase menu item: copy, open as
// web address, edit, open with, and four web searches.
#pragma once

#include "menu/menu_model.h"
#include "platform/win32/windows_api.h"

namespace wlk::menu {

// The codes the chosen command is reported with.
enum ItemAction : int {
    kActionNone = -1,
    kActionCopy = 0,
    kActionOpenUrl = 1,
    kActionEdit = 2,
    kActionOpenWith = 3,
    kActionGoogle = 4,
    kActionYandex = 5,
    kActionMsdn = 6,
    kActionWikipedia = 7,
};

// Items with a command id of their own have these commands: no submenus, no
// separators, no extra commands.
bool HasItemCommands(const MenuItemData& item);

// The menu for `item`; each command's id is its action code + 1.
HMENU CreateItemCommandMenu(const MenuItemData& item);

// Shows the menu at the cursor, owned by `owner`; the action chosen, or
// kActionNone.
int TrackItemCommandMenu(HWND owner, const MenuItemData& item);

}  // namespace wlk::menu
