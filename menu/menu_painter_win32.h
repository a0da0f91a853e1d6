// Measuring and painting the phrase menu's owner-drawn items: the banner, the
// icons, striped rows, numbers, the caret mark, tags, labelled separators and
// the default item's frame.
#pragma once

#include <memory>

#include "menu/menu_fonts_win32.h"
#include "menu/menu_icons_win32.h"
#include "menu/menu_model.h"
#include "platform/win32/windows_api.h"
#include "settings/settings.h"

namespace wlk::menu {

class MenuPainter {
public:
    MenuPainter(HINSTANCE instance, const settings::Settings& settings);
    ~MenuPainter();
    MenuPainter(const MenuPainter&) = delete;
    MenuPainter& operator=(const MenuPainter&) = delete;

    // Before a menu is tracked: the system's menu height, and the banner of
    // `topMenu` drawn anew by its first painted item.
    void Prepare(HMENU topMenu);
    // Both are guarded: a fault is reported and the message still counts as handled.
    void OnMenuMEASUREITEM(MEASUREITEMSTRUCT& measure);
    void OnMenuDRAWITEMSTRUCT(const DRAWITEMSTRUCT& draw);
    // The normal menu font (the tooltip uses it too).
    HFONT NormalFont();

private:
    void MeasureImpl(MEASUREITEMSTRUCT& measure);
    void DrawImpl(const DRAWITEMSTRUCT& draw);
    // Wide enough for everything DrawImpl paints on the item.
    int ItemWidth(const MenuItemData& item, UINT itemId);
    // The band on the left of the top-level menu, over all its items.
    void DrawBanner(HDC dc, const RECT& item);
    int TopMenuHeight(const RECT& item) const;

    HINSTANCE instance_;
    std::unique_ptr<MenuFonts> fonts_;
    std::unique_ptr<MenuIcons> icons_;
    UniqueIcon programIcon_;
    HMENU topMenu_ = nullptr;
    bool bannerDrawn_ = false;
    int baseHeight_ = 0;
};

}  // namespace wlk::menu
