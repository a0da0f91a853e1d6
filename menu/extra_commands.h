// The commands at the foot of the phrase menu: editing the menu and settings,
// a new phrase from the selection, and technical support.
#pragma once

#include "menu/menu_builder.h"
#include "menu/menu_model.h"

namespace wlk::menu {

void AppendExtraCommands(const MenuOptions& options, const MenuRequest& request, MenuModel& menu);

}  // namespace wlk::menu
