#include "language/menu_translation.h"

#include <optional>

#include "language/active_language.h"
#include "language/language_file.h"
#include "language/menu_key.h"
#include "platform/platform.h"

namespace wlk::language {

namespace {

std::optional<Text> ReadTranslation(const ActiveLanguage& active, const Text& key,
                                    const char16_t* sentinel) {
    if (active.path.empty() || key.empty()) return std::nullopt;
    Text value = platform::Current().profile.GetString(active.path, active.menuSection, key,
                                                       sentinel, kMenuBufferChars);
    if (value.empty() || value == sentinel) return std::nullopt;
    return value;
}

void LocalizeItem(platform::Menu& menu, int position, const Text& itemText,
                  const ActiveLanguage& active) {
    const MenuText cleaned = CleanMenuText(itemText);
    if (auto translation = ReadTranslation(active, cleaned.key, kMenuSentinel)) {
        menu.SetText(position, cleaned.shortcut.empty() ? *translation
                                                        : *translation + u"\t" + cleaned.shortcut);
    } else if (active.writeBack && MayListKey(cleaned.key)) {
        platform::Current().profile.WriteString(active.path, active.menuSection, cleaned.key,
                                                cleaned.display);
    }
}

void LocalizeTree(platform::Menu& menu, const std::set<uint32_t>& excluded,
                  const ActiveLanguage& active) {
    const int count = menu.Count();
    for (int position = 0; position < count; ++position) {
        const std::optional<platform::MenuItem> item = menu.Item(position);
        if (!item || item->separator) continue;
        if (!excluded.contains(item->id)) LocalizeItem(menu, position, item->text, active);
        if (item->submenu) {
            if (auto submenu = menu.Submenu(position)) LocalizeTree(*submenu, excluded, active);
        }
    }
}

std::optional<Text> FindCommandText(platform::Menu& menu, uint32_t commandId) {
    const int count = menu.Count();
    for (int position = 0; position < count; ++position) {
        const std::optional<platform::MenuItem> item = menu.Item(position);
        if (!item || item->separator) continue;
        if (item->submenu) {
            auto submenu = menu.Submenu(position);
            if (!submenu) continue;
            if (auto text = FindCommandText(*submenu, commandId)) return text;
        } else if (item->id == commandId) {
            return item->text;
        }
    }
    return std::nullopt;
}

}  // namespace

void LocalizeMenu(platform::Menu& menu, const std::set<uint32_t>& excluded) {
    const ActiveLanguage active = CurrentLanguage();
    if (active.path.empty()) return;
    LocalizeTree(menu, excluded, active);
}

Text GetMenuItemText(uint32_t menuResource, uint32_t commandId) {
    platform::Menus* menus = MenuSource();
    if (!menus) return Text();
    auto menu = menus->Load(menuResource);
    if (!menu) return Text();
    const std::optional<Text> text = FindCommandText(*menu, commandId);
    if (!text) return Text();

    const ActiveLanguage active = CurrentLanguage();
    const Text key = ItemTextKey(*text);
    if (auto translation = ReadTranslation(active, key, kItemTextSentinel)) return *translation;
    // A translator fills in the keys the tray menu lists, so the same
    // translation serves the tooltip too.
    if (auto translation = ReadTranslation(active, CleanMenuText(*text).key, kMenuSentinel))
        return *translation;
    return key;
}

}  // namespace wlk::language
