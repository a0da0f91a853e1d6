// The clipboard history as items of the phrase menu, newest first, each
// chosen by the id 2000 + its place in the history.
#pragma once

#include "history/ch_queue.h"
#include "menu/menu_builder.h"
#include "menu/menu_model.h"

namespace wlk::menu {

// Direct items before the rest go into a "More History" submenu.
inline constexpr size_t kDirectHistoryItems = 15;

// Appends the history to `menu` as `options` say. The items' menu captions
// (and, `withTooltips`, their tooltips) are cached in the items.
void AddClipboardHistoryIntoMenu(const history::CCHQueue& queue, const MenuOptions& options,
                                 bool withTooltips, MenuModel& menu);

}  // namespace wlk::menu
