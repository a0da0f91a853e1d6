// The names of the macros a phrase body may hold, in the order they are
// substituted: one layout-switch macro per installed keyboard layout first,
// ordered by name, then the fixed names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace wlk::phrases {

inline constexpr std::u16string_view kMacroCursorPos = u"%CURSOR_POS%";
inline constexpr std::u16string_view kMacroTrimProtocols = u"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%";
inline constexpr std::u16string_view kMacroUrlFromClipboard = u"%URL_FROM_CLIPBOARD%";

inline constexpr std::array<std::u16string_view, 34> kFixedMacros = {
    u"%CLIPBOARD_TEXT%",
    u"%CURSOR_POS%",
    u"%DATE%",
    u"%DATETIME%",
    u"%DATETIME_EX_WD%",
    u"%DATE_EX_WD%",
    u"%DAY%",
    u"%DAY2%",
    u"%KEYPRESS_ENTER%",
    u"%KEYPRESS_TAB%",
    u"%LOWER_SELTEXT%",
    u"%MONTHNAME%",
    u"%MONTHNAME_ABBR%",
    u"%MONTHNUMBER%",
    u"%MONTHNUMBER2%",
    u"%NUMBERCHARS_CLIPBOARD%",
    u"%NUMBERCHARS_SELTEXT%",
    u"%PROMPT_TEXT={}%",
    u"%SELECTED_TEXT%",
    u"%TEXT_AFTER_URL%",
    u"%TIME%",
    u"%TRIM_LEFT_ALLPROTS_FROM_SELTEXT%",
    u"%WLK_VERSION%",
    u"%WLK_VERSION_DLL%",
    u"%WLK_VERSION_EDITOR%",
    u"%UPPER_SELTEXT%",
    u"%URL_FROM_CLIPBOARD%",
    u"%URL_FROM_SELECTED_TEXT%",
    u"%WEEKDAYNAME%",
    u"%WEEKDAYNAME_ABBR%",
    u"%WINDOWS_USERNAME%",
    u"%WINDOWS_VERSION%",
    u"%YEAR%",
    u"%YEAR2%",
};

// "%ACTIVATE_KL_EN%" and the language identifier of the layout it switches to.
struct LayoutMacro {
    Text name;
    uint16_t language = 0;
};

class MacroTable {
public:
    // The layout macros of the given layout handles, named by the ISO 639
    // name of each layout's language; a language without a name is left out,
    // and of two layouts of one language the later one is kept.
    static MacroTable FromLayouts(const std::vector<uint32_t>& layouts);
    // The process-wide table, built from the installed layouts on first use.
    // Callers are all on the tray window's thread, so no lock is taken.
    static const MacroTable& Instance();

    const std::vector<LayoutMacro>& Layouts() const { return layouts_; }
    // Every name in substitution order.
    std::vector<Text> Names() const;

private:
    std::vector<LayoutMacro> layouts_;
};

}  // namespace wlk::phrases
