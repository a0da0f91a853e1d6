// The keyboard in the open phrase menu: a digit chooses the clipboard-history
// item drawn with that number, a letter moves to the next item whose label
// starts with it, so that the mouse is never needed.
#pragma once

#include <cstdint>
#include <vector>

#include "menu/menu_model.h"

namespace wlk::menu {

struct MenuKeyResult {
    enum class Action { None, Choose, Select };
    Action action = Action::None;
    uint32_t id = 0;    // Choose: the command to carry out
    int position = -1;  // Select: the item of `level` to highlight
};

// `whole` is the menu's model, `level` the items of the open menu level in
// their order, `selected` the highlighted position there (-1 for none).
MenuKeyResult OnMenuKey(const MenuModel& whole, const std::vector<const MenuItemData*>& level,
                        char16_t ch, int selected);

}  // namespace wlk::menu
