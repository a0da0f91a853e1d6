#include "menu/history_section.h"

#include <algorithm>

#include "language/interface_strings.h"
#include "log/event_log.h"
#include "menu/menu_texts.h"
#include "platform/text.h"

namespace wlk::menu {

namespace {

using history::CCHItem;

constexpr uint32_t kStrClipboardHistory = 142;
constexpr uint32_t kStrDataFromHistory = 165;
constexpr uint32_t kStrMoreHistory = 235;
constexpr uint32_t kStrChars = 259;

constexpr size_t kTitleChars = 50;
constexpr size_t kCaptionChars = 60;

Text KindName(history::ChType type) {
    switch (type) {
        case history::CHT_TEXT_ANSI: return u"Text";
        case history::CHT_TEXT_UNICODE: return u"Unicode text";
        case history::CHT_RTF: return u"Rich text";
        case history::CHT_QUIRENOTE: return u"Quirenote document";
        case history::CHT_BITMAP: return u"Picture";
        case history::CHT_HTML: return u"HTML";
    }
    return Text();
}

Text ItemText(const CCHItem& item) {
    switch (item.Type()) {
        case history::CHT_TEXT_ANSI:
        case history::CHT_TEXT_UNICODE: return item.PlainText();
        case history::CHT_RTF: return item.Title(0, false);
        default: return Text();
    }
}

Text MakeTooltip(const CCHItem& item) {
    Text tip = language::GetString(kStrDataFromHistory) + u": " + KindName(item.Type());
    Text text = ItemText(item);
    if (!text.empty()) {
        tip += u"\n" + language::GetString(kStrChars) + u": " +
               ToText(static_cast<long long>(text.size()));
        tip += u"\r\n\r\n" + TooltipText(std::move(text));
    }
    if (!item.sourceUrl.empty()) tip += u"\r\n\tURL: " + item.sourceUrl;
    return tip;
}

const Text& Caption(CCHItem& item) {
    if (item.menuCaption.empty())
        item.menuCaption = ShortenText(Trim(item.Title(kTitleChars, true)), kCaptionChars);
    return item.menuCaption;
}

void AppendHistoryItem(CCHItem& item, size_t position, bool withTooltips, MenuModel& menu) {
    MenuItemData data;
    data.label = Caption(item);
    data.kind = ItemKind::History;
    data.isBitmap = item.Type() == history::CHT_BITMAP;
    if (withTooltips) {
        if (item.menuTooltip.empty()) item.menuTooltip = MakeTooltip(item);
        data.tooltip = item.menuTooltip;
    }
    const auto id = kFirstHistoryId + static_cast<uint32_t>(position);
    AppendItem(menu, id, std::move(data)).data.index = static_cast<int>(position);
}

MenuModel& AppendSubmenu(MenuModel& menu, const Text& title) {
    MenuItemData data;
    data.label = title;
    data.kind = ItemKind::History;
    data.flags = kItemOpensSubmenu;
    MenuEntry& entry = AppendItem(menu, 0, std::move(data));
    entry.submenu = std::make_unique<MenuModel>();
    return *entry.submenu;
}

Text SubmenuTitle(size_t shown, size_t total, bool limited) {
    const Text count = limited ? ToText(static_cast<long long>(shown)) + u"\\" +
                                     ToText(static_cast<long long>(total))
                               : ToText(static_cast<long long>(total));
    return language::GetString(kStrClipboardHistory) + u" [" + count + u"]";
}

}  // namespace

void AddClipboardHistoryIntoMenu(const history::CCHQueue& queue, const MenuOptions& options,
                                 bool withTooltips, MenuModel& menu) {
    const size_t total = queue.Count();
    if (total == 0) return;
    const bool limited = options.maxHistory > 0;
    const size_t shown = limited ? std::min(total, static_cast<size_t>(options.maxHistory)) : total;
    if (!menu.items.empty()) {
        AppendSeparator(menu, language::GetString(kStrClipboardHistory) + u" " +
                                  Format(u"[%d/%d]", {ToText(static_cast<long long>(shown)),
                                                      ToText(static_cast<long long>(total))}));
    }
    MenuModel* target = &menu;
    if (options.historyAsSubmenu) {
        const Text title = SubmenuTitle(shown, total, limited);
        log::EventLog::Instance().Write(u"History Sub Menu Text: " + title);
        target = &AppendSubmenu(menu, title);
    }
    for (size_t i = 0; i < shown; ++i) {
        if (!options.historyAsSubmenu && i == kDirectHistoryItems) {
            const auto rest = static_cast<long long>(total - kDirectHistoryItems);
            target = &AppendSubmenu(*target, language::GetString(kStrMoreHistory) + u" [" +
                                                 ToText(rest) + u"]" + kEllipsis);
        }
        AppendHistoryItem(*queue.Newest(i), i, withTooltips, *target);
    }
}

}  // namespace wlk::menu
