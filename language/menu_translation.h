// Menu texts in the interface language.
#pragma once

#include <cstdint>
#include <set>

#include "platform/menu.h"
#include "platform/types.h"

namespace wlk::language {

// Translates the texts of `menu` and all its submenus in place from the
// active language file's "Menu" section. Items whose ids are in `excluded`
// keep their text; their submenus are still translated.
void LocalizeMenu(platform::Menu& menu, const std::set<uint32_t>& excluded = {});

// The text of command `commandId` in menu resource `menuResource`, for
// tooltips and balloons: translated when the active file has it, else the
// English text without its '&' marks. Empty when there is no such item.
Text GetMenuItemText(uint32_t menuResource, uint32_t commandId);

}  // namespace wlk::language
