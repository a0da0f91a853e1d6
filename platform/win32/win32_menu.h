// Menus over HMENU, and the program's menu resources.
#pragma once

#include "platform/menu.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::platform::win32 {

using UniqueMenu = Unique<HMENU, &::DestroyMenu>;

class Win32Menu final : public Menu {
public:
    // Owns the menu and destroys it with itself.
    explicit Win32Menu(UniqueMenu menu) : menu_(menu.Get()), owner_(std::move(menu)) {}
    // A view of a menu that someone else owns and destroys, such as a submenu
    // or the tray window's loaded popup.
    static std::unique_ptr<Win32Menu> View(HMENU menu) {
        return std::unique_ptr<Win32Menu>(new Win32Menu(menu));
    }

    HMENU Handle() const { return menu_; }

    int Count() override;
    std::optional<MenuItem> Item(int position) override;
    std::unique_ptr<Menu> Submenu(int position) override;
    bool SetText(int position, const Text& text) override;
    void RemoveFrom(int position) override;
    bool Append(uint32_t id, const Text& text) override;
    bool AppendSeparator() override;
    std::unique_ptr<Menu> AppendSubmenu(const Text& text) override;
    bool SetChecked(int position, bool checked) override;
    bool IsChecked(int position) override;
    bool SetDefault(int position) override;
    int DefaultPosition() override;

private:
    explicit Win32Menu(HMENU menu) : menu_(menu) {}

    HMENU menu_;
    UniqueMenu owner_;  // empty for a view
};

// The menu resources of the program file itself.
class Win32Menus final : public Menus {
public:
    std::unique_ptr<Menu> Load(uint32_t resourceId) override;
    std::unique_ptr<Menu> CreatePopup() override;
};

}  // namespace wlk::platform::win32
