// The model appended to a real popup menu of owner-drawn items.
#include "menu/popup_menu_win32.h"

namespace wlk::menu {

namespace {

// The item data travels as the owner-drawn item's value and again as its
// MIIM_DATA, which is what GetMenuItemInfoW reads back.
bool AttachData(HMENU menu, int position, const MenuItemData& data) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(&data);
    return SetMenuItemInfoW(menu, UINT(position), TRUE, &info) != FALSE;
}

bool AppendEntry(HMENU menu, const MenuEntry& entry) {
    const auto* data = reinterpret_cast<const wchar_t*>(&entry.data);
    UINT flags = MF_OWNERDRAW;
    if (entry.data.grayed) flags |= MF_GRAYED;
    UINT_PTR idOrMenu = entry.id;
    if (entry.submenu) {
        HMENU sub = CreatePopupFromModel(*entry.submenu);
        if (!sub) return false;
        flags |= MF_POPUP;
        idOrMenu = reinterpret_cast<UINT_PTR>(sub);
    } else if (entry.id == 0) {
        flags |= MF_SEPARATOR;
    }
    if (!AppendMenuW(menu, flags, idOrMenu, data)) {
        if (entry.submenu) DestroyMenu(reinterpret_cast<HMENU>(idOrMenu));
        return false;
    }
    return AttachData(menu, GetMenuItemCount(menu) - 1, entry.data);
}

}  // namespace

HMENU CreatePopupFromModel(const MenuModel& model) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    for (const MenuEntry& entry : model.items) {
        if (!AppendEntry(menu, entry)) {
            DestroyMenu(menu);  // and the submenus already appended
            return nullptr;
        }
    }
    return menu;
}

const MenuItemData* ItemDataAt(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoW(menu, UINT(position), TRUE, &info)) return nullptr;
    return reinterpret_cast<const MenuItemData*>(info.dwItemData);
}

}  // namespace wlk::menu
