// The fonts of the phrase menu: the user's menu font in its eight variants of
// underline, italic and bold, and the rotated banner font.
#pragma once

#include <array>

#include "menu/menu_model.h"
#include "platform/system.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/windows_api.h"

namespace wlk::menu {

using UniqueFont = platform::win32::Unique<HFONT, &::DeleteObject>;

struct FontStyle {
    bool underline = false;
    bool italic = false;
    bool bold = false;
    bool operator==(const FontStyle&) const = default;
};

// Extra commands bold, command lines underlined, RTF phrases italic.
FontStyle FontStyleOf(const MenuItemData& item);

class MenuFonts {
public:
    // `stored` is the LOGFONTW kept under "FontForMenu".
    explicit MenuFonts(const platform::LogFontBytes& stored);

    // Made on first use and kept until the fonts are destroyed.
    HFONT Get(bool underline, bool italic, bool bold);
    HFONT Get(const FontStyle& style) { return Get(style.underline, style.italic, style.bold); }
    HFONT Normal() { return Get(false, false, false); }
    // "Arial", 18 pixels, bold, written upwards.
    HFONT Banner();

private:
    LOGFONTW base_{};
    std::array<UniqueFont, 8> fonts_;
    UniqueFont banner_;
};

}  // namespace wlk::menu
