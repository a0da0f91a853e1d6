// Menus by item position: what translating a menu and rebuilding the
// "Language" submenu need, and no more.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/types.h"

namespace wlk::platform {

struct MenuItem {
    uint32_t id = 0;  // 0 for separators and for most submenu items
    Text text;        // as stored, with '&' marks and any tab and shortcut
    bool separator = false;
    bool submenu = false;
};

// One menu (an HMENU on Windows). A menu from Menus::Load or CreatePopup owns
// its items and destroys them with itself; a submenu is a view that its
// parent owns, valid while the parent lives.
class Menu {
public:
    virtual ~Menu() = default;
    // GetMenuItemCount.
    virtual int Count() = 0;
    // GetMenuItemInfoW + GetMenuStringW by position; nothing when out of range.
    virtual std::optional<MenuItem> Item(int position) = 0;
    // GetSubMenu; null when the item opens no submenu.
    virtual std::unique_ptr<Menu> Submenu(int position) = 0;
    // SetMenuItemInfoW with MIIM_STRING.
    virtual bool SetText(int position, const Text& text) = 0;
    // DeleteMenu by position of the item at `position` and all after it;
    // their submenus are destroyed with them.
    virtual void RemoveFrom(int position) = 0;
    // AppendMenuW with MF_STRING, MF_SEPARATOR or MF_POPUP (the new, empty submenu).
    virtual bool Append(uint32_t id, const Text& text) = 0;
    virtual bool AppendSeparator() = 0;
    virtual std::unique_ptr<Menu> AppendSubmenu(const Text& text) = 0;
    // CheckMenuItem / GetMenuState by position.
    virtual bool SetChecked(int position, bool checked) = 0;
    virtual bool IsChecked(int position) = 0;
    // SetMenuDefaultItem / GetMenuDefaultItem by position; -1 for none.
    virtual bool SetDefault(int position) = 0;
    virtual int DefaultPosition() = 0;
};

class Menus {
public:
    virtual ~Menus() = default;
    // LoadMenuW of the program's menu resource `resourceId`: the menu bar,
    // whose items open the popups. Null when there is no such resource.
    virtual std::unique_ptr<Menu> Load(uint32_t resourceId) = 0;
    // CreatePopupMenu.
    virtual std::unique_ptr<Menu> CreatePopup() = 0;
};

}  // namespace wlk::platform
