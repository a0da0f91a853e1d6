#include "menu/menu_model.h"

namespace wlk::menu {

namespace {
constexpr size_t kLabelMaxChars = 255;
}  // namespace

const MenuEntry* MenuModel::Find(uint32_t id) const {
    if (id == 0) return nullptr;  // separators and submenu items share it
    for (const auto& entry : items) {
        if (entry.id == id) return &entry;
        if (entry.submenu) {
            if (const MenuEntry* found = entry.submenu->Find(id)) return found;
        }
    }
    return nullptr;
}

MenuEntry& AppendItem(MenuModel& menu, uint32_t id, MenuItemData data) {
    if (data.label.size() > kLabelMaxChars) data.label.resize(kLabelMaxChars);
    data.commandId = id;
    data.index = static_cast<int>(menu.items.size());
    MenuEntry& entry = menu.items.emplace_back();
    entry.id = id;
    entry.data = std::move(data);
    return entry;
}

void AppendSeparator(MenuModel& menu, const Text& label) {
    MenuItemData data;
    data.flags = kItemSeparator;
    data.tag = label;
    AppendItem(menu, 0, std::move(data));
}

int32_t MapMenuResult(uint32_t chosen) {
    switch (chosen) {
        case 0: return -1;
        case kCmdEditSetting: return -2;
        case kCmdSaveSelAsPhrase: return -4;
        case kCmdSupport: return -6;
        default: return static_cast<int32_t>(chosen);
    }
}

}  // namespace wlk::menu
