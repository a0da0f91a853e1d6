// The model appended to a real popup menu: every item owner-drawn, its
// MenuItemData attached as the item's data.
#pragma once

#include "menu/menu_model.h"
#include "platform/win32/windows_api.h"

namespace wlk::menu {

// A new popup menu holding the model's items and submenus. The item data
// points into `model`, which must outlive the menu. Null when it could not be
// made.
HMENU CreatePopupFromModel(const MenuModel& model);

// The item data of the item at `position` of `menu`; null when it has none.
const MenuItemData* ItemDataAt(HMENU menu, int position);

}  // namespace wlk::menu
