// Measuring and painting the phrase menu's owner-drawn items: the banner, the
// icons, striped rows, numbers, the caret mark, tags, labelled separators and
// the default item's frame.
#pragma once

#include <array>

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
    // ... the implementation's own members
};

}  // namespace wlk::menu
