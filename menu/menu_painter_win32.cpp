#include "menu/menu_painter_win32.h"

#include <algorithm>
#include <string>

#include "log/event_log.h"
#include "menu/menu_guard.h"
#include "menu/popup_menu_win32.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "platform/win32/wide.h"

namespace wlk::menu {

namespace {

using platform::win32::AsWide;
using UniqueBrush = platform::win32::Unique<HBRUSH, &::DeleteObject>;
using UniquePen = platform::win32::Unique<HPEN, &::DeleteObject>;
using UniqueDc = platform::win32::Unique<HDC, &::DeleteDC>;

constexpr int kBannerWidth = 22;
constexpr int kBannerShift = 24;
constexpr int kProgramIconId = 128;
constexpr COLORREF kBannerBack = 0xE3E3E3;
constexpr COLORREF kBannerText = 0x7FAAFF;
constexpr COLORREF kNumberColour = 0xFF0000;
constexpr COLORREF kDefaultColour = 0x0000FF;
constexpr COLORREF kExtraCommandColour = 0x008000;
constexpr int kIconArea = 20;
constexpr int kIconTextShift = 18;
constexpr int kTextIndent = 8;
constexpr int kLineIndent = 11;
constexpr int kTagMargin = 3;
constexpr int kEmptyTextWidth = 100;
constexpr UINT kLineFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

// Odd rows a shade darker (lighter on black), so that rows are striped.
COLORREF Tinted(COLORREF colour) {
    if (colour == 0) return RGB(4, 4, 4);
    auto down = [](BYTE channel) { return BYTE(std::max(0, channel - 4)); };
    return RGB(down(GetRValue(colour)), down(GetGValue(colour)), down(GetBValue(colour)));
}

// Background and text colours of one item in one state.
struct Look {
    COLORREF back = 0;
    COLORREF text = 0;
    HBRUSH brush = nullptr;
    UniqueBrush owned;
};

void ChooseLook(const MenuItemData& item, UINT state, Look& look) {
    const bool greyed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0 || item.grayed;
    const bool history = item.kind == ItemKind::History;
    if (state & ODS_SELECTED) {
        look.back = GetSysColor(COLOR_HIGHLIGHT);
        look.brush = GetSysColorBrush(COLOR_HIGHLIGHT);
        look.text = GetSysColor(greyed ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT);
        return;
    }
    const int base = history ? COLOR_INFOBK : COLOR_MENU;
    look.back = GetSysColor(base);
    look.brush = GetSysColorBrush(base);
    if (item.index % 2 == 1) {
        look.back = Tinted(look.back);
        look.owned.Reset(CreateSolidBrush(look.back));
        look.brush = look.owned.Get();
    }
    if (greyed)
        look.text = GetSysColor(COLOR_GRAYTEXT);
    else if (item.IsExtraCommand())
        look.text = kExtraCommandColour;
    else if (history)
        look.text = GetSysColor(COLOR_INFOTEXT);
    else if (item.isDefault)
        look.text = kDefaultColour;
    else
        look.text = GetSysColor(COLOR_MENUTEXT);
}

int Extent(HDC dc, const Text& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, AsWide(text), int(text.size()), &size);
    return size.cx;
}

void DrawLine(HDC dc, const Text& text, RECT rect, UINT format) {
    DrawTextW(dc, AsWide(text), int(text.size()), &rect, format | kLineFormat);
}

// As wide as DrawLine paints it.
int LineWidth(HDC dc, const Text& text) {
    RECT rect{};
    DrawTextW(dc, AsWide(text), int(text.size()), &rect, DT_CALCRECT | kLineFormat);
    return rect.right - rect.left;
}

// The number before history items and last used phrases: "4." for history id
// 2003, the place + 1 in the last used list.
int NumberOf(const MenuItemData& item, UINT itemId) {
    if (item.OpensSubmenu()) return 0;
    if (item.kind == ItemKind::History) return int(itemId) - int(kFirstHistoryId) + 1;
    if (item.lastUsedIndex >= 0) return item.lastUsedIndex + 1;
    return 0;
}

bool HasIcon(const MenuItemData& item) {
    return item.iconKey != kIconNone && !item.OpensSubmenu() && !item.IsSeparator() &&
           !item.IsExtraCommand();
}

// A small wedge under the label where the phrase leaves the caret.
void DrawCaretMark(HDC dc, int x, int bottom, bool selected) {
    UniquePen pen(CreatePen(PS_SOLID, 1, selected ? kDefaultColour : kNumberColour));
    const HGDIOBJ old = SelectObject(dc, pen.Get());
    MoveToEx(dc, x - 3, bottom - 5, nullptr);
    LineTo(dc, x, bottom - 8);
    LineTo(dc, x + 3, bottom - 5);
    SelectObject(dc, old);
}

void DrawSeparatorLine(HDC dc, const RECT& rect) {
    const int middle = (rect.top + rect.bottom) / 2;
    const HGDIOBJ old = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, rect.left, middle, nullptr);
    LineTo(dc, rect.right, middle);
    SelectObject(dc, old);
}

Text TagText(const MenuItemData& item) {
    return item.IsSeparator() ? u" " + item.tag + u" " : item.tag;
}

// A layout tag, or a separator's label written over its line; `rect` ends
// at the tag's right edge.
void DrawTag(HDC dc, const MenuItemData& item, const Look& look, const RECT& rect,
             bool selected) {
    SetTextColor(dc, selected ? kDefaultColour : kNumberColour);
    if (item.IsSeparator()) {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, look.back);
    }
    DrawLine(dc, TagText(item), rect, DT_RIGHT);
    SetBkMode(dc, TRANSPARENT);
}

// The widths of an item's parts from left to right, in the item's own font
// (selected into `dc`). Measuring adds them up and painting places the parts
// by them, so the measured width always holds the painted text.
struct Layout {
    int lead = 0;    // the banner, the icon and the indent before the text or line
    int number = 0;  // "4." and two spaces
    int label = 0;
    int tag = 0;
    int Width() const { return lead + number + label + tag + kTagMargin; }
};

Text NumberText(int number) {
    return ToText(number) + u".";
}

Layout LayoutOf(HDC dc, const MenuItemData& item, UINT itemId, bool topLevel) {
    Layout layout;
    if (topLevel) layout.lead += kBannerShift;
    if (HasIcon(item)) layout.lead += kIconTextShift;
    layout.lead += item.IsSeparator() ? kLineIndent : kTextIndent;
    if (const int number = NumberOf(item, itemId))
        layout.number = LineWidth(dc, NumberText(number)) + LineWidth(dc, u"  ");
    if (!item.IsSeparator()) layout.label = LineWidth(dc, item.label);
    if (!item.tag.empty()) layout.tag = LineWidth(dc, TagText(item));
    if (item.label.empty() && item.tag.empty()) layout.label = kEmptyTextWidth;
    return layout;
}

bool HoldsItem(HMENU menu, const MenuItemData& item) {
    for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i)
        if (ItemDataAt(menu, i) == &item) return true;
    return false;
}

void DrawIcon(HDC dc, HICON icon, const RECT& rect, bool large) {
    const int x = rect.left + (kIconArea - 16) / 2;
    const int y = rect.top + (rect.bottom - rect.top - 16) / 2;
    if (large)
        DrawIconEx(dc, x - 1, y - 1, icon, 20, 20, 0, nullptr, DI_NORMAL);
    else
        DrawIconEx(dc, x, y, icon, 16, 16, 0, nullptr, DI_NORMAL);
}

}  // namespace

MenuPainter::MenuPainter(HINSTANCE instance, const settings::Settings& settings)
    : instance_(instance),
      fonts_(std::make_unique<MenuFonts>(settings.Font())),
      icons_(std::make_unique<MenuIcons>(instance)),
      programIcon_(static_cast<HICON>(
          LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, 16, 16, 0))) {
    Prepare(nullptr);
}

MenuPainter::~MenuPainter() = default;

void MenuPainter::Prepare(HMENU topMenu) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        baseHeight_ = metrics.iMenuHeight;
    topMenu_ = topMenu;
    bannerDrawn_ = false;
}

HFONT MenuPainter::NormalFont() {
    return fonts_->Normal();
}

void MenuPainter::OnMenuMEASUREITEM(MEASUREITEMSTRUCT& measure) {
    RunGuarded(u"ERROR: Exception in IDataNeededHander_MenuSelf::OnMenuMEASUREITEM",
               [&] { MeasureImpl(measure); });
}

void MenuPainter::OnMenuDRAWITEMSTRUCT(const DRAWITEMSTRUCT& draw) {
    RunGuarded(u"ERROR: Exception in IDataNeededHander_MenuSelf::OnMenuDRAWITEMSTRUCT",
               [&] { DrawImpl(draw); });
}

int MenuPainter::ItemWidth(const MenuItemData& item, UINT itemId) {
    UniqueDc dc(CreateCompatibleDC(nullptr));
    const HGDIOBJ old = SelectObject(dc.Get(), fonts_->Get(FontStyleOf(item)));
    // Only items of the top-level menu make room for its banner.
    const bool topLevel = topMenu_ && HoldsItem(topMenu_, item);
    const int width = LayoutOf(dc.Get(), item, itemId, topLevel).Width();
    SelectObject(dc.Get(), old);
    return width;
}

void MenuPainter::MeasureImpl(MEASUREITEMSTRUCT& measure) {
    const auto* item = reinterpret_cast<const MenuItemData*>(measure.itemData);
    if (!item) {
        platform::Current().ui.MessageBox(platform::MessageOwner::None,
                                          u"M_INFO is NULL on MeasureImpl", u"Wordlark",
                                          platform::MessageIcon::Error, false);
        return;
    }
    measure.itemWidth = UINT(ItemWidth(*item, measure.itemID));
    int height = baseHeight_;
    if (item->IsSeparator() && item->tag.empty()) {
        height = baseHeight_ / 3 ? baseHeight_ * 2 / 3 : baseHeight_ / 2;
    } else {
        height += 4;
        if (item->OpensSubmenu()) height += 4;
    }
    measure.itemHeight = UINT(height);
}

int MenuPainter::TopMenuHeight(const RECT& item) const {
    int height = 0;
    for (int i = 0, count = GetMenuItemCount(topMenu_); i < count; ++i) {
        RECT rect{};
        if (GetMenuItemRect(nullptr, topMenu_, UINT(i), &rect)) height += rect.bottom - rect.top;
    }
    // A menu not on screen has no item rectangles: the band reaches this item.
    return height > 0 ? height : int(item.bottom);
}

void MenuPainter::DrawBanner(HDC dc, const RECT& item) {
    bannerDrawn_ = true;
    const int height = TopMenuHeight(item);
    RECT band{0, 0, kBannerWidth, height};
    UniqueBrush back(CreateSolidBrush(kBannerBack));
    FillRect(dc, &band, back.Get());
    if (programIcon_)
        DrawIconEx(dc, 4, height - 18, programIcon_.Get(), 16, 16, 0, nullptr, DI_NORMAL);
    const HGDIOBJ old = SelectObject(dc, fonts_->Banner());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBannerText);
    TextOutW(dc, 0, height - 24, L"Wordlark", 8);
    SelectObject(dc, old);
}

void MenuPainter::DrawImpl(const DRAWITEMSTRUCT& draw) {
    const auto* item = reinterpret_cast<const MenuItemData*>(draw.itemData);
    if (!item) return;
    const HDC dc = draw.hDC;
    const int saved = SaveDC(dc);
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool greyed = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0 || item->grayed;
    Look look;
    ChooseLook(*item, draw.itemState, look);

    const bool topLevel = topMenu_ && reinterpret_cast<HMENU>(draw.hwndItem) == topMenu_;
    RECT rect = draw.rcItem;
    if (topLevel) {
        if (!bannerDrawn_) DrawBanner(dc, draw.rcItem);
        rect.left += kBannerShift;
    }
    const RECT frame = rect;
    FillRect(dc, &rect, look.brush);
    if (HasIcon(*item)) {
        if (HICON icon = icons_->Get(item->iconKey, item->iconFile, greyed))
            DrawIcon(dc, icon, rect, selected && !greyed);
    }
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, fonts_->Get(FontStyleOf(*item)));
    const Layout layout = LayoutOf(dc, *item, draw.itemID, topLevel);
    rect.left = draw.rcItem.left + layout.lead;
    rect.right -= kTagMargin;

    if (item->IsSeparator()) {
        DrawSeparatorLine(dc, RECT{rect.left, rect.top, draw.rcItem.right - 1, rect.bottom});
    } else {
        if (const int number = NumberOf(*item, draw.itemID)) {
            SetTextColor(dc, kNumberColour);
            DrawLine(dc, NumberText(number), rect, DT_LEFT);
            rect.left += layout.number;
        }
        RECT label = rect;
        label.right -= layout.tag;
        SetTextColor(dc, look.text);
        // Bold and italic letters may reach past their measured width.
        DrawLine(dc, item->label, label, DT_LEFT | DT_END_ELLIPSIS | DT_NOCLIP);
        if (item->caretPos >= 0 && !item->OpensSubmenu()) {
            const size_t before = std::min(item->label.size(), size_t(item->caretPos));
            DrawCaretMark(dc, rect.left + Extent(dc, item->label.substr(0, before)), rect.bottom,
                          selected);
        }
    }
    if (!item->tag.empty()) DrawTag(dc, *item, look, rect, selected);
    if (item->isDefault) {
        UniqueBrush red(CreateSolidBrush(kDefaultColour));
        FrameRect(dc, &frame, red.Get());
    }
    RestoreDC(dc, saved);
}

}  // namespace wlk::menu
