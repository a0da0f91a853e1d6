#include "menu/menu_fonts_win32.h"

#include <cstring>

namespace wlk::menu {

static_assert(sizeof(LOGFONTW) == std::tuple_size_v<platform::LogFontBytes>);

FontStyle FontStyleOf(const MenuItemData& item) {
    if (item.IsExtraCommand()) return {.bold = true};
    if (item.kind != ItemKind::Phrase || item.IsSeparator()) return {};
    if (item.dataType == phrases::CommandDataType::EXEC) return {.underline = true};
    if (item.dataType == phrases::CommandDataType::RTF) return {.italic = true};
    return {};
}

MenuFonts::MenuFonts(const platform::LogFontBytes& stored) {
    std::memcpy(&base_, stored.data(), sizeof base_);
    // The stored name need not end inside its field.
    base_.lfFaceName[LF_FACESIZE - 1] = L'\0';
}

HFONT MenuFonts::Get(bool underline, bool italic, bool bold) {
    UniqueFont& font = fonts_[(underline ? 4 : 0) | (italic ? 2 : 0) | (bold ? 1 : 0)];
    if (!font) {
        LOGFONTW variant = base_;
        variant.lfUnderline = underline;
        variant.lfItalic = italic;
        variant.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        font.Reset(CreateFontIndirectW(&variant));
    }
    return font.Get();
}

HFONT MenuFonts::Banner() {
    if (!banner_) {
        LOGFONTW banner{};
        banner.lfHeight = -18;
        banner.lfEscapement = 900;
        banner.lfOrientation = 900;
        banner.lfWeight = FW_BOLD;
        banner.lfCharSet = DEFAULT_CHARSET;
        wcscpy(banner.lfFaceName, L"Arial");
        banner_.Reset(CreateFontIndirectW(&banner));
    }
    return banner_.Get();
}

}  // namespace wlk::menu
