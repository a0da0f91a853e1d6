#include "menu/menu_keys.h"

#include "platform/text.h"

namespace wlk::menu {

namespace {

MenuKeyResult ChooseHistoryItem(const MenuModel& whole, char16_t digit) {
    const uint32_t id = kFirstHistoryId + static_cast<uint32_t>(digit - u'1');
    if (!whole.Find(id)) return {};
    return {MenuKeyResult::Action::Choose, id, -1};
}

bool StartsWith(const MenuItemData& item, char16_t ch) {
    return StartsWithIgnoreCase(item.label, std::u16string_view(&ch, 1));
}

// The next item after `selected` whose label starts with `ch`, the search
// wrapping round to the highlighted item itself.
MenuKeyResult SelectByLetter(const std::vector<const MenuItemData*>& level, char16_t ch,
                             int selected) {
    const int count = static_cast<int>(level.size());
    for (int step = 1; step <= count; ++step) {
        const int at = ((selected < 0 ? -1 : selected) + step) % count;
        const MenuItemData* item = level[static_cast<size_t>(at)];
        if (!item || item->IsSeparator() || item->grayed) continue;
        if (StartsWith(*item, ch)) return {MenuKeyResult::Action::Select, 0, at};
    }
    return {};
}

}  // namespace

MenuKeyResult OnMenuKey(const MenuModel& whole, const std::vector<const MenuItemData*>& level,
                        char16_t ch, int selected) {
    if (ch >= u'1' && ch <= u'9') return ChooseHistoryItem(whole, ch);
    if (ch <= u' ' || ch == u'0') return {};
    return SelectByLetter(level, ch, selected);
}

}  // namespace wlk::menu
